#include "platform/uikit/screen.h"

#include <atomic>
#include <cstring>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/process.h"
#include "platform/uikit/application.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/window.h"

namespace platform {

namespace uikit {

namespace {
DeviceTraits& traits() {
    static auto* t = new DeviceTraits();
    return *t;
}
}  // namespace

void setDeviceTraits(DeviceTraits t) { traits() = t; }
const DeviceTraits& deviceTraits() { return traits(); }

namespace {
std::atomic<long long> orientationNow{UIInterfaceOrientationPortrait};
}  // namespace

long long interfaceOrientation() { return orientationNow.load(); }
void setInterfaceOrientation(long long orientation) { orientationNow = orientation; }

namespace {

// The controller on top of the key window: its root's last presented one.
Ref<UIViewController> topPresentedController() {
    Ref<UIWindow> key = UIWindow::keyWindow();
    Ref<UIViewController> top = key ? key->rootViewController_ : nullptr;
    while (top && top->presented_) top = top->presented_;
    return top;
}

constexpr double kRotationDuration = 0.4;

}  // namespace

void rotateDevice(long long orientation) {
    // The device and the interface name their landscape sides the other way round.
    long long device = orientation == UIInterfaceOrientationLandscapeLeft    ? UIDeviceOrientationLandscapeRight
                       : orientation == UIInterfaceOrientationLandscapeRight ? UIDeviceOrientationLandscapeLeft
                                                                             : orientation;
    UIDevice::currentDevice()->orientation_ = device;
    UIApplication* app = UIApplication::sharedApplication();
    const long long old = sel::statusBarOrientation(app);
    Ref<UIViewController> top = old != orientation ? topPresentedController() : nullptr;
    if (top) sel::willRotateToInterfaceOrientation_duration_(top, orientation, kRotationDuration);
    sel::setStatusBarOrientation_(app, orientation);
    setInterfaceOrientation(orientation);
    if (top) sel::didRotateFromInterfaceOrientation_(top, old);
    if (UIDevice::currentDevice()->orientationNotificationCount_ > 0)
        NSNotificationCenter::defaultCenter()->postNotificationName(UIDeviceOrientationDidChangeNotification,
                                                                   Value(UIDevice::currentDevice()));
}

}  // namespace uikit

namespace {

template <class T>
T* singleton(const char* className) {
    // Made once, kept for the process.
    static auto* instance = new Ref<T>();
    if (!*instance) *instance = as<T>(alloc(className));
    return instance->get();
}

}  // namespace

UIScreen* UIScreen::mainScreen() { return singleton<UIScreen>("UIScreen"); }

Rect UIScreen::portraitBounds() const {
    if (uikit::deviceTraits().interfaceIdiom == UIUserInterfaceIdiomPad) return Rect(0, 0, 768, 1024);
    return Rect(0, 0, 320, 568);
}

Rect UIScreen::bounds() const {
    Rect b = portraitBounds();
    long long o = uikit::interfaceOrientation();
    bool landscape = o == UIInterfaceOrientationLandscapeLeft || o == UIInterfaceOrientationLandscapeRight;
    // iOS 7's screen stays in portrait terms; from iOS 8 on it turns with the interface.
    if (landscape && stringDoubleValue(process::info().systemVersion) >= 8.0) std::swap(b.size.width, b.size.height);
    return b;
}

Rect UIScreen::applicationFrame() const {
    Rect b = bounds();
    return Rect(0, 20, b.width(), b.height() - 20);
}

UIDevice* UIDevice::currentDevice() { return singleton<UIDevice>("UIDevice"); }

std::string UIDevice::systemVersion() const { return process::info().systemVersion; }

std::string UIDevice::model() const {
    if (!uikit::deviceTraits().model.empty()) return uikit::deviceTraits().model;
    return userInterfaceIdiom() == UIUserInterfaceIdiomPad ? "iPad" : "iPhone";
}

float UIDevice::batteryLevel() const { return batteryMonitoringEnabled_ ? uikit::deviceTraits().batteryLevel : -1.0f; }

long long UIDevice::batteryState() const { return batteryMonitoringEnabled_ ? uikit::deviceTraits().batteryState : UIDeviceBatteryStateUnknown; }

int uname(struct utsname* name) {
    if (!name) return -1;
    std::memset(name, 0, sizeof *name);
    const auto& traits = uikit::deviceTraits();
    std::string machine = !traits.machine.empty() ? traits.machine
                          : traits.interfaceIdiom == UIUserInterfaceIdiomPad ? "iPad4,1"
                                                                             : "iPhone7,2";
    std::strncpy(name->sysname, "Darwin", sizeof name->sysname - 1);
    std::strncpy(name->nodename, "device", sizeof name->nodename - 1);
    std::strncpy(name->release, "15.0.0", sizeof name->release - 1);
    std::strncpy(name->version, "Darwin Kernel Version 15.0.0", sizeof name->version - 1);
    std::strncpy(name->machine, machine.c_str(), sizeof name->machine - 1);
    return 0;
}

long long UI_USER_INTERFACE_IDIOM() { return uikit::deviceTraits().interfaceIdiom; }

namespace uikit::detail {

void registerScreen() {
    ClassBuilder<UIScreen>("UIScreen", "NSObject")
        .classMethod(sel::mainScreen, [](id) -> Ref<Object> { return Ref<Object>(UIScreen::mainScreen()); })
        .method(sel::bounds, [](id self) { return as<UIScreen>(self)->bounds(); })
        .method(sel::scale, [](id self) { return as<UIScreen>(self)->scale(); })
        .method(sel::applicationFrame, [](id self) { return as<UIScreen>(self)->applicationFrame(); })
        .method(sel::currentMode, [](id self) -> Ref<Object> {
            auto* screen = as<UIScreen>(self);
            auto mode = as<UIScreenMode>(alloc("UIScreenMode"));
            Rect b = screen->portraitBounds();
            mode->size_ = Size{b.width() * screen->scale(), b.height() * screen->scale()};
            return mode;
        });
    ClassBuilder<UIScreenMode>("UIScreenMode", "NSObject").method(sel::size, [](id self) { return as<UIScreenMode>(self)->size_; });
}

void registerDevice() {
    ClassBuilder<UIDevice>("UIDevice", "NSObject")
        .classMethod(sel::currentDevice, [](id) -> Ref<Object> { return Ref<Object>(UIDevice::currentDevice()); })
        .method(sel::systemVersion, [](id self) { return Value(as<UIDevice>(self)->systemVersion()); })
        .method(sel::systemName, [](id) { return Value(stringDoubleValue(process::info().systemVersion) >= 9.0 ? "iOS" : "iPhone OS"); })
        .method(sel::model, [](id self) { return Value(as<UIDevice>(self)->model()); })
        .method(sel::name, [](id self) { return Value(as<UIDevice>(self)->model()); })
        .method(sel::userInterfaceIdiom, [](id self) { return as<UIDevice>(self)->userInterfaceIdiom(); })
        .method(sel::orientation, [](id self) { return as<UIDevice>(self)->orientation_; })
        .method(sel::batteryLevel, [](id self) { return as<UIDevice>(self)->batteryLevel(); })
        .method(sel::batteryState, [](id self) { return as<UIDevice>(self)->batteryState(); })
        .method(sel::isBatteryMonitoringEnabled, [](id self) { return as<UIDevice>(self)->batteryMonitoringEnabled_; })
        .method(sel::setBatteryMonitoringEnabled_, [](id self, bool on) { as<UIDevice>(self)->batteryMonitoringEnabled_ = on; })
        .method(sel::beginGeneratingDeviceOrientationNotifications, [](id self) { ++as<UIDevice>(self)->orientationNotificationCount_; })
        .method(sel::endGeneratingDeviceOrientationNotifications,
                [](id self) {
                    // Unbalanced ends do not go below zero, as UIKit's do not.
                    if (as<UIDevice>(self)->orientationNotificationCount_ > 0) --as<UIDevice>(self)->orientationNotificationCount_;
                })
        .method(sel::isGeneratingDeviceOrientationNotifications,
                [](id self) { return as<UIDevice>(self)->orientationNotificationCount_ > 0; });
}

}  // namespace uikit::detail
}  // namespace platform
