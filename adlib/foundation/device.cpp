#include "adlib/foundation/device.h"

#include <atomic>
#include <cassert>
#include <mutex>

#include "adlib/foundation/macros.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"
#include "platform/uikit/geometry.h"
#include "platform/uikit/screen.h"

namespace adlib {

namespace {

// Values made once on the main thread and then published for every thread:
// no once-only guard is ever held while a thread waits for the main thread.
std::atomic<YBXDevice*> sharedDevice{nullptr};
std::atomic<const std::string*> sharedSystemVersion{nullptr};
std::atomic<double> sharedScreenDensity{0};  // 0 until made

void checkMainThread() { assert(NSThread::isMainThread() && "made on the main thread only"); }

YBXDevice* deviceOf(id self) { return as<YBXDevice>(self); }

}  // namespace

YBXDevice* YBXDevice::currentDevice() {
    if (YBXDevice* d = sharedDevice.load(std::memory_order_acquire)) return d;
    RunSynchronouslyOnMainThread([] {
        static std::once_flag once;
        std::call_once(once, [] {
            checkMainThread();
            Ref<Object> device = sel::init(alloc("YBXDevice"));
            // Kept for the process.
            sharedDevice.store(as<YBXDevice>(device.leak()), std::memory_order_release);
        });
    });
    return sharedDevice.load(std::memory_order_acquire);
}

const std::string& YBXDevice::systemVersion() {
    if (const std::string* v = sharedSystemVersion.load(std::memory_order_acquire)) return *v;
    RunSynchronouslyOnMainThread([] {
        static std::once_flag once;
        std::call_once(once, [] {
            checkMainThread();
            auto* v = new std::string(sel::systemVersion(UIDevice::currentDevice()).string());
            sharedSystemVersion.store(v, std::memory_order_release);
        });
    });
    return *sharedSystemVersion.load(std::memory_order_acquire);
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

bool YBXDevice::isOrientationLandscape() {
    bool landscape = false;
    RunSynchronouslyOnMainThread([&landscape] {
        long long orientation = sel::statusBarOrientation(UIApplication::sharedApplication());
        landscape = orientation == UIInterfaceOrientationLandscapeRight || orientation == UIInterfaceOrientationLandscapeLeft;
    });
    return landscape;
}

Rect YBXDevice::standardizedScreenBounds() {
    Rect bounds;
    RunSynchronouslyOnMainThread([&bounds] { bounds = CGRectStandardize(sel::bounds(UIScreen::mainScreen())); });
    // From iOS 8 on the screen's bounds follow the interface orientation.
    if (isOrientationLandscape() && isOSAtLeast(8, 0, 0)) std::swap(bounds.size.width, bounds.size.height);
    return bounds;
}

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

void registerDeviceClass() {
    ClassBuilder<YBXDevice>("YBXDevice", "NSObject")
        .protocol("YBXDeviceSpecifications")
        .classMethod(sel::currentDevice, [](id) { return Ref<Object>(YBXDevice::currentDevice()); })
        .method(sel::systemVersion, [](id self) { return Value(deviceOf(self)->systemVersion()); })
        .method(sel::getOSMajor_minor_bugFix_,
                [](id self, long long* major, long long* minor, long long* bugFix) { deviceOf(self)->getOSVersion(major, minor, bugFix); })
        .method(sel::isOSAtLeastMajor_minor_bug_,
                [](id self, long long major, long long minor, long long bug) { return deviceOf(self)->isOSAtLeast(major, minor, bug); })
        .method(sel::isOrientationLandscape, [](id self) { return deviceOf(self)->isOrientationLandscape(); })
        .method(sel::standardizedScreenBounds, [](id self) { return deviceOf(self)->standardizedScreenBounds(); })
        .method(sel::screenDensity, [](id self) { return deviceOf(self)->screenDensity(); });
}

}  // namespace adlib
