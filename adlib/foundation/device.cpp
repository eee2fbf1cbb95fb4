#include "adlib/foundation/device.h"

#include <sys/utsname.h>

#include <atomic>
#include <cassert>
#include <mutex>

#include "adlib/foundation/macros.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/pipeline/network.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/foundation/uuid.h"
#include "platform/frameworks/adsupport.h"
#include "platform/frameworks/avfoundation.h"
#include "platform/frameworks/coretelephony.h"
#include "platform/frameworks/storekit.h"
#include "platform/network/url.h"
#include "platform/uikit/application.h"
#include "platform/uikit/geometry.h"
#include "platform/uikit/screen.h"

namespace adlib {

namespace {

// Values made once on the main thread and then published for every thread:
// no once-only guard is ever held while a thread waits for the main thread.
std::atomic<YBXDevice*> sharedDevice{nullptr};
std::atomic<double> sharedScreenDensity{0};  // 0 until made

void checkMainThread() { assert(NSThread::isMainThread() && "made on the main thread only"); }

YBXDevice* deviceOf(id self) { return as<YBXDevice>(self); }

// A UIKit text made once on the main thread, then read without hopping.
template <class Make>
const std::string& onceOnMain(std::atomic<const std::string*>& published, std::once_flag& once, Make make) {
    if (const std::string* v = published.load(std::memory_order_acquire)) return *v;
    RunSynchronouslyOnMainThread([&] {
        std::call_once(once, [&] {
            checkMainThread();
            published.store(new std::string(make()), std::memory_order_release);
        });
    });
    return *published.load(std::memory_order_acquire);
}

bool isLandscape(long long orientation) {
    return orientation == UIInterfaceOrientationLandscapeRight || orientation == UIInterfaceOrientationLandscapeLeft;
}

}  // namespace

Value applicationITunesMetadata() {
    Ref<Object> application = sel::sharedApplication(objc_getClass("YBXApplication"));
    if (!application || !respondsToSelector(application, sel::iTunesMetadata.name)) return Value();
    return sel::iTunesMetadata(application);
}

YBXDevice* YBXDevice::currentDevice() {
    if (YBXDevice* d = sharedDevice.load(std::memory_order_acquire)) return d;
    RunSynchronouslyOnMainThread([] {
        static std::once_flag once;
        std::call_once(once, [] {
            checkMainThread();
            Ref<Object> device = sel::init(alloc("YBXDevice"));
            YBXDevice* d = as<YBXDevice>(device.leak());  // kept for the process
            if (d) d->enableRadioAccessTechnologyChecking();
            sharedDevice.store(d, std::memory_order_release);
        });
    });
    return sharedDevice.load(std::memory_order_acquire);
}

void YBXDevice::setUp() {
    lockQueue_ = dispatch_queue_create("com.orvane.marlex.device", nullptr);
    network_ = sel::init(alloc("YBXNetwork"));
    sel::enableNetworkChecking(network_);
}

YBXDevice::~YBXDevice() {
    disableRadioAccessTechnologyChecking();
    sel::disableNetworkChecking(network_);
}

const std::string& YBXDevice::systemVersion() {
    static std::atomic<const std::string*> published{nullptr};
    static std::once_flag once;
    return onceOnMain(published, once, [] { return sel::systemVersion(UIDevice::currentDevice()).string(); });
}

const std::string& YBXDevice::deviceModel() {
    static std::atomic<const std::string*> published{nullptr};
    static std::once_flag once;
    return onceOnMain(published, once, [] { return sel::model(UIDevice::currentDevice()).string(); });
}

const std::string& YBXDevice::deviceSubmodel() {
    static const std::string* machine = [] {
        struct utsname name {};
        platform::uname(&name);
        return new std::string(name.machine);
    }();
    return *machine;
}

const Value& YBXDevice::locale() {
    static const Value* language = [] {
        Value first = NSUserDefaults::standardUserDefaults()->objectForKey("AppleLanguages").array().empty()
                          ? Value()
                          : NSUserDefaults::standardUserDefaults()->objectForKey("AppleLanguages").array().front();
        return new Value(first.isString() ? Value(lowercaseString(first.string())) : Value());
    }();
    return *language;
}

const Value& YBXDevice::baseSDKVersion() {
    static const Value* version = [] {
        NSBundle* bundle = NSBundle::mainBundle();
        if (!bundle) return new Value();
        const Value& info = bundle->infoDictionary();
        Value kept = info["DTSDKName"].isString() ? info["DTSDKName"] : Value();
        Value platformName = info["DTPlatformName"];
        if (kept.isString() && platformName.isString() && !platformName.string().empty()) {
            std::string text = kept.string();
            for (std::size_t at; (at = text.find(platformName.string())) != std::string::npos;) text.erase(at, platformName.string().size());
            kept = Value(text);
        }
        return new Value(kept);
    }();
    return *version;
}

void YBXDevice::getOSVersion(long long* major, long long* minor, long long* bugFix) {
    std::vector<std::string> parts = componentsSeparatedByString(systemVersion(), ".");
    long long* out[] = {major, minor, bugFix};
    for (std::size_t i = 0; i < 3; ++i)
        if (out[i]) *out[i] = i < parts.size() ? stringIntegerValue(parts[i]) : 0;
}

bool YBXDevice::isOSAtLeast(long long major, long long minor, long long bug) {
    long long have[3] = {0, 0, 0};
    getOSVersion(&have[0], &have[1], &have[2]);
    const long long want[3] = {major, minor, bug};
    for (int i = 0; i < 3; ++i)
        if (have[i] != want[i]) return have[i] > want[i];
    return true;
}

bool YBXDevice::OSIsSupported() { return isOSAtLeast(5, 0, 0); }

bool YBXDevice::isOrientationLandscape() {
    bool landscape = false;
    RunSynchronouslyOnMainThread([&landscape] { landscape = isLandscape(sel::statusBarOrientation(UIApplication::sharedApplication())); });
    return landscape;
}

bool YBXDevice::userInterfaceIdiomIsPhone() {
    bool phone = false;
    RunSynchronouslyOnMainThread([&phone] { phone = sel::userInterfaceIdiom(UIDevice::currentDevice()) == UIUserInterfaceIdiomPhone; });
    return phone;
}

namespace {
// A screen rectangle in portrait terms: from iOS 8 on the screen turns with the interface.
Rect portraitRect(YBXDevice* device, const Sel<Rect(id)>& screenRect) {
    Rect r;
    RunSynchronouslyOnMainThread([&] { r = CGRectStandardize(screenRect(UIScreen::mainScreen())); });
    if (device->isOrientationLandscape() && device->isOSAtLeast(8, 0, 0)) std::swap(r.size.width, r.size.height);
    return r;
}
}  // namespace

Rect YBXDevice::standardizedScreenBounds() { return portraitRect(this, sel::bounds); }

Rect YBXDevice::standardizedApplicationFrame() { return portraitRect(this, sel::applicationFrame); }

double YBXDevice::screenDensity() {
    if (double d = sharedScreenDensity.load(std::memory_order_acquire); d != 0) return d;
    RunSynchronouslyOnMainThread([] {
        static std::once_flag once;
        std::call_once(once, [] {
            checkMainThread();
            UIScreen* screen = UIScreen::mainScreen();
            double scale = respondsToSelector(screen, sel::scale.name) ? sel::scale(screen) : 1.0;
            sharedScreenDensity.store(scale > 0 ? scale : 1.0, std::memory_order_release);
        });
    });
    return sharedScreenDensity.load(std::memory_order_acquire);
}

Ref<Object> YBXDevice::identifierManager() {
    if (!isOSAtLeast(6, 0, 0)) return nullptr;
    return sel::sharedManager(objc_getClass("ASIdentifierManager"));
}

std::string YBXDevice::deviceIdentifier() {
    std::string identifier;
    Ref<Object> manager = identifierManager();
    if (manager && sel::isAdvertisingTrackingEnabled(manager)) {
        Ref<Object> uuid = sel::advertisingIdentifier(manager);
        if (uuid && respondsToSelector(uuid, sel::UUIDString.name)) identifier = sel::UUIDString(uuid);
    }
    std::string md5;
    dispatch_sync(lockQueue_, [&] {
        if (identifier != cachedAdvertisingID_) {
            cachedAdvertisingID_ = identifier;
            cachedMD5AdvertisingID_ = identifier.empty() ? "" : ybx_MD5String(identifier).stringOr("");
        }
        md5 = cachedMD5AdvertisingID_;
    });
    return md5;
}

std::string YBXDevice::cachedAdvertisingID() {
    std::string id;
    dispatch_sync(lockQueue_, [&] { id = cachedAdvertisingID_; });
    return id;
}

Value YBXDevice::canOpenURLs(const Value& urls) {
    Value::Dictionary answers;
    for (const Value& text : urls.array()) {
        if (!text.isString()) continue;
        bool can = false;
        RunSynchronouslyOnMainThread([&] {
            Ref<NSURL> url = NSURL::URLWithString(text.string());
            can = sel::canOpenURL_(UIApplication::sharedApplication(), url ? Value(url) : Value());
        });
        answers[text.string()] = Value(can);
    }
    return Value(std::move(answers));
}

unsigned long YBXDevice::audioRoute() {
    // Without the audio session's route the speaker is assumed.
    Ref<Object> session = sel::sharedInstance(objc_getClass("AVAudioSession"));
    if (!session || !respondsToSelector(session, sel::currentRoute.name)) return YBXAudioRouteSpeaker;
    const Value outputs = sel::outputs(sel::currentRoute(session));
    if (outputs.array().empty()) return YBXAudioRouteNone;
    if (outputs.array().size() > 1) return YBXAudioRouteOther;
    // Port types, not names: names are localised.
    Value type = sel::portType(outputs.array().front().object());
    if (type.isString() && type.string() == AVAudioSessionPortHeadphones) return YBXAudioRouteHeadphones;
    if (type.isString() && type.string() == AVAudioSessionPortBuiltInSpeaker) return YBXAudioRouteSpeaker;
    return YBXAudioRouteOther;
}

Value YBXDevice::radioAccessTechnology() {
    Value v;
    dispatch_sync(lockQueue_, [&] { v = radioAccessTechnology_; });
    return v;
}

Value YBXDevice::lastKnownRadioAccessTechnology() {
    Value v;
    dispatch_sync(lockQueue_, [&] { v = lastKnownRadioAccessTechnology_; });
    return v;
}

Value YBXDevice::userAgentString() {
    Value v;
    dispatch_sync(lockQueue_, [&] { v = userAgentString_; });
    return v;
}

void YBXDevice::setRadioAccessTechnology(const Value& technology) {
    dispatch_async(lockQueue_, [this, technology] {
        radioAccessTechnology_ = technology;
        if (!technology.isNil()) lastKnownRadioAccessTechnology_ = technology;
    });
}

void YBXDevice::setUserAgentString(const Value& userAgent) {
    if (!userAgent.isString() || userAgent.string().empty()) return;
    dispatch_async(lockQueue_, [this, userAgent] { userAgentString_ = userAgent; });
}

void YBXDevice::enableRadioAccessTechnologyChecking() {
    if (!isOSAtLeast(7, 0, 0) || radioAccessTechnologyChangeObserver_) return;
    networkInfo_ = sel::init(alloc("CTTelephonyNetworkInfo"));
    setRadioAccessTechnology(sel::currentRadioAccessTechnology(networkInfo_));
    WeakRef<Object> weakSelf(this);
    Ref<Object> info = networkInfo_;
    radioAccessTechnologyChangeObserver_ = NSNotificationCenter::defaultCenter()->addObserverForName(
        CTRadioAccessTechnologyDidChangeNotification, Value(), [weakSelf, info](NSNotification*) {
            if (Ref<Object> self = weakSelf.lock()) deviceOf(self)->setRadioAccessTechnology(sel::currentRadioAccessTechnology(info));
        });
}

void YBXDevice::disableRadioAccessTechnologyChecking() {
    if (!radioAccessTechnologyChangeObserver_) return;
    NSNotificationCenter::defaultCenter()->removeObserver(radioAccessTechnologyChangeObserver_);
    radioAccessTechnologyChangeObserver_ = nullptr;
}

Value YBXDevice::parameters() {
    Value::Dictionary p;
    auto set = [&p](const char* key, const Value& value) {
        if (!value.isNil()) p[key] = value;
    };
    if (deviceModel() == "iPad" && userInterfaceIdiomIsPhone()) p["ios_ipadc"] = Value("1");
    set("ios_metadata", applicationITunesMetadata());
    set("ios_base_sdk", baseSDKVersion());
    if (NSBundle* bundle = NSBundle::mainBundle()) {
        // Without an identifier the name would end in "(null)".
        Value identifier = bundle->bundleIdentifier();
        Value version = bundle->infoDictionary()["CFBundleVersion"];
        if (identifier.isString())
            p["app_name"] = Value((version.isString() ? version.string() + "." : std::string()) + "iphone." + identifier.string());
    }
    p["platform"] = Value(deviceModel());
    p["submodel"] = Value(deviceSubmodel());
    set("hl", locale());
    p["u_audio"] = Value(std::to_string(audioRoute()));
    p["u_so"] = Value(isOrientationLandscape() ? "l" : "p");
    set("ios_radio", radioAccessTechnology());
    set("ios_radio_last", lastKnownRadioAccessTechnology());
    ybx_setStringForCGFloat(p, screenDensity(), "u_sd");
    Rect bounds = standardizedScreenBounds();
    ybx_setStringForCGFloat(p, bounds.width(), "u_w");
    ybx_setStringForCGFloat(p, bounds.height(), "u_h");
    Value canOpen = canOpenURLs(Value::array({Value("itms-books://"), Value("kindle://home")}));
    long long books = (canOpen["itms-books://"].boolValue() ? 1 : 0) | (canOpen["kindle://home"].boolValue() ? 2 : 0);
    if (books != 0) p["cap_bs"] = Value(books);
    p["cap_noiap"] = Value(sel::canMakePayments(objc_getClass("SKPaymentQueue")) ? "0" : "1");
    return Value(std::move(p));
}

void registerDeviceClass() {
    ClassBuilder<YBXDevice>("YBXDevice", "NSObject")
        .protocol("YBXDeviceSpecifications")
        .classMethod(sel::currentDevice, [](id) { return Ref<Object>(YBXDevice::currentDevice()); })
        .method(sel::init,
                [](id self) -> Ref<Object> {
                    deviceOf(self)->setUp();
                    return Ref<Object>(self);
                })
        .method(sel::systemVersion, [](id self) { return Value(deviceOf(self)->systemVersion()); })
        .method(sel::getOSMajor_minor_bugFix_,
                [](id self, long long* major, long long* minor, long long* bugFix) { deviceOf(self)->getOSVersion(major, minor, bugFix); })
        .method(sel::isOSAtLeastMajor_minor_bug_,
                [](id self, long long major, long long minor, long long bug) { return deviceOf(self)->isOSAtLeast(major, minor, bug); })
        .method(sel::OSIsSupported, [](id self) { return deviceOf(self)->OSIsSupported(); })
        .method(sel::isOrientationLandscape, [](id self) { return deviceOf(self)->isOrientationLandscape(); })
        .method(sel::userInterfaceIdiomIsPhone, [](id self) { return deviceOf(self)->userInterfaceIdiomIsPhone(); })
        .method(sel::standardizedScreenBounds, [](id self) { return deviceOf(self)->standardizedScreenBounds(); })
        .method(sel::standardizedApplicationFrame, [](id self) { return deviceOf(self)->standardizedApplicationFrame(); })
        .method(sel::screenDensity, [](id self) { return deviceOf(self)->screenDensity(); })
        .method(sel::deviceModel, [](id self) { return Value(deviceOf(self)->deviceModel()); })
        .method(sel::deviceSubmodel, [](id self) { return Value(deviceOf(self)->deviceSubmodel()); })
        .method(sel::locale, [](id self) { return deviceOf(self)->locale(); })
        .method(sel::baseSDKVersion, [](id self) { return deviceOf(self)->baseSDKVersion(); })
        .method(sel::identifierManager, [](id self) { return deviceOf(self)->identifierManager(); })
        .method(sel::deviceIdentifier, [](id self) { return deviceOf(self)->deviceIdentifier(); })
        .method(sel::canOpenURLs_, [](id self, Value urls) { return deviceOf(self)->canOpenURLs(urls); })
        .method(sel::audioRoute, [](id self) { return deviceOf(self)->audioRoute(); })
        .method(sel::radioAccessTechnology, [](id self) { return deviceOf(self)->radioAccessTechnology(); })
        .method(sel::lastKnownRadioAccessTechnology, [](id self) { return deviceOf(self)->lastKnownRadioAccessTechnology(); })
        .method(sel::userAgentString, [](id self) { return deviceOf(self)->userAgentString(); })
        .method(sel::setRadioAccessTechnology_, [](id self, Value v) { deviceOf(self)->setRadioAccessTechnology(v); })
        .method(sel::setUserAgentString_, [](id self, Value v) { deviceOf(self)->setUserAgentString(v); })
        .method(sel::enableRadioAccessTechnologyChecking, [](id self) { deviceOf(self)->enableRadioAccessTechnologyChecking(); })
        .method(sel::disableRadioAccessTechnologyChecking, [](id self) { deviceOf(self)->disableRadioAccessTechnologyChecking(); })
        .method(sel::parameters, [](id self) { return deviceOf(self)->parameters(); });
}

}  // namespace adlib
