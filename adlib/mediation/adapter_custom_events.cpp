#include "adlib/mediation/adapter_custom_events.h"

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/macros.h"
#include "adlib/mediation/protocols.h"
#include "adlib/pipeline/request.h"
#include "platform/foundation/format.h"

namespace adlib {

namespace {

YBXMAdapterCustomEvents* adapterOf(id self) { return as<YBXMAdapterCustomEvents>(self); }
YBXCustomEventExtras* extrasOf(id self) { return as<YBXCustomEventExtras>(self); }

// A credential that should be text; anything else counts as missing.
Value textCredential(id connector, const char* key) {
    const Value credentials = connector ? sel::credentials(connector) : Value();
    const Value& value = credentials[key];
    return value.isString() ? value : Value();
}

Value copyOf(const Value& value, Value::Kind kind) { return value.kind() == kind ? value : Value(); }

template <const Sel<void(id, id)>& Callback>
void relay(id self, id) {
    if (Ref<Object> c = adapterOf(self)->connector.lock()) Callback(c.get(), self);
}

template <const Sel<void(id, id, id)>& Callback>
void relayWith(id self, id, id object) {
    if (Ref<Object> c = adapterOf(self)->connector.lock()) Callback(c.get(), self, object);
}

}  // namespace

// --- YBXMAdapterCustomEvents --------------------------------------------------------------------------

YBXMAdapterCustomEvents::~YBXMAdapterCustomEvents() { stopBeingDelegate(); }

void YBXMAdapterCustomEvents::fail(const std::string& message, bool interstitial) {
    Ref<Object> c = connector.lock();
    if (!c) return;
    Ref<NSError> error = NSError::errorWithDomain(kYBXCustomEventErrorDomain, 1, Value{{std::string(NSLocalizedDescriptionKey), Value(message)}});
    interstitial ? sel::adapter_didFailInterstitial_(c.get(), this, error.get()) : sel::adapter_didFailAd_(c.get(), this, error.get());
}

Ref<Object> YBXMAdapterCustomEvents::instance(const char* protocol, bool interstitial) {
    const Value name = textCredential(connector.lock().get(), "class_name");
    if (name.isNil()) {
        fail("No class name for the Custom Event.", interstitial);
        return nullptr;
    }
    Class* cls = objc_getClass(name.string());
    if (!cls) {
        const std::string message = format("Cannot find Custom Event class named %@.", name);
        pubLog(message);
        fail(message, interstitial);
        return nullptr;
    }
    // Checked on the class: making an instance of a class the server named may already do harm.
    if (!class_conformsToProtocol(cls, objc_getProtocol(protocol))) {
        const std::string message = format("Custom Event class %@ does not conform to the %@ protocol.", name, Value(protocol));
        pubLog(message);
        fail(message, interstitial);
        return nullptr;
    }
    return sel::init(alloc(cls));
}

void YBXMAdapterCustomEvents::getBanner(const YBXAdSize& size) {
    Ref<Object> made = instance(kYBXCustomEventBannerProtocol, false);
    Ref<Object> c = connector.lock();
    if (!made || !c) return;
    if (customEventBanner) sel::setDelegate_(customEventBanner.get(), nullptr);
    customEventBanner = made;
    sel::setDelegate_(made.get(), this);
    const Value label = textCredential(c.get(), "label");
    sel::requestBannerAd_parameter_label_request_(made.get(), size, textCredential(c.get(), "parameter"), label,
                                                   YBXCustomEventRequest::fromConnector(c.get(), label).get());
}

void YBXMAdapterCustomEvents::getInterstitial() {
    Ref<Object> made = instance(kYBXCustomEventInterstitialProtocol, true);
    Ref<Object> c = connector.lock();
    if (!made || !c) return;
    if (customEventInterstitial) sel::setDelegate_(customEventInterstitial.get(), nullptr);
    customEventInterstitial = made;
    sel::setDelegate_(made.get(), this);
    const Value label = textCredential(c.get(), "label");
    sel::requestInterstitialAdWithParameter_label_request_(made.get(), textCredential(c.get(), "parameter"), label,
                                                           YBXCustomEventRequest::fromConnector(c.get(), label).get());
}

void YBXMAdapterCustomEvents::stopBeingDelegate() {
    if (customEventBanner) sel::setDelegate_(customEventBanner.get(), nullptr);
    if (customEventInterstitial) sel::setDelegate_(customEventInterstitial.get(), nullptr);
}

// --- YBXCustomEventRequest ------------------------------------------------------------------------------

Ref<YBXCustomEventRequest> YBXCustomEventRequest::fromConnector(id connector, const Value& label) {
    Ref<YBXCustomEventRequest> r = as<YBXCustomEventRequest>(newObject("YBXCustomEventRequest"));
    r->userGender = sel::userGender(connector);
    r->userBirthday = copyOf(sel::userBirthday(connector), Value::Kind::Date);
    r->userHasLocation = sel::userHasLocation(connector);
    r->userLatitude = sel::userLatitude(connector);
    r->userLongitude = sel::userLongitude(connector);
    r->userLocationAccuracyInMeters = sel::userLocationAccuracyInMeters(connector);
    r->userLocationDescription = copyOf(sel::userLocationDescription(connector), Value::Kind::String);
    r->userKeywords = copyOf(sel::userKeywords(connector), Value::Kind::Array);
    if (Ref<Object> extras = sel::networkExtras(connector); extras && respondsToSelector(extras, sel::extrasForLabel_.name))
        r->additionalParameters = copyOf(sel::extrasForLabel_(extras.get(), label), Value::Kind::Dictionary);
    r->isTesting = sel::testMode(connector);
    return r;
}

// --- YBXCustomEventExtras -------------------------------------------------------------------------------

void YBXCustomEventExtras::setExtras(const Value& given, const Value& label) {
    if (!label.isString() || label.string().empty()) {
        pubLog("Must specify a label for extras.");
        return;
    }
    if (given.isDictionary()) extras[label.string()] = given;
    else extras.erase(label.string());
}

Value YBXCustomEventExtras::extrasForLabel(const Value& label) const {
    if (!label.isString()) return Value();
    auto found = extras.find(label.string());
    return found == extras.end() ? Value() : found->second;
}

// --- registration ---------------------------------------------------------------------------------------

void registerCustomEventClasses() {
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
                [](id self, id root) {
                    if (Ref<Object> event = adapterOf(self)->customEventInterstitial) sel::presentFromRootViewController_(event.get(), root);
                })
        .getter<&YBXMAdapterCustomEvents::customEventBanner>(sel::customEventBanner)
        .getter<&YBXMAdapterCustomEvents::customEventInterstitial>(sel::customEventInterstitial)
        // YBXCustomEventBannerDelegate
        .method(sel::customEventBanner_didReceiveAd_, &relayWith<sel::adapter_didReceiveAdView_>)
        .method(sel::customEventBanner_didFailAd_, &relayWith<sel::adapter_didFailAd_>)
        .method(sel::customEventBanner_clickDidOccurInAd_, &relayWith<sel::adapter_clickDidOccurInBanner_>)
        .method(sel::customEventBannerWillPresentModal_, &relay<sel::adapterWillPresentFullScreenModal_>)
        .method(sel::customEventBannerWillDismissModal_, &relay<sel::adapterWillDismissFullScreenModal_>)
        .method(sel::customEventBannerDidDismissModal_, &relay<sel::adapterDidDismissFullScreenModal_>)
        .method(sel::customEventBannerWillLeaveApplication_, &relay<sel::adapterWillLeaveApplication_>)
        .method(sel::viewControllerForPresentingModalView,
                [](id self) {
                    Ref<Object> c = adapterOf(self)->connector.lock();
                    return c ? sel::viewControllerForPresentingModalView(c.get()) : nullptr;
                })
        // YBXCustomEventInterstitialDelegate
        .method(sel::customEventInterstitial_didReceiveAd_, &relayWith<sel::adapter_didReceiveInterstitial_>)
        .method(sel::customEventInterstitial_didFailAd_, &relayWith<sel::adapter_didFailInterstitial_>)
        .method(sel::customEventInterstitialWillPresent_, &relay<sel::adapterWillPresentInterstitial_>)
        .method(sel::customEventInterstitialWillDismiss_, &relay<sel::adapterWillDismissInterstitial_>)
        .method(sel::customEventInterstitialDidDismiss_, &relay<sel::adapterDidDismissInterstitial_>)
        .method(sel::customEventInterstitialWillLeaveApplication_, &relay<sel::adapterWillLeaveApplication_>);

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
        .protocol("YBXAdNetworkExtras")
        .method(sel::setExtras_forLabel_, [](id self, Value extras, Value label) { extrasOf(self)->setExtras(extras, label); })
        .method(sel::extrasForLabel_, [](id self, Value label) { return extrasOf(self)->extrasForLabel(label); })
        .method(sel::removeAllExtras, [](id self) { extrasOf(self)->extras.clear(); })
        .method(sel::allExtras, [](id self) { return Value(extrasOf(self)->extras); });
}

}  // namespace adlib
