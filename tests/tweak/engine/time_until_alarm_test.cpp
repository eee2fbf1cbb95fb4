#include "tweak/engine/time_until_alarm.h"

#include <climits>

#include "engine_fixture.h"
#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/alarm_list.h"
#include "platform/springboard/device.h"
#include "platform/uikit/color.h"
#include "platform/uikit/font.h"
#include "platform/uikit/image.h"
#include "platform/uikit/image_view.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/label.h"
#include "platform/uikit/window.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/preferences.h"

namespace rousa {
namespace {

// The lock screen of these fakes: a 320 x 568 lock-screen view whose date view
// is at y 40 and whose date label ends at 70 (in the date view). The clock
// starts Monday 06:00 UTC; the 07:30 alarm is 5400 s away, "1h 31m" with the
// minute under way.
constexpr double kDateViewY = 40;
constexpr double kDateLabelBottom = 70;
constexpr double kScreenWidth = 320, kScreenHeight = 568;
// "1h 31m" in the system font of 17: 6 characters of 8.5 points, 20.4 high;
// the 16-point icon before it takes 1.5 icon widths.
constexpr double kTextWidth = 51, kTextHeight = 20.4, kIconSide = 16;
constexpr double kViewWidth = 1.5 * kIconSide + kTextWidth;

class LockScreenLabel : public ::testing::TestWithParam<const char*> {
protected:
    LockScreenLabel() : env(testing::bootFor(host::kSpringBoard, GetParam())) {
        startTweakLibrary();
        WKSShowNextActiveAlarmOnLockScreen = true;
    }

    Ref<Object> addAlarm(long long hour, long long minute, bool active = true) {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(alarm, hour);
        sel::setMinute_(alarm, minute);
        sel::addAlarm_active_(sel::sharedManager(objc_getClass("AlarmManager")), alarm, active);
        return alarm;
    }
    Ref<Object> lockScreen() { return sel::lockScreenViewController(sel::sharedInstance(objc_getClass("SBLockScreenManager"))); }
    Ref<Object> dateView() { return sel::dateView(sel::lockScreenView(lockScreen())); }
    // Locks the device with the screen off, then turns the screen on: the lock screen fades in.
    void wake() {
        device::setLocked(true);
        if (device::isScreenOn()) device::pressLockButton();
        device::pressLockButton();
    }
    Ref<Object> view() { return sel::viewWithTag_(dateView(), kTimeUntilAlarmViewTag); }
    Ref<Object> label() { return sel::viewWithTag_(view(), kTimeUntilAlarmLabelTag); }
    Ref<Object> icon() { return sel::viewWithTag_(view(), kTimeUntilAlarmIconTag); }
    std::string text() { return sel::text(label()).stringOr("nil"); }

    platform::testing::TestEnvironment env;
};

TEST_P(LockScreenLabel, ShowsTheTimeUntilTheNextAlarmUnderTheDate) {
    addAlarm(9, 0);
    addAlarm(7, 30);
    addAlarm(6, 30, false);  // off: not scheduled
    wake();
    ASSERT_TRUE(view());
    EXPECT_FALSE(sel::isHidden(view()));
    EXPECT_EQ(text(), "1h 31m");
    // Centred under the date label, in the date view's colour.
    EXPECT_EQ(sel::frame(view()), Rect(kScreenWidth / 2 - kViewWidth / 2, kDateLabelBottom + 8, kViewWidth, kTextHeight));
    EXPECT_EQ(sel::frame(label()), Rect(1.5 * kIconSide, 0, kTextWidth, kTextHeight));
    EXPECT_EQ(sel::frame(icon()), Rect(0, kTextHeight / 2 - kIconSide / 2, kIconSide, kIconSide));
    EXPECT_TRUE(as<UIColor>(sel::textColor(label()))->sameComponents(*as<UIColor>(sel::textColor(dateView()))));
    EXPECT_TRUE(as<UIColor>(sel::tintColor(icon()))->sameComponents(*as<UIColor>(sel::textColor(label()))));
    Ref<UIImage> image = as<UIImage>(sel::image(icon()));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->renderingMode_, UIImageRenderingModeAlwaysTemplate);
    // The stock fade-in ran first (it set the date label).
    EXPECT_EQ(callLog::count("SBLockScreenViewController", "startLockScreenFadeInAnimationForSource:"), 1);
}

TEST_P(LockScreenLabel, EachPositionSettingPlacesTheView) {
    struct Case {
        const char* name;
        int horizontal, horizontalStart, horizontalValue;
        int vertical, verticalStart, verticalValue;
        bool media, bulletins;
        Point origin;
    };
    const double centre = kScreenWidth / 2 - kViewWidth / 2, under = kDateLabelBottom + 8;
    const Case cases[] = {
        {"left, under the date", 1, 1, 0, 2, 1, 0, false, false, {8, under}},
        {"right", 3, 1, 0, 2, 1, 0, false, false, {kScreenWidth - kViewWidth - 8, under}},
        {"custom from the left", 0, 1, 30, 2, 1, 0, false, false, {30, under}},
        {"custom from the right", 0, 2, 30, 2, 1, 0, false, false, {kScreenWidth - kViewWidth - 30, under}},
        {"custom, unknown starting point keeps x", 0, 7, 30, 2, 1, 0, false, false, {0, under}},
        {"unknown position keeps x", 9, 1, 0, 2, 1, 0, false, false, {0, under}},
        {"under the date with media controls", 2, 1, 0, 2, 1, 0, true, true, {centre, under - 8}},
        {"under the date with bulletins", 2, 1, 0, 2, 1, 0, false, true, {centre, under - 4}},
        {"top", 2, 1, 0, 1, 1, 0, false, false, {centre, 20 - kDateViewY}},
        {"bottom", 2, 1, 0, 3, 1, 0, false, false, {centre, kScreenHeight - kTextHeight - 20 - kDateViewY}},
        {"custom from the top", 2, 1, 0, 0, 1, 100, false, false, {centre, 100 - kDateViewY}},
        {"custom from the bottom", 2, 1, 0, 0, 2, 100, false, false, {centre, kScreenHeight - kTextHeight - 100 - kDateViewY}},
        {"custom, unknown starting point keeps y", 2, 1, 0, 0, 5, 100, false, false, {centre, 0}},
    };
    addAlarm(7, 30);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WKSLockScreenHorizontalPosition = c.horizontal;
        WKSLockScreenHorizontalPositionStartingPoint = c.horizontalStart;
        WKSLockScreenHorizontalPositionValue = c.horizontalValue;
        WKSLockScreenVerticalPosition = c.vertical;
        WKSLockScreenVerticalPositionStartingPoint = c.verticalStart;
        WKSLockScreenVerticalPositionValue = c.verticalValue;
        device::setShowingMediaControls(c.media);
        device::setShowingBulletins(c.bulletins);
        // A fresh view each time, so that "kept" means the new view's zero origin.
        if (Ref<Object> old = view()) sel::removeFromSuperview(old);
        wake();
        EXPECT_EQ(sel::frame(view()), Rect(c.origin, Size{kViewWidth, kTextHeight}));
    }
}

TEST_P(LockScreenLabel, EachTimeTypeAndFormatGivesItsText) {
    struct Case {
        int type, format;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "1h 31m"},
        {0, 1, "1hr 31mins"},
        {0, 2, "1 hour 31 minutes"},
        {0, 3, "1:31"},
        {0, 4, ""},
        {1, 0, "7:30 AM"},
        {2, 0, "7:30 AM (1h 31m)"},
        {2, 3, "7:30 AM (1:31)"},
        {3, 0, ""},
    };
    addAlarm(7, 30);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.type << ", format " << c.format);
        WKSLockScreenTimeType = c.type;
        WKSLockScreenTimeFormat = c.format;
        wake();
        EXPECT_EQ(text(), c.text);
        EXPECT_FALSE(sel::isHidden(view()));
    }
}

TEST_P(LockScreenLabel, TheFontSizeScalesTheIconWithTheText) {
    struct Case {
        int size;
        double side;
    };
    // The icon is 16 points at size 17; it never goes below nothing.
    for (const Case& c : {Case{17, 16}, Case{20, 19}, Case{30, 29}, Case{1, 0}}) {
        SCOPED_TRACE(c.size);
        WKSLockScreenFontSize = c.size;
        if (view() == nullptr) addAlarm(7, 30);
        wake();
        EXPECT_EQ(as<UIFont>(sel::font(label()))->pointSize(), c.size);
        Rect label = sel::frame(this->label());
        EXPECT_EQ(sel::frame(icon()), Rect(0, label.height() / 2 - c.side / 2, c.side, c.side));
        EXPECT_EQ(label.x(), 1.5 * c.side);
    }
}

TEST_P(LockScreenLabel, HiddenBeyondTheLimitWithoutANextAlarmOrWithASnoozedAlarm) {
    // No alarm at all.
    wake();
    ASSERT_TRUE(view());
    EXPECT_TRUE(sel::isHidden(view()));

    // 30 hours away: Tuesday 12:00.
    Ref<Object> alarm = addAlarm(12, 0);
    sel::setDaySetting_(alarm, 1 << 1);  // Tuesdays
    sel::updateAlarm_active_(sel::sharedManager(objc_getClass("AlarmManager")), alarm, true);
    struct Case {
        int limit;
        bool hidden;
    };
    // The limit in hours is compared in 64 bits: the largest one does not wrap.
    for (const Case& c : {Case{24, true}, Case{31, false}, Case{0, false}, Case{INT_MAX, false}, Case{-1, true}}) {
        SCOPED_TRACE(c.limit);
        WKSHideOnLockScreenIf = c.limit;
        wake();
        EXPECT_EQ(sel::isHidden(view()), c.hidden);
    }
    EXPECT_EQ(text(), "1d 6h 1m");
}

TEST_P(LockScreenLabel, ASnoozedAlarmOnTheLockScreenHidesTheView) {
    addAlarm(6, 1);
    wake();
    EXPECT_FALSE(sel::isHidden(view()));
    RunLoop::main().advance(61);  // it rings on the lock screen
    device::pressLockButton();    // and snoozes
    EXPECT_TRUE(snoozedAlarmShown);
    wake();
    EXPECT_TRUE(sel::isHidden(view()));
}

TEST_P(LockScreenLabel, TurnedOffTheViewGoesAtTheNextFadeIn) {
    addAlarm(7, 30);
    wake();
    ASSERT_TRUE(view());
    WKSShowNextActiveAlarmOnLockScreen = false;
    wake();
    EXPECT_FALSE(view());
    // On again: built anew.
    WKSShowNextActiveAlarmOnLockScreen = true;
    wake();
    ASSERT_TRUE(view());
    EXPECT_EQ(text(), "1h 31m");
}

TEST_P(LockScreenLabel, TheNextAlarmFollowsEveryPublication) {
    Ref<Object> manager = sel::sharedManager(objc_getClass("AlarmManager"));
    EXPECT_TRUE(nextAlarmDate.isNil());
    Ref<Object> late = addAlarm(9, 0);
    Ref<Object> early = addAlarm(7, 30);
    EXPECT_EQ(nextAlarmDate, Value(clock::now().addingTimeInterval(5400)));
    sel::removeAlarm_(manager, early);
    EXPECT_EQ(nextAlarmDate, Value(clock::now().addingTimeInterval(3 * 3600)));
    sel::updateAlarm_active_(manager, late, false);
    EXPECT_TRUE(nextAlarmDate.isNil());
}

INSTANTIATE_TEST_SUITE_P(Versions, LockScreenLabel, ::testing::Values("7.1", "8.4", "9.3"), [](const auto& info) {
    std::string name = info.param;
    return "iOS" + name.substr(0, name.find('.'));
});

// --- the Clock app ----------------------------------------------------------------------------------

// The alarm list in a window; rows are 80 points high, the switch of a row at
// (253, 24.5) and 51 x 31.
class ClockAppLabel : public ::testing::Test {
protected:
    ClockAppLabel() : env(testing::bootFor(host::kClockApp, "9.3")) { startTweakLibrary(); }

    Ref<Object> addAlarm(long long hour, long long minute, bool active = true, const char* title = nullptr) {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(alarm, hour);
        sel::setMinute_(alarm, minute);
        if (title) sel::setTitle_(alarm, Value(title));
        sel::addAlarm_active_(sel::sharedManager(objc_getClass("AlarmManager")), alarm, active);
        return alarm;
    }
    void show() {
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
        list = as<AlarmViewController>(newObject("AlarmViewController"));
        sel::setRootViewController_(window, list);
        sel::makeKeyAndVisible(window);
        layoutIfNeeded(window);
    }
    AlarmView* alarmView(long long row) {
        auto* cell = as<AlarmTableViewCell>(list->tableView_->visibleCell({0, row}).get());
        return cell ? cell->alarmView_.get() : nullptr;
    }
    Ref<Object> label(long long row) { return sel::viewWithTag_(alarmView(row), kClockAppTimeLabelTag); }
    std::string name(long long row) { return sel::text(alarmView(row)->nameLabel_).stringOr("nil"); }

    platform::testing::TestEnvironment env;
    Ref<UIWindow> window;
    Ref<AlarmViewController> list;
};

TEST_F(ClockAppLabel, EachPositionPlacesTheTimeLeftOrPutsItInTheName) {
    struct Case {
        int position;
        Rect frame;
        const char* name;
    };
    const double w = kTextWidth, h = kTextHeight;
    const Case cases[] = {
        // Beside the switch's right edge, centred on half the switch's y.
        {0, Rect(304 - w, 24.5 / 2 - h / 2, w, h), "Wake"},
        // Centred between the switch's bottom and the row's.
        {1, Rect(304 - w, (55.5 + 80) / 2 - h / 2, w, h), "Wake"},
        {2, Rect(), "Wake, 1h 31m"},
        {3, Rect(), "1h 31m"},
        {7, Rect(0, 0, w, h), "Wake"},
    };
    addAlarm(7, 30, true, "Wake");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        WKSClockAppPosition = c.position;
        show();
        ASSERT_TRUE(label(0));
        EXPECT_EQ(sel::text(label(0)).stringOr("nil"), "1h 31m");
        EXPECT_FALSE(sel::isHidden(label(0)));
        EXPECT_EQ(sel::frame(label(0)), c.frame);
        EXPECT_EQ(name(0), c.name);
        EXPECT_EQ(sel::textColor(label(0)).get(), sel::textColor(alarmView(0)->timeLabel_).get());
    }
}

TEST_F(ClockAppLabel, TheFormatAndFontSizeOfTheSettings) {
    WKSClockAppTimeFormat = 2;
    WKSClockAppFontSize = 12;
    addAlarm(7, 30);
    show();
    EXPECT_EQ(sel::text(label(0)).stringOr("nil"), "1 hour 31 minutes");
    EXPECT_EQ(as<UIFont>(sel::font(label(0)))->pointSize(), 12);
    EXPECT_EQ(sel::frame(label(0)).size, (Size{17 * 6, 12 * 1.2}));
}

TEST_F(ClockAppLabel, ASwitchedOffAlarmHidesItsLabelWhenAsked) {
    addAlarm(7, 30, true);
    addAlarm(8, 0, false);
    for (bool activeOnly : {false, true}) {
        SCOPED_TRACE(activeOnly);
        WKSEnableForActiveAlarmsOnly = activeOnly;
        show();
        EXPECT_FALSE(sel::isHidden(label(0)));
        EXPECT_EQ(sel::isHidden(label(1)), activeOnly);
        EXPECT_EQ(sel::text(label(1)).stringOr("nil"), "2h 1m");
    }
    // Switched on from its row, it shows at the next layout.
    UISwitch* toggle = alarmView(1)->enabledSwitch_.get();
    touch::tap(toggle);
    layoutIfNeeded(window);
    EXPECT_FALSE(sel::isHidden(label(1)));
}

TEST_F(ClockAppLabel, OffInTheClockAppTheRowsKeepTheirStockLook) {
    addAlarm(7, 30, true, "Wake");
    WKSEnableInClockApp = false;
    WKSClockAppPosition = 3;
    show();
    EXPECT_FALSE(label(0));
    EXPECT_EQ(name(0), "Wake");
    // A label made while it was on is hidden when the row is refreshed with it off.
    WKSEnableInClockApp = true;
    sel::reloadData(list->tableView_);
    layoutIfNeeded(window);
    ASSERT_TRUE(label(0));
    Ref<Object> made = label(0);
    WKSEnableInClockApp = false;
    sel::refreshUI_animated_(list->tableView_->visibleCell({0, 0}), sel::alarms(sel::sharedManager(objc_getClass("AlarmManager"))).at(0).object(),
                             false);
    EXPECT_TRUE(sel::isHidden(made));
    EXPECT_EQ(name(0), "Wake");
}

}  // namespace
}  // namespace rousa
