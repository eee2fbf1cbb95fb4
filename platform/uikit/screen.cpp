#include "platform/uikit/screen.h"

#include "platform/foundation/process.h"
#include "platform/uikit/internal.h"

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

Rect UIScreen::bounds() const {
    if (uikit::deviceTraits().interfaceIdiom == UIUserInterfaceIdiomPad) return Rect(0, 0, 768, 1024);
    return Rect(0, 0, 320, 568);
}

Rect UIScreen::applicationFrame() const {
    Rect b = bounds();
    return Rect(0, 20, b.width(), b.height() - 20);
}

UIDevice* UIDevice::currentDevice() { return singleton<UIDevice>("UIDevice"); }

std::string UIDevice::systemVersion() const { return process::info().systemVersion; }

std::string UIDevice::model() const { return userInterfaceIdiom() == UIUserInterfaceIdiomPad ? "iPad" : "iPhone"; }

long long UI_USER_INTERFACE_IDIOM() { return uikit::deviceTraits().interfaceIdiom; }

namespace uikit::detail {

void registerScreen() {
    ClassBuilder<UIScreen>("UIScreen", "NSObject")
        .classMethod(sel::mainScreen, [](id) -> Ref<Object> { return Ref<Object>(UIScreen::mainScreen()); })
        .method(sel::bounds, [](id self) { return as<UIScreen>(self)->bounds(); })
        .method(sel::scale, [](id self) { return as<UIScreen>(self)->scale(); })
        .method(sel::applicationFrame, [](id self) { return as<UIScreen>(self)->applicationFrame(); });
}

void registerDevice() {
    ClassBuilder<UIDevice>("UIDevice", "NSObject")
        .classMethod(sel::currentDevice, [](id) -> Ref<Object> { return Ref<Object>(UIDevice::currentDevice()); })
        .method(sel::systemVersion, [](id self) { return Value(as<UIDevice>(self)->systemVersion()); })
        .method(sel::systemName, [](id) { return Value(stringDoubleValue(process::info().systemVersion) >= 9.0 ? "iOS" : "iPhone OS"); })
        .method(sel::model, [](id self) { return Value(as<UIDevice>(self)->model()); })
        .method(sel::name, [](id self) { return Value(as<UIDevice>(self)->model()); })
        .method(sel::userInterfaceIdiom, [](id self) { return as<UIDevice>(self)->userInterfaceIdiom(); })
        .method(sel::orientation, [](id) { return UIDeviceOrientationPortrait; });
}

}  // namespace uikit::detail
}  // namespace platform
