// YBXMAdapterCustomEvents: the adapter of a custom event, an application
// class named by the network's credentials that loads a banner or an
// interstitial itself. The class must adopt the custom-event protocol of the
// ad type before any instance is made, so that a server's text cannot make
// an arbitrary class of the application. The adapter is the custom event's
// delegate and relays its callbacks to the connector. Main thread.
//
// YBXCustomEventRequest: the connector's targeting, copied when made.
// YBXCustomEventExtras: the application's extras for its custom events, by label.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"

namespace adlib {

inline constexpr const char* kYBXCustomEventBannerProtocol = "YBXCustomEventBanner";
inline constexpr const char* kYBXCustomEventInterstitialProtocol = "YBXCustomEventInterstitial";
// The domain of a custom event's failures.
inline constexpr const char* kYBXCustomEventErrorDomain = "ad_mediation";

class YBXMAdapterCustomEvents : public NSObject {
public:
    ~YBXMAdapterCustomEvents() override;

    // A new custom event adopting the protocol, or nil after failing with the reason.
    Ref<Object> instance(const char* protocol, bool interstitial);
    void getBanner(const YBXAdSize& size);
    void getInterstitial();
    void fail(const std::string& message, bool interstitial);
    void stopBeingDelegate();

    WeakRef<Object> connector;
    Ref<Object> customEventBanner;
    Ref<Object> customEventInterstitial;
};

class YBXCustomEventRequest : public NSObject {
public:
    static Ref<YBXCustomEventRequest> fromConnector(id connector, const Value& label);

    long long userGender = 0;
    Value userBirthday;
    bool userHasLocation = false;
    double userLatitude = 0;
    double userLongitude = 0;
    double userLocationAccuracyInMeters = 0;
    Value userLocationDescription;
    Value userKeywords;
    Value additionalParameters;
    bool isTesting = false;
};

class YBXCustomEventExtras : public NSObject {
public:
    void setExtras(const Value& extras, const Value& label);
    Value extrasForLabel(const Value& label) const;

    Value::Dictionary extras;  // label to extras dictionary
};

void registerCustomEventClasses();

}  // namespace adlib
