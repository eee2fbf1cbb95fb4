#include "platform/uikit/toolbar.h"

#include "platform/uikit/internal.h"

namespace platform::uikit::detail {

void registerToolbar() {
    ClassBuilder<UIToolbar>("UIToolbar", "UIView")
        .method(sel::items, [](id self) { return as<UIToolbar>(self)->items_; })
        .method(sel::setItems_, [](id self, Value items) { sel::setItems_animated_(self, items, false); })
        .method(sel::setItems_animated_, [](id self, Value items, bool) { as<UIToolbar>(self)->items_ = items; });
}

}  // namespace platform::uikit::detail
