#include "platform/uikit/control.h"

#include "platform/uikit/application.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/touch.h"

namespace platform {

unsigned long long UIControl::stateMask() const {
    return (highlighted_ ? UIControlStateHighlighted : 0) | (enabled_ ? 0 : UIControlStateDisabled) |
           (selected_ ? UIControlStateSelected : 0);
}

void UIControl::sendActions(unsigned long long events, id event) {
    Ref<UIControl> protector(this);
    auto targets = targets_;
    for (const auto& t : targets) {
        if (!(t.events & events)) continue;
        Ref<Object> target = t.target.lock();
        if (t.hasTarget && !target) continue;  // a target that went away
        sel::sendAction_to_forEvent_(this, sel_registerName(t.action), target, event);
    }
}

namespace {

UITouch* firstTouch(const Value& touches) { return touches.at(0).objectAs<UITouch>(); }

bool inside(UIControl* c, UITouch* t, id event) {
    return t && sel::pointInside_withEvent_(c, t->locationInView(c), event);
}

void touchesBegan(id self, Value touches, id event) {
    auto* c = as<UIControl>(self);
    UITouch* t = firstTouch(touches);
    if (!c->enabled_ || !t) return;
    Ref<UIControl> protector(c);
    c->touchInside_ = true;
    c->tracking_ = sel::beginTrackingWithTouch_withEvent_(self, t, event);
    sel::setHighlighted_(self, true);
    c->sendActions(UIControlEventTouchDown, event);
}

void touchesMoved(id self, Value touches, id event) {
    auto* c = as<UIControl>(self);
    UITouch* t = firstTouch(touches);
    if (!t) return;
    Ref<UIControl> protector(c);
    bool now = inside(c, t, event);
    bool was = c->touchInside_;
    c->touchInside_ = now;
    if (c->tracking_) c->tracking_ = sel::continueTrackingWithTouch_withEvent_(self, t, event);
    if (now != c->highlighted_) sel::setHighlighted_(self, now);
    unsigned long long e = now ? (was ? UIControlEventTouchDragInside : UIControlEventTouchDragEnter)
                               : (was ? UIControlEventTouchDragExit : UIControlEventTouchDragOutside);
    c->sendActions(e, event);
}

void touchesEnded(id self, Value touches, id event) {
    auto* c = as<UIControl>(self);
    UITouch* t = firstTouch(touches);
    if (!t) return;
    Ref<UIControl> protector(c);
    bool now = inside(c, t, event);
    c->touchInside_ = now;
    if (c->tracking_) sel::endTrackingWithTouch_withEvent_(self, t, event);
    c->tracking_ = false;
    sel::setHighlighted_(self, false);
    c->sendActions(now ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside, event);
}

void touchesCancelled(id self, Value, id event) {
    auto* c = as<UIControl>(self);
    Ref<UIControl> protector(c);
    if (c->tracking_) sel::cancelTrackingWithEvent_(self, event);
    c->tracking_ = false;
    sel::setHighlighted_(self, false);
    c->sendActions(UIControlEventTouchCancel, event);
}

bool sameTarget(const UIControl::Target& t, id target) {
    if (!target) return !t.hasTarget;
    return t.hasTarget && t.target.lock().get() == target;
}

}  // namespace

namespace uikit::detail {

void registerControl() {
    ClassBuilder<UIControl>("UIControl", "UIView")
        .method(sel::addTarget_action_forControlEvents_,
                [](id self, id target, SEL action, unsigned long long events) {
                    auto* c = as<UIControl>(self);
                    if (action.name.empty() || events == 0) return;
                    for (auto& t : c->targets_)
                        if (sameTarget(t, target) && t.action == action.name) {
                            t.events |= events;
                            return;
                        }
                    c->targets_.push_back(UIControl::Target{target, target != nullptr, std::string(action.name), events});
                })
        .method(sel::removeTarget_action_forControlEvents_,
                [](id self, id target, SEL action, unsigned long long events) {
                    // A nil target stands for every target, a null action for every action.
                    auto* c = as<UIControl>(self);
                    for (auto& t : c->targets_)
                        if ((!target || sameTarget(t, target)) && (action.name.empty() || t.action == action.name)) t.events &= ~events;
                    std::erase_if(c->targets_, [](const UIControl::Target& t) { return t.events == 0; });
                })
        .method(sel::sendActionsForControlEvents_, [](id self, unsigned long long events) { as<UIControl>(self)->sendActions(events, nullptr); })
        .method(sel::sendAction_to_forEvent_,
                [](id self, SEL action, id target, id event) {
                    sel::sendAction_to_from_forEvent_(UIApplication::sharedApplication(), action, target, self, event);
                })
        .method(sel::allTargets,
                [](id self) {
                    Value::Array out;
                    for (const auto& t : as<UIControl>(self)->targets_) {
                        Ref<Object> target = t.target.lock();
                        if (!target) continue;
                        bool seen = false;
                        for (const auto& v : out) seen = seen || v.object() == target.get();
                        if (!seen) out.emplace_back(target);
                    }
                    return Value(std::move(out));
                })
        .method(sel::allControlEvents,
                [](id self) {
                    unsigned long long all = 0;
                    for (const auto& t : as<UIControl>(self)->targets_) all |= t.events;
                    return all;
                })
        .method(sel::actionsForTarget_forControlEvent_,
                [](id self, id target, unsigned long long events) {
                    Value::Array out;
                    for (const auto& t : as<UIControl>(self)->targets_)
                        if (sameTarget(t, target) && (t.events & events)) out.emplace_back(t.action);
                    return out.empty() ? Value() : Value(std::move(out));
                })
        .property<&UIControl::highlighted_>(sel::isHighlighted, sel::setHighlighted_)
        .property<&UIControl::selected_>(sel::isSelected, sel::setSelected_)
        .property<&UIControl::enabled_>(sel::isEnabled, sel::setEnabled_)
        .method(sel::state, [](id self) { return as<UIControl>(self)->stateMask(); })
        .method(sel::isTracking, [](id self) { return as<UIControl>(self)->tracking_; })
        .method(sel::isTouchInside, [](id self) { return as<UIControl>(self)->touchInside_; })
        .method(sel::beginTrackingWithTouch_withEvent_, [](id, id, id) { return true; })
        .method(sel::continueTrackingWithTouch_withEvent_, [](id, id, id) { return true; })
        .method(sel::endTrackingWithTouch_withEvent_, [](id, id, id) {})
        .method(sel::cancelTrackingWithEvent_, [](id, id) {})
        .method(sel::touchesBegan_withEvent_, &touchesBegan)
        .method(sel::touchesMoved_withEvent_, &touchesMoved)
        .method(sel::touchesEnded_withEvent_, &touchesEnded)
        .method(sel::touchesCancelled_withEvent_, &touchesCancelled);
}

}  // namespace uikit::detail
}  // namespace platform
