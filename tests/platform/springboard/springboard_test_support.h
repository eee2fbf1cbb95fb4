// Shared by the SpringBoard tests: a SpringBoard process of one iOS version on
// the virtual clock (Monday 06:00 UTC), the Clock app's alarms scheduled into
// it, and readers of what the device shows and plays.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/frameworks/celestial.h"
#include "platform/frameworks/sound_record.h"
#include "platform/mobiletimer/alarm.h"
#include "platform/runtime/call_log.h"
#include "platform/springboard/device.h"
#include "platform/springboard/selectors.h"
#include "platform/springboard/springboard.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/button.h"
#include "platform/uikit/label.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/window.h"

namespace platform::sbtest {

inline host::BootOptions springBoardOn(const std::string& version) {
    host::BootOptions options;
    options.bundleIdentifier = host::kSpringBoard;
    options.systemVersion = version;
    return options;
}

inline int major(const std::string& version) { return std::stoi(version); }

class SpringBoardTest {
public:
    explicit SpringBoardTest(const std::string& version, host::BootOptions options)
        : version_(version), env_(std::move(options)) {}
    explicit SpringBoardTest(const std::string& version) : SpringBoardTest(version, springBoardOn(version)) {}

    int major() const { return sbtest::major(version_); }

    // Adds an active alarm through the Clock app's model (SpringBoard's process
    // hands it over directly).
    Ref<Object> addAlarm(long long hour, long long minute, long long days = 0, bool snooze = true, const char* title = "Wake up") {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(alarm, hour);
        sel::setMinute_(alarm, minute);
        sel::setDaySetting_(alarm, days);
        sel::setAllowsSnooze_(alarm, snooze);
        sel::setTitle_(alarm, Value(title));
        sel::addAlarm_active_(sel::sharedManager(objc_getClass("AlarmManager")), alarm, true);
        return alarm;
    }

    void advance(double seconds) { RunLoop::main().advance(seconds); }

    Ref<Object> lockScreen() { return sel::lockScreenViewController(sel::sharedInstance(objc_getClass("SBLockScreenManager"))); }
    Ref<Object> alertItems() { return sel::sharedInstance(objc_getClass("SBAlertItemsController")); }
    Ref<Object> visibleItem() { return sel::visibleAlertItem(alertItems()); }
    Ref<Object> fullscreenBulletin() {
        Ref<Object> vc = lockScreen();
        return class_hasInstanceVariable(object_getClass(vc), "_fullscreenBulletinController")
                   ? Ref<Object>(object_getIvar(vc, "_fullscreenBulletinController").object())
                   : nullptr;
    }

    // What shows the alarm: the visible alert item's class, the full-screen
    // bulletin's, or "nothing".
    std::string shown() {
        if (Ref<Object> item = visibleItem()) return item->isa()->name();
        if (Ref<Object> fb = fullscreenBulletin()) return fb->isa()->name();
        return "nothing";
    }

    // The texts of the labels and button titles in visible windows, front to back.
    std::vector<std::string> visibleTexts() {
        std::vector<std::string> out;
        for (const auto& w : UIWindow::visibleWindowsFrontToBack()) collect(w, out);
        return out;
    }

    static std::vector<springboard::ScheduledNotification> snoozes() {
        std::vector<springboard::ScheduledNotification> out;
        for (auto& s : springboard::scheduledNotifications())
            if (s.snooze) out.push_back(s);
        return out;
    }

    static std::vector<sound::Playback> playbacks() { return sound::playbacks(); }

private:
    static void collect(UIView* v, std::vector<std::string>& out) {
        if (v->hidden_ || v->alpha_ < kHitTestMinimumAlpha) return;
        if (auto* l = dynamic_cast<UILabel*>(v); l && l->text_.isString() && !l->text_.string().empty()) out.push_back(l->text_.string());
        if (dynamic_cast<UIButton*>(v)) {
            Value title = sel::currentTitle(v);
            if (title.isString()) out.push_back(title.string());
            return;
        }
        for (const auto& sub : v->subviewList()) collect(sub, out);
    }

    std::string version_;
    testing::TestEnvironment env_;
};

// Whether the calls (texts, each the start of one call's text) appear in the
// call log in this order, with any others in between.
inline ::testing::AssertionResult callsInOrder(const std::vector<std::string>& expected) {
    auto lines = callLog::lines();
    std::size_t at = 0;
    for (const auto& want : expected) {
        while (at < lines.size() && lines[at].rfind(want, 0) != 0) ++at;
        if (at == lines.size()) {
            std::string all;
            for (const auto& l : lines) all += "\n  " + l;
            return ::testing::AssertionFailure() << "missing (in order): " << want << "\ncall log:" << all;
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}

inline bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace platform::sbtest
