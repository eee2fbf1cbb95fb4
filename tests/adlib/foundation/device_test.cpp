#include "adlib/foundation/device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "adlib/foundation/ad_size.h"
#include "tests/adlib/adlib_fixture.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/codecs.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/frameworks/adsupport.h"
#include "platform/frameworks/avfoundation.h"
#include "platform/frameworks/coretelephony.h"
#include "platform/frameworks/storekit.h"
#include "platform/uikit/application.h"
#include "platform/uikit/screen.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::appOptions;

std::string text(Rect r) { return format("(%g %g %g %g)", r.x(), r.y(), r.width(), r.height()); }

constexpr const char* kAdvertisingID = "1E2DFA89-496A-47FD-9941-DF1FC4E6484A";

TEST(Device, IdentifierIsTheMD5OfTheAdvertisingIdentifierAndEmptyWhenTrackingIsOff) {
    AdLibEnvironment env;
    YBXDevice* device = YBXDevice::currentDevice();
    adsupport::setAdvertising(false, kAdvertisingID);
    EXPECT_EQ(sel::deviceIdentifier(device), "");
    EXPECT_EQ(device->cachedAdvertisingID(), "");

    adsupport::setAdvertising(true, kAdvertisingID);
    EXPECT_EQ(sel::deviceIdentifier(device), md5Hex(kAdvertisingID));
    EXPECT_EQ(device->cachedAdvertisingID(), kAdvertisingID);

    const char* changed = "00000000-1111-2222-3333-444444444444";
    adsupport::setAdvertising(true, changed);
    EXPECT_EQ(sel::deviceIdentifier(device), md5Hex(changed));

    adsupport::setAdvertising(true, "");  // no identifier at all
    EXPECT_EQ(sel::deviceIdentifier(device), "");
}

TEST(Device, IdentifierManagerAndSupportFollowTheOS) {
    struct Case {
        const char* version;
        bool manager, supported;
    } cases[] = {{"9.3", true, true}, {"6.0", true, true}, {"5.1", false, true}, {"4.3", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        std::string out = platform::testing::runInChild(appOptions(c.version), [&] {
            registerClasses();
            YBXDevice* device = YBXDevice::currentDevice();
            return format("%d %d", bool(sel::identifierManager(device)), sel::OSIsSupported(device));
        });
        EXPECT_EQ(out, format("%d %d", c.manager, c.supported));
    }
}

// The parameters over device set-ups: each case changes the default iPhone.
struct ParameterCase {
    const char* name;
    std::function<void()> setUp;
    Value::Dictionary expected;  // keys that must read so; nil means absent
};

TEST(Device, ParametersFollowTheDevice) {
    const Value::Dictionary iPhone{{"ios_ipadc", Value()},
                                   // The application object is there; the sample app has no store metadata file.
                                   {"ios_metadata", Value(Value::Dictionary{})},
                                   {"ios_base_sdk", "9.3"},
                                   {"app_name", "1.0.iphone.net.quillory.AdSample"},
                                   {"platform", "iPhone"},
                                   {"submodel", "iPhone7,2"},
                                   {"hl", "en-us"},
                                   {"u_audio", "1"},
                                   {"u_so", "p"},
                                   {"ios_radio", CTRadioAccessTechnologyLTE},
                                   {"ios_radio_last", CTRadioAccessTechnologyLTE},
                                   {"u_sd", "2"},
                                   {"u_w", "320"},
                                   {"u_h", "568"},
                                   {"cap_bs", Value(3)},
                                   {"cap_noiap", "0"}};
    auto traits = [](auto change) {
        return [change] {
            auto t = uikit::deviceTraits();
            change(t);
            uikit::setDeviceTraits(t);
        };
    };
    auto info = [](auto change) {
        return [change] {
            Value::Dictionary d = NSBundle::mainBundle()->infoDictionary().dictionary();
            change(d);
            NSBundle::setMainBundle(NSBundle::mainBundle()->bundlePath(), Value(d));
        };
    };
    const ParameterCase cases[] = {
        {"iPhone", [] {}, {}},
        {"iPad in phone mode", traits([](auto& t) { t.model = "iPad"; t.machine = "iPad4,1"; }),
         {{"ios_ipadc", "1"}, {"platform", "iPad"}, {"submodel", "iPad4,1"}}},
        {"iPad", traits([](auto& t) { t.interfaceIdiom = UIUserInterfaceIdiomPad; }),
         {{"ios_ipadc", Value()}, {"platform", "iPad"}, {"submodel", "iPad4,1"}, {"u_w", "768"}, {"u_h", "1024"}}},
        {"no book app", [] { uikit::setCanOpenScheme("itms-books", false); uikit::setCanOpenScheme("kindle", false); },
         {{"cap_bs", Value()}}},
        {"books only", [] { uikit::setCanOpenScheme("kindle", false); }, {{"cap_bs", Value(1)}}},
        {"kindle only", [] { uikit::setCanOpenScheme("itms-books", false); }, {{"cap_bs", Value(2)}}},
        {"payments off", [] { storekit::setCanMakePayments(false); }, {{"cap_noiap", "1"}}},
        {"no bundle version", info([](auto& d) { d.erase("CFBundleVersion"); }), {{"app_name", "iphone.net.quillory.AdSample"}}},
        {"no bundle identifier", info([](auto& d) { d.erase("CFBundleIdentifier"); }), {{"app_name", Value()}}},
        {"older SDK", info([](auto& d) { d["DTSDKName"] = "iphoneos9.0"; }), {{"ios_base_sdk", "9.0"}}},
        {"landscape", [] { uikit::rotateDevice(UIInterfaceOrientationLandscapeRight); },
         {{"u_so", "l"}, {"u_w", "320"}, {"u_h", "568"}}},
        {"scale 3", traits([](auto& t) { t.screenScale = 3; }), {{"u_sd", "3"}}},
        {"headphones", [] { avfoundation::setOutputs({{AVAudioSessionPortHeadphones, "Kopfhörer"}}); }, {{"u_audio", "2"}}},
        {"no radio", [] { coretelephony::setRadioAccessTechnology(Value()); }, {{"ios_radio", Value()}, {"ios_radio_last", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out = platform::testing::runInChild(appOptions(), [&] {
            registerClasses();
            NSUserDefaults::standardUserDefaults()->setObject(Value::array({Value("en-US"), Value("de")}), "AppleLanguages");
            c.setUp();
            Value p = sel::parameters(YBXDevice::currentDevice());
            Value::Dictionary want = iPhone;
            for (const auto& [k, v] : c.expected) want[k] = v;
            std::string wrong;
            for (const auto& [k, v] : want)
                if (p[k] != v) wrong += k + "=" + p[k].description() + " (not " + v.description() + ") ";
            for (const auto& [k, v] : p.dictionary())
                if (!want.count(k)) wrong += "extra " + k + " ";
            return wrong;
        });
        EXPECT_EQ(out, "");
    }
}

TEST(Device, ScreenBoundsInPortraitTermsWhateverTheOS) {
    struct Case {
        const char* version;
        Rect screen, standardized;
    } cases[] = {{"8.0", Rect(0, 0, 568, 320), Rect(0, 0, 320, 568)}, {"9.3", Rect(0, 0, 568, 320), Rect(0, 0, 320, 568)},
                 {"7.1", Rect(0, 0, 320, 568), Rect(0, 0, 320, 568)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        std::string out = platform::testing::runInChild(appOptions(c.version), [&] {
            registerClasses();
            uikit::rotateDevice(UIInterfaceOrientationLandscapeLeft);
            YBXDevice* device = YBXDevice::currentDevice();
            Rect screen = sel::bounds(UIScreen::mainScreen());
            return text(screen) + " " + text(sel::standardizedScreenBounds(device)) + " " +
                   text(sel::standardizedApplicationFrame(device)) + format(" %d", sel::isOrientationLandscape(device));
        });
        EXPECT_EQ(out, text(c.screen) + " " + text(c.standardized) + " " +
                           text(std::string(c.version) == "7.1" ? Rect(0, 20, 320, 548) : Rect(0, 20, 300, 568)) + " 1");
    }
}

TEST(Device, FullWidthAdSizeResolvesAcrossTheLandscapeScreen) {
    AdLibEnvironment env(appOptions("9.3"));
    uikit::rotateDevice(UIInterfaceOrientationLandscapeRight);
    EXPECT_EQ(sel::bounds(UIScreen::mainScreen()), Rect(0, 0, 568, 320));
    EXPECT_EQ(YBXAdSizeResolvedCGSize(YBXAdSizeMakeFullWidthLandscape(50)).width, 568);
    EXPECT_EQ(YBXAdSizeResolvedCGSize(YBXAdSizeMakeFullWidth(50)).width, 320);
}

TEST(Device, AudioRouteComparesPortTypes) {
    using Ports = std::vector<avfoundation::Port>;
    struct Case {
        const char* name;
        Ports outputs;
        unsigned long route;
    } cases[] = {
        {"none", {}, YBXAudioRouteNone},
        {"headphones", {{AVAudioSessionPortHeadphones, "Casque"}}, YBXAudioRouteHeadphones},
        {"speaker", {{AVAudioSessionPortBuiltInSpeaker, "Haut-parleur"}}, YBXAudioRouteSpeaker},
        {"receiver", {{AVAudioSessionPortBuiltInReceiver, "Receiver"}}, YBXAudioRouteOther},
        // A localised name that reads like another port changes nothing.
        {"named like headphones", {{AVAudioSessionPortBluetoothA2DP, "Headphones"}}, YBXAudioRouteOther},
        {"two outputs", {{AVAudioSessionPortHeadphones, "H"}, {AVAudioSessionPortBuiltInSpeaker, "S"}}, YBXAudioRouteOther},
    };
    AdLibEnvironment env;
    YBXDevice* device = YBXDevice::currentDevice();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        avfoundation::setOutputs(c.outputs);
        EXPECT_EQ(sel::audioRoute(device), c.route);
    }
}

TEST(Device, SettersKeepWhatTheyMust) {
    AdLibEnvironment env;
    YBXDevice* device = YBXDevice::currentDevice();
    EXPECT_EQ(sel::userAgentString(device), Value(""));
    sel::setUserAgentString_(device, Value("Mozilla/5.0 (iPhone)"));
    sel::setUserAgentString_(device, Value(""));
    sel::setUserAgentString_(device, Value());
    EXPECT_EQ(sel::userAgentString(device), Value("Mozilla/5.0 (iPhone)"));

    sel::setRadioAccessTechnology_(device, Value(CTRadioAccessTechnologyEdge));
    sel::setRadioAccessTechnology_(device, Value());
    EXPECT_TRUE(sel::radioAccessTechnology(device).isNil());
    EXPECT_EQ(sel::lastKnownRadioAccessTechnology(device), Value(CTRadioAccessTechnologyEdge));
}

TEST(Device, RadioChangeFromAWorkerReachesTheDevice) {
    AdLibEnvironment env;
    YBXDevice* device = YBXDevice::currentDevice();
    EXPECT_EQ(sel::radioAccessTechnology(device), Value(CTRadioAccessTechnologyLTE));
    coretelephony::changeRadioAccessTechnologyFromWorker(Value(CTRadioAccessTechnologyHSDPA));
    EXPECT_EQ(sel::radioAccessTechnology(device), Value(CTRadioAccessTechnologyHSDPA));
    EXPECT_EQ(sel::lastKnownRadioAccessTechnology(device), Value(CTRadioAccessTechnologyHSDPA));

    sel::disableRadioAccessTechnologyChecking(device);
    coretelephony::changeRadioAccessTechnologyFromWorker(Value(CTRadioAccessTechnologyEdge));
    EXPECT_EQ(sel::radioAccessTechnology(device), Value(CTRadioAccessTechnologyHSDPA));
}

TEST(Device, NoRadioObservationBeforeIOS7) {
    AdLibEnvironment env(appOptions("6.1"));
    YBXDevice* device = YBXDevice::currentDevice();
    EXPECT_TRUE(sel::radioAccessTechnology(device).isNil());
    coretelephony::changeRadioAccessTechnologyFromWorker(Value(CTRadioAccessTechnologyEdge));
    EXPECT_TRUE(sel::radioAccessTechnology(device).isNil());
}

TEST(Device, MadeOnceWhenAWorkerAsksFirstWhileTheMainThreadAsksToo) {
    AdLibEnvironment env;
    std::atomic<YBXDevice*> fromWorker{nullptr};
    std::thread worker([&] { fromWorker = YBXDevice::currentDevice(); });
    YBXDevice* fromMain = YBXDevice::currentDevice();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return fromWorker.load() != nullptr; }, 10));
    worker.join();
    EXPECT_EQ(fromWorker.load(), fromMain);
    // Its UIKit facts are read from workers without waiting for anything but the main thread.
    std::atomic<bool> read{false};
    std::string model;
    std::thread reader([&] {
        model = YBXDevice::currentDevice()->deviceModel();
        read = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return read.load(); }, 10));
    reader.join();
    EXPECT_EQ(model, "iPhone");
}

}  // namespace
}  // namespace adlib
