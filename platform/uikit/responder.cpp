#include "platform/uikit/responder.h"

#include "platform/uikit/internal.h"

namespace platform {

namespace {

WeakRef<Object>& firstResponder() {
    static auto* r = new WeakRef<Object>();
    return *r;
}

// The stock touch methods pass the touches on to the next responder.
template <const Sel<void(id, Value, id)>& S>
void forward(id self, Value touches, id event) {
    if (Ref<Object> next = sel::nextResponder(self)) S(next, touches, event);
}

}  // namespace

Ref<Object> currentFirstResponder() { return firstResponder().lock(); }

namespace uikit::detail {

void registerResponder() {
    ClassBuilder<UIResponder>("UIResponder", "NSObject")
        .method(sel::nextResponder, [](id) { return Ref<Object>(); })
        .method(sel::touchesBegan_withEvent_, &forward<sel::touchesBegan_withEvent_>)
        .method(sel::touchesMoved_withEvent_, &forward<sel::touchesMoved_withEvent_>)
        .method(sel::touchesEnded_withEvent_, &forward<sel::touchesEnded_withEvent_>)
        .method(sel::touchesCancelled_withEvent_, &forward<sel::touchesCancelled_withEvent_>)
        .method(sel::canBecomeFirstResponder, [](id) { return false; })
        .method(sel::isFirstResponder, [](id self) { return firstResponder().lock().get() == self; })
        .method(sel::becomeFirstResponder,
                [](id self) {
                    Ref<Object> current = firstResponder().lock();
                    if (current.get() == self) return true;
                    if (!sel::canBecomeFirstResponder(self)) return false;
                    if (current && !sel::resignFirstResponder(current)) return false;
                    firstResponder() = self;
                    return true;
                })
        .method(sel::resignFirstResponder, [](id self) {
            if (firstResponder().lock().get() == self) firstResponder() = nullptr;
            return true;
        });
}

}  // namespace uikit::detail
}  // namespace platform
