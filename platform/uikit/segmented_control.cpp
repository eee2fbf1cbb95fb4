#include "platform/uikit/segmented_control.h"

#include <cmath>

#include "platform/uikit/internal.h"
#include "platform/uikit/touch.h"

namespace platform {

long long UISegmentedControl::segmentAt(Point p) const {
    if (titles_.empty() || !bounds_.contains(p) || bounds_.size.width <= 0) return -1;
    double width = bounds_.size.width / static_cast<double>(titles_.size());
    auto index = static_cast<long long>(std::floor((p.x - bounds_.origin.x) / width));
    return std::min(index, static_cast<long long>(titles_.size()) - 1);
}

namespace {

UISegmentedControl* segments(id self) { return as<UISegmentedControl>(self); }

}  // namespace

namespace uikit::detail {

void registerSegmentedControl() {
    ClassBuilder<UISegmentedControl>("UISegmentedControl", "UIControl")
        .method(sel::initWithItems_,
                [](id self, Value items) {
                    std::vector<Value> titles;
                    for (const Value& item : items.array()) titles.push_back(item);
                    double width = UISegmentedControl::kSegmentWidth * static_cast<double>(titles.size());
                    Ref<Object> base = sel::initWithFrame_(self, Rect(0, 0, width, UISegmentedControl::kHeight));
                    if (auto* c = segments(base.get())) c->titles_ = std::move(titles);
                    return base;
                })
        .method(sel::selectedSegmentIndex, [](id self) { return segments(self)->selectedSegmentIndex_; })
        .method(sel::setSelectedSegmentIndex_,
                [](id self, long long index) {
                    auto* c = segments(self);
                    c->selectedSegmentIndex_ = index >= 0 && index < static_cast<long long>(c->titles_.size()) ? index : -1;
                })
        .method(sel::numberOfSegments, [](id self) { return static_cast<unsigned long long>(segments(self)->titles_.size()); })
        .method(sel::titleForSegmentAtIndex_,
                [](id self, unsigned long long index) {
                    auto* c = segments(self);
                    return index < c->titles_.size() ? c->titles_[index] : Value();
                })
        .method(sel::endTrackingWithTouch_withEvent_, [](id self, id touch, id event) {
            // A tap that ends on another segment selects it.
            auto* c = segments(self);
            if (!c->touchInside_) return;
            long long index = c->segmentAt(sel::locationInView_(touch, self));
            if (index < 0 || index == c->selectedSegmentIndex_) return;
            Ref<UISegmentedControl> protector(c);
            sel::setSelectedSegmentIndex_(self, index);
            c->sendActions(UIControlEventValueChanged, event);
        });
}

}  // namespace uikit::detail
}  // namespace platform
