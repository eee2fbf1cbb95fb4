#include "tweak/screens/alert_window.h"

#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "tweak/engine/installer.h"

namespace rousa {
namespace {

class AlertWindow : public ::testing::Test {
protected:
    AlertWindow() { registerTweakClasses(); }
    Ref<Object> alarm(Value title, bool snooze) {
        auto a = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setTitle_(a, title);
        sel::setAllowsSnooze_(a, snooze);
        return a;
    }
    static std::vector<std::string> classesOf(const UIView* view) {
        std::vector<std::string> out;
        for (const auto& v : view->subviewList()) out.push_back(object_getClass(v)->name());
        return out;
    }
    platform::testing::TestEnvironment env{host::BootOptions{.bundleIdentifier = host::kSpringBoard, .systemVersion = "8.4"}};
};

TEST_F(AlertWindow, TheSharedWindowStartsHiddenAndEmpty) {
    RS2AlertWindow* w = RS2AlertWindow::sharedInstance();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(RS2AlertWindow::sharedInstance(), w);
    EXPECT_TRUE(sel::isHidden(w));
    EXPECT_TRUE(w->subviewList().empty());
    EXPECT_TRUE(sel::_shouldCreateContextAsSecure(w));
}

TEST_F(AlertWindow, ItsPropertiesReadAndStoreOnly) {
    RS2AlertWindow* w = RS2AlertWindow::sharedInstance();
    auto label = UIView::make<UILabel>("UILabel", Rect());
    auto view = UIView::make("UIView", Rect());
    Ref<Object> a = alarm(Value("Wake"), true);
    sel::setAlarmLabel_(w, label);
    sel::setQuestionContainer_(w, view);
    sel::setAlarm_(w, a);
    sel::setAnswer_(w, 42);
    sel::setAnswerInsane_(w, 2.5);
    sel::setInput_(w, 7);
    sel::setInsaneInput_(w, 0.5);
    EXPECT_EQ(sel::alarmLabel(w).get(), label.get());
    EXPECT_EQ(w->questionContainer.get(), view.get());
    EXPECT_EQ(sel::alarm(w).get(), a.get());
    EXPECT_EQ(sel::answer(w), 42);
    EXPECT_EQ(sel::answerInsane(w), 2.5);
    EXPECT_EQ(sel::input(w), 7);
    EXPECT_EQ(sel::insaneInput(w), 0.5);
    EXPECT_TRUE(w->subviewList().empty());  // storing adds nothing to the window
    // A value of another class is not taken; nil clears.
    sel::setAlarmLabel_(w, view);
    EXPECT_FALSE(sel::alarmLabel(w));
    sel::setAlarm_(w, nullptr);
    EXPECT_FALSE(sel::alarm(w));
}

TEST_F(AlertWindow, ViewTreeAndButtonPlacesFollowSnoozeAndTitle) {
    struct Case {
        const char* name;
        Value title;
        bool snooze;
        bool hasSnooze;
        Point dismissAt, snoozeAt;
    };
    // Phone screen 320 x 568; "Wake" is one 30-point line in 25-point type.
    const Case cases[] = {
        {"snooze allowed", Value("Wake"), true, true, {180, 100}, {60, 100}},
        {"no snooze", Value("Wake"), false, false, {120, 100}, {}},
        {"no title", Value(), true, true, {180, 70}, {60, 70}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RS2AlertWindow* w = presentAlertWindow(alarm(c.title, c.snooze), nullptr, false);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(classesOf(w), (std::vector<std::string>{"UIView", "FJBlurView", "UIView", "RS2NumberPad", "UIView"}));
        EXPECT_EQ(sel::windowLevel(w), 3000.0);
        EXPECT_EQ(w->snooze != nullptr, c.hasSnooze);
        EXPECT_EQ(sel::frame(w->dismiss).origin, c.dismissAt);
        if (c.hasSnooze) {
            EXPECT_EQ(sel::frame(w->snooze).origin, c.snoozeAt);
        }
        double T = c.title.isNil() ? 0 : 30;
        EXPECT_EQ(sel::frame(w->alarmButtonContainer), Rect(0, 284 - (T + 150) / 2, 320, T + 160));
        EXPECT_EQ(sel::frame(w->numberPad), Rect(45, 568 - 277.5 - 25, 230, 277.5));
        // Question mode until the answer is right.
        EXPECT_EQ(sel::alpha(w->alarmButtonContainer), 0.0);
        EXPECT_EQ(sel::text(w->alarmLabel), c.title);
    }
}

TEST_F(AlertWindow, ANilAlarmShowsAlarmWithoutSnooze) {
    RS2AlertWindow* w = presentAlertWindow(nullptr, nullptr, true);
    EXPECT_EQ(sel::text(w->alarmLabel).string(), "Alarm");
    EXPECT_EQ(w->snooze, nullptr);
    EXPECT_EQ(sel::alpha(w->alarmButtonContainer), 1.0);
    EXPECT_EQ(sel::alpha(w->numberPad), 0.0);
}

TEST_F(AlertWindow, TheWindowFadesInAndOut) {
    RS2AlertWindow* w = presentAlertWindow(alarm(Value("Wake"), true), nullptr, true);
    EXPECT_FALSE(sel::isHidden(w));
    RunLoop::main().advance(0.3);
    EXPECT_EQ(sel::alpha(w), 1.0);
    sel::hideSelf(w);
    RunLoop::main().advance(0.99);
    EXPECT_FALSE(sel::isHidden(w));
    RunLoop::main().advance(0.01);
    EXPECT_TRUE(sel::isHidden(w));
}

TEST_F(AlertWindow, RepeatedRingsLeaveOneSetOfViews) {
    for (int i = 0; i < 3; ++i) presentAlertWindow(alarm(Value("Wake"), true), nullptr, false);
    RS2AlertWindow* w = RS2AlertWindow::sharedInstance();
    EXPECT_EQ(w->subviewList().size(), 5u);
    EXPECT_EQ(w->alarmButtonContainer->subviewList().size(), 3u);
}

TEST_F(AlertWindow, APresentationDuringAFadeOutStays) {
    RS2AlertWindow* w = presentAlertWindow(alarm(Value("First"), true), nullptr, true);
    RunLoop::main().advance(1.0);
    sel::hideSelf(w);
    RunLoop::main().advance(0.5);
    presentAlertWindow(alarm(Value("Second"), true), nullptr, true);
    RunLoop::main().advance(2.0);
    EXPECT_FALSE(sel::isHidden(w));
    EXPECT_EQ(sel::alpha(w), 1.0);
}

TEST_F(AlertWindow, WithoutARingingAlarmTheButtonsOnlyHideTheWindow) {
    RS2AlertWindow* w = presentAlertWindow(alarm(Value("Wake"), true), nullptr, true);
    RunLoop::main().advance(0.3);
    sel::setAlarmToDismiss(w);
    RunLoop::main().advance(1.0);
    EXPECT_TRUE(sel::isHidden(w));
    EXPECT_TRUE(callLog::lines("SBAlertItemsController").empty());
}

}  // namespace
}  // namespace rousa
