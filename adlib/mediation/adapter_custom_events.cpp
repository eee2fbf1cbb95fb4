#include "adlib/mediation/adapter_custom_events.h"

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/mediation/protocols.h"
#include "adlib/pipeline/request.h"
#include "platform/foundation/error.h"
#include "platform/foundation/format.h"

namespace adlib {

namespace {

YBXMAdapterCustomEvents* adapterOf(id self) { return as<YBXMAdapterCustomEvents>(self); }
YBXCustomEventExtras* extrasOf(id self) { return as<YBXCustomEventExtras>(self); }

// A credential that should be text; anything else counts as missing.
Value textCredential(id connector, const char* key) {
    const Value& value = sel::credentials(connector)[key];
    return value.isString() ? value : Value();
}

// The extras the application registered for this custom event's label.
Value extrasForLabel(id connector, const Value& label) {
    Ref<Object> extras = sel::networkExtras(connector);
    return as<YBXCustomEventExtras>(extras.get()) ? sel::extrasForLabel_(extras.get(), label) : Value();
}

Ref<Object> requestFor(id connector) {
    Ref<YBXCustomEventRequest> request = YBXCustomEventRequest::fromConnector(connector);
    request->additionalParameters = extrasForLabel(connector, textCredential(connector, "label"));
    return request;
}

// Relays a custom event's callback to the connector under the adapter's name.
void relay(id self, Sel<void(id, id)> callback) {
    if (Ref<Object> c = adapterOf(self)->connector.lock()) callback(c.get(), self);
}
void relayWith(id self, Sel<void(id, id, id)> callback, id object) {
    if (Ref<Object> c = adapterOf(self)->connector.lock()) callback(c.get(), self, object);
}

}  // namespace

YBXMAdapterCustomEvents::~YBXMAdapterCustomEvents() { stopBeingDelegate(); }

void YBXMAdapterCustomEvents::fail(bool interstitial, const std::string& message) {
    Ref<Object> c = connector.lock();
    Ref<NSError> error = NSError::errorWithDomain(kYBXMAdMediationErrorDomain, 1, Value{{std::string(NSLocalizedDescriptionKey), Value(message)}});
    interstitial ? sel::adapter_didFailInterstitial_(c.get(), this, error.get()) : sel::adapter_didFailAd_(c.get(), this, error.get());
}

Ref<Object> YBXMAdapterCustomEvents::makeCustomEvent(const char* protocol, bool interstitial) {
    Ref<Object> c = connector.lock();
    Value className = textCredential(c.get(), "class_name");
    if (className.isNil()) {
        fail(interstitial, "No class name for the Custom Event.");
        return nullptr;
    }
    Class* cls = NSClassFromString(className.string());
    if (!cls) {
        std::string message = format("Cannot find Custom Event class named %@.", className);
        pubLog(message);
        fail(interstitial, message);
        return nullptr;
    }
    // Checked on the class, so that a name from the server never makes an
    // object of a class that is no custom event.
    if (!class_conformsToProtocol(cls, objc_getProtocol(protocol))) {
        std::string message = format("Custom Event class %@ does not conform to the %@ protocol.", className, protocol);
        pubLog(message);
        fail(interstitial, message);
        return nullptr;
    }
    return sel::init(alloc(cls));
}

void YBXMAdapterCustomEvents::getBanner(const YBXAdSize& size) {
    Ref<Object> protector(this);
    Ref<Object> c = connector.lock();
    if (!c) return;
    Ref<Object> event = makeCustomEvent(kYBXCustomEventBannerProtocol, false);
    if (!event) return;
    customEventBanner = event;
    sel::setDelegate_(event.get(), this);
    sel::requestBannerAd_parameter_label_request_(event.get(), size, textCredential(c.get(), "parameter"), textCredential(c.get(), "label"),
                                                   requestFor(c.get()).get());
}

void YBXMAdapterCustomEvents::getInterstitial() {
    Ref<Object> protector(this);
    Ref<Object> c = connector.lock();
    if (!c) return;
    Ref<Object> event = makeCustomEvent(kYBXCustomEventInterstitialProtocol, true);
    if (!event) return;
    customEventInterstitial = event;
    sel::setDelegate_(event.get(), this);
    sel::requestInterstitialAdWithParameter_label_request_(event.get(), textCredential(c.get(), "parameter"), textCredential(c.get(), "label"),
                                                           requestFor(c.get()).get());
}

void YBXMAdapterCustomEvents::stopBeingDelegate() {
    if (customEventBanner) sel::setDelegate_(customEventBanner.get(), nullptr);
    if (customEventInterstitial) sel::setDelegate_(customEventInterstitial.get(), nullptr);
}

Ref<YBXCustomEventRequest> YBXCustomEventRequest::fromConnector(id connector) {
    Ref<YBXCustomEventRequest> request = as<YBXCustomEventRequest>(sel::init(alloc("YBXCustomEventRequest")));
    request->userGender = sel::userGender(connector);
    request->userBirthday = sel::userBirthday(connector);
    request->userHasLocation = sel::userHasLocation(connector);
    request->userLatitude = sel::userLatitude(connector);
    request->userLongitude = sel::userLongitude(connector);
    request->userLocationAccuracyInMeters = sel::userLocationAccuracyInMeters(connector);
    request->userLocationDescription = sel::userLocationDescription(connector);
    request->userKeywords = sel::userKeywords(connector);
    request->isTesting = sel::testMode(connector);
    return request;
}

void registerAdapterCustomEventsClasses() {
    for (const char* name : {kYBXCustomEventBannerProtocol, kYBXCustomEventInterstitialProtocol, "YBXCustomEventBannerDelegate",
                             "YBXCustomEventInterstitialDelegate"})
        if (!objc_getProtocol(name)) objc_registerProtocol(objc_allocateProtocol(name));

    ClassBuilder<YBXMAdapterCustomEvents>("YBXMAdapterCustomEvents", "NSObject")
        .protocol(kYBXMAdNetworkAdapterProtocol)
        .protocol("YBXCustomEventBannerDelegate")
        .protocol("YBXCustomEventInterstitialDelegate")
        .classMethod(sel::adapterVersion, [](id) { return Value(YBXRequest::sdkVersion()); })
        .classMethod(sel::networkExtrasClass, [](id) { return objc_getClass("YBXCustomEventExtras"); })
        .method(sel::initWithYBXMAdNetworkConnector_,
                [](id self, id connector) {
                    adapterOf(self)->connector = WeakRef<Object>(connector);
                    return Ref<Object>(self);
                })
        .method(sel::getBannerWithSize_, [](id self, YBXAdSize size) { adapterOf(self)->getBanner(size); })
        .method(sel::getInterstitial, [](id self) { adapterOf(self)->getInterstitial(); })
        .method(sel::stopBeingDelegate, [](id self) { adapterOf(self)->stopBeingDelegate(); })
        .method(sel::isBannerAnimationOK_, [](id, long long) { return true; })
        .method(sel::presentInterstitialFromRootViewController_,
                [](id self, id root) { sel::presentFromRootViewController_(adapterOf(self)->customEventInterstitial.get(), root); })
        .getter<&YBXMAdapterCustomEvents::customEventBanner>(sel::customEventBanner)
        .getter<&YBXMAdapterCustomEvents::customEventInterstitial>(sel::customEventInterstitial)
        // YBXCustomEventBannerDelegate
        .method(sel::customEventBanner_didReceiveAd_, [](id self, id, id object) { relayWith(self, sel::adapter_didReceiveAdView_, object); })
        .method(sel::customEventBanner_didFailAd_, [](id self, id, id object) { relayWith(self, sel::adapter_didFailAd_, object); })
        .method(sel::customEventBanner_clickDidOccurInAd_, [](id self, id, id object) { relayWith(self, sel::adapter_clickDidOccurInBanner_, object); })
        .method(sel::customEventBannerWillPresentModal_, [](id self, id) { relay(self, sel::adapterWillPresentFullScreenModal_); })
        .method(sel::customEventBannerWillDismissModal_, [](id self, id) { relay(self, sel::adapterWillDismissFullScreenModal_); })
        .method(sel::customEventBannerDidDismissModal_, [](id self, id) { relay(self, sel::adapterDidDismissFullScreenModal_); })
        .method(sel::customEventBannerWillLeaveApplication_, [](id self, id) { relay(self, sel::adapterWillLeaveApplication_); })
        .method(sel::viewControllerForPresentingModalView,
                [](id self) { return sel::viewControllerForPresentingModalView(adapterOf(self)->connector.lock().get()); })
        // YBXCustomEventInterstitialDelegate
        .method(sel::customEventInterstitial_didReceiveAd_, [](id self, id, id object) { relayWith(self, sel::adapter_didReceiveInterstitial_, object); })
        .method(sel::customEventInterstitial_didFailAd_, [](id self, id, id object) { relayWith(self, sel::adapter_didFailInterstitial_, object); })
        .method(sel::customEventInterstitialWillPresent_, [](id self, id) { relay(self, sel::adapterWillPresentInterstitial_); })
        .method(sel::customEventInterstitialWillDismiss_, [](id self, id) { relay(self, sel::adapterWillDismissInterstitial_); })
        .method(sel::customEventInterstitialDidDismiss_, [](id self, id) { relay(self, sel::adapterDidDismissInterstitial_); })
        .method(sel::customEventInterstitialWillLeaveApplication_, [](id self, id) { relay(self, sel::adapterWillLeaveApplication_); });

    ClassBuilder<YBXCustomEventRequest>("YBXCustomEventRequest", "NSObject")
        .getter<&YBXCustomEventRequest::userGender>(sel::userGender)
        .getter<&YBXCustomEventRequest::userBirthday>(sel::userBirthday)
        .getter<&YBXCustomEventRequest::userHasLocation>(sel::userHasLocation)
        .getter<&YBXCustomEventRequest::userLatitude>(sel::userLatitude)
        .getter<&YBXCustomEventRequest::userLongitude>(sel::userLongitude)
        .getter<&YBXCustomEventRequest::userLocationAccuracyInMeters>(sel::userLocationAccuracyInMeters)
        .getter<&YBXCustomEventRequest::userLocationDescription>(sel::userLocationDescription)
        .getter<&YBXCustomEventRequest::userKeywords>(sel::userKeywords)
        .getter<&YBXCustomEventRequest::additionalParameters>(sel::additionalParameters)
        .getter<&YBXCustomEventRequest::isTesting>(sel::isTesting);

    ClassBuilder<YBXCustomEventExtras>("YBXCustomEventExtras", "NSObject")
        .method(sel::setExtras_forLabel_,
                [](id self, Value extras, Value label) {
                    if (!label.isString() || label.string().empty()) {
                        pubLog("Must specify a label for extras.");
                        return;
                    }
                    extrasOf(self)->extras[label.string()] = extras;
                })
        .method(sel::extrasForLabel_,
                [](id self, Value label) {
                    if (!label.isString()) return Value();
                    auto found = extrasOf(self)->extras.find(label.string());
                    return found == extrasOf(self)->extras.end() ? Value() : found->second;
                })
        .method(sel::removeAllExtras, [](id self) { extrasOf(self)->extras.clear(); })
        .method(sel::allExtras, [](id self) { return Value(extrasOf(self)->extras); });
}

}  // namespace adlib
