// YBXMRAIDInterceptor: the URL protocol class that answers an MRAID
// creative's load of "mraid.js" with the library's own script for the kind of
// ad (banner, interstitial, expanded banner), fetched from the ad server. It
// claims only loads made by the library's own ad web views, found by their
// referer in the ad URL stash. Its state is class-wide and guarded by one
// class lock, so any thread may switch it; the protocol calls come on the
// load's own thread, and whatever they need of the main thread (the web view,
// its delegate and slot) is read there, in one synchronous hop. The class sets
// itself up (registers as a URL protocol, allows itself) at its first use.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/url_protocol.h"

namespace adlib {

class YBXMRAIDInterceptor : public NSURLProtocol {
public:
    // The once-only class set-up: default locations, registration, allow.
    static void initializeClass();

    // Whether the interceptor may claim loads at all.
    static void allow();
    static void disallow();
    static bool isAllowed();

    // The MRAID script locations of the three kinds of ad, on the ad server
    // unless the server's constants say otherwise; nil when cleared.
    static void resetToDefaultPaths();
    static Value bannerImplementationPath();
    static Value interstitialImplementationPath();
    static Value expandedBannerImplementationPath();
    // Setting the current value changes nothing.
    static void setBannerImplementationPath(const Value& path);
    static void setInterstitialImplementationPath(const Value& path);
    static void setExpandedBannerImplementationPath(const Value& path);
    // Whether the URL's absolute text is one of the three locations.
    static bool urlIsAnImplementationPath(NSURL* url);

    // How many ad requests are on their way: while any is, loads may be claimed.
    static void enableCanInitWithRequest();
    static void disableCanInitWithRequest();
    static void resetCanInitWithRequestCounter();
    static bool canInitWithRequestIsEnabled();

    // The URL of the request's "referer" header; null when empty or absent.
    static Ref<NSURL> refererURLFromRequest(NSURLRequest* request);
    // A load of "mraid.js" that is none of the library's own script locations.
    static bool shouldRedirectForMRAID(NSURLRequest* request);
    static bool canInitWithRequest(NSURLRequest* request);

    // initWithRequest:cachedResponse:client: after the base class's work.
    void chooseLocation();
    void startLoading();

    // Chosen at creation, on the load's thread, and read there by startLoading.
    Value mraidLocationToLoad_;
};

inline constexpr const char* kYBXMRAIDBannerPath = "/mraid/v1/mraid_app_banner.js";
inline constexpr const char* kYBXMRAIDExpandedBannerPath = "/mraid/v1/mraid_app_expanded_banner.js";
inline constexpr const char* kYBXMRAIDInterstitialPath = "/mraid/v1/mraid_app_interstitial.js";
// The failure of a load for which no script could be chosen.
inline constexpr long long kYBXMRAIDNoLocationErrorCode = -1000;

void registerMRAIDInterceptorClass();

}  // namespace adlib
