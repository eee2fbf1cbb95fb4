// YBXMAdapterCustomEvents: the adapter that hands one waterfall turn to a
// class of the application named by the server (a custom event), checked
// against the custom-event protocols before it is made. With it the
// publisher's side: YBXCustomEventRequest, the targeting snapshot the custom
// event gets, and YBXCustomEventExtras, extras by label. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

inline constexpr const char* kYBXCustomEventBannerProtocol = "YBXCustomEventBanner";
inline constexpr const char* kYBXCustomEventInterstitialProtocol = "YBXCustomEventInterstitial";
// The domain of the errors this adapter reports.
inline constexpr const char* kYBXMAdMediationErrorDomain = "ad_mediation";

class YBXMAdapterCustomEvents : public NSObject {
public:
    ~YBXMAdapterCustomEvents() override;

    void getBanner(const YBXAdSize& size);
    void getInterstitial();
    void stopBeingDelegate();

    WeakRef<Object> connector;
    Ref<Object> customEventBanner;
    Ref<Object> customEventInterstitial;

private:
    // A new instance of the credentials' class when it adopts the protocol;
    // otherwise nil, with the failure reported.
    Ref<Object> makeCustomEvent(const char* protocol, bool interstitial);
    void fail(bool interstitial, const std::string& message);
};

class YBXCustomEventRequest : public NSObject {
public:
    // The connector's targeting as it is now.
    static Ref<YBXCustomEventRequest> fromConnector(id connector);

    long long userGender = 0;
    Value userBirthday;
    bool userHasLocation = false;
    double userLatitude = 0, userLongitude = 0, userLocationAccuracyInMeters = 0;
    Value userLocationDescription;
    Value userKeywords;
    Value additionalParameters;
    bool isTesting = false;
};

class YBXCustomEventExtras : public NSObject {
public:
    Value::Dictionary extras;  // label -> extras dictionary
};

void registerAdapterCustomEventsClasses();

}  // namespace adlib
