// The slot's MRAID and device-orientation categories: the events an MRAID
// creative hears, as the exact commands run in the slot's web view, and the
// watching of the creative's window rectangle.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/notification_center.h"
#include "platform/foundation/json.h"
#include "platform/foundation/notification_center.h"
#include "platform/uikit/application.h"
#include "platform/uikit/screen.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

// Every script run in a library web view, with the view.
std::vector<std::pair<Object*, std::string>>& scripts() {
    static std::vector<std::pair<Object*, std::string>> log;
    return log;
}
Value (*previousEvaluate)(id, Value) = nullptr;

struct Event {
    std::string name;
    Value data;  // nil: none
    friend bool operator==(const Event&, const Event&) = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) { return out << e.name << " " << e.data.description(); }

// The library's events sent into one view, parsed from "KESTRA_ReceiveMessage('name', {json});".
std::vector<Event> eventsIn(Object* view) {
    std::vector<Event> events;
    const std::string prefix = std::string(kYBXJSReceiveMessageFunction) + "('";
    for (const auto& [target, script] : scripts()) {
        if (target != view || script.rfind(prefix, 0) != 0) continue;
        const std::size_t nameEnd = script.find('\'', prefix.size());
        Event event{script.substr(prefix.size(), nameEnd - prefix.size()), Value()};
        const std::size_t comma = script.find(", ", nameEnd);
        if (comma != std::string::npos) {
            const std::size_t end = script.rfind(");");
            event.data = NSJSONSerialization::JSONObjectWithText(script.substr(comma + 2, end - comma - 2), 0);
        }
        events.push_back(std::move(event));
    }
    return events;
}

class SlotMRAID : public testing::SlotTest {
protected:
    SlotMRAID() {
        MSHookMessageEx(objc_getClass("YBXWebView"), sel::stringByEvaluatingJavaScriptFromString_, +[](id self, Value script) {
            scripts().emplace_back(self, script.stringOr(""));
            return previousEvaluate(self, script);
        }, &previousEvaluate);
        uikit::setCanOpenScheme("sms", true);
        uikit::setCanOpenScheme("tel", false);
    }
    // A banner slot whose current ad is an MRAID ad.
    Ref<YBXSlot> mraidSlot() {
        Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
        slot->loadingAd_ = newObject("YBXAd");
        sel::willLoadMRAIDAd(slot.get());
        sel::finishedLoadingAdResponse_(slot.get(), slot->loadingAd_.get());
        return slot;
    }
    std::vector<Event> shown(YBXSlot* slot) {
        platform::testing::advance(0);
        return eventsIn(sel::webView(slot).get());
    }
    Event screenInfo() {
        YBXDevice* device = YBXDevice::currentDevice();
        const Rect screen = device->standardizedScreenBounds();
        return {"onScreenInfoChanged", Value{{"width", Value(screen.size.width)}, {"height", Value(screen.size.height)},
                                             {"isOrientationLandscape", Value(device->isOrientationLandscape() ? "1" : "0")}}};
    }
    static bool generating() { return sel::isGeneratingDeviceOrientationNotifications(UIDevice::currentDevice()); }
};

TEST_F(SlotMRAID, WillLoadMarksTheLoadingAndTheCurrentAd) {
    Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
    slot->loadingAd_ = newObject("YBXAd");
    sel::finishedLoadingAdResponse_(slot.get(), newObject("YBXAd").get());
    slot->loadingAd_ = newObject("YBXAd");
    sel::willLoadMRAIDAd(slot.get());
    EXPECT_TRUE(sel::isMRAIDEnabled(slot->loadingAd_.get()));
    EXPECT_TRUE(sel::isMRAIDEnabled(slot->ad_.get()));
}

TEST_F(SlotMRAID, ALoadedMRAIDAdHearsScreenFeaturesAndReadyInOrder) {
    Ref<YBXSlot> slot = mraidSlot();
    sel::didLoadMRAIDAd(slot.get());
    const std::vector<Event> expected = {
        screenInfo(),
        {"onDeviceFeaturesReceived", Value{{"sms", Value(true)}, {"tel", Value(false)}, {"calendar", Value(false)},
                                           {"storePicture", Value(true)}, {"inlineVideo", Value(true)}}},
        {"onReadyEventReceived", Value()},
    };
    EXPECT_EQ(shown(slot.get()), expected);
    EXPECT_EQ(sel::creativeViewBounds(slot.get()), (Rect{{0, 0}, {320, 50}}));
    EXPECT_TRUE(sel::isListeningToDeviceOrientationChangeEvent(slot.get()));
}

TEST_F(SlotMRAID, OnlyAChangedRectangleSendsScreenInformation) {
    Ref<YBXSlot> slot = mraidSlot();
    sel::didLoadMRAIDAd(slot.get());
    sel::didLoadMRAIDAd(slot.get());  // loaded again: still one observer
    platform::testing::advance(0);
    scripts().clear();
    // The device turns, the creative's rectangle stays: nothing.
    uikit::rotateDevice(UIInterfaceOrientationLandscapeLeft);
    EXPECT_TRUE(shown(slot.get()).empty());
    // The rectangle moves: the creative hears of the screen once.
    sel::setFrame_(sel::webView(slot.get()).get(), Rect{{0, 20}, {480, 32}});
    uikit::rotateDevice(UIInterfaceOrientationPortrait);
    EXPECT_EQ(shown(slot.get()), std::vector<Event>{screenInfo()});
}

TEST_F(SlotMRAID, TheCreativeOrientationNotificationIsObservedFromThisSlotOnly) {
    Ref<YBXSlot> first = mraidSlot();
    Ref<YBXSlot> second = mraidSlot();
    sel::didLoadMRAIDAd(first.get());
    sel::didLoadMRAIDAd(second.get());
    platform::testing::advance(0);
    scripts().clear();
    sel::setFrame_(sel::webView(second.get()).get(), Rect{{0, 0}, {300, 50}});
    sel::didChangeDeviceOrientation(second.get());
    EXPECT_EQ(shown(second.get()), std::vector<Event>{screenInfo()});
    EXPECT_TRUE(shown(first.get()).empty());
}

TEST_F(SlotMRAID, TheNextMRAIDAdHearsScreenInformationAgain) {
    Ref<YBXSlot> slot = mraidSlot();
    sel::didLoadMRAIDAd(slot.get());
    sel::didUnloadMRAIDAd(slot.get());
    EXPECT_EQ(sel::creativeViewBounds(slot.get()), Rect{});
    platform::testing::advance(0);
    scripts().clear();
    sel::didLoadMRAIDAd(slot.get());
    const std::vector<Event> events = shown(slot.get());
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], screenInfo());
    EXPECT_EQ(events[2].name, "onReadyEventReceived");
}

TEST_F(SlotMRAID, OrientationNotificationsBalance) {
    EXPECT_FALSE(generating());
    Ref<YBXSlot> slot = mraidSlot();
    sel::didLoadMRAIDAd(slot.get());
    sel::beginListeningToDeviceOrientationChangeEvent(slot.get());  // already listening: nothing more
    EXPECT_TRUE(generating());
    sel::didUnloadMRAIDAd(slot.get());
    EXPECT_FALSE(generating());
    sel::didUnloadMRAIDAd(slot.get());
    sel::beginGeneratingDeviceOrientationNotifications(UIDevice::currentDevice());  // someone else's
    sel::didLoadMRAIDAd(slot.get());
    slot = nullptr;  // a slot that goes while listening ends its share
    EXPECT_TRUE(generating());
    sel::endGeneratingDeviceOrientationNotifications(UIDevice::currentDevice());
    EXPECT_FALSE(generating());
}

TEST_F(SlotMRAID, VisibilityAndScreenEventsAreForMRAIDAdsOnly) {
    Ref<YBXSlot> plain = testing::makeBannerSlot(kYBXAdSizeBanner);
    sel::finishedLoadingAdResponse_(plain.get(), newObject("YBXAd").get());
    sel::notifyMRAIDCreativeWithVisibility_(plain.get(), true);
    sel::notifyOrientationToMRAIDCreative(plain.get());
    EXPECT_TRUE(shown(plain.get()).empty());

    Ref<YBXSlot> slot = mraidSlot();
    sel::notifyMRAIDCreativeWithVisibility_(slot.get(), true);
    sel::notifyMRAIDCreativeWithVisibility_(slot.get(), false);
    EXPECT_EQ(shown(slot.get()), (std::vector<Event>{{"onAdVisibilityChanged", Value{{"visible", Value("1")}}},
                                                     {"onAdVisibilityChanged", Value{{"visible", Value("0")}}}}));
}

}  // namespace
}  // namespace adlib
