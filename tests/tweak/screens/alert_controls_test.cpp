#include "tweak/screens/alert_controls.h"

#include <gtest/gtest.h>

#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/color.h"
#include "platform/uikit/image.h"
#include "platform/uikit/touch.h"
#include "platform/uikit/window.h"
#include "platform/testing/test_environment.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/store.h"

namespace rousa {
namespace {

class PadDelegate : public NSObject {
public:
    std::vector<int> keys;
    int backs = 0;
};

class NumberPad : public ::testing::Test {
protected:
    NumberPad() {
        registerTweakClasses();
        ClassBuilder<PadDelegate>("PadDelegate", "NSObject")
            .method(sel::keypadButtonPressedWithNumber_, [](id self, int n) { as<PadDelegate>(self)->keys.push_back(n); })
            .method(sel::backButtonPressed, [](id self) { ++as<PadDelegate>(self)->backs; });
    }
    // A pad in a visible window at the origin, for a current record of this difficulty.
    Ref<Object> showPad(long long difficulty) {
        plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{
            {"Alarms", Value::array({Value(Value::Dictionary{{"alarmId", Value("A")}, {"calcDifficult", Value(difficulty)}})})}}));
        KAlarmCurrent::sharedInstance(Value("A"));
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
        sel::makeKeyAndVisible(window);
        pad = sel::initWithFrame_(alloc("RS2NumberPad"), Rect(0, 0, 230, 277.5));
        delegate = alloc("PadDelegate");
        sel::setDelegate_(pad, delegate);
        sel::addSubview_(window, pad);
        return pad;
    }
    std::vector<Ref<UIView>> keys() const {
        std::vector<Ref<UIView>> out;
        for (const auto& v : as<UIView>(pad)->subviewList()) out.push_back(v);
        return out;
    }

    platform::testing::TestEnvironment env;
    Ref<UIWindow> window;
    Ref<Object> pad, delegate;
};

TEST_F(NumberPad, HasElevenKeysBelowTheLifelessLevelAndTwelveAtIt) {
    struct Case {
        long long difficulty;
        std::size_t keys;
        bool point;
    };
    for (const Case c : {Case{0, 11, false}, Case{2, 11, false}, Case{3, 12, true}}) {
        SCOPED_TRACE(c.difficulty);
        showPad(c.difficulty);
        EXPECT_EQ(keys().size(), c.keys);
        Ref<UIView> corner = touch::hitTest({30, 247.5}).view;
        EXPECT_EQ(corner && isKindOfClass(corner, "RS2NumberButton"), c.point);
        sel::removeFromSuperview(pad);
    }
}

TEST_F(NumberPad, KeysStandInTheirGridAndReportTheirValue) {
    showPad(3);
    const std::pair<Point, int> presses[] = {{{30, 30}, 1},     {{115, 30}, 2},   {{200, 30}, 3},   {{30, 102.5}, 4},
                                             {{115, 175}, 8},   {{200, 175}, 9},  {{115, 247.5}, 0}, {{30, 247.5}, kDecimalPointKey}};
    std::vector<int> want;
    for (auto [point, value] : presses) {
        touch::tap(point);
        want.push_back(value);
    }
    EXPECT_EQ(as<PadDelegate>(delegate)->keys, want);
    touch::tap(Point{200, 247.5});
    EXPECT_EQ(as<PadDelegate>(delegate)->backs, 1);
    // Between the keys nothing is pressed.
    touch::tap(Point{72, 30});
    EXPECT_EQ(as<PadDelegate>(delegate)->keys.size(), want.size());
}

TEST_F(NumberPad, KeysAreRoundAndFillWithTheirTintWhilePressed) {
    showPad(0);
    Ref<UIView> key = touch::hitTest({115, 30}).view;
    ASSERT_TRUE(key);
    auto layer = sel::layer(key);
    EXPECT_EQ(sel::cornerRadius(layer), 30.0);
    EXPECT_EQ(sel::borderWidth(layer), 1.0);
    EXPECT_EQ(sel::text(sel::number(key)).string(), "2");
    auto t = touch::down({115, 30});
    RunLoop::main().advance(0.2);
    EXPECT_TRUE(sel::isEqual_(sel::backgroundColor(key), UIColor::white(1.0, 0.35)));
    touch::up(t);
    RunLoop::main().advance(0.2);
    EXPECT_TRUE(sel::isEqual_(sel::backgroundColor(key), sel::clearColor(objc_getClass("UIColor"))));
}

TEST_F(NumberPad, TheDelegateIsHeldWeakly) {
    showPad(0);
    WeakRef<Object> weak(delegate.get());
    delegate = nullptr;
    EXPECT_FALSE(weak.lock());
    EXPECT_FALSE(sel::delegate(pad));
    // A key still takes the tap, and with no one to tell nothing else happens.
    Ref<UIView> key = touch::hitTest({30, 30}).view;
    ASSERT_TRUE(key && isKindOfClass(key, "RS2NumberButton"));
    touch::tap(Point{30, 30});
    EXPECT_FALSE(sel::delegate(pad));
}

TEST_F(NumberPad, KeysAndButtonsTakeTheirPropertiesAsSet) {
    showPad(0);
    Ref<UIView> key = touch::hitTest({115, 30}).view;
    ASSERT_TRUE(key);
    sel::setNum_(key, 7);
    touch::tap(Point{115, 30});
    EXPECT_EQ(as<PadDelegate>(delegate)->keys, std::vector<int>{7});
    auto label = UIView::make<UILabel>("UILabel", Rect());
    sel::setNumber_(key, label);
    EXPECT_EQ(sel::number(key).get(), label.get());
    Ref<Object> circle = sel::buttonWithType_(objc_getClass("RS2CircleButton"), 0);
    auto image = UIView::make("UIImageView", Rect());
    sel::setImage_(circle, image);
    EXPECT_EQ(sel::image(circle).get(), image.get());
}

struct ScaleCase {
    double scale;
    std::string suffix;
};

TEST(CircleButton, ImagesFollowTheScreenScaleAndAMissingOneLeavesAnEmptyCircle) {
    platform::testing::TestEnvironment env({}, false);
    for (const ScaleCase& c : {ScaleCase{1.0, ".png"}, ScaleCase{2.0, "@2x.png"}, ScaleCase{3.0, "@2x.png"}}) {
        SCOPED_TRACE(c.scale);
        std::string got = platform::testing::runInChild(host::BootOptions{.deviceRoot = env.root(), .screenScale = c.scale}, [] {
            registerTweakClasses();
            std::string path = alertImagePath("Dismiss");
            Ref<Object> button = sel::buttonWithType_(objc_getClass("RS2CircleButton"), 0);
            sel::setType_(button, 2);
            Ref<Object> image = sel::image(sel::image(button));
            return path + (image ? " image" : " none") + " " + std::to_string(static_cast<int>(sel::frame(button).size.width));
        });
        EXPECT_EQ(got, "/Library/PreferenceBundles/Rousa2.bundle/Dismiss" + c.suffix + " image 60");
    }
    env.boot();
    registerTweakClasses();
    platform::testing::removeDeviceRoot(env.root() + "/Library/PreferenceBundles");
    Ref<Object> button = sel::buttonWithType_(objc_getClass("RS2CircleButton"), 0);
    sel::setType_(button, 1);
    EXPECT_FALSE(sel::image(sel::image(button)));
    EXPECT_EQ(sel::cornerRadius(sel::layer(button)), 30.0);
}

}  // namespace
}  // namespace rousa
