#include "platform/uikit/value_controls.h"

#include <algorithm>

#include "platform/uikit/internal.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/touch.h"

namespace platform {

namespace {

Class* switchClass() {
    static Class* c = objc_getClass("UISwitch");
    return c;
}

UISlider* slider(id self) { return as<UISlider>(self); }

void setSliderValue(id self, float v) {
    auto* s = slider(self);
    s->value_ = std::clamp(v, s->minimumValue_, std::max(s->minimumValue_, s->maximumValue_));
}

// The finger moved the thumb: the value under it, reported when it changed.
void dragThumb(id self, id touch, id event) {
    auto* s = slider(self);
    auto* t = as<UITouch>(touch);
    if (!t) return;
    Ref<UISlider> protector(s);
    float before = sel::value(self);
    sel::setValue_(self, s->valueAt(t->locationInView(s).x));
    if (sel::value(self) != before) s->sendActions(UIControlEventValueChanged, event);
}

}  // namespace

Rect UISlider::thumbRect() const {
    double span = std::max(0.0, bounds_.width() - kThumbSize);
    double range = maximumValue_ - minimumValue_;
    double fraction = range > 0 ? (value_ - minimumValue_) / range : 0;
    return Rect(bounds_.x() + span * fraction, bounds_.y() + (bounds_.height() - kThumbSize) / 2, kThumbSize, kThumbSize);
}

Point UISlider::pointForValue(float value) const {
    double span = std::max(0.0, bounds_.width() - kThumbSize);
    double range = maximumValue_ - minimumValue_;
    double fraction = range > 0 ? (std::clamp(value, minimumValue_, maximumValue_) - minimumValue_) / range : 0;
    return {bounds_.x() + kThumbSize / 2 + span * fraction, bounds_.midY()};
}

float UISlider::valueAt(double x) const {
    double span = bounds_.width() - kThumbSize;
    if (span <= 0) return minimumValue_;
    double fraction = std::clamp((x - bounds_.x() - kThumbSize / 2) / span, 0.0, 1.0);
    return static_cast<float>(minimumValue_ + fraction * (maximumValue_ - minimumValue_));
}

namespace uikit {

void spin(UIDatePicker* picker, double countDownSeconds) {
    if (!picker) return;
    Ref<UIDatePicker> protector(picker);
    sel::setCountDownDuration_(picker, countDownSeconds);
    picker->sendActions(UIControlEventValueChanged, nullptr);
}

}  // namespace uikit

namespace uikit::detail {

void registerValueControls() {
    ClassBuilder<UISwitch>("UISwitch", "UIControl")
        .method(sel::initWithFrame_,
                [](id self, Rect frame) {
                    // A switch has its own size.
                    return sel::initWithFrame_.super(switchClass(), self, Rect(frame.origin, UISwitch::kSize));
                })
        .method(sel::setFrame_,
                [](id self, Rect frame) { sel::setFrame_.super(switchClass(), self, Rect(frame.origin, UISwitch::kSize)); })
        .method(sel::sizeThatFits_, [](id, Size) { return UISwitch::kSize; })
        .method(sel::isOn, [](id self) { return as<UISwitch>(self)->on_; })
        .method(sel::setOn_, [](id self, bool on) { sel::setOn_animated_(self, on, false); })
        .method(sel::setOn_animated_, [](id self, bool on, bool) { as<UISwitch>(self)->on_ = on; })
        .classMethod(sel::appearance, [](id) -> Ref<Object> { return UIAppearance::forClass("UISwitch"); })
        .classMethod(sel::appearanceWhenContainedIn_,
                     [](id, id container) -> Ref<Object> {
                         auto* cls = dynamic_cast<Class*>(container);
                         return cls ? UIAppearance::forClass("UISwitch", cls->name()) : nullptr;
                     })
        .method(sel::onTintColor,
                [](id self) -> Ref<Object> {
                    auto* s = as<UISwitch>(self);
                    if (s->onTintColor_) return s->onTintColor_;
                    Ref<UIAppearance> proxy =
                        UIAppearance::applying(s, "UISwitch", [](const UIAppearance& p) { return static_cast<bool>(p.onTintColor_); });
                    return proxy ? proxy->onTintColor_ : nullptr;
                })
        .method(sel::setOnTintColor_, [](id self, id color) { as<UISwitch>(self)->onTintColor_ = color; })
        .method(sel::endTrackingWithTouch_withEvent_, [](id self, id, id event) {
            // A tap that ends on the switch flips it.
            auto* s = as<UISwitch>(self);
            if (!s->touchInside_) return;
            Ref<UISwitch> protector(s);
            sel::setOn_animated_(self, !s->on_, true);
            s->sendActions(UIControlEventValueChanged, event);
        });

    ClassBuilder<UISlider>("UISlider", "UIControl")
        .method(sel::value, [](id self) { return slider(self)->value_; })
        .method(sel::setValue_, [](id self, float v) { sel::setValue_animated_(self, v, false); })
        .method(sel::setValue_animated_, [](id self, float v, bool) { setSliderValue(self, v); })
        .method(sel::minimumValue, [](id self) { return slider(self)->minimumValue_; })
        .method(sel::setMinimumValue_,
                [](id self, float v) {
                    // The other bound and the value follow, as in UIKit.
                    auto* s = slider(self);
                    s->minimumValue_ = v;
                    if (s->maximumValue_ < v) s->maximumValue_ = v;
                    setSliderValue(self, s->value_);
                })
        .method(sel::maximumValue, [](id self) { return slider(self)->maximumValue_; })
        .method(sel::setMaximumValue_,
                [](id self, float v) {
                    auto* s = slider(self);
                    s->maximumValue_ = v;
                    if (s->minimumValue_ > v) s->minimumValue_ = v;
                    setSliderValue(self, s->value_);
                })
        // Only a touch that begins on the thumb drags it.
        .method(sel::beginTrackingWithTouch_withEvent_,
                [](id self, id touch, id) {
                    auto* t = as<UITouch>(touch);
                    return t && slider(self)->thumbRect().contains(t->locationInView(slider(self)));
                })
        .method(sel::continueTrackingWithTouch_withEvent_,
                [](id self, id touch, id event) {
                    dragThumb(self, touch, event);
                    return true;
                })
        .method(sel::endTrackingWithTouch_withEvent_, &dragThumb);

    ClassBuilder<UIDatePicker>("UIDatePicker", "UIControl")
        .method(sel::sizeThatFits_, [](id, Size) { return UIDatePicker::kSize; })
        .method(sel::datePickerMode, [](id self) { return as<UIDatePicker>(self)->mode_; })
        .method(sel::setDatePickerMode_, [](id self, long long mode) { as<UIDatePicker>(self)->mode_ = mode; })
        .method(sel::countDownDuration, [](id self) { return as<UIDatePicker>(self)->countDownDuration_; })
        .method(sel::setCountDownDuration_, [](id self, double seconds) {
            as<UIDatePicker>(self)->countDownDuration_ = std::clamp(seconds, 0.0, UIDatePicker::kMaximumDuration);
        });
}

}  // namespace uikit::detail
}  // namespace platform
