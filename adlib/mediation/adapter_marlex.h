// YBXMAdapterOrvaneMarlexAds: the adapter of our own ad network. It loads a
// banner or interstitial of this library for the network's publisher ID with
// a request made from the connector's targeting, and relays the ad's events
// to the connector. The ad it makes never refreshes by itself: the waterfall
// decides. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXMAdapterOrvaneMarlexAds : public NSObject {
public:
    ~YBXMAdapterOrvaneMarlexAds() override;

    // The inner request: the connector's targeting, our network's extras and
    // the waterfall's adapter lists.
    Ref<Object> request();
    void getBanner(const YBXAdSize& size);
    void getInterstitial();
    void stopBeingDelegate();

    WeakRef<Object> connector;
    Ref<Object> banner;
    Ref<Object> interstitial;
};

void registerAdapterOrvaneMarlexAdsClass();

}  // namespace adlib
