#include "adlib/mediation/ad_manager.h"

#include <cassert>

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/weak_timer.h"
#include "adlib/mediation/mediation_utilities.h"
#include "adlib/mediation/protocols.h"

namespace adlib {

namespace {

YBXMAdManager* managerOf(id self) { return as<YBXMAdManager>(self); }
YBXMAdNetworkConnector* connectorOf(id connector) { return as<YBXMAdNetworkConnector>(connector); }

void checkMainThread() { assert(NSThread::isMainThread() && "YBXMAdManager is used on the main thread only"); }

}  // namespace

YBXMAdManager::~YBXMAdManager() {
    if (adNetworkTimeoutTimer) adNetworkTimeoutTimer->invalidate();
    cancelPreviousPerformRequestsWithTarget(this);
}

void YBXMAdManager::detach(YBXMAdNetworkConnector* connector) {
    if (!connector) return;
    connector->adManager = nullptr;
    connector->ybxmDelegate = nullptr;
}

void YBXMAdManager::setDelegate(id newDelegate) {
    delegate = newDelegate;
    if (requestingConnector) requestingConnector->ybxmDelegate = newDelegate;
    if (receivedConnector) receivedConnector->ybxmDelegate = newDelegate;
}

bool YBXMAdManager::isInterstitialType() const { return adType && sel::isInterstitial(adType.get()); }

void YBXMAdManager::endTiming(long long exitCode) { askOptional(delegate, sel::endTimingAdapterWithExitCode_, exitCode); }

// --- the waterfall ------------------------------------------------------------------------------------

void YBXMAdManager::mediate(id type, YBXMConfig* configuration) {
    adType = Ref<Object>(type);
    config = Ref<YBXMConfig>(configuration);
    // A waterfall on its way goes on with the new type and configuration.
    if (requestInProgress) return;
    adNetworkConfigQueue.clear();
    if (config)
        for (const auto& network : config->adNetworkConfigs) adNetworkConfigQueue.push_back(network);
    askOptional(delegate, sel::resetTimingAdapters);
    makeAdRequest();
}

Ref<YBXMAdNetworkConfig> YBXMAdManager::dequeueAdNetworkConfig() {
    while (!adNetworkConfigQueue.empty()) {
        Ref<YBXMAdNetworkConfig> network = adNetworkConfigQueue.front();
        adNetworkConfigQueue.pop_front();
        askOptional(delegate, sel::startTimingAdapter);
        if (network && network->adapterClass) return network;
        endTiming(YBXMAdapterExitCodeNoAdapterClass);
    }
    return nullptr;
}

void YBXMAdManager::makeAdRequest() {
    if (!NSThread::isMainThread()) {
        performSelectorOnMainThread(this, sel::makeAdRequest, Value(), false);
        return;
    }
    Ref<Object> protector(this);
    Ref<YBXMAdNetworkConfig> network = dequeueAdNetworkConfig();
    if (!network) {
        if (adNetworkTimeoutTimer) adNetworkTimeoutTimer->invalidate();
        adNetworkTimeoutTimer = nullptr;
        reportNoFill();
        notifyDelegateOfFailureToReceiveWithError(sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeMediationNoFill).get());
        return;
    }
    requestInProgress = true;
    Ref<YBXMAdNetworkConnector> connector = as<YBXMAdNetworkConnector>(sel::initWithConfig_networkConfig_(
        alloc(isInterstitialType() ? "YBXMAdNetworkConnectorInterstitial" : "YBXMAdNetworkConnectorBanner"), config.get(), network.get()));
    if (!connector) return;
    connector->ybxmDelegate = delegate;
    connector->adManager = WeakRef<Object>(this);
    requestingConnector = connector;
    lastRequestTime = Value(platform::clock::now());
    if (adNetworkTimeoutTimer) adNetworkTimeoutTimer->invalidate();
    adNetworkTimeoutTimer = ybx_timerWithWeakTarget(TimerScheduling::scheduled, config ? config->adNetworkTimeout : 10.0, this,
                                                    sel::adNetworkTimeoutHandler_, Value(connector), false);
    sel::getAdFromAdapterWithType_(connector.get(), adType.get());
}

void YBXMAdManager::reportNoFill() {
    Value durations = askOptional(delegate, sel::adapterDurationsParameter);
    Value exitCodes = askOptional(delegate, sel::adapterExitCodesParameter);
    askOptional(delegate, sel::resetTimingAdapters);
    YBXMTrackMediationURLs(config ? config->noFillURLs : Value(), Value(YBXMNoFillTemplate()), Value(), Value(),
                           config ? config->qdata : Value(), config ? config->appKey : Value(), false, durations, exitCodes);
}

void YBXMAdManager::notifyDelegateOfFailureToReceiveWithError(id error) {
    askOptional(delegate, sel::ybxmDidFailToReceiveAdWithError_, error);
}

void YBXMAdManager::resetRequestingState() {
    if (adNetworkTimeoutTimer) adNetworkTimeoutTimer->invalidate();
    adNetworkTimeoutTimer = nullptr;
    requestInProgress = false;
}

void YBXMAdManager::adNetworkTimeoutHandler(NSTimer* timer) {
    Ref<Object> protector(this);
    // Only the turn this timer was started for ends here.
    if (!timer || timer != adNetworkTimeoutTimer.get()) return;
    Ref<YBXMAdNetworkConnector> connector(connectorOf(timer->userInfo().object()));
    endTiming(YBXMAdapterExitCodeTimeout);
    resetRequestingState();
    if (connector) {
        sel::askAdapterToStopBeingDelegate(connector.get());
        if (connector != receivedConnector) detach(connector.get());
    }
    requestingConnector = nullptr;
    makeAdRequest();
}

bool YBXMAdManager::shouldProcessResponseFromConnector(YBXMAdNetworkConnector* connector) {
    if (!connector) return false;
    // The turn being asked ends with this answer; an answer of the network on
    // show leaves a turn that another network is taking as it is.
    if (connector == requestingConnector.get()) {
        resetRequestingState();
        return true;
    }
    return connector == receivedConnector.get();
}

void YBXMAdManager::connectorReturnedView(YBXMAdNetworkConnector* connector, id view) {
    Ref<Object> protector(this);
    if (!shouldProcessResponseFromConnector(connector)) return;
    endTiming(YBXMAdapterExitCodeAdReceived);
    if (receivedConnector.get() != connector) {
        detach(receivedConnector.get());
        receivedConnector = Ref<YBXMAdNetworkConnector>(connector);
    }
    // The requesting connector stays: the network may refresh its banner through it.
    askOptional(delegate, sel::ybxmDidReceiveAd_, view);
}

void YBXMAdManager::connectorReturnedInterstitial(YBXMAdNetworkConnector* connector, id interstitial) {
    Ref<Object> protector(this);
    if (!shouldProcessResponseFromConnector(connector)) return;
    if (receivedConnector.get() != connector) {
        endTiming(YBXMAdapterExitCodeAdReceived);
        detach(receivedConnector.get());
        receivedConnector = Ref<YBXMAdNetworkConnector>(connector);
    }
    askOptional(delegate, sel::ybxmDidReceiveInterstitial_, interstitial);
    if (requestingConnector.get() == connector) requestingConnector = nullptr;
}

void YBXMAdManager::connectorFailed(YBXMAdNetworkConnector* connector, id error) {
    Ref<Object> protector(this);
    Ref<YBXMAdNetworkConnector> failing(connector);
    const bool wasRequesting = connector == requestingConnector.get();
    if (!shouldProcessResponseFromConnector(connector)) return;
    const bool refreshed = connector->didNetworkRefresh;
    // The failing network is let go, unless its ad is the one on show.
    if (connector != receivedConnector.get()) detach(connector);
    if (wasRequesting) requestingConnector = nullptr;
    if (!isInterstitialType() && refreshed) {
        auto* failure = as<NSError>(error);
        Ref<Object> refreshError = sel::errorWithCode_customMessage_(YBXRequestErrorClass(), YBXErrorCodeServer,
                                                                     failure ? Value(failure->description()) : Value());
        askOptional(delegate, sel::ybxmBannerAdRefreshFailedWithError_, refreshError.get());
        return;
    }
    // Another network's turn is running: this failure does not end it.
    if (!wasRequesting && requestingConnector) return;
    auto* failure = as<NSError>(error);
    const bool noFill = failure && failure->domain() == kYBXErrorDomain && failure->code() == YBXErrorCodeNoFill;
    endTiming(noFill ? YBXMAdapterExitCodeNoFill : YBXMAdapterExitCodeError);
    makeAdRequest();
}

// --- the ad on show -------------------------------------------------------------------------------------

bool YBXMAdManager::changeAdTypeTo(id type) {
    Ref<Object> adapter = receivedConnector ? receivedConnector->adapter : nullptr;
    if (!adapter || !type || !respondsToSelector(adapter, sel::changeAdSizeTo_.name)) return false;
    sel::changeAdSizeTo_(adapter.get(), sel::adSize(type));
    return true;
}

void YBXMAdManager::presentInterstitialFromRootViewController(id controller) {
    Ref<Object> adapter = receivedConnector ? receivedConnector->adapter : nullptr;
    if (adapter && respondsToSelector(adapter, sel::presentInterstitialFromRootViewController_.name))
        sel::presentInterstitialFromRootViewController_(adapter.get(), controller);
}

void YBXMAdManager::cancelPendingActions() {
    cancelPreviousPerformRequestsWithTarget(this);
    resetRequestingState();
}

void YBXMAdManager::cancel() {
    cancelPendingActions();
    adNetworkConfigQueue.clear();
    // Both connectors stop talking to their adapters and to us; the next
    // mediation starts from the top of its configuration.
    for (Ref<YBXMAdNetworkConnector>* slot : {&requestingConnector, &receivedConnector}) {
        if (!*slot) continue;
        sel::askAdapterToStopBeingDelegate(slot->get());
        detach(slot->get());
    }
    requestingConnector = nullptr;
    receivedConnector = nullptr;
}

// --- registration ---------------------------------------------------------------------------------------

void registerAdManagerClass() {
    ClassBuilder<YBXMAdManager>("YBXMAdManager", "NSObject")
        .method(sel::delegate, [](id self) { return managerOf(self)->delegate.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { managerOf(self)->setDelegate(delegate); })
        .method(sel::config, [](id self) { return Ref<Object>(managerOf(self)->config.get()); })
        .getter<&YBXMAdManager::adType>(sel::adType)
        .method(sel::requestingConnector, [](id self) { return Ref<Object>(managerOf(self)->requestingConnector.get()); })
        .method(sel::receivedConnector, [](id self) { return Ref<Object>(managerOf(self)->receivedConnector.get()); })
        .getter<&YBXMAdManager::lastRequestTime>(sel::lastRequestTime)
        .getter<&YBXMAdManager::requestInProgress>(sel::requestInProgress)
        .method(sel::adNetworkTimeoutTimer, [](id self) { return Ref<Object>(managerOf(self)->adNetworkTimeoutTimer.get()); })
        .method(sel::mediateForAdType_config_,
                [](id self, id type, id configuration) {
                    checkMainThread();
                    managerOf(self)->mediate(type, as<YBXMConfig>(configuration));
                })
        .method(sel::makeAdRequest, [](id self) { managerOf(self)->makeAdRequest(); })
        .method(sel::requestNextAdNetwork, [](id self) { managerOf(self)->makeAdRequest(); })
        .method(sel::dequeueAdNetworkConfig, [](id self) { return Ref<Object>(managerOf(self)->dequeueAdNetworkConfig().get()); })
        .method(sel::reportNoFill, [](id self) { managerOf(self)->reportNoFill(); })
        .method(sel::notifyDelegateOfFailureToReceiveWithError_,
                [](id self, id error) { managerOf(self)->notifyDelegateOfFailureToReceiveWithError(error); })
        .method(sel::resetRequestingState, [](id self) { managerOf(self)->resetRequestingState(); })
        .method(sel::adNetworkTimeoutHandler_, [](id self, id timer) { managerOf(self)->adNetworkTimeoutHandler(as<NSTimer>(timer)); })
        .method(sel::shouldProcessResponseFromConnector_,
                [](id self, id connector) { return managerOf(self)->shouldProcessResponseFromConnector(connectorOf(connector)); })
        .method(sel::adRequestReturnsFromConnector_withView_,
                [](id self, id connector, id view) { managerOf(self)->connectorReturnedView(connectorOf(connector), view); })
        .method(sel::adRequestReturnsFromConnector_withInterstitial_,
                [](id self, id connector, id interstitial) { managerOf(self)->connectorReturnedInterstitial(connectorOf(connector), interstitial); })
        .method(sel::adRequestFailedFromConnector_withError_,
                [](id self, id connector, id error) { managerOf(self)->connectorFailed(connectorOf(connector), error); })
        .method(sel::changeAdTypeTo_, [](id self, id type) { return managerOf(self)->changeAdTypeTo(type); })
        .method(sel::presentInterstitialFromRootViewController_,
                [](id self, id controller) { managerOf(self)->presentInterstitialFromRootViewController(controller); })
        .method(sel::cancelPendingActions, [](id self) { managerOf(self)->cancelPendingActions(); })
        .method(sel::cancel, [](id self) { managerOf(self)->cancel(); });
}

}  // namespace adlib
