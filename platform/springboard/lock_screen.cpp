// The lock screen: SBLockScreenManager (lock and unlock), SBLockScreenViewController
// with its view, date view, buttons and full-screen bulletins (iOS 8 and
// later), the snoozed-alarm cell, the iOS 7 notification list, and
// SBBacklightController.
#include "platform/foundation/calendar.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/runtime/call_log.h"
#include "platform/springboard/device.h"
#include "platform/springboard/internal.h"
#include "platform/springboard/selectors.h"
#include "platform/uikit/button.h"
#include "platform/uikit/color.h"
#include "platform/uikit/font.h"
#include "platform/uikit/label.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"

namespace platform {

class SBLockScreenManager : public NSObject {
public:
    Ref<Object> viewController;
};

class SBLockScreenView : public UIView {
public:
    Ref<UIView> dateView;
};

class SBFLockScreenDateView : public UIView {
public:
    Ref<UILabel> dateLabel;
};

class SBLockScreenViewController : public UIViewController {
public:
    Ref<UIView> lockScreenView;
    Ref<Object> fullscreenBulletinController;
    Ref<UIView> snoozedAlarmCell;
    Ref<Object> notificationList;  // iOS 7
};

class SBLockScreenFullscreenBulletinViewController : public UIViewController {
public:
    Ref<Object> bulletin;
};

class SBLockScreenSnoozedAlarmCell : public UIView {
public:
    Value fireDate;
};

class SBLockScreenNotificationListController : public NSObject {
public:
    std::vector<Ref<Object>> bulletins;
};

namespace springboard::detail {

namespace {

constexpr long long kSnoozeButton = 0;
constexpr long long kDismissButton = 1;

Class* fullscreenClass() {
    static Class* c = objc_getClass("SBLockScreenFullscreenBulletinViewController");
    return c;
}

SBLockScreenViewController* lockController() { return as<SBLockScreenViewController>(lockScreenViewController().get()); }

Ref<UIWindow>& lockWindow() {
    static auto* w = new Ref<UIWindow>();
    return *w;
}

Ref<Object> manager() { return shared("SBLockScreenManager"); }

// The time the lock screen shows, "6:00".
Value timeText() {
    auto c = NSCalendar::currentCalendar()->components(clock::now());
    return Value(format("%d:%02d", static_cast<int>(c->hour), static_cast<int>(c->minute)));
}

void loadLockScreen(id self) {
    auto* vc = as<SBLockScreenViewController>(self);
    Rect screen = UIScreen::mainScreen()->bounds();
    Ref<UIView> root = UIView::make("UIView", screen);
    auto lockView = UIView::make<SBLockScreenView>("SBLockScreenView", Rect(0, 0, screen.width(), screen.height()));
    auto dateView = UIView::make<SBFLockScreenDateView>("SBFLockScreenDateView", Rect(0, 40, screen.width(), 110));
    if (lockView && dateView) {
        auto label = makeCenteredLabel(Rect(0, 0, screen.width(), 70), timeText(), 0);
        sel::setFont_(label, UIFont::systemFont(70));
        dateView->dateLabel = label;
        sel::addSubview_(dateView, label);
        lockView->dateView = dateView;
        sel::addSubview_(lockView, dateView);
        sel::setAutoresizingMask_(lockView, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        sel::addSubview_(root, lockView);
    }
    vc->lockScreenView = lockView;
    sel::setView_(self, root);
}

SBLockScreenFullscreenBulletinViewController* fullscreen() {
    auto* vc = lockController();
    return vc ? as<SBLockScreenFullscreenBulletinViewController>(vc->fullscreenBulletinController.get()) : nullptr;
}

void loadFullscreenBulletin(id self) {
    auto* fb = as<SBLockScreenFullscreenBulletinViewController>(self);
    Rect screen = UIScreen::mainScreen()->bounds();
    Ref<UIView> root = UIView::make("UIView", screen);
    double w = screen.width();
    sel::addSubview_(root, makeCenteredLabel(Rect(20, 180, w - 40, 30), sel::title(fb->bulletin), 1));
    sel::addSubview_(root, makeCenteredLabel(Rect(20, 215, w - 40, 50), sel::message(fb->bulletin), 2));
    // The unlock slider's text.
    Value slider = sel::unlockActionLabelOverride(fb->bulletin);
    if (slider.isNil()) slider = sel::fullUnlockActionLabel(fb->bulletin);
    sel::addSubview_(root, makeCenteredLabel(Rect(20, screen.height() - 60, w - 40, 30), slider, 3));
    std::vector<std::pair<long long, const char*>> buttons;
    if (bulletinAllowsSnooze(fb->bulletin)) buttons.emplace_back(kSnoozeButton, "Snooze");
    buttons.emplace_back(kDismissButton, "OK");
    double bw = (w - 40) / static_cast<double>(buttons.size());
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto b = UIButton::buttonWithType(UIButtonTypeSystem);
        sel::setFrame_(b, Rect(20 + bw * static_cast<double>(i), screen.height() - 160, bw, 50));
        sel::setTitle_forState_(b, Value(buttons[i].second), UIControlStateNormal);
        sel::setTag_(b, buttons[i].first);
        sel::addTarget_action_forControlEvents_(b, self, sel::_handleButtonTap_, UIControlEventTouchUpInside);
        sel::addSubview_(root, b);
    }
    sel::setView_(self, root);
}

void removeFullscreen(SBLockScreenViewController* vc) {
    Ref<Object> fb = vc->fullscreenBulletinController;
    vc->fullscreenBulletinController = nullptr;
    if (auto* c = as<UIViewController>(fb.get()); c && c->view_) sel::removeFromSuperview(c->view_);
}

}  // namespace

bool fullscreenBulletinIsUp() { return fullscreen() != nullptr; }

Ref<Object> takeFullscreenBulletinOff() {
    auto* vc = lockController();
    auto* fb = fullscreen();
    if (!vc || !fb) return nullptr;
    Ref<Object> b = fb->bulletin;
    removeFullscreen(vc);
    return b;
}

Ref<Object> lockScreenList() {
    auto* vc = lockController();
    if (!vc) return nullptr;
    if (!vc->notificationList) vc->notificationList = newObject("SBLockScreenNotificationListController");
    return vc->notificationList;
}

void updateLockScreenWindow() {
    auto& w = lockWindow();
    if (device::isLocked() && !w) {
        w = UIView::make<UIWindow>("UIWindow", UIScreen::mainScreen()->bounds());
        if (!w) return;
        sel::setWindowLevel_(w, kLockScreenWindowLevel);
        sel::setRootViewController_(w, lockScreenViewController());
    }
    if (w) sel::setHidden_(w, !device::isLocked());
}

void showSnoozedAlarm(const Value& fireDate) {
    auto* vc = lockController();
    if (!vc) return;
    if (!fireDate.isNil()) {
        if (!vc->snoozedAlarmCell) {
            Ref<Object> lockView = sel::lockScreenView(vc);
            Rect bounds = sel::bounds(lockView);
            vc->snoozedAlarmCell = UIView::make("SBLockScreenSnoozedAlarmCell", Rect(0, 170, bounds.width(), 60));
            sel::addSubview_(lockView, vc->snoozedAlarmCell);
        }
        sel::setFireDate_(vc->snoozedAlarmCell, fireDate);
    } else if (Ref<UIView> cell = vc->snoozedAlarmCell) {
        vc->snoozedAlarmCell = nullptr;
        sel::setFireDate_(cell, Value());
        sel::removeFromSuperview(cell);
    }
}

void registerLockScreen() {
    Version v = version();

    ClassBuilder<SBLockScreenManager>("SBLockScreenManager", "NSObject")
        .classMethod(sel::sharedInstance, &sharedInstanceOf)
        .method(sel::isUILocked, [](id) { return device::isLocked(); })
        .method(sel::lockScreenViewController,
                [](id self) -> Ref<Object> {
                    auto* m = as<SBLockScreenManager>(self);
                    if (!m->viewController) m->viewController = newObject("SBLockScreenViewController");
                    return m->viewController;
                })
        .method(sel::lockUIFromSource_withOptions_,
                [](id, int source, Value options) {
                    callLog::record("SBLockScreenManager", "lockUIFromSource:withOptions:", format("%d %@", source, options));
                    if (!device::isLocked()) device::setLocked(true);
                })
        .method(sel::unlockUIFromSource_withOptions_,
                [](id, int source, Value options) {
                    callLog::record("SBLockScreenManager", "unlockUIFromSource:withOptions:", format("%d %@", source, options));
                    if (!device::isLocked()) return;
                    device::setLocked(false);
                    wakeScreen(source);
                    if (Ref<Object> list = isiOS7() ? lockScreenList() : nullptr)
                        as<SBLockScreenNotificationListController>(list.get())->bulletins.clear();
                    // The alarm's full-screen bulletin becomes its alert; the sound goes on.
                    if (Ref<Object> b = takeFullscreenBulletinOff()) {
                        Ref<Object> alert = makeBulletinModalAlert(b);
                        if (b == ringing().bulletin) ringing().alertItem = alert;
                        sel::activateAlertItem_(shared("SBAlertItemsController"), alert);
                    }
                })
        .method(sel::biometricEventMonitorShouldRelockAfterBioUnlock_, [](id, id) {
            callLog::record("SBLockScreenManager", "biometricEventMonitorShouldRelockAfterBioUnlock:");
            return false;
        });

    ClassBuilder<SBLockScreenView>("SBLockScreenView", "UIView").method(sel::dateView, [](id self) -> Ref<Object> {
        return as<SBLockScreenView>(self)->dateView;
    });
    ClassBuilder<SBFLockScreenDateView>("SBFLockScreenDateView", "UIView")
        .ivar<&SBFLockScreenDateView::dateLabel>("_dateLabel")
        .method(sel::textColor, [](id) -> Ref<Object> { return UIColor::white(1, 1); });

    ClassBuilder<SBLockScreenViewController> lock("SBLockScreenViewController", "UIViewController");
    lock.method(sel::loadView, &loadLockScreen)
        .method(sel::lockScreenView,
                [](id self) -> Ref<Object> {
                    sel::view(self);
                    return as<SBLockScreenViewController>(self)->lockScreenView;
                })
        .method(sel::handleLockButtonPressed,
                [](id self) {
                    callLog::record("SBLockScreenViewController", "handleLockButtonPressed");
                    Ringing r = ringing();
                    if (!r.notification || !(ringingIsUp() || r.upAtLockDown)) return false;
                    // The lock button ends the alarm's alert or bulletin, then snoozes the alarm.
                    if (isiOS7()) {
                        if (alertItemIsActive(r.alertItem)) sel::dismiss_(r.alertItem, 0);
                        if (r.notification->allowSnooze_ && r.alertItem)
                            sel::systemLocalNotificationAlertShouldSnooze_(clockApplication(), r.alertItem);
                        return true;
                    }
                    if (fullscreenBulletinIsUp()) sel::_dismissFullscreenBulletinAlertAnimated_(self, true);
                    else if (alertItemIsActive(r.alertItem)) sel::deactivateAlertItem_(shared("SBAlertItemsController"), r.alertItem);
                    if (r.notification->allowSnooze_) sel::snoozeNotificationForLocalNotification_(clockApplication(), r.notification);
                    return true;
                })
        .method(sel::handleVolumeUpButtonPressed,
                [](id) {
                    callLog::record("SBLockScreenViewController", "handleVolumeUpButtonPressed");
                    stepRingtoneVolume(1);
                    return true;
                })
        .method(sel::handleVolumeDownButtonPressed,
                [](id) {
                    callLog::record("SBLockScreenViewController", "handleVolumeDownButtonPressed");
                    stepRingtoneVolume(-1);
                    return true;
                })
        .method(sel::biometricEventMonitorDidAuthenticate_,
                [](id, id monitor) {
                    callLog::record("SBLockScreenViewController", "biometricEventMonitorDidAuthenticate:");
                    if (!device::isLocked()) return;
                    Ref<Object> m = manager();
                    sel::unlockUIFromSource_withOptions_(m, device::kSourceTouchID, Value());
                    if (sel::biometricEventMonitorShouldRelockAfterBioUnlock_(m, monitor))
                        sel::lockUIFromSource_withOptions_(m, device::kSourceTouchID, Value());
                })
        .method(sel::startLockScreenFadeInAnimationForSource_,
                [](id self, int source) {
                    callLog::record("SBLockScreenViewController", "startLockScreenFadeInAnimationForSource:", std::to_string(source));
                    Ref<Object> dateView = sel::dateView(sel::lockScreenView(self));
                    sel::setText_(object_getIvar(dateView, "_dateLabel").object(), timeText());
                })
        .method(sel::isShowingMediaControls, [](id) { return device::isShowingMediaControls(); })
        .method(sel::lockScreenIsShowingBulletins, [](id) {
            auto* list = isiOS7() ? as<SBLockScreenNotificationListController>(lockScreenList().get()) : nullptr;
            return device::isShowingBulletins() || (list && !list->bulletins.empty());
        });
    if (v != Version::iOS7) {
        lock.ivar<&SBLockScreenViewController::fullscreenBulletinController>("_fullscreenBulletinController")
            .method(sel::presentFullscreenBulletinAlertWithItem_,
                    [](id self, id item) {
                        callLog::record("SBLockScreenViewController", "presentFullscreenBulletinAlertWithItem:",
                                        sel::sectionID(item).description());
                        auto* vc = as<SBLockScreenViewController>(self);
                        if (vc->fullscreenBulletinController) removeFullscreen(vc);
                        Ref<Object> fb = sel::initWithNibName_bundle_(alloc(fullscreenClass()), Value(), nullptr);
                        auto* c = as<SBLockScreenFullscreenBulletinViewController>(fb.get());
                        if (!c) return;
                        c->bulletin = item;
                        vc->fullscreenBulletinController = fb;
                        Ref<Object> view = sel::view(fb);
                        sel::setFrame_(view, sel::bounds(sel::view(self)));
                        sel::addSubview_(sel::view(self), view);
                    })
            .method(sel::dismissFullscreenBulletinAlertWithItem_,
                    [](id self, id item) {
                        callLog::record("SBLockScreenViewController", "dismissFullscreenBulletinAlertWithItem:",
                                        sel::sectionID(item).description());
                        auto* vc = as<SBLockScreenViewController>(self);
                        auto* fb = as<SBLockScreenFullscreenBulletinViewController>(vc->fullscreenBulletinController.get());
                        if (!fb) return;
                        bool alarm = fb->bulletin && fb->bulletin == ringing().bulletin;
                        removeFullscreen(vc);
                        // Ending the alarm's bulletin ends its sound.
                        if (alarm) stopAlarmSound();
                    })
            .method(sel::_dismissFullscreenBulletinAlertAnimated_, [](id self, bool animated) {
                callLog::record("SBLockScreenViewController", "_dismissFullscreenBulletinAlertAnimated:", animated ? "YES" : "NO");
                auto* fb = fullscreen();
                if (fb) sel::dismissFullscreenBulletinAlertWithItem_(self, Ref<Object>(fb->bulletin));
            });

        ClassBuilder<SBLockScreenFullscreenBulletinViewController>("SBLockScreenFullscreenBulletinViewController", "UIViewController")
            .method(sel::initWithNibName_bundle_,
                    [](id self, Value nib, id bundle) {
                        callLog::record("SBLockScreenFullscreenBulletinViewController", "initWithNibName:bundle:");
                        return sel::initWithNibName_bundle_.super(fullscreenClass(), self, nib, bundle);
                    })
            .method(sel::loadView, &loadFullscreenBulletin)
            .method(sel::performAlternateAction,
                    [](id self) {
                        callLog::record("SBLockScreenFullscreenBulletinViewController", "performAlternateAction");
                        Ref<Object> protector(self);
                        Ref<Object> b = as<SBLockScreenFullscreenBulletinViewController>(self)->bulletin;
                        // Snooze: the bulletin goes, then the alarm is snoozed.
                        sel::_dismissFullscreenBulletinAlertAnimated_(lockScreenViewController(), true);
                        if (bulletinAllowsSnooze(b))
                            sel::snoozeNotificationForLocalNotification_(clockApplication(), bulletinNotification(b));
                    })
            .method(sel::_handleButtonTap_, [](id self, id sender) {
                Ref<Object> protector(self);
                if (sel::tag(sender) == kSnoozeButton) sel::performAlternateAction(self);
                else sel::_dismissFullscreenBulletinAlertAnimated_(lockScreenViewController(), true);
            });
    }

    ClassBuilder<SBLockScreenSnoozedAlarmCell>("SBLockScreenSnoozedAlarmCell", "UIView")
        .method(sel::setFireDate_, [](id self, Value date) {
            callLog::record("SBLockScreenSnoozedAlarmCell", "setFireDate:", date.description());
            as<SBLockScreenSnoozedAlarmCell>(self)->fireDate = date;
        });

    if (v == Version::iOS7) {
        ClassBuilder<SBLockScreenNotificationListController>("SBLockScreenNotificationListController", "NSObject")
            .method(sel::observer_addBulletin_forFeed_, [](id self, id, id b, unsigned long long feed) {
                callLog::record("SBLockScreenNotificationListController", "observer:addBulletin:forFeed:",
                                sel::sectionID(b).description() + " " + std::to_string(feed));
                as<SBLockScreenNotificationListController>(self)->bulletins.emplace_back(b);
            });
    }

    ClassBuilder<NSObject> backlight("SBBacklightController", "NSObject");
    if (!isiOS9()) backlight.method(sel::screenIsOff, [](id) { return !device::isScreenOn(); });
    backlight.classMethod(sel::sharedInstance, &sharedInstanceOf)
        .method(sel::screenIsOn, [](id) { return device::isScreenOn(); })
        .method(sel::setBacklightFactor_source_, [](id, float factor, int source) {
            callLog::record("SBBacklightController", "setBacklightFactor:source:", format("%g %d", factor, source));
            bool was = device::isScreenOn();
            device::setScreenOn(factor > 0);
            // The lock screen fades in each time the screen comes on while locked.
            if (factor > 0 && !was && device::isLocked())
                sel::startLockScreenFadeInAnimationForSource_(lockScreenViewController(), source);
        });

    ClassBuilder<NSObject>("SBUIBiometricEventMonitor", "NSObject").classMethod(sel::sharedInstance, &sharedInstanceOf);
}

}  // namespace springboard::detail
}  // namespace platform
