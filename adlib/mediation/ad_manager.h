// YBXMAdManager: runs the waterfall of one mediation response. It asks the
// configuration's networks one after another, each through a fresh connector
// with its own time-out, until one delivers, and sends the no-fill ping when
// all have failed. Events go to its weak YBXMDelegate (the glue). The manager
// keeps the connector being asked and the one whose ad is on show. Main
// thread: a waterfall step asked for elsewhere is re-posted there.
#pragma once

#include <deque>

#include "adlib/foundation/selectors.h"
#include "adlib/mediation/connector.h"
#include "adlib/mediation/mediation_config.h"
#include "platform/foundation/timer.h"

namespace adlib {

// YBXMAdapterExitCode: how one network's turn ended, recorded by the slot's statistics.
enum YBXMAdapterExitCode : long long {
    YBXMAdapterExitCodeAdReceived = 0,
    YBXMAdapterExitCodeNoFill = 1,
    YBXMAdapterExitCodeError = 2,
    YBXMAdapterExitCodeTimeout = 3,
    YBXMAdapterExitCodeNoAdapterClass = 4,
};

class YBXMAdManager : public NSObject {
public:
    ~YBXMAdManager() override;

    void setDelegate(id delegate);
    void mediate(id adType, YBXMConfig* config);
    void makeAdRequest();
    // The next network that has an adapter class; those without one end at
    // once with exit code 4. Null when the queue is empty.
    Ref<YBXMAdNetworkConfig> dequeueAdNetworkConfig();
    void reportNoFill();
    void notifyDelegateOfFailureToReceiveWithError(id error);
    void resetRequestingState();
    void adNetworkTimeoutHandler(NSTimer* timer);
    bool shouldProcessResponseFromConnector(YBXMAdNetworkConnector* connector);

    void connectorReturnedView(YBXMAdNetworkConnector* connector, id view);
    void connectorReturnedInterstitial(YBXMAdNetworkConnector* connector, id interstitial);
    void connectorFailed(YBXMAdNetworkConnector* connector, id error);

    bool changeAdTypeTo(id adType);
    void presentInterstitialFromRootViewController(id controller);
    void cancelPendingActions();
    void cancel();

    WeakRef<Object> delegate;
    Ref<YBXMConfig> config;
    Ref<Object> adType;
    std::deque<Ref<YBXMAdNetworkConfig>> adNetworkConfigQueue;
    Ref<YBXMAdNetworkConnector> requestingConnector;
    Ref<YBXMAdNetworkConnector> receivedConnector;
    Value lastRequestTime;
    bool requestInProgress = false;
    Ref<NSTimer> adNetworkTimeoutTimer;

private:
    bool isInterstitialType() const;
    void endTiming(long long exitCode);
    // The connector hears nothing more from or for this waterfall.
    static void detach(YBXMAdNetworkConnector* connector);
};

void registerAdManagerClass();

}  // namespace adlib
