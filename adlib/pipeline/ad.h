// YBXAd: one ad between fetching and rendering, either the URL still to load
// or the creative (HTML, or the JSON of a mediation or native response) with
// its base URL, and what the server said about it. YBXAdBanner and
// YBXAdInterstitial add the refresh interval and the interstitial time-out
// read from an ad dictionary. Made and filled on the main thread.
#pragma once

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/selectors.h"

namespace adlib {

namespace sel {
// YBXAd's "size" and "setSize:" (the platform's `size` answers a CGSize).
inline constexpr Sel<YBXAdSize(id)> YBXAd_size{"size"};
inline constexpr Sel<void(id, YBXAdSize)> YBXAd_setSize_{"setSize:"};
}  // namespace sel

// YBXAdResponseType
enum YBXAdResponseType : unsigned long long {
    YBXAdResponseTypeInvalid = 0,
    YBXAdResponseTypeHTML = 1,
    YBXAdResponseTypeMediation = 2,
    YBXAdResponseTypeNative = 3,
    YBXAdResponseTypeCustomRendering = 4,
};

class YBXAd : public NSObject {
public:
    void setUp();
    void initWithDictionary(const Value& dictionary);

    // Adds each NSURL of the array not yet in the set; anything else is skipped.
    static void addURLs(Value& set, const Value& urls);

    Value clickURLs_{Value::Array{}};
    Value impressionURLs_{Value::Array{}};
    Value manualImpressionURLs_{Value::Array{}};
    bool scrollEnabled_ = true;
    bool MRAIDEnabled_ = false;
    bool hasAdNetworkJavaScript_ = false;
    Ref<Object> statistics_;
    Ref<NSURL> adBaseURL_;
    Value adHTML_;
    Ref<NSURL> adURL_;
    Value optoraConfigurations_;
    Ref<Object> swipeToViewControllerConfigurations_;
    unsigned long long responseType_ = YBXAdResponseTypeInvalid;
    double reloadInterval_ = 0;
    long long supportedOrientations_ = 0;
    Value debugDialog_;
    Value customAdSizeString_;
    Ref<NSURL> adNetworkPassbackURL_;
    YBXAdSize size_{};
};

class YBXAdBanner : public YBXAd {
public:
    double refreshInterval_ = 0;
};

class YBXAdInterstitial : public YBXAd {
public:
    double interstitialTimeout_ = 0;
};

// A URL of the text; null for anything that makes none.
Ref<NSURL> YBXURLFromValue(const Value& text);

void registerAdClasses();

}  // namespace adlib
