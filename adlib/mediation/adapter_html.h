// YBXMAdapterHTML: the adapter of an HTML network, whose snippet comes inside
// the mediation response ("vqztym_html"). The snippet is shown in a web view
// of its own, and the ad counts as received only once its pixels differ from
// the background: a snippet may load without drawing. A navigation to the
// network's passback URL means no fill. Banners only. Main thread.
//
// YBXMWebViewRenderedChecker: the adapter's pixel check of its web view.
#pragma once

#include <cstdint>
#include <string>

#include "adlib/foundation/selectors.h"
#include "adlib/render/web_view_rendered_checker.h"
#include "platform/network/url.h"
#include "platform/webkit/web_view.h"

namespace adlib {

// Polling stops, without a callback, after this many checks found nothing:
// the manager's time-out ends the network's turn.
inline constexpr std::uint64_t kYBXMMaximumRenderingChecks = 101;
inline constexpr const char* kYBXMAdExchangePath = "/ax/";

// The base URL of the snippet's page: the ad server's host with the scheme http.
Ref<NSURL> YBXMAdExchangeBaseURL();

class YBXMAdapterHTML : public NSObject {
public:
    ~YBXMAdapterHTML() override;

    void getBanner(const YBXAdSize& size);
    void failBanner(long long code, const char* message);
    void startPolling();
    void stopPolling();
    void isRendered(id webView, bool rendered);
    bool shouldStartLoad(id webView, NSURLRequest* request);
    void stopBeingDelegate();

    WeakRef<Object> connector;
    Ref<UIWebView> webView;
    Ref<NSURL> passbackUrl;
    Ref<Object> webViewRenderedChecker;
    Ref<NSTimer> checkRenderingTimer;
    std::uint64_t checkRenderingCount = 0;
};

class YBXMWebViewRenderedChecker : public YBXRenderedContentChecker {
protected:
    void report(id delegate, id webView, bool rendered) override;
};

void registerAdapterHTMLClasses();

}  // namespace adlib
