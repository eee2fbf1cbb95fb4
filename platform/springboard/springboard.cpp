#include "platform/springboard/springboard.h"

#include <map>

#include "platform/foundation/process.h"
#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/scheduling.h"
#include "platform/springboard/app_switcher.h"
#include "platform/springboard/internal.h"
#include "platform/springboard/selectors.h"

namespace platform::springboard {

namespace detail {

Version version() {
    double cf = process::info().coreFoundationVersion;
    if (cf < 1140.1) return Version::iOS7;
    if (cf < 1240.1) return Version::iOS8;
    return Version::iOS9;
}

Ringing& ringing() {
    static auto* r = new Ringing();
    return *r;
}

bool ringingIsUp() {
    auto& r = ringing();
    if (!r.notification) return false;
    return alertItemIsActive(r.alertItem) || fullscreenBulletinIsUp();
}

Ref<Object> sharedInstanceOf(id cls) {
    static auto* instances = new std::map<std::string, Ref<Object>, std::less<>>();
    auto* c = dynamic_cast<Class*>(cls);
    if (!c) return nullptr;
    Ref<Object>& slot = (*instances)[c->name()];
    if (!slot) slot = newObject(c->name());
    return slot;
}

Ref<Object> shared(std::string_view className) { return sel::sharedInstance(objc_getClass(className)); }

Ref<Object> lockScreenViewController() { return sel::lockScreenViewController(shared("SBLockScreenManager")); }

bool isLocked() { return sel::isUILocked(shared("SBLockScreenManager")); }

bool screenIsOn() { return sel::screenIsOn(shared("SBBacklightController")); }

void wakeScreen(int source) {
    Ref<Object> backlight = shared("SBBacklightController");
    if (backlight && !sel::screenIsOn(backlight)) sel::setBacklightFactor_source_(backlight, 1.0f, source);
}

std::string describe(id notification) {
    Value alarmId = sel::userInfo(notification)["alarmId"];
    return alarmId.isString() ? alarmId.string() : alarmId.description();
}

Ref<UILabel> makeCenteredLabel(Rect frame, const Value& text, long long tag) {
    auto label = UIView::make<UILabel>("UILabel", frame);
    if (!label) return nullptr;
    sel::setText_(label, text);
    sel::setTag_(label, tag);
    sel::setTextAlignment_(label, NSTextAlignmentCenter);
    return label;
}

Ref<UILocalNotification> snoozeCopy(id notification, double seconds) {
    auto copy = as<UILocalNotification>(sel::copy(notification));
    if (!copy) return nullptr;
    copy->fireDate_ = Value(clock::now().addingTimeInterval(seconds));
    copy->repeatInterval_ = 0;
    return copy;
}

}  // namespace detail

void registerClasses() {
    if (!process::isSpringBoard()) return;
    registerAppSwitcher();
    detail::registerSound();
    detail::registerBulletins();
    detail::registerAlertItems();
    detail::registerLockScreen();
    detail::registerApplications();
    detail::registerControlCenter();
    // The Clock app's alarms reach this process's schedule directly.
    mobiletimer::setScheduleHandOver(&scheduleClockNotifications);
    detail::loadSchedule();
}

}  // namespace platform::springboard
