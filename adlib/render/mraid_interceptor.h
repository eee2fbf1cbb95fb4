// YBXMRAIDInterceptor: the URL protocol class that answers an MRAID
// creative's load of "mraid.js" with the library's own script. Its state is
// class-wide and guarded by one class lock, so any thread may switch it.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/url_protocol.h"

namespace adlib {

class YBXMRAIDInterceptor : public NSURLProtocol {
public:
    // Whether the interceptor may claim loads at all; starts NO.
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

    // How many ad requests are on their way: while any is, loads may be claimed.
    static void enableCanInitWithRequest();
    static void disableCanInitWithRequest();
    static void resetCanInitWithRequestCounter();
    static bool canInitWithRequestIsEnabled();
};

inline constexpr const char* kYBXMRAIDBannerPath = "/mraid/v1/mraid_app_banner.js";
inline constexpr const char* kYBXMRAIDExpandedBannerPath = "/mraid/v1/mraid_app_expanded_banner.js";
inline constexpr const char* kYBXMRAIDInterstitialPath = "/mraid/v1/mraid_app_interstitial.js";

void registerMRAIDInterceptorClass();

}  // namespace adlib
