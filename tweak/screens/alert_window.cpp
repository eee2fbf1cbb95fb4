#include "tweak/screens/alert_window.h"

#include "platform/foundation/bundle.h"
#include "platform/foundation/run_loop.h"
#include "platform/springboard/selectors.h"
#include "platform/uikit/color.h"
#include "platform/uikit/control.h"
#include "platform/uikit/font.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/text_metrics.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/ringing.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/screens/blur_view.h"
#include "tweak/screens/properties.h"
#include "tweak/screens/question.h"

namespace rousa {

bool lockHidden = false;

namespace {

RS2AlertWindow* window(id self) { return as<RS2AlertWindow>(self); }
Ref<Object> clear() { return sel::clearColor(objc_getClass("UIColor")); }

Ref<RS2AlertWindow>& shared() {
    static auto* w = new Ref<RS2AlertWindow>();
    return *w;
}

Rect screenBounds() { return UIScreen::mainScreen()->bounds(); }

Ref<Object> lockScreenManager() { return sel::sharedInstance(objc_getClass("SBLockScreenManager")); }
Ref<Object> lockScreenView() { return sel::lockScreenView(sel::lockScreenViewController(lockScreenManager())); }

// The alarm's title: the alarm's own, or on iOS 7 the alert's text, which the
// Clock app translates when it is its default-title key.
Value titleFor(id alarm, id alert) {
    if (!alert) return alarm ? sel::uiTitle(alarm) : Value("Alarm");
    Value body = sel::bodyText(alert);
    if (body.string() != "ALARM_DEFAULT_TITLE") return body;
    auto clockBundle = NSBundle::bundleWithIdentifier(kClockBundleIdentifier);
    return clockBundle ? Value(clockBundle->localizedStringForKey("ALARM_DEFAULT_TITLE", Value(""), Value())) : body;
}

Ref<Object> circleButton(int type, SEL action, id target) {
    Ref<Object> button = sel::buttonWithType_(objc_getClass("RS2CircleButton"), 0);
    sel::setType_(button, type);
    sel::addTarget_action_forControlEvents_(button, target, action, UIControlEventTouchUpInside);
    return button;
}

void moveTo(id view, Point origin) { sel::setFrame_(view, Rect(origin, sel::frame(view).size)); }

// Both initialisers: everything but what they store and the lock-screen view.
Ref<Object> setUp(id self, Rect frame, id alarm, id alert) {
    Ref<Object> made = sel::initWithFrame_.super(objc_getClass("RS2AlertWindow"), self, frame);
    auto* w = window(made);
    if (!w) return made;
    // One ring's window shows only its own content.
    for (auto subviews = w->subviewList(); const auto& v : subviews) sel::removeFromSuperview(v);
    if (alert) w->alert = alert;
    else w->alarm = alarm;

    double W = frame.width(), H = frame.height();
    Rect screen = screenBounds();
    double SW = screen.width(), SH = screen.height();

    auto dimming = UIView::make("UIView", frame);
    sel::setBackgroundColor_(dimming, sel::blackColor(objc_getClass("UIColor")));
    sel::setAlpha_(dimming, 0.3);
    sel::insertSubview_atIndex_(made, dimming, 0);

    auto blur = UIView::make("FJBlurView", frame);
    sel::setBlurCroppingRect_(blur, frame);
    sel::setBlurEdges_(blur, false);
    sel::setBlurRadius_(blur, 20.0);
    sel::addSubview_(made, blur);

    w->alarmButtonContainer = UIView::make("UIView", frame);
    sel::setBackgroundColor_(w->alarmButtonContainer, clear());
    sel::addSubview_(made, w->alarmButtonContainer);

    w->alarmLabel = UIView::make<UILabel>("UILabel", Rect(0.1 * W, 0, 0.8 * W, 100));
    Value title = titleFor(alarm, alert);
    sel::setText_(w->alarmLabel, title);
    sel::setNumberOfLines_(w->alarmLabel, 0);
    sel::setTextColor_(w->alarmLabel, sel::whiteColor(objc_getClass("UIColor")));
    Ref<Object> font = UIFont::make("HelveticaNeue-Light", 25);
    sel::setFont_(w->alarmLabel, font);
    sel::setBackgroundColor_(w->alarmLabel, clear());
    sel::setTextAlignment_(w->alarmLabel, NSTextAlignmentCenter);
    double T = title.string().empty()
                   ? 0
                   : boundingRectWithSize(title, Size{0.8 * W, 140}, NSStringDrawingUsesLineFragmentOrigin,
                                          Value(Value::Dictionary{{NSFontAttributeName, Value(font)}}))
                         .height();
    sel::addSubview_(w->alarmButtonContainer, w->alarmLabel);

    w->dismiss = as<UIButton>(circleButton(2, sel::setAlarmToDismiss_, made));
    moveTo(w->dismiss, {SW / 2 - 40, T + 70});
    sel::addSubview_(w->alarmButtonContainer, w->dismiss);
    bool maySnooze = alert ? sel::isSnoozable(alert) : sel::allowsSnooze(alarm);
    if (maySnooze) {
        w->snooze = as<UIButton>(circleButton(1, sel::setAlarmToSnooze_, made));
        moveTo(w->snooze, {W / 2 - 100, T + 70});
        moveTo(w->dismiss, {W / 2 + 20, T + 70});
        sel::addSubview_(w->alarmButtonContainer, w->snooze);
    } else {
        w->snooze = nullptr;
    }
    sel::setFrame_(w->alarmButtonContainer, Rect(0, SH / 2 - (T + 150) / 2, W, T + 160));

    w->numberPad = as<RS2NumberPad>(sel::initWithFrame_(alloc("RS2NumberPad"), Rect(SW / 2 - 115, H - 277.5 - 25, 230, 277.5)));
    sel::setDelegate_(w->numberPad, made);
    sel::addSubview_(made, w->numberPad);

    sel::calculateRS2ationAndAnswer(made);

    sel::setAlpha_(w->alarmButtonContainer, 0.0);
    sel::setWindowLevel_(made, 3000.0);
    sel::setBackgroundColor_(made, clear());
    return made;
}

double systemVersion() { return stringDoubleValue(sel::systemVersion(sel::currentDevice(objc_getClass("UIDevice"))).string()); }

Ref<Object> alertController() { return sel::sharedInstance(objc_getClass("SBAlertItemsController")); }

void snoozeThroughSpringBoard() {
    double v = systemVersion();
    Ref<Object> item = alarmAlertItem;
    if (v >= 7.0 && v < 8.0) {
        sel::alertView_clickedButtonAtIndex_(item, item, 0);
        sel::deactivateAlertItem_(alertController(), item);
    } else if (v >= 8.0 && v < 10.0) {
        if (deviceLocked()) {
            Ref<Object> controller = sel::lockScreenViewController(lockScreenManager());
            sel::performAlternateAction(object_getIvar(controller, "_fullscreenBulletinController").object());
        } else {
            sel::deactivateAlertItem_(alertController(), item);
            sel::alertView_clickedButtonAtIndex_(item, item, 0);
        }
    }
}

void dismissThroughSpringBoard() {
    double v = systemVersion();
    if (v >= 7.0 && v < 8.0) {
        sel::deactivateAlertItem_(alertController(), alarmAlertItem);
    } else if (v >= 8.0 && v < 10.0) {
        if (deviceLocked()) sel::_dismissFullscreenBulletinAlertAnimated_(sel::lockScreenViewController(lockScreenManager()), true);
        else sel::deactivateAlertItem_(alertController(), alarmAlertItem);
    }
}

// Snooze and dismiss reach SpringBoard only for a ringing alarm, and never
// after a lock press that merely woke the screen blocks SpringBoard's own end.
void endRinging(id self, void (*action)(), int hideMode) {
    Ref<Object> protector(self);
    if (isAlarmRinging()) {
        lockButtonPressed = false;
        action();
    }
    if (!sel::isHidden(self)) sel::hideSelf_(self, hideMode);
}

void hideSelf(id self, int mode) {
    auto* w = window(self);
    if (lockHidden) sel::showAlarmView_(self, deviceLocked() ? mode : 2);
    Ref<Object> keep(self);
    unsigned long long presentation = w->presentations;
    UIView::animateWithDuration(1.0, [keep] { sel::setAlpha_(keep, 0.0); },
                                [keep, presentation](bool) {
                                    if (window(keep)->presentations == presentation) sel::setHidden_(keep, true);
                                });
}

void hideAlarmView(id) {
    Ref<Object> view = lockScreenView();
    sel::setAlpha_(view, 0.0);
    sel::setHidden_(view, true);
    lockHidden = true;
}

void showAlarmView(id, int mode) {
    Ref<Object> view = lockScreenView();
    if (mode == 1) {
        UIView::animateWithDuration(1.0, [view] { sel::setAlpha_(view, 1.0); }, [view](bool) { sel::setHidden_(view, false); });
    } else {
        sel::setAlpha_(view, 1.0);
        sel::setHidden_(view, false);
    }
    lockHidden = false;
}

}  // namespace

RS2AlertWindow* RS2AlertWindow::sharedInstance() { return as<RS2AlertWindow>(sel::sharedInstance(objc_getClass("RS2AlertWindow")).get()); }

RS2AlertWindow* presentAlertWindow(id alarmObject, id iOS7Alert, bool buttonsOnly) {
    RS2AlertWindow* result = nullptr;
    Ref<Object> alarm(alarmObject), alert(iOS7Alert);
    auto present = [&] {
        RS2AlertWindow* w = RS2AlertWindow::sharedInstance();
        Rect screen = screenBounds();
        Rect frame(0, 0, screen.width(), screen.height());
        Ref<Object> made = alert ? sel::initWithFrame_andAlert_(w, frame, alert) : sel::initWithFrame_andAlarmObject_(w, frame, alarm);
        auto* shown = as<RS2AlertWindow>(made.get());
        if (!shown) return;
        ++shown->presentations;
        sel::setHidden_(made, false);
        sel::setAlpha_(made, 0.0);
        sel::setUserInteractionEnabled_(made, true);
        if (buttonsOnly) {
            sel::setAlpha_(shown->alarmButtonContainer, 1.0);
            sel::setAlpha_(shown->questionContainer, 0.0);
            sel::setAlpha_(shown->numberPad, 0.0);
        }
        UIView::animateWithDuration(0.3, [made] { sel::setAlpha_(made, 1.0); });
        result = shown;
    };
    if (NSThread::isMainThread()) present();
    else dispatch_sync(dispatch_get_main_queue(), present);
    return result;
}

void registerAlertWindowClass() {
    using W = RS2AlertWindow;
    ClassBuilder<RS2AlertWindow>("RS2AlertWindow", "UIWindow")
        .classMethod(sel::sharedInstance, [](id) {
            auto& w = shared();
            if (!w) {
                Rect screen = screenBounds();
                w = as<RS2AlertWindow>(sel::initWithFrame_(alloc("RS2AlertWindow"), Rect(0, 0, screen.width(), screen.height())));
            }
            return Ref<Object>(w.get());
        })
        .method(sel::initWithFrame_andAlarmObject_, [](id self, Rect frame, id alarm) {
            Ref<Object> made = setUp(self, frame, alarm, nullptr);
            if (made && deviceLocked()) sel::hideAlarmView(made);
            return made;
        })
        .method(sel::initWithFrame_andAlert_, [](id self, Rect frame, id alert) { return setUp(self, frame, nullptr, alert); })
        .method(sel::_shouldCreateContextAsSecure, [](id) { return true; })
        .method(sel::setAlarmToSnooze_, [](id self, id) { endRinging(self, &snoozeThroughSpringBoard, 1); })
        .method(sel::setAlarmToDismiss_, [](id self, id) { endRinging(self, &dismissThroughSpringBoard, 2); })
        .method(sel::setAlarmToSnooze, [](id self) { sel::setAlarmToSnooze_(self, nullptr); })
        .method(sel::setAlarmToDismiss, [](id self) { sel::setAlarmToDismiss_(self, nullptr); })
        .method(sel::hideSelf_, &hideSelf)
        .method(sel::hideSelf, [](id self) { sel::hideSelf_(self, 2); })
        .method(sel::hideAlarmView, &hideAlarmView)
        .method(sel::showAlarmView_, &showAlarmView)
        .method(sel::showAlarmView, [](id self) { sel::showAlarmView_(self, 1); })
        .method(sel::calculateRS2ationAndAnswer, &calculateRS2ationAndAnswer)
        .method(sel::keypadButtonPressedWithNumber_, &keypadButtonPressedWithNumber)
        .method(sel::backButtonPressed, &backButtonPressed)
        .method(sel::checkNumberAgainstAnswer_, &checkNumberAgainstAnswer)
        .method(sel::alert, &getObjectProperty<W, &W::alert>)
        .method(sel::setAlert_, &setObjectProperty<W, &W::alert>)
        .method(sel::alarm, &getObjectProperty<W, &W::alarm>)
        .method(sel::setAlarm_, &setObjectProperty<W, &W::alarm>)
        .method(sel::alarmButtonContainer, &getObjectProperty<W, &W::alarmButtonContainer>)
        .method(sel::setAlarmButtonContainer_, &setObjectProperty<W, &W::alarmButtonContainer>)
        .method(sel::alarmLabel, &getObjectProperty<W, &W::alarmLabel>)
        .method(sel::setAlarmLabel_, &setObjectProperty<W, &W::alarmLabel>)
        .method(sel::dismiss, &getObjectProperty<W, &W::dismiss>)
        .method(sel::setDismiss_, &setObjectProperty<W, &W::dismiss>)
        .method(sel::snooze, &getObjectProperty<W, &W::snooze>)
        .method(sel::setSnooze_, &setObjectProperty<W, &W::snooze>)
        .method(sel::numberPad, &getObjectProperty<W, &W::numberPad>)
        .method(sel::setNumberPad_, &setObjectProperty<W, &W::numberPad>)
        .property<&W::answer>(sel::answer, sel::setAnswer_)
        .property<&W::answerInsane>(sel::answerInsane, sel::setAnswerInsane_)
        .property<&W::input>(sel::input, sel::setInput_)
        .property<&W::insaneInput>(sel::insaneInput, sel::setInsaneInput_)
        .method(sel::question, &getObjectProperty<W, &W::question>)
        .method(sel::setQuestion_, &setObjectProperty<W, &W::question>)
        .method(sel::answerLabel, &getObjectProperty<W, &W::answerLabel>)
        .method(sel::setAnswerLabel_, &setObjectProperty<W, &W::answerLabel>)
        .method(sel::check, &getObjectProperty<W, &W::check>)
        .method(sel::setCheck_, &setObjectProperty<W, &W::check>)
        .method(sel::checkBacker, &getObjectProperty<W, &W::checkBacker>)
        .method(sel::setCheckBacker_, &setObjectProperty<W, &W::checkBacker>)
        .method(sel::questionContainer, &getObjectProperty<W, &W::questionContainer>)
        .method(sel::setQuestionContainer_, &setObjectProperty<W, &W::questionContainer>);
}

}  // namespace rousa
