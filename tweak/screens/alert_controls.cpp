#include "tweak/screens/alert_controls.h"

#include "platform/uikit/animation.h"
#include "platform/uikit/color.h"
#include "platform/uikit/control.h"
#include "platform/uikit/font.h"
#include "platform/uikit/image.h"
#include "platform/uikit/screen.h"
#include "tweak/engine/alarm_record.h"
#include "tweak/engine/localizer.h"
#include "tweak/screens/properties.h"

namespace rousa {

std::string alertImagePath(std::string_view name) {
    bool retina = UIScreen::mainScreen()->scale() > 1.0;
    return std::string(kRousaBundlePath) + "/" + std::string(name) + (retina ? "@2x.png" : ".png");
}

namespace {


// The round look shared by the keys and the circle buttons.
void makeRound(id button) {
    Rect f = sel::frame(button);
    sel::setFrame_(button, Rect(f.origin, Size{60, 60}));
    auto layer = sel::layer(button);
    sel::setBorderWidth_(layer, 1.0);
    sel::setMasksToBounds_(layer, true);
    sel::setCornerRadius_(layer, 30.0);
    sel::setBorderColor_(layer, UIColor::white(1.0, 0.75));
    sel::setTintColor_(button, UIColor::white(1.0, 0.35));
}

Ref<Object> initClear(id self, Rect frame) {
    Ref<Object> made = sel::initWithFrame_.super(objc_getClass("RS2Button"), self, frame);
    if (made) sel::setBackgroundColor_(made, sel::clearColor(objc_getClass("UIColor")));
    return made;
}

void setHighlighted(id self, bool highlighted) {
    sel::setHighlighted_.super(objc_getClass("RS2Button"), self, highlighted);
    Ref<Object> button(self);
    UIView::animateWithDuration(0.1, [button, highlighted] {
        sel::setBackgroundColor_(button, highlighted ? sel::tintColor(button) : sel::clearColor(objc_getClass("UIColor")));
    });
}

void setType(id self, int type) {
    auto* button = as<RS2CircleButton>(self);
    makeRound(self);
    Ref<Object> picture = sel::imageWithContentsOfFile_(objc_getClass("UIImage"), Value(alertImagePath(type == 2 ? "Dismiss" : "Snooze")));
    // Drawn in the tint colour.
    picture = sel::imageWithRenderingMode_(picture, UIImageRenderingModeAlwaysTemplate);
    auto view = as<UIImageView>(sel::initWithImage_(alloc("UIImageView"), picture));
    sel::setTintColor_(view, UIColor::white(1.0, 0.75));
    Size own = sel::frame(view).size;
    Size mine = sel::bounds(self).size;
    sel::setFrame_(view, Rect(mine.width / 2 - own.width / 2, mine.height / 2 - own.height / 2, own.width, own.height));
    button->image = view;
    sel::addSubview_(self, view);
}

void setupForNumber(id self, int n) {
    auto* button = as<RS2NumberButton>(self);
    button->num = n;
    makeRound(self);
    auto label = UIView::make<UILabel>("UILabel", Rect(0, 0, 60, 60));
    sel::setText_(label, Value(n == kDecimalPointKey ? std::string(".") : std::to_string(n)));
    sel::setTextAlignment_(label, NSTextAlignmentCenter);
    sel::setFont_(label, UIFont::make("HelveticaNeue-Light", 28));
    sel::setTextColor_(label, sel::whiteColor(objc_getClass("UIColor")));
    sel::setBackgroundColor_(label, sel::clearColor(objc_getClass("UIColor")));
    button->number = label;
    sel::addSubview_(self, label);
}

Ref<Object> initPad(id self, Rect frame) {
    Ref<Object> pad = sel::initWithFrame_.super(objc_getClass("RS2NumberPad"), self, frame);
    if (!pad) return pad;
    KAlarmCurrent* current = KAlarmCurrent::sharedInstance();
    long long difficulty = current ? current->calcDifficult() : 0;
    auto addKey = [&](int n, Point origin) {
        Ref<Object> key = sel::buttonWithType_(objc_getClass("RS2NumberButton"), 0);
        sel::setupForNumber_(key, n);
        sel::addTarget_action_forControlEvents_(key, pad, sel::buttonWasPressed_, UIControlEventTouchUpInside);
        sel::setFrame_(key, Rect(origin, sel::frame(key).size));
        sel::addSubview_(pad, key);
    };
    addKey(0, {85, 217.5});
    for (int n = 1; n <= 9; ++n) addKey(n, {((n - 1) % 3) * 85.0, ((n - 1) / 3) * 72.5});
    if (difficulty >= 3) addKey(kDecimalPointKey, {0, 217.5});

    Ref<Object> erase = sel::buttonWithType_(objc_getClass("UIButton"), 0);
    sel::setBackgroundColor_(erase, sel::clearColor(objc_getClass("UIColor")));
    Ref<Object> picture = sel::imageWithContentsOfFile_(objc_getClass("UIImage"), Value(alertImagePath("Back")));
    auto back = sel::initWithImage_(alloc("UIImageView"), picture);
    sel::setBackgroundColor_(back, sel::clearColor(objc_getClass("UIColor")));
    sel::setFrame_(back, Rect(0, 0, 60, 60));
    sel::addSubview_(erase, back);
    sel::setFrame_(erase, Rect(170, 217.5, 60, 60));
    sel::addTarget_action_forControlEvents_(erase, pad, sel::deleteWasPressed_, UIControlEventTouchUpInside);
    sel::addSubview_(pad, erase);
    return pad;
}

}  // namespace

void registerAlertControlClasses() {
    ClassBuilder<RS2Button>("RS2Button", "UIButton").method(sel::setHighlighted_, &setHighlighted);
    ClassBuilder<RS2CircleButton>("RS2CircleButton", "RS2Button")
        .method(sel::initWithFrame_, [](id self, Rect frame) { return initClear(self, frame); })
        .method(sel::setType_, &setType)
        .method(sel::image, &getObjectProperty<RS2CircleButton, &RS2CircleButton::image>)
        .method(sel::setImage_, &setObjectProperty<RS2CircleButton, &RS2CircleButton::image>);
    ClassBuilder<RS2NumberButton>("RS2NumberButton", "RS2Button")
        .method(sel::initWithFrame_, [](id self, Rect frame) { return initClear(self, frame); })
        .method(sel::setupForNumber_, &setupForNumber)
        .property<&RS2NumberButton::num>(sel::num, sel::setNum_)
        .method(sel::number, &getObjectProperty<RS2NumberButton, &RS2NumberButton::number>)
        .method(sel::setNumber_, &setObjectProperty<RS2NumberButton, &RS2NumberButton::number>);
    ClassBuilder<RS2NumberPad>("RS2NumberPad", "UIView")
        .method(sel::initWithFrame_, &initPad)
        .method(sel::delegate, &getObjectProperty<RS2NumberPad, &RS2NumberPad::delegate>)
        .method(sel::setDelegate_, &setObjectProperty<RS2NumberPad, &RS2NumberPad::delegate>)
        .method(sel::buttonWasPressed_, [](id self, id key) {
            if (auto delegate = as<RS2NumberPad>(self)->delegate.lock()) sel::keypadButtonPressedWithNumber_(delegate, sel::num(key));
        })
        .method(sel::deleteWasPressed_, [](id self, id) {
            if (auto delegate = as<RS2NumberPad>(self)->delegate.lock()) sel::backButtonPressed(delegate);
        });
}

}  // namespace rousa
