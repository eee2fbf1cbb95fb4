// YBXSlot(MRAID) and YBXSlot(DeviceOrientation): what the slot tells an MRAID
// creative (device features, ready, visibility, screen information) and its
// watching of the creative's window rectangle, which drives the screen event.
#include <cassert>

#include "adlib/foundation/device.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/pipeline/slot.h"
#include "platform/foundation/notification_center.h"
#include "platform/uikit/screen.h"

namespace adlib {

namespace {

YBXSlot* slotOf(id self) { return as<YBXSlot>(self); }

void checkMainThread() { assert(NSThread::isMainThread() && "YBXSlot is used on the main thread only"); }

Value flag(bool on) { return Value(on ? "1" : "0"); }

}  // namespace

// --- YBXSlot(MRAID) ---------------------------------------------------------------------------------

void YBXSlot::willLoadMRAIDAd() {
    checkMainThread();
    sel::setMRAIDEnabled_(loadingAd_.get(), true);
    sel::setMRAIDEnabled_(ad_.get(), true);
}

void YBXSlot::didLoadMRAIDAd() {
    checkMainThread();
    // The observer first: the first look at the rectangle may already tell
    // the creative. Once only, however often an ad loads.
    NSNotificationCenter::defaultCenter()->removeObserver(this, kYBXSlotCreativeOrientationChanged, Value(this));
    addCreativeOrientationChangeObserver(this, sel_registerName(sel::notifyOrientationToMRAIDCreative.name));
    beginListeningToDeviceOrientationChangeEvent();
    notifyDeviceFeatures();
    SDKDidBecomeReady();
}

void YBXSlot::notifyMRAIDCreativeWithVisibility(bool visible) {
    if (!sel::isMRAIDEnabled(this)) return;
    YBXNotificationCenter::postJSNotification("onAdVisibilityChanged", Value{{"visible", flag(visible)}}, webView_.get());
}

void YBXSlot::notifyOrientationToMRAIDCreative() {
    if (!sel::isMRAIDEnabled(this)) return;
    YBXDevice* device = YBXDevice::currentDevice();
    const Rect screen = device->standardizedScreenBounds();
    YBXNotificationCenter::postJSNotification("onScreenInfoChanged",
                                              Value{{"width", Value(screen.size.width)},
                                                    {"height", Value(screen.size.height)},
                                                    {"isOrientationLandscape", flag(device->isOrientationLandscape())}},
                                              webView_.get());
}

void YBXSlot::notifyDeviceFeatures() {
    const Value openable = YBXDevice::currentDevice()->canOpenURLs(Value::array({Value("sms://"), Value("tel://")}));
    YBXNotificationCenter::postJSNotification("onDeviceFeaturesReceived",
                                              Value{{"sms", Value(openable["sms://"].boolValue())},
                                                    {"tel", Value(openable["tel://"].boolValue())},
                                                    {"calendar", Value(false)},
                                                    {"storePicture", Value(true)},
                                                    {"inlineVideo", Value(true)}},
                                              webView_.get());
}

void YBXSlot::SDKDidBecomeReady() { YBXNotificationCenter::postJSNotification("onReadyEventReceived", Value(), webView_.get()); }

// --- YBXSlot(DeviceOrientation) -------------------------------------------------------------------------

void YBXSlot::beginListeningToDeviceOrientationChangeEvent() {
    checkMainThread();
    if (isListeningToDeviceOrientationChangeEvent_) return;
    didChangeDeviceOrientation();
    isListeningToDeviceOrientationChangeEvent_ = true;
    sel::beginGeneratingDeviceOrientationNotifications(UIDevice::currentDevice());
    NSNotificationCenter::defaultCenter()->addObserver(this, sel_registerName(sel::didChangeDeviceOrientation.name),
                                                       UIDeviceOrientationDidChangeNotification, Value());
}

void YBXSlot::endListeningToDeviceOrientationChangeEvent() {
    checkMainThread();
    if (!isListeningToDeviceOrientationChangeEvent_) return;
    isListeningToDeviceOrientationChangeEvent_ = false;
    sel::endGeneratingDeviceOrientationNotifications(UIDevice::currentDevice());
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    center->removeObserver(this, UIDeviceOrientationDidChangeNotification, Value());
    center->removeObserver(this, kYBXSlotCreativeOrientationChanged, Value());
    // Forgotten, so that the slot's next MRAID ad hears its screen information too.
    creativeViewBounds_ = Rect{};
}

void YBXSlot::addCreativeOrientationChangeObserver(id observer, SEL selector) {
    NSNotificationCenter::defaultCenter()->addObserver(observer, selector, kYBXSlotCreativeOrientationChanged, Value(this));
}

void YBXSlot::didChangeDeviceOrientation() {
    id view = webView_.get();
    const Rect bounds = view ? sel::convertRect_toView_(view, sel::bounds(view), nullptr) : Rect{};
    if (bounds == creativeViewBounds_) return;
    creativeViewBounds_ = bounds;
    Ref<YBXSlot> protector(this);
    NSNotificationCenter::defaultCenter()->postNotificationName(kYBXSlotCreativeOrientationChanged, Value(this));
}

void registerSlotMRAIDCategories(Class* slotClass) {
    ClassBuilder<YBXSlot>(slotClass)
        .method(sel::willLoadMRAIDAd, [](id self) { slotOf(self)->willLoadMRAIDAd(); })
        .method(sel::didLoadMRAIDAd, [](id self) { slotOf(self)->didLoadMRAIDAd(); })
        .method(sel::didUnloadMRAIDAd, [](id self) { slotOf(self)->endListeningToDeviceOrientationChangeEvent(); })
        .method(sel::notifyMRAIDCreativeWithVisibility_, [](id self, bool visible) { slotOf(self)->notifyMRAIDCreativeWithVisibility(visible); })
        .method(sel::notifyOrientationToMRAIDCreative, [](id self) { slotOf(self)->notifyOrientationToMRAIDCreative(); })
        .method(sel::notifyDeviceFeatures, [](id self) { slotOf(self)->notifyDeviceFeatures(); })
        .method(sel::SDKDidBecomeReady, [](id self) { slotOf(self)->SDKDidBecomeReady(); })
        .method(sel::beginListeningToDeviceOrientationChangeEvent,
                [](id self) { slotOf(self)->beginListeningToDeviceOrientationChangeEvent(); })
        .method(sel::endListeningToDeviceOrientationChangeEvent, [](id self) { slotOf(self)->endListeningToDeviceOrientationChangeEvent(); })
        .method(sel::addCreativeOrientationChangeObserver_selector_,
                [](id self, id observer, SEL selector) { slotOf(self)->addCreativeOrientationChangeObserver(observer, selector); })
        .method(sel::didChangeDeviceOrientation, [](id self) { slotOf(self)->didChangeDeviceOrientation(); })
        .getter<&YBXSlot::isListeningToDeviceOrientationChangeEvent_>(sel::isListeningToDeviceOrientationChangeEvent)
        .getter<&YBXSlot::creativeViewBounds_>(sel::creativeViewBounds);
}

}  // namespace adlib
