#include "platform/uikit/toolbar.h"

#include <algorithm>

#include "platform/uikit/internal.h"

namespace platform {

namespace {
Class* toolbarClass() {
    static Class* c = objc_getClass("UIToolbar");
    return c;
}
}  // namespace

void UIToolbar::makeContent() {
    std::vector<Ref<UIView>> buttons;  // null for a space
    std::vector<bool> flexible;
    double taken = 0;
    int flexibleCount = 0;
    for (const Value& v : items_.array()) {
        auto* item = v.objectAs<UIBarButtonItem>();
        if (!item) continue;
        Ref<UIView> button = item->makeButton(this);
        bool flex = item->systemItem_ == UIBarButtonSystemItemFlexibleSpace;
        if (button) taken += button->bounds_.width();
        flexibleCount += flex;
        buttons.push_back(button);
        flexible.push_back(flex);
    }
    const double height = bounds_.height();
    double room = bounds_.width() - 2 * kMargin - taken;
    // Without flexible spaces the buttons stand a margin apart.
    double gap = flexibleCount == 0 ? kMargin : 0;
    double share = flexibleCount > 0 ? std::max(0.0, room / flexibleCount) : 0;
    double x = kMargin;
    bool first = true;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (flexible[i]) {
            x += share;
            continue;
        }
        if (!buttons[i]) continue;
        if (!first) x += gap;
        first = false;
        addContent(buttons[i], Rect(x, 0, buttons[i]->bounds_.width(), height));
        x += buttons[i]->bounds_.width();
    }
}

namespace uikit::detail {

void registerToolbar() {
    ClassBuilder<UIToolbar>("UIToolbar", "UIView")
        .method(sel::items, [](id self) { return as<UIToolbar>(self)->items_; })
        .method(sel::setItems_, [](id self, Value items) { sel::setItems_animated_(self, items, false); })
        .method(sel::setItems_animated_,
                [](id self, Value items, bool) {
                    as<UIToolbar>(self)->items_ = items;
                    as<UIToolbar>(self)->setNeedsContent();
                })
        .method(sel::layoutSubviews, [](id self) {
            sel::layoutSubviews.super(toolbarClass(), self);
            as<UIToolbar>(self)->updateContent();
        });
}

}  // namespace uikit::detail
}  // namespace platform
