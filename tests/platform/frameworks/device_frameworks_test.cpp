#include <gtest/gtest.h>

#include <sys/utsname.h>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/uuid.h"
#include "platform/frameworks/adsupport.h"
#include "platform/frameworks/avfoundation.h"
#include "platform/frameworks/coretelephony.h"
#include "platform/frameworks/storekit.h"
#include "platform/network/url.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"
#include "platform/uikit/screen.h"

namespace platform {
namespace {

host::BootOptions app(std::string version = "9.3") {
    host::BootOptions options;
    options.bundleIdentifier = host::kPublisherApp;
    options.systemVersion = std::move(version);
    return options;
}

TEST(AppFrameworks, OnlyThePublisherAppHasThem) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSettingsApp});
    for (const char* name : {"ASIdentifierManager", "CTTelephonyNetworkInfo", "AVAudioSession", "SKPaymentQueue"})
        EXPECT_EQ(objc_getClass(name), nullptr) << name;
}

TEST(AppFrameworks, AnswerWhatTestsSet) {
    testing::TestEnvironment env(app());
    Ref<Object> manager = sel::sharedManager(objc_getClass("ASIdentifierManager"));
    EXPECT_EQ(manager, sel::sharedManager(objc_getClass("ASIdentifierManager")));
    adsupport::setAdvertising(false, "00000000-1111-2222-3333-444444444444");
    EXPECT_FALSE(sel::isAdvertisingTrackingEnabled(manager));
    EXPECT_EQ(sel::UUIDString(sel::advertisingIdentifier(manager)), "00000000-1111-2222-3333-444444444444");
    adsupport::setAdvertising(true, "");
    EXPECT_FALSE(sel::advertisingIdentifier(manager));

    Class* queue = objc_getClass("SKPaymentQueue");
    EXPECT_TRUE(sel::canMakePayments(queue));
    storekit::setCanMakePayments(false);
    EXPECT_FALSE(sel::canMakePayments(queue));

    Ref<Object> session = sel::sharedInstance(objc_getClass("AVAudioSession"));
    avfoundation::setOutputs({{AVAudioSessionPortHeadphones, "Headphones"}, {AVAudioSessionPortAirPlay, "TV"}});
    Value outputs = sel::outputs(sel::currentRoute(session));
    ASSERT_EQ(outputs.count(), 2u);
    EXPECT_EQ(sel::portType(outputs.array()[1].object()), Value(AVAudioSessionPortAirPlay));
    EXPECT_EQ(sel::portName(outputs.array()[1].object()), Value("TV"));
}

TEST(AppFrameworks, RadioChangeIsPostedFromAWorker) {
    testing::TestEnvironment env(app());
    Ref<Object> info = sel::init(alloc("CTTelephonyNetworkInfo"));
    EXPECT_EQ(sel::currentRadioAccessTechnology(info), Value(CTRadioAccessTechnologyLTE));
    bool onMain = true;
    Value seen;
    Ref<Object> token = NSNotificationCenter::defaultCenter()->addObserverForName(
        CTRadioAccessTechnologyDidChangeNotification, Value(), [&](NSNotification*) {
            onMain = NSThread::isMainThread();
            seen = sel::currentRadioAccessTechnology(info);
        });
    coretelephony::changeRadioAccessTechnologyFromWorker(Value(CTRadioAccessTechnologyEdge));
    EXPECT_FALSE(onMain);
    EXPECT_EQ(seen, Value(CTRadioAccessTechnologyEdge));
    NSNotificationCenter::defaultCenter()->removeObserver(token);
}

TEST(DeviceTraits, BatteryAnswersOnlyWhileMonitored) {
    testing::TestEnvironment env(app());
    UIDevice* device = UIDevice::currentDevice();
    auto traits = uikit::deviceTraits();
    traits.batteryLevel = 0.25f;
    traits.batteryState = UIDeviceBatteryStateCharging;
    uikit::setDeviceTraits(traits);
    EXPECT_EQ(sel::batteryLevel(device), -1.0f);
    EXPECT_EQ(sel::batteryState(device), UIDeviceBatteryStateUnknown);
    sel::setBatteryMonitoringEnabled_(device, true);
    EXPECT_EQ(sel::batteryLevel(device), 0.25f);
    EXPECT_EQ(sel::batteryState(device), UIDeviceBatteryStateCharging);
}

TEST(DeviceTraits, ModelAndMachine) {
    testing::TestEnvironment env(app());
    utsname name{};
    ASSERT_EQ(platform::uname(&name), 0);
    EXPECT_STREQ(name.machine, "iPhone7,2");
    auto traits = uikit::deviceTraits();
    traits.model = "iPad";  // an iPad running a phone app
    traits.machine = "iPad5,3";
    uikit::setDeviceTraits(traits);
    EXPECT_EQ(sel::model(UIDevice::currentDevice()), Value("iPad"));
    EXPECT_EQ(sel::userInterfaceIdiom(UIDevice::currentDevice()), UIUserInterfaceIdiomPhone);
    ASSERT_EQ(platform::uname(&name), 0);
    EXPECT_STREQ(name.machine, "iPad5,3");
}

TEST(DeviceTraits, CanOpenURLPerScheme) {
    testing::TestEnvironment env(app());
    UIApplication* application = UIApplication::sharedApplication();
    uikit::setCanOpenScheme("kindle", false);
    EXPECT_FALSE(sel::canOpenURL_(application, Value(NSURL::URLWithString("KINDLE://home"))));
    EXPECT_TRUE(sel::canOpenURL_(application, Value(NSURL::URLWithString("itms-books://"))));  // not set
    EXPECT_FALSE(sel::canOpenURL_(application, Value()));
}

TEST(DeviceTraits, ScreenTurnsWithTheInterfaceFromIOS8On) {
    struct Case {
        const char* version;
        Rect landscape, applicationFrame, statusBar;
    } cases[] = {{"9.3", Rect(0, 0, 568, 320), Rect(0, 20, 568, 300), Rect(0, 0, 568, 20)},
                 {"7.1", Rect(0, 0, 320, 568), Rect(0, 20, 320, 548), Rect(0, 0, 20, 568)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        std::string out = testing::runInChild(app(c.version), [&] {
            UIScreen* screen = UIScreen::mainScreen();
            uikit::rotateDevice(UIInterfaceOrientationLandscapeRight);
            bool ok = sel::bounds(screen) == c.landscape && sel::applicationFrame(screen) == c.applicationFrame &&
                      sel::statusBarFrame(UIApplication::sharedApplication()) == c.statusBar &&
                      sel::statusBarOrientation(UIApplication::sharedApplication()) == UIInterfaceOrientationLandscapeRight &&
                      sel::orientation(UIDevice::currentDevice()) == UIDeviceOrientationLandscapeLeft &&
                      sel::size(sel::currentMode(screen)) == Size(640, 1136);
            uikit::rotateDevice(UIInterfaceOrientationPortrait);
            ok = ok && sel::bounds(screen) == Rect(0, 0, 320, 568);
            return std::string(ok ? "ok" : "wrong");
        });
        EXPECT_EQ(out, "ok");
    }
}

TEST(DeviceOrientation, NotificationsComeWhileGeneratingAndNest) {
    testing::TestEnvironment env(app());
    UIDevice* device = UIDevice::currentDevice();
    int posted = 0;
    Ref<Object> token = NSNotificationCenter::defaultCenter()->addObserverForName(UIDeviceOrientationDidChangeNotification, Value(device),
                                                                                  [&posted](NSNotification*) { ++posted; });
    uikit::rotateDevice(UIInterfaceOrientationLandscapeLeft);
    EXPECT_EQ(posted, 0);
    sel::beginGeneratingDeviceOrientationNotifications(device);
    sel::beginGeneratingDeviceOrientationNotifications(device);
    sel::endGeneratingDeviceOrientationNotifications(device);
    EXPECT_TRUE(sel::isGeneratingDeviceOrientationNotifications(device));
    uikit::rotateDevice(UIInterfaceOrientationPortrait);
    EXPECT_EQ(posted, 1);
    sel::endGeneratingDeviceOrientationNotifications(device);
    sel::endGeneratingDeviceOrientationNotifications(device);  // one too many: stays at zero
    EXPECT_FALSE(sel::isGeneratingDeviceOrientationNotifications(device));
    sel::beginGeneratingDeviceOrientationNotifications(device);
    EXPECT_TRUE(sel::isGeneratingDeviceOrientationNotifications(device));
    uikit::rotateDevice(UIInterfaceOrientationLandscapeRight);
    EXPECT_EQ(posted, 2);
    NSNotificationCenter::defaultCenter()->removeObserver(token.get());
}

}  // namespace
}  // namespace platform
