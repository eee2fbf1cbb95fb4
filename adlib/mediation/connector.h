// YBXMAdNetworkConnector: what one network's adapter knows of the library for
// one turn of the waterfall. It creates the adapter, asks it for an ad,
// answers its targeting questions from the mediation delegate and turns its
// callbacks into manager calls, delegate events and impression and click
// pings. The banner and interstitial kinds each take one half of the
// callbacks. Lives until the manager drops it; once the manager and delegate
// are cleared it is inert. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"
#include "adlib/mediation/mediation_config.h"

namespace adlib {

class YBXMAdNetworkConnector : public NSObject {
public:
    ~YBXMAdNetworkConnector() override;

    void initialize(YBXMConfig* config, YBXMAdNetworkConfig* network);
    void getAdFromAdapterWithType(id adType);
    void reportImpression();
    void reportClick();
    void pingMediationURLs(const Value& templates, const Value& defaultTemplate, const Value& durations, const Value& exitCodes);

    // The adapter's questions.
    bool testMode();
    Ref<Object> networkExtras();
    bool userHasLocation();
    Ref<Object> sharedLocation();

    // Whether a callback should be acted on: from this connector's own
    // adapter (when it names one) while the manager still holds the connector.
    bool attached() const { return static_cast<bool>(adManager.lock()); }
    bool isOwnAdapter(id sender) const { return sender == adapter.get(); }

    WeakRef<Object> ybxmDelegate;
    WeakRef<Object> adManager;
    Ref<YBXMConfig> mediationConfig;
    Ref<YBXMAdNetworkConfig> networkConfig;
    Ref<Object> adapter;
    Value strippedCredentials;
    bool shareLocation = false;
    bool didNetworkRefresh = false;
    bool clicked = false;
};

class YBXMAdNetworkConnectorBanner : public YBXMAdNetworkConnector {
public:
    bool didNetworkReturn = false;
};

class YBXMAdNetworkConnectorInterstitial : public YBXMAdNetworkConnector {
public:
    bool calledWillDismissInterstitial = false;
};

// The credential that lets a network read the user's location; never passed to the adapter.
inline constexpr const char* kYBXMShareLocationKey = "pendrel_share_location";

void registerConnectorClasses();

}  // namespace adlib
