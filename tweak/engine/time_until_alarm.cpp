#include "tweak/engine/time_until_alarm.h"

#include <algorithm>
#include <cstdint>

#include "platform/foundation/bundle.h"
#include "platform/foundation/date_formatter.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "tweak/engine/format_remaining_time.h"
#include "tweak/engine/hooking.h"
#include "tweak/engine/preferences.h"

namespace rousa {

constinit Value nextAlarmDate;
bool snoozedAlarmShown = false;

Value (*original_SBClockDataProvider__scheduledNotifications)(id) = nullptr;
void (*original_SBClockDataProvider__publishAlarmsWithScheduledNotifications_)(id, Value) = nullptr;
void (*original_SBLockScreenSnoozedAlarmCell_setFireDate_)(id, Value) = nullptr;
void (*original_SBLockScreenViewController_startLockScreenFadeInAnimationForSource_)(id, int) = nullptr;
void (*original_AlarmTableViewCell_refreshUI_animated_)(id, id, bool) = nullptr;
void (*original_AlarmView_setName_andRepeatText_textColor_)(id, Value, Value, id) = nullptr;
void (*original_AlarmView_layoutSubviews)(id) = nullptr;

namespace {

// Loaded once: the template icon and its height in whole points.
constinit Ref<Object> lockScreenIcon;
constinit bool lockScreenIconLoaded = false;
constinit long long iconBaseSize = 0;
constinit Ref<Object> timeFormatter;

Ref<Object> systemFont(int size) { return sel::systemFontOfSize_(objc_getClass("UIFont"), static_cast<double>(size)); }

Ref<Object> icon() {
    if (!lockScreenIconLoaded) {
        lockScreenIconLoaded = true;
        Ref<NSBundle> images = NSBundle::bundleWithPath(kImagesPath);
        Value path = images ? images->pathForResource("WakespanLockScreenIcon", "png") : Value();
        Ref<Object> image = sel::imageWithContentsOfFile_(objc_getClass("UIImage"), path);
        lockScreenIcon = sel::imageWithRenderingMode_(image, 2);
        iconBaseSize = static_cast<long long>(sel::size(lockScreenIcon).height);
    }
    return lockScreenIcon;
}

Ref<Object> formatter() {
    if (!timeFormatter) {
        timeFormatter = newObject("NSDateFormatter");
        sel::setDateStyle_(timeFormatter, NSDateFormatterNoStyle);
        sel::setTimeStyle_(timeFormatter, NSDateFormatterShortStyle);
    }
    return timeFormatter;
}

// Whole seconds from now until the date, in 64 bits (toward zero).
std::int64_t secondsUntil(const Value& date) {
    if (date.kind() != Value::Kind::Date) return 0;
    double seconds = date.date().timeIntervalSinceDate(clock::now());
    if (seconds >= 9.2e18) return INT64_MAX;
    if (seconds <= -9.2e18) return INT64_MIN;
    return static_cast<std::int64_t>(seconds);
}

int clampedSeconds(std::int64_t seconds) { return saturatedSeconds(static_cast<double>(seconds)); }

}  // namespace

// --- SpringBoard: the next alarm --------------------------------------------------------------------

Value replaced_SBClockDataProvider__scheduledNotifications(id self) {
    Value notifications = callPrevious(original_SBClockDataProvider__scheduledNotifications, self);
    sel::didScheduleNotifications_(self, notifications);
    return notifications;
}

void replaced_SBClockDataProvider__publishAlarmsWithScheduledNotifications_(id self, Value notifications) {
    callPrevious(original_SBClockDataProvider__publishAlarmsWithScheduledNotifications_, self, notifications);
    sel::didScheduleNotifications_(self, notifications);
}

void SBClockDataProvider_didScheduleNotifications_(id, Value notifications) {
    Value earliest;
    const Value now = Value(clock::now());
    for (const Value& item : notifications.array()) {
        id notification = item.object();
        if (sel::userInfo(notification)["alarmId"].isNil()) continue;
        Value next = sel::nextFireDateAfterDate_localTimeZone_(notification, now, sel::timeZone(notification));
        if (next.kind() != Value::Kind::Date) continue;
        if (earliest.isNil() || next.date() < earliest.date()) earliest = next;
    }
    nextAlarmDate = earliest;
}

void replaced_SBLockScreenSnoozedAlarmCell_setFireDate_(id self, Value fireDate) {
    snoozedAlarmShown = !fireDate.isNil();
    callPrevious(original_SBLockScreenSnoozedAlarmCell_setFireDate_, self, fireDate);
}

// --- SpringBoard: the lock-screen view ----------------------------------------------------------------

void replaced_SBLockScreenViewController_startLockScreenFadeInAnimationForSource_(id self, int source) {
    callPrevious(original_SBLockScreenViewController_startLockScreenFadeInAnimationForSource_, self, source);
    Ref<Object> dateView = sel::dateView(sel::lockScreenView(self));
    Ref<Object> container = sel::viewWithTag_(dateView, kTimeUntilAlarmViewTag);
    if (!WKSShowNextActiveAlarmOnLockScreen) {
        if (container) sel::removeFromSuperview(container);
        return;
    }
    Ref<Object> label, iconView;
    if (!container) {
        container = sel::initWithFrame_(alloc("UIView"), Rect());
        sel::setTag_(container, kTimeUntilAlarmViewTag);
        iconView = sel::initWithImage_(alloc("UIImageView"), icon());
        sel::setTag_(iconView, kTimeUntilAlarmIconTag);
        label = sel::initWithFrame_(alloc("UILabel"), Rect());
        sel::setTag_(label, kTimeUntilAlarmLabelTag);
        sel::addSubview_(container, iconView);
        sel::addSubview_(container, label);
        sel::addSubview_(dateView, container);
    } else {
        label = sel::viewWithTag_(container, kTimeUntilAlarmLabelTag);
        iconView = sel::viewWithTag_(container, kTimeUntilAlarmIconTag);
    }

    const std::int64_t interval = secondsUntil(nextAlarmDate);
    const std::int64_t limit = std::int64_t{WKSHideOnLockScreenIf} * 3600;
    if ((WKSHideOnLockScreenIf != 0 && interval > limit) || snoozedAlarmShown || nextAlarmDate.isNil()) {
        sel::setHidden_(container, true);
        return;
    }
    sel::setHidden_(container, false);
    sel::setText_(label, Value(""));
    const auto format = static_cast<unsigned>(WKSLockScreenTimeFormat);
    switch (WKSLockScreenTimeType) {
        case 0: sel::setText_(label, Value(FormatRemainingTime(clampedSeconds(interval), format))); break;
        case 1: sel::setText_(label, sel::stringFromDate_(formatter(), nextAlarmDate)); break;
        case 2:
            sel::setText_(label, Value(sel::stringFromDate_(formatter(), nextAlarmDate).stringOr("") +
                                       platform::format(" (%@)", Value(FormatRemainingTime(clampedSeconds(interval), format)))));
            break;
        default: break;
    }
    sel::setTextColor_(label, sel::textColor(dateView));
    sel::setFont_(label, systemFont(WKSLockScreenFontSize));
    sel::setTintColor_(iconView, sel::textColor(label));
    sel::sizeToFit(label);

    // The icon is centred on the label, larger or smaller with the font.
    icon();
    const double side = static_cast<double>(std::max<std::int64_t>(0, iconBaseSize + std::int64_t{WKSLockScreenFontSize} - 17));
    Rect labelFrame = sel::frame(label);
    Rect iconFrame = sel::frame(iconView);
    sel::setFrame_(iconView, Rect(iconFrame.x(), labelFrame.y() + labelFrame.height() * 0.5 - side * 0.5, side, side));
    // Half an icon's width of gap.
    labelFrame.origin.x = 1.5 * sel::frame(iconView).width();
    sel::setFrame_(label, labelFrame);
    Rect frame = sel::frame(container);
    sel::setFrame_(container, Rect(frame.x(), frame.y(), labelFrame.maxX(), labelFrame.height()));
    sel::setFrame_(container, sel::frameForAlarmView_(self, container));
}

Rect SBLockScreenViewController_frameForAlarmView_(id self, id view) {
    Ref<Object> lockView = sel::lockScreenView(self);
    Ref<Object> dateView = sel::dateView(lockView);
    const Size screen = sel::frame(lockView).size;
    const double W = screen.width, H = screen.height;
    Rect f = sel::frame(view);
    const double w = f.width(), h = f.height();
    const double D = sel::frame(dateView).y();

    switch (WKSLockScreenHorizontalPosition) {
        case 1: f.origin.x = 8; break;
        case 2: f.origin.x = W * 0.5 - w * 0.5; break;
        case 3: f.origin.x = W - w - 8; break;
        case 0:
            if (WKSLockScreenHorizontalPositionStartingPoint == 1) f.origin.x = WKSLockScreenHorizontalPositionValue;
            else if (WKSLockScreenHorizontalPositionStartingPoint == 2) f.origin.x = W - w - WKSLockScreenHorizontalPositionValue;
            break;
        default: break;
    }
    switch (WKSLockScreenVerticalPosition) {
        case 1: f.origin.y = 20 - D; break;
        case 2: {
            Ref<Object> dateLabel(object_getIvar(dateView, "_dateLabel").object());
            f.origin.y = sel::frame(dateLabel).maxY() + 8;
            if (sel::isShowingMediaControls(self)) f.origin.y -= 8;
            else if (sel::lockScreenIsShowingBulletins(self)) f.origin.y -= 4;
            break;
        }
        case 3: f.origin.y = H - h - 20 - D; break;
        case 0:
            if (WKSLockScreenVerticalPositionStartingPoint == 1) f.origin.y = WKSLockScreenVerticalPositionValue - D;
            else if (WKSLockScreenVerticalPositionStartingPoint == 2) f.origin.y = H - h - WKSLockScreenVerticalPositionValue - D;
            break;
        default: break;
    }
    return f;
}

// --- the Clock app's rows ------------------------------------------------------------------------------

void replaced_AlarmTableViewCell_refreshUI_animated_(id self, id alarm, bool animated) {
    Ref<Object> alarmView(object_getIvar(self, "_alarmView").object());
    Ref<Object> label = sel::viewWithTag_(alarmView, kClockAppTimeLabelTag);
    if (WKSEnableInClockApp) {
        sel::setHidden_(label, false);
        if (!label) {
            label = sel::initWithFrame_(alloc("UILabel"), Rect());
            sel::setTag_(label, kClockAppTimeLabelTag);
            sel::addSubview_(alarmView, label);
        }
        sel::setText_(label, Value(FormatRemainingTime(clampedSeconds(secondsUntil(sel::nextFireDate(alarm))),
                                                       static_cast<unsigned>(WKSClockAppTimeFormat))));
        sel::setFont_(label, systemFont(WKSClockAppFontSize));
        sel::sizeToFit(label);
    } else {
        sel::setHidden_(label, true);
    }
    callPrevious(original_AlarmTableViewCell_refreshUI_animated_, self, alarm, animated);
}

void replaced_AlarmView_setName_andRepeatText_textColor_(id self, Value name, Value repeatText, id textColor) {
    Ref<Object> label = sel::viewWithTag_(self, kClockAppTimeLabelTag);
    if (WKSEnableInClockApp && label) {
        if (WKSClockAppPosition == 2) name = Value(name.stringOr("") + platform::format(", %@", sel::text(label)));
        else if (WKSClockAppPosition == 3) name = sel::text(label);
    }
    callPrevious(original_AlarmView_setName_andRepeatText_textColor_, self, name, repeatText, textColor);
}

void replaced_AlarmView_layoutSubviews(id self) {
    callPrevious(original_AlarmView_layoutSubviews, self);
    Ref<Object> label = sel::viewWithTag_(self, kClockAppTimeLabelTag);
    if (!WKSEnableInClockApp || !label) return;
    Ref<Object> enabledSwitch(object_getIvar(self, "_enabledSwitch").object());
    if (WKSEnableForActiveAlarmsOnly && !sel::isOn(enabledSwitch)) {
        sel::setHidden_(label, true);
        return;
    }
    sel::setHidden_(label, false);
    Ref<Object> timeLabel(object_getIvar(self, "_timeLabel").object());
    sel::setTextColor_(label, sel::textColor(timeLabel));
    const Rect s = sel::frame(enabledSwitch);
    const Size size = sel::frame(label).size;
    switch (WKSClockAppPosition) {
        case 0: sel::setFrame_(label, Rect(s.maxX() - size.width, s.y() * 0.5 - size.height * 0.5, size.width, size.height)); break;
        case 1: {
            const double middle = (s.maxY() + sel::frame(self).maxY()) * 0.5;
            sel::setFrame_(label, Rect(s.maxX() - size.width, middle - size.height * 0.5, size.width, size.height));
            break;
        }
        case 2:
        case 3: sel::setFrame_(label, Rect()); break;
        default: break;
    }
}

}  // namespace rousa
