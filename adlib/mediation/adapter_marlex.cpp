#include "adlib/mediation/adapter_marlex.h"

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/device.h"
#include "adlib/mediation/glue.h"
#include "adlib/mediation/mediation_config.h"
#include "adlib/mediation/protocols.h"
#include "adlib/pipeline/extras.h"
#include "adlib/pipeline/request.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXMAdapterOrvaneMarlexAds* adapterOf(id self) { return as<YBXMAdapterOrvaneMarlexAds>(self); }

// The extras' and the network's "extras" strings, then ours: the server's
// mediation must not mediate again ("gw").
Value additionalParameters(id connector, YBXMAdNetworkConfig* network) {
    Value::Dictionary parameters;
    if (Ref<Object> extras = sel::networkExtras(connector); extras && respondsToSelector(extras, sel::additionalParameters.name)) {
        Value given = sel::additionalParameters(extras);
        if (given.kind() == Value::Kind::Dictionary) parameters = given.dictionary();
    }
    const Value credentials = sel::credentials(connector);
    if (const Value& hac = credentials["mad_hac"]; hac.isString()) parameters["mad_hac"] = hac;
    parameters["gw"] = Value("1");
    if (network) {
        if (network->extras.kind() == Value::Kind::Dictionary)
            for (const auto& [key, value] : network->extras.dictionary())
                if (value.isString()) parameters[key] = value;
        if (network->ad.kind() == Value::Kind::Dictionary) parameters["_ad"] = network->ad;
    }
    return Value(std::move(parameters));
}

// The slot that mediates this network, when our glue runs the waterfall.
Ref<Object> mediatingSlot(id connector) {
    Ref<Object> manager = sel::adManager(connector);
    Ref<YBXMToYBXGlue> glue = manager ? as<YBXMToYBXGlue>(sel::delegate(manager.get())) : nullptr;
    return glue ? glue->slot_.lock() : nullptr;
}

// A slot's opener, the one of its web view's delegate.
Ref<Object> openerOf(id slot) {
    if (!slot || !respondsToSelector(slot, sel::webViewDelegate.name)) return nullptr;
    Ref<Object> delegate = sel::webViewDelegate(slot);
    return delegate && respondsToSelector(delegate, sel::opener.name) ? sel::opener(delegate.get()) : nullptr;
}

// The inner ad's opener guards against automatic clicks as the mediating slot's does.
void takeOverAutoClickProtection(id connector, id innerAd) {
    Ref<Object> from = openerOf(mediatingSlot(connector).get());
    Ref<Object> to = openerOf(sel::slot(innerAd).get());
    if (from && to) sel::setAutoClickProtected_(to.get(), sel::autoClickProtected(from.get()));
}

template <const Sel<void(id, id)>& Callback>
void relay(id self, id) {
    if (Ref<Object> c = adapterOf(self)->connector.lock()) Callback(c.get(), self);
}

void clickThen(id self, Sel<void(id, id)> then) {
    auto* a = adapterOf(self);
    Ref<Object> c = a->connector.lock();
    if (!c) return;
    sel::adapter_clickDidOccurInBanner_(c.get(), self, a->banner.get());
    then(c.get(), self);
}

}  // namespace

YBXMAdapterOrvaneMarlexAds::~YBXMAdapterOrvaneMarlexAds() { stopBeingDelegate(); }

Ref<Object> YBXMAdapterOrvaneMarlexAds::request() {
    Ref<Object> c = connector.lock();
    Ref<Object> made = sel::init(alloc("YBXRequest"));
    if (!c) return made;
    Ref<YBXMAdNetworkConfig> network = as<YBXMAdNetworkConfig>(sel::networkConfig(c.get()));
    if (sel::testMode(c.get())) {
        YBXDevice* device = YBXDevice::currentDevice();
        sel::setTestDevices_(made.get(), Value(Value::Array{Value("Simulator"), Value(device ? device->deviceIdentifier() : std::string())}));
    }
    if (Value child = sel::childDirectedTreatment(c.get()); !child.isNil()) sel::tagForChildDirectedTreatment_(made.get(), child.boolValue());
    sel::setGender_(made.get(), sel::userGender(c.get()));
    sel::setBirthday_(made.get(), sel::userBirthday(c.get()));
    if (sel::userHasLocation(c.get())) {
        sel::setLocationWithLatitude_longitude_accuracy_(made.get(), sel::userLatitude(c.get()), sel::userLongitude(c.get()),
                                                         sel::userLocationAccuracyInMeters(c.get()));
    } else if (Value description = sel::userLocationDescription(c.get()); description.isString()) {
        sel::setLocationWithDescription_(made.get(), description);
    }
    sel::setKeywords_(made.get(), sel::userKeywords(c.get()));
    sel::registerAdNetworkExtras_(made.get(), YBXMarlexExtras::make(additionalParameters(c.get(), network.get())).get());

    Value::Array lists;
    if (Ref<YBXMConfig> config = as<YBXMConfig>(sel::mediationConfig(c.get())))
        for (const Ref<YBXMAdNetworkConfig>& each : config->adNetworkConfigs) lists.push_back(each->adapterList);
    sel::setPrivateMediationExtras_(made.get(), Value{{"man", Value(std::move(lists))}, {"mcan", Value(isa()->name())}});
    return made;
}

void YBXMAdapterOrvaneMarlexAds::getBanner(const YBXAdSize& size) {
    Ref<Object> c = connector.lock();
    if (!c) return;
    stopBeingDelegate();
    banner = sel::initWithAdSize_(alloc("YBXBannerView"), size);
    sel::setAdUnitID_(banner.get(), sel::publisherId(c.get()));
    sel::setDelegate_(banner.get(), this);
    sel::setRootViewController_(banner.get(), sel::viewControllerForPresentingModalView(c.get()).get());
    sel::setCreatedOnMediationRequest_(banner.get(), true);
    takeOverAutoClickProtection(c.get(), banner.get());
    sel::loadRequest_(banner.get(), request().get());
}

void YBXMAdapterOrvaneMarlexAds::getInterstitial() {
    Ref<Object> c = connector.lock();
    if (!c) return;
    stopBeingDelegate();
    interstitial = sel::init(alloc("YBXInterstitial"));
    sel::setAdUnitID_(interstitial.get(), sel::publisherId(c.get()));
    sel::setDelegate_(interstitial.get(), this);
    takeOverAutoClickProtection(c.get(), interstitial.get());
    sel::loadRequest_(interstitial.get(), request().get());
}

void YBXMAdapterOrvaneMarlexAds::stopBeingDelegate() {
    if (banner) sel::setDelegate_(banner.get(), nullptr);
    if (interstitial) sel::setDelegate_(interstitial.get(), nullptr);
}

void registerAdapterOrvaneMarlexAdsClass() {
    ClassBuilder<YBXMAdapterOrvaneMarlexAds>("YBXMAdapterOrvaneMarlexAds", "NSObject")
        .protocol(kYBXMAdNetworkAdapterProtocol)
        .classMethod(sel::adapterVersion, [](id) { return Value(YBXRequest::sdkVersion()); })
        .classMethod(sel::networkExtrasClass, [](id) { return objc_getClass("YBXMarlexExtras"); })
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
                [](id self, id root) { sel::presentFromRootViewController_(adapterOf(self)->interstitial.get(), root); })
        .method(sel::changeAdSizeTo_, [](id self, YBXAdSize size) { sel::setAdSize_(adapterOf(self)->banner.get(), size); })
        .getter<&YBXMAdapterOrvaneMarlexAds::banner>(sel::banner)
        .getter<&YBXMAdapterOrvaneMarlexAds::interstitial>(sel::interstitial)
        .method(sel::request, [](id self) { return adapterOf(self)->request(); })
        // The banner's and interstitial's delegate protocols, relayed in order.
        .method(sel::adViewDidReceiveAd_,
                [](id self, id view) {
                    if (Ref<Object> c = adapterOf(self)->connector.lock()) sel::adapter_didReceiveAdView_(c.get(), self, view);
                })
        .method(sel::adView_didFailToReceiveAdWithError_,
                [](id self, id, id error) {
                    if (Ref<Object> c = adapterOf(self)->connector.lock()) sel::adapter_didFailAd_(c.get(), self, error);
                })
        .method(sel::adViewWillPresentScreen_, [](id self, id) { clickThen(self, sel::adapterWillPresentFullScreenModal_); })
        .method(sel::adViewWillDismissScreen_, &relay<sel::adapterWillDismissFullScreenModal_>)
        .method(sel::adViewDidDismissScreen_, &relay<sel::adapterDidDismissFullScreenModal_>)
        .method(sel::adViewWillLeaveApplication_, [](id self, id) { clickThen(self, sel::adapterWillLeaveApplication_); })
        .method(sel::interstitialDidReceiveAd_,
                [](id self, id ad) {
                    if (Ref<Object> c = adapterOf(self)->connector.lock()) sel::adapter_didReceiveInterstitial_(c.get(), self, ad);
                })
        .method(sel::interstitial_didFailToReceiveAdWithError_,
                [](id self, id, id error) {
                    if (Ref<Object> c = adapterOf(self)->connector.lock()) sel::adapter_didFailInterstitial_(c.get(), self, error);
                })
        .method(sel::interstitialWillPresentScreen_, &relay<sel::adapterWillPresentInterstitial_>)
        .method(sel::interstitialWillDismissScreen_, &relay<sel::adapterWillDismissInterstitial_>)
        .method(sel::interstitialDidDismissScreen_, &relay<sel::adapterDidDismissInterstitial_>)
        .method(sel::interstitialWillLeaveApplication_, &relay<sel::adapterWillLeaveApplication_>);
}

}  // namespace adlib
