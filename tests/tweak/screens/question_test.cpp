#include "tweak/screens/question.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>

#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/random.h"
#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/touch.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/store.h"
#include "tweak/screens/alert_window.h"

namespace rousa {
namespace {

class SystemAlert : public NSObject {};
inline constexpr Sel<Value(id)> bodyText{"bodyText"};
inline constexpr Sel<bool(id)> isSnoozable{"isSnoozable"};

class Question : public ::testing::Test {
protected:
    Question() {
        registerTweakClasses();
        ClassBuilder<SystemAlert>("SystemAlert", "NSObject")
            .method(bodyText, [](id) { return Value("Wake"); })
            .method(isSnoozable, [](id) { return true; });
    }
    // The random source gives these draws in turn, then zeros.
    static void drawFrom(std::deque<std::uint32_t> draws) {
        auto queue = std::make_shared<std::deque<std::uint32_t>>(std::move(draws));
        platform::setRandomSource([queue] {
            if (queue->empty()) return 0u;
            auto v = queue->front();
            queue->pop_front();
            return v;
        });
    }
    // The window for a current record of this difficulty, with these draws.
    RS2AlertWindow* ring(long long difficulty, std::deque<std::uint32_t> draws, bool iOS7Alert = false) {
        plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{
            {"Alarms", Value::array({Value(Value::Dictionary{{"alarmId", Value("A")}, {"calcDifficult", Value(difficulty)}})})}}));
        KAlarmCurrent::sharedInstance(Value("A"));
        drawFrom(std::move(draws));
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        Ref<Object> alert = iOS7Alert ? alloc("SystemAlert") : nullptr;
        RS2AlertWindow* w = presentAlertWindow(iOS7Alert ? nullptr : alarm.get(), alert, false);
        RunLoop::main().advance(0.3);
        return w;
    }
    void type(RS2AlertWindow* w, const std::string& keys) {
        for (char c : keys) {
            if (c == '<') sel::backButtonPressed(w);
            else sel::keypadButtonPressedWithNumber_(w, c == '.' ? kDecimalPointKey : c - '0');
        }
    }
    void verify(RS2AlertWindow* w) {
        sel::checkNumberAgainstAnswer_(w, nullptr);
        RunLoop::main().advance(0.7);
    }
    bool answeredRight(RS2AlertWindow* w) { return sel::alpha(w->alarmButtonContainer) == 1.0 && sel::alpha(w->numberPad) == 0.0; }

    platform::testing::TestEnvironment env{host::BootOptions{.bundleIdentifier = host::kSpringBoard, .systemVersion = "8.4"}};
};

struct DrawCase {
    const char* name;
    long long difficulty;
    std::deque<std::uint32_t> draws;
    std::string text;
    std::string answer;  // typed as the user would
};
void PrintTo(const DrawCase& c, std::ostream* os) { *os << c.name; }

class Draws : public Question, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(Draws, EachDifficultyAsksItsQuestion) {
    const DrawCase& c = GetParam();
    RS2AlertWindow* w = ring(c.difficulty, c.draws);
    EXPECT_EQ(sel::text(w->question).string(), c.text);
    type(w, c.answer);
    verify(w);
    EXPECT_TRUE(answeredRight(w));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Draws,
    ::testing::Values(DrawCase{"easy_minus", 0, {2, 10, 3}, "15 - 4", "11"},
                      DrawCase{"easy_plus", 0, {1, 7, 20}, "8 + 6", "14"},
                      DrawCase{"normal_plus", 1, {4, 5, 3}, "15 + 13", "28"},
                      DrawCase{"normal_minus_stays_positive", 1, {1, 44, 48}, "50 - 49", "1"},
                      DrawCase{"normal_times", 1, {2, 8, 0}, "11 x 3", "33"},
                      DrawCase{"hard_plus", 2, {8, 3, 2, 5}, "(12 x 7) + 9", "93"},
                      DrawCase{"hard_minus", 2, {8, 3, 1, 100}, "(12 x 7) - 18", "66"},
                      DrawCase{"lifeless_plus", 3, {3, 7, 6, 3, 0, 8}, "(12.3 x 8.3) + 40", "142.09"},
                      DrawCase{"lifeless_trailing_zero", 3, {3, 7, 6, 3, 0, 8}, "(12.3 x 8.3) + 40", "142.090"},
                      DrawCase{"lifeless_whole_answer", 3, {0, 0, 0, 1, 0, 10}, "(6 x 7) + 42", "84"},
                      DrawCase{"lifeless_ten_becomes_nine", 3, {0, 0, 4, 4, 2, 0}, "(9 x 9) x 4", "324"},
                      DrawCase{"lifeless_minus_below_the_product", 3, {3, 7, 6, 3, 1, 106}, "(12.3 x 8.3) - 6", "96.09"},
                      DrawCase{"difficulty_above_three_is_lifeless", 7, {0, 0, 0, 1, 0, 10}, "(6 x 7) + 42", "84"},
                      DrawCase{"difficulty_below_zero_is_easy", -2, {1, 7, 20}, "8 + 6", "14"}),
    [](const auto& info) { return info.param.name; });

TEST_F(Question, TheLifelessLevelLogsItsDraws) {
    ring(3, {3, 7, 6, 3, 0, 8});
    EXPECT_TRUE(log::contains("val1 == 0.300000, val2 == 0.700000"));
    EXPECT_TRUE(log::contains("self.answerInsane == 142.09"));
}

TEST_F(Question, KeysTakeEightCharactersAndReadUpToTheSecondPoint) {
    RS2AlertWindow* w = ring(3, {3, 7, 6, 3, 0, 8});
    type(w, "1.2.3");
    EXPECT_EQ(sel::text(w->answerLabel).string(), "1.2.3");
    EXPECT_DOUBLE_EQ(w->insaneInput, static_cast<double>(1.2f));
    type(w, "<<<<<");
    EXPECT_EQ(sel::text(w->answerLabel).string(), "");
    EXPECT_EQ(w->insaneInput, 0.0);
    type(w, "123456789");
    EXPECT_EQ(sel::text(w->answerLabel).string(), "12345678");
    sel::backButtonPressed(w);
    EXPECT_EQ(sel::text(w->answerLabel).string(), "1234567");
}

TEST_F(Question, AWrongAnswerFlashesAndEmptiesTheEntry) {
    RS2AlertWindow* w = ring(0, {1, 7, 20});  // 8 + 6
    type(w, "13");
    sel::checkNumberAgainstAnswer_(w, nullptr);
    RunLoop::main().advance(0.29);
    EXPECT_EQ(sel::alpha(w->checkBacker), 0.5);
    EXPECT_EQ(sel::alpha(w->answerLabel), 0.1);
    EXPECT_EQ(sel::text(w->answerLabel).string(), "13");
    // When the flash ends the entry empties and fades back.
    RunLoop::main().advance(0.01);
    EXPECT_EQ(sel::text(w->answerLabel).string(), "");
    EXPECT_EQ(w->input, 0);
    EXPECT_EQ(sel::alpha(w->checkBacker), 0.0);
    EXPECT_EQ(sel::alpha(w->answerLabel), 1.0);
    RunLoop::main().advance(0.3);
    EXPECT_FALSE(answeredRight(w));
    // Verify on the emptied entry is wrong again.
    verify(w);
    EXPECT_FALSE(answeredRight(w));
    type(w, "14");
    verify(w);
    EXPECT_TRUE(answeredRight(w));
}

TEST_F(Question, AnEmptiedEntryNeverPassesForTheNextQuestion) {
    // Two questions with the same answer: the first one's typed value is not kept.
    RS2AlertWindow* w = ring(0, {1, 7, 20});
    type(w, "14");
    w = ring(0, {1, 7, 20});
    verify(w);
    EXPECT_FALSE(answeredRight(w));
    type(w, "1<");
    verify(w);
    EXPECT_FALSE(answeredRight(w));
}

TEST_F(Question, NoCurrentRecordAsksAnEasyQuestion) {
    drawFrom({1, 7, 20});
    RS2AlertWindow* w = presentAlertWindow(nullptr, nullptr, false);
    EXPECT_EQ(sel::text(w->question).string(), "8 + 6");
}

TEST_F(Question, CountersAreKeptOnlyForAnIOS7AlertAndOnlyWhenTheFileExists) {
    RS2AlertWindow* w = ring(0, {1, 7, 20}, false);
    type(w, "1");
    verify(w);
    EXPECT_TRUE(plist::readFile(kRousaPrefsPath)["numWrong"].isNil());

    w = ring(0, {1, 7, 20}, true);
    plist::update(kRousaPrefsPath, [](Value::Dictionary& d) {
        d["numWrong"] = Value("4");  // a string converts as Foundation converts it
        d["numRight"] = Value::array({});  // no usable kind: counts as absent
        return true;
    });
    type(w, "1");
    verify(w);
    type(w, "14");
    verify(w);
    Value prefs = plist::readFile(kRousaPrefsPath);
    EXPECT_EQ(prefs["numWrong"], Value(5));
    EXPECT_EQ(prefs["numRight"], Value(1));
    EXPECT_EQ(prefs["Alarms"].count(), 1u);

    fs::removeFile(kRousaPrefsPath);
    w = ring(0, {1, 7, 20}, true);
    fs::removeFile(kRousaPrefsPath);
    type(w, "1");
    verify(w);
    EXPECT_FALSE(fs::exists(kRousaPrefsPath));
}

TEST_F(Question, TheButtonsCannotBePressedUntilTheAnswerIsRight) {
    RS2AlertWindow* w = ring(0, {1, 7, 20});
    Point dismissAt = touch::screenCenter(w->dismiss);
    EXPECT_NE(touch::hitTest(dismissAt).view.get(), static_cast<UIView*>(w->dismiss.get()));
    type(w, "14");
    verify(w);
    EXPECT_EQ(touch::hitTest(dismissAt).view.get(), static_cast<UIView*>(w->dismiss.get()));
    touch::tap(dismissAt);
    RunLoop::main().advance(1.0);
    EXPECT_TRUE(sel::isHidden(w));
}

TEST(QuestionLayout, StandsMidwayAboveThePadAndOnAPadThePadMovesBelowIt) {
    platform::testing::TestEnvironment env({}, false);
    for (long long idiom : {0LL, 1LL}) {
        SCOPED_TRACE(idiom);
        host::BootOptions options{.bundleIdentifier = host::kSpringBoard, .systemVersion = "8.4", .deviceRoot = env.root(),
                                  .virtualClockStart = Date{0}, .interfaceIdiom = idiom};
        std::string got = platform::testing::runInChild(options, [] {
            registerTweakClasses();
            plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{
                {"Alarms", Value::array({Value(Value::Dictionary{{"alarmId", Value("A")}, {"calcDifficult", Value(0)}})})}}));
            KAlarmCurrent::sharedInstance(Value("A"));
            Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
            RS2AlertWindow* w = presentAlertWindow(alarm.get(), nullptr, false);
            const double W = sel::frame(w).width();
            Rect container = sel::frame(w->questionContainer), pad = sel::frame(w->numberPad);
            std::string out;
            auto check = [&](bool ok, const char* what) { out += ok ? "" : std::string(" wrong ") + what; };
            check(container.x() == 0.1 * W && container.width() == 0.8 * W && container.height() == 120, "container");
            check(sel::frame(w->question) == Rect(0, 0, 0.8 * W, 40), "question");
            check(sel::frame(w->answerLabel) == Rect(0.4 * W - 110, 70, 120, 50), "answer label");
            check(sel::frame(w->check) == Rect(0.4 * W + 20, 70, 80, 50), "check");
            check(sel::frame(w->checkBacker) == sel::frame(w->answerLabel), "backer");
            if (sel::userInterfaceIdiom(sel::currentDevice(objc_getClass("UIDevice"))) == 1) {
                // The pad stands 60 points below the question, which stood midway above the pad's first place.
                check(pad.y() == container.y() + 120 + 60, "pad below");
                out += " pad";
            } else {
                check(sel::center(w->questionContainer).y == pad.y() / 2, "midway");
                out += " phone";
            }
            return out;
        });
        EXPECT_EQ(got, idiom == 1 ? " pad" : " phone");
    }
}

}  // namespace
}  // namespace rousa
