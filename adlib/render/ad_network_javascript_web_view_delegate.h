// YBXAdNetworkJavasSciptWebViewDelegate: the delegate of a slot's web view
// while it shows an ad whose HTML is another ad network's script. A
// navigation to the network's passback URL means the network has no ad: the
// slot fails at once. Such scripts may finish loading without drawing, so the
// first finish starts a check of the page's pixels every 0.2 s, and only
// content that differs from the background makes the ad count as loaded.
// Keeps its slot weakly; stops its check when it goes. Main thread.
#pragma once

#include <cstdint>

#include "adlib/render/banner_web_view_delegate.h"
#include "platform/foundation/timer.h"
#include "platform/network/url.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Ref<Object>(id, id, id)> initWithSlot_passbackURL_{"initWithSlot:passbackURL:"};
inline constexpr Sel<bool(id, id)> isPassbackRequest_{"isPassbackRequest:"};
inline constexpr Sel<void(id, id)> startRenderingTimerForWebView_{"startRenderingTimerForWebView:"};
inline constexpr Sel<void(id)> stopRenderingTimer{"stopRenderingTimer"};
inline constexpr Sel<Ref<Object>(id)> passbackURL{"passbackURL"};
inline constexpr Sel<bool(id)> wasPassbackReceived{"wasPassbackReceived"};
inline constexpr Sel<bool(id)> renderingCheckHasStarted{"renderingCheckHasStarted"};
}  // namespace sel

// More than this many failed checks (about 20 s) end the wait.
inline constexpr std::uint64_t kYBXMaximumFailedRenderingChecks = 100;

// A URL with the scheme "passback" (any case), or one on the passback URL's
// host (any case) whose path differs from its path at most by a trailing "/".
bool YBXIsPassbackURL(const NSURL* url, const NSURL* passbackURL);

class YBXAdNetworkJavasSciptWebViewDelegate : public YBXBannerWebViewDelegate {
public:
    ~YBXAdNetworkJavasSciptWebViewDelegate() override;

    bool shouldStartLoadForNetwork(id webView, NSURLRequest* request, long long navigationType);
    void didFinishLoadForNetwork(id webView);
    void startRenderingTimer(id webView);
    void stopRenderingTimer();
    void didRenderContent(id webView);
    void didFailToRenderContent(id webView);

    Ref<NSURL> passbackURL;
    bool wasPassbackReceived = false;
    bool renderingCheckHasStarted = false;
    std::uint64_t checkRenderingCount = 0;
    // The run loop keeps the timer.
    WeakRef<NSTimer> checkRenderingTimer;
    Ref<Object> webViewRenderedChecker;
};

void registerAdNetworkJavaScriptWebViewDelegateClass();

}  // namespace adlib
