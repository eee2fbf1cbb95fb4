#include "platform/uikit/pasteboard.h"

#include "platform/uikit/internal.h"

namespace platform {

UIPasteboard* UIPasteboard::generalPasteboard() {
    static Ref<Object> general = sel::init(alloc("UIPasteboard"));
    return as<UIPasteboard>(general.get());
}

namespace uikit::detail {

void registerPasteboard() {
    ClassBuilder<UIPasteboard>("UIPasteboard", "NSObject")
        .classMethod(sel::generalPasteboard, [](id) { return Ref<Object>(UIPasteboard::generalPasteboard()); })
        .method(sel::string, [](id self) { return as<UIPasteboard>(self)->string_; })
        .method(sel::setString_, [](id self, Value text) { as<UIPasteboard>(self)->string_ = text.isString() ? text : Value(); });
}

}  // namespace uikit::detail
}  // namespace platform
