#include "adlib/mediation/connector.h"

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/mediation/mediation_utilities.h"
#include "adlib/mediation/protocols.h"
#include "platform/foundation/format.h"

namespace adlib {

namespace {

YBXMAdNetworkConnector* connectorOf(id self) { return as<YBXMAdNetworkConnector>(self); }
YBXMAdNetworkConnectorBanner* bannerOf(id self) { return as<YBXMAdNetworkConnectorBanner>(self); }
YBXMAdNetworkConnectorInterstitial* interstitialOf(id self) { return as<YBXMAdNetworkConnectorInterstitial>(self); }

template <class R, class... A, class... Args>
R askDelegate(const YBXMAdNetworkConnector* connector, Sel<R(id, A...)> selector, Args&&... args) {
    return askOptional(connector->ybxmDelegate, selector, std::forward<Args>(args)...);
}

// A coordinate of the shared location; 0 unless the user has a precise one.
double locationValue(id self, Sel<double(id)> selector) {
    auto* c = connectorOf(self);
    return c->userHasLocation() ? selector(c->sharedLocation()) : 0.0;
}

void tellManager(YBXMAdNetworkConnector* connector, Sel<void(id, id, id)> selector, id object) {
    if (Ref<Object> manager = connector->adManager.lock()) selector(manager, connector, object);
}

// --- banner callbacks ---------------------------------------------------------------------------------

void bannerDidReceiveAdView(id self, id sender, id view) {
    Ref<Object> protector(self);
    auto* c = bannerOf(self);
    if (!c->attached() || !c->isOwnAdapter(sender)) return;
    c->didNetworkRefresh = c->didNetworkReturn;
    c->didNetworkReturn = true;
    c->clicked = false;
    tellManager(c, sel::adRequestReturnsFromConnector_withView_, view);
    c->reportImpression();
}

void bannerDidFailAd(id self, id sender, id error) {
    Ref<Object> protector(self);
    auto* c = bannerOf(self);
    if (!c->attached() || !c->isOwnAdapter(sender)) return;
    c->didNetworkRefresh = c->didNetworkReturn;
    c->didNetworkReturn = true;
    tellManager(c, sel::adRequestFailedFromConnector_withError_, error);
}

void bannerClickDidOccur(id self, id sender, id) {
    auto* c = bannerOf(self);
    if (c->attached() && c->isOwnAdapter(sender)) c->reportClick();
}

void bannerWillPresentFullScreenModal(id self, id) {
    Ref<Object> protector(self);
    auto* c = bannerOf(self);
    if (!c->attached()) return;
    askDelegate(c, sel::ybxmWillPresentFullScreenModal);
    c->reportClick();
}

void bannerWillDismissFullScreenModal(id self, id) {
    auto* c = bannerOf(self);
    if (c->attached()) askDelegate(c, sel::ybxmWillDismissFullScreenModal);
}

void bannerDidDismissFullScreenModal(id self, id) {
    auto* c = bannerOf(self);
    if (c->attached()) askDelegate(c, sel::ybxmDidDismissFullScreenModal);
}

void bannerWillLeaveApplication(id self, id) {
    Ref<Object> protector(self);
    auto* c = bannerOf(self);
    if (!c->attached()) return;
    askDelegate(c, sel::ybxmWillLeaveApplication);
    c->reportClick();
}

// --- interstitial callbacks ---------------------------------------------------------------------------

void interstitialDidReceive(id self, id sender, id interstitial) {
    Ref<Object> protector(self);
    auto* c = interstitialOf(self);
    if (!c->attached() || !c->isOwnAdapter(sender)) return;
    c->clicked = false;
    tellManager(c, sel::adRequestReturnsFromConnector_withInterstitial_, interstitial);
}

void interstitialDidFail(id self, id sender, id error) {
    Ref<Object> protector(self);
    auto* c = interstitialOf(self);
    if (c->attached() && c->isOwnAdapter(sender)) tellManager(c, sel::adRequestFailedFromConnector_withError_, error);
}

void interstitialWillPresent(id self, id) {
    Ref<Object> protector(self);
    auto* c = interstitialOf(self);
    if (!c->attached()) return;
    askDelegate(c, sel::ybxmWillPresentInterstitial);
    // An interstitial counts as seen when it is shown, not when it arrives.
    c->reportImpression();
}

void interstitialWillDismiss(id self, id) {
    auto* c = interstitialOf(self);
    if (!c->attached()) return;
    c->calledWillDismissInterstitial = true;
    askDelegate(c, sel::ybxmWillDismissInterstitial);
}

void interstitialDidDismiss(id self, id sender) {
    Ref<Object> protector(self);
    auto* c = interstitialOf(self);
    if (!c->attached()) return;
    // Some networks skip the will-dismiss callback; the delegate hears it anyway, once.
    if (!c->calledWillDismissInterstitial) interstitialWillDismiss(self, sender);
    askDelegate(c, sel::ybxmDidDismissInterstitial);
}

void interstitialWillLeaveApplication(id self, id) {
    auto* c = interstitialOf(self);
    if (c->attached()) askDelegate(c, sel::ybxmWillLeaveApplication);
}

}  // namespace

// --- YBXMAdNetworkConnector ---------------------------------------------------------------------------

YBXMAdNetworkConnector::~YBXMAdNetworkConnector() {
    ybxmDelegate = nullptr;
    adManager = nullptr;
    sel::stopBeingDelegate(adapter.get());
}

void YBXMAdNetworkConnector::initialize(YBXMConfig* config, YBXMAdNetworkConfig* network) {
    mediationConfig = config;
    networkConfig = network;
    Value credentials = network ? network->credentials : Value();
    const Value& share = credentials[kYBXMShareLocationKey];
    shareLocation = share.isString() && share.string() == "1";
    Value::Dictionary stripped = credentials.dictionary();
    stripped.erase(kYBXMShareLocationKey);
    strippedCredentials = Value(std::move(stripped));
    adapter = sel::initWithYBXMAdNetworkConnector_(alloc(network ? network->adapterClass : nullptr), this);
}

void YBXMAdNetworkConnector::getAdFromAdapterWithType(id adType) {
    auto* type = as<YBXAdType>(adType);
    if (!type) return;
    if (type->isInterstitial) {
        sel::getInterstitial(adapter.get());
        return;
    }
    // An invalid size is never asked for; the manager's time-out ends the turn.
    if (YBXAdSizeIsValidForScreen(type->adSize)) sel::getBannerWithSize_(adapter.get(), type->adSize);
}

void YBXMAdNetworkConnector::reportImpression() {
    Value durations = askDelegate(this, sel::adapterDurationsParameter);
    Value exitCodes = askDelegate(this, sel::adapterExitCodesParameter);
    askDelegate(this, sel::resetTimingAdapters);
    Value templates = networkConfig && !networkConfig->impressionURLs.isNil() ? networkConfig->impressionURLs
                      : mediationConfig                                       ? mediationConfig->impressionURLs
                                                                              : Value();
    pingMediationURLs(templates, Value(YBXMImpressionTemplate()), durations, exitCodes);
}

void YBXMAdNetworkConnector::reportClick() {
    // One click ping per delivered ad, however many callbacks report it.
    if (clicked) return;
    clicked = true;
    pingMediationURLs(mediationConfig ? mediationConfig->clickURLs : Value(), Value(YBXMClickTemplate()), Value(), Value());
}

void YBXMAdNetworkConnector::pingMediationURLs(const Value& templates, const Value& defaultTemplate, const Value& durations,
                                               const Value& exitCodes) {
    Class* trackers = objc_getClass("YBXClickTrackerCollection");
    sel::trackMediationURLsFromTemplates_defaultTemplate_networkID_allocationID_qData_appKey_refresh_durations_exitCodes_(
        trackers, templates, defaultTemplate, networkConfig ? networkConfig->networkID : Value(),
        networkConfig ? networkConfig->allocationID : Value(), mediationConfig ? mediationConfig->qdata : Value(),
        mediationConfig ? mediationConfig->appKey : Value(), didNetworkRefresh, durations, exitCodes);
}

bool YBXMAdNetworkConnector::testMode() { return askDelegate(this, sel::ybxmTestMode); }

Ref<Object> YBXMAdNetworkConnector::networkExtras() {
    Class* cls = networkConfig ? networkConfig->adapterClass : nullptr;
    if (!cls || !respondsToSelector(cls, sel::networkExtrasClass.name)) {
        pubLog(format("Adapter class %@ does not response to SEL: %@. Unable to retrieve network extras.", cls ? Value(cls->name()) : Value(),
                      sel::networkExtrasClass.name));
        return nullptr;
    }
    return askDelegate(this, sel::networkExtrasFor_, sel::networkExtrasClass(cls));
}

Ref<Object> YBXMAdNetworkConnector::sharedLocation() {
    if (!shareLocation) return nullptr;
    return askDelegate(this, sel::userLocation);
}

bool YBXMAdNetworkConnector::userHasLocation() {
    Ref<Object> location = sharedLocation();
    return location && sel::isPreciseLocation(location);
}

// --- registration --------------------------------------------------------------------------------------

void registerConnectorClasses() {
    ClassBuilder<YBXMAdNetworkConnector>("YBXMAdNetworkConnector", "NSObject")
        .protocol(kYBXMAdNetworkConnectorProtocol)
        .method(sel::initWithConfig_networkConfig_,
                [](id self, id config, id network) {
                    connectorOf(self)->initialize(as<YBXMConfig>(config), as<YBXMAdNetworkConfig>(network));
                    return Ref<Object>(self);
                })
        .method(sel::getAdFromAdapterWithType_, [](id self, id type) { connectorOf(self)->getAdFromAdapterWithType(type); })
        .method(sel::askAdapterToStopBeingDelegate, [](id self) { sel::stopBeingDelegate(connectorOf(self)->adapter.get()); })
        .method(sel::askAdapterIsBannerAnimationOK_,
                [](id self, long long type) { return sel::isBannerAnimationOK_(connectorOf(self)->adapter.get(), type); })
        .method(sel::reportClick, [](id self) { connectorOf(self)->reportClick(); })
        .method(sel::reportImpression, [](id self) { connectorOf(self)->reportImpression(); })
        .method(sel::pingMediationURLs_defaultURL_durations_exitCodes_,
                [](id self, Value templates, Value defaultTemplate, Value durations, Value exitCodes) {
                    connectorOf(self)->pingMediationURLs(templates, defaultTemplate, durations, exitCodes);
                })
        .method(sel::ybxmDelegate, [](id self) { return connectorOf(self)->ybxmDelegate.lock(); })
        .method(sel::setYbxmDelegate_, [](id self, id delegate) { connectorOf(self)->ybxmDelegate = delegate; })
        .method(sel::adManager, [](id self) { return connectorOf(self)->adManager.lock(); })
        .method(sel::setAdManager_, [](id self, id manager) { connectorOf(self)->adManager = manager; })
        .method(sel::mediationConfig, [](id self) { return Ref<Object>(connectorOf(self)->mediationConfig.get()); })
        .method(sel::networkConfig, [](id self) { return Ref<Object>(connectorOf(self)->networkConfig.get()); })
        .getter<&YBXMAdNetworkConnector::adapter>(sel::adapter)
        .getter<&YBXMAdNetworkConnector::strippedCredentials>(sel::strippedCredentials)
        .getter<&YBXMAdNetworkConnector::shareLocation>(sel::shareLocation)
        .getter<&YBXMAdNetworkConnector::didNetworkRefresh>(sel::didNetworkRefresh)
        .getter<&YBXMAdNetworkConnector::clicked>(sel::clicked)
        // The YBXMAdNetworkConnector protocol, in its order.
        .method(sel::publisherId,
                [](id self) {
                    auto* c = connectorOf(self);
                    return c->networkConfig ? c->networkConfig->publisherID() : Value();
                })
        .method(sel::credentials, [](id self) { return connectorOf(self)->strippedCredentials; })
        .method(sel::testMode, [](id self) { return connectorOf(self)->testMode(); })
        .method(sel::networkExtras, [](id self) { return connectorOf(self)->networkExtras(); })
        .method(sel::viewControllerForPresentingModalView,
                [](id self) { return askDelegate(connectorOf(self), sel::viewControllerForPresentingModalView); })
        .method(sel::childDirectedTreatment, [](id self) { return askDelegate(connectorOf(self), sel::childDirectedTreatment); })
        .method(sel::userGender, [](id self) { return askDelegate(connectorOf(self), sel::userGender); })
        .method(sel::userBirthday, [](id self) { return askDelegate(connectorOf(self), sel::userBirthday); })
        .method(sel::userKeywords, [](id self) { return askDelegate(connectorOf(self), sel::userKeywords); })
        .method(sel::userHasLocation, [](id self) { return connectorOf(self)->userHasLocation(); })
        .method(sel::userLatitude,
                [](id self) { return locationValue(self, sel::latitude); })
        .method(sel::userLongitude,
                [](id self) { return locationValue(self, sel::longitude); })
        .method(sel::userLocationAccuracyInMeters,
                [](id self) { return locationValue(self, sel::accuracy); })
        .method(sel::userLocationDescription,
                [](id self) {
                    Ref<Object> location = connectorOf(self)->sharedLocation();
                    return location ? sel::locationDescription(location) : Value();
                })
        // The base kind ignores every adapter callback; each kind takes its half.
        .method(sel::adapter_didReceiveAdView_, [](id, id, id) {})
        .method(sel::adapter_didFailAd_, [](id, id, id) {})
        .method(sel::adapter_didReceiveInterstitial_, [](id, id, id) {})
        .method(sel::adapter_didFailInterstitial_, [](id, id, id) {})
        .method(sel::adapter_clickDidOccurInBanner_, [](id, id, id) {})
        .method(sel::adapterWillPresentFullScreenModal_, [](id, id) {})
        .method(sel::adapterWillDismissFullScreenModal_, [](id, id) {})
        .method(sel::adapterDidDismissFullScreenModal_, [](id, id) {})
        .method(sel::adapterWillPresentInterstitial_, [](id, id) {})
        .method(sel::adapterWillDismissInterstitial_, [](id, id) {})
        .method(sel::adapterDidDismissInterstitial_, [](id, id) {})
        .method(sel::adapterWillLeaveApplication_, [](id, id) {});

    ClassBuilder<YBXMAdNetworkConnectorBanner>("YBXMAdNetworkConnectorBanner", "YBXMAdNetworkConnector")
        .method(sel::adapter_didReceiveAdView_, &bannerDidReceiveAdView)
        .method(sel::adapter_didFailAd_, &bannerDidFailAd)
        .method(sel::adapter_clickDidOccurInBanner_, &bannerClickDidOccur)
        .method(sel::adapterWillPresentFullScreenModal_, &bannerWillPresentFullScreenModal)
        .method(sel::adapterWillDismissFullScreenModal_, &bannerWillDismissFullScreenModal)
        .method(sel::adapterDidDismissFullScreenModal_, &bannerDidDismissFullScreenModal)
        .method(sel::adapterWillLeaveApplication_, &bannerWillLeaveApplication);

    ClassBuilder<YBXMAdNetworkConnectorInterstitial>("YBXMAdNetworkConnectorInterstitial", "YBXMAdNetworkConnector")
        .method(sel::adapter_didReceiveInterstitial_, &interstitialDidReceive)
        .method(sel::adapter_didFailInterstitial_, &interstitialDidFail)
        .method(sel::adapterWillPresentInterstitial_, &interstitialWillPresent)
        .method(sel::adapterWillDismissInterstitial_, &interstitialWillDismiss)
        .method(sel::adapterDidDismissInterstitial_, &interstitialDidDismiss)
        .method(sel::adapterWillLeaveApplication_, &interstitialWillLeaveApplication);
}

}  // namespace adlib
