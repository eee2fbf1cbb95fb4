#include "adlib/render/ad_network_javascript_web_view_delegate.h"

#include "adlib/foundation/request_error.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/foundation/url_utilities.h"
#include "adlib/pipeline/slot.h"
#include "adlib/render/web_view_rendered_checker.h"
#include "platform/network/request.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXAdNetworkJavasSciptWebViewDelegate* delegateOf(id self) { return as<YBXAdNetworkJavasSciptWebViewDelegate>(self); }

// Fails the slot with the message and asks for the refresh.
void failSlot(id slot, const char* message) {
    Ref<Object> error = sel::errorWithCode_customMessage_(YBXRequestErrorClass(), YBXErrorCodeNoFill, Value(message));
    sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(slot, error.get(), true, true);
}

}  // namespace

bool YBXIsPassbackURL(const NSURL* url, const NSURL* passbackURL) {
    if (!url) return false;
    if (ybx_isSchemeEqualToString(url, "passback", false)) return true;
    if (!passbackURL || passbackURL->host().empty()) return false;
    return ybx_isHostEqualToString(url, passbackURL->host(), false) && ybx_isEquivalentToURLString(url->path(), passbackURL->path());
}

YBXAdNetworkJavasSciptWebViewDelegate::~YBXAdNetworkJavasSciptWebViewDelegate() { stopRenderingTimer(); }

bool YBXAdNetworkJavasSciptWebViewDelegate::shouldStartLoadForNetwork(id webView, NSURLRequest* request, long long navigationType) {
    if (!request || !request->URL()) return false;
    if (!YBXIsPassbackURL(request->URL(), passbackURL.get())) return shouldStartLoad(webView, request, navigationType);
    Ref<YBXAdNetworkJavasSciptWebViewDelegate> protector(this);
    wasPassbackReceived = true;
    stopRenderingTimer();
    if (Ref<Object> slot = slot_.lock()) failSlot(slot.get(), "Passback URL received.");
    return false;
}

void YBXAdNetworkJavasSciptWebViewDelegate::didFinishLoadForNetwork(id webView) {
    if (renderingCheckHasStarted || wasPassbackReceived) return;
    renderingCheckHasStarted = true;
    if (Ref<Object> slot = slot_.lock()) sel::willLoadAdHTMLInWebView(slot.get());
    startRenderingTimer(webView);
}

void YBXAdNetworkJavasSciptWebViewDelegate::startRenderingTimer(id webView) {
    stopRenderingTimer();
    YBXRenderingPoll poll = YBXStartRenderingPoll("YBXWebViewRenderedChecker", webView, this);
    webViewRenderedChecker = poll.checker;
    checkRenderingTimer = poll.timer.get();
}

void YBXAdNetworkJavasSciptWebViewDelegate::stopRenderingTimer() {
    Ref<NSTimer> timer = checkRenderingTimer.lock();
    YBXStopRenderingPoll(webViewRenderedChecker.get(), timer.get());
    webViewRenderedChecker = nullptr;
    checkRenderingTimer = nullptr;
}

void YBXAdNetworkJavasSciptWebViewDelegate::didRenderContent(id webView) {
    Ref<YBXAdNetworkJavasSciptWebViewDelegate> protector(this);
    stopRenderingTimer();
    didFinishLoad(webView);
}

void YBXAdNetworkJavasSciptWebViewDelegate::didFailToRenderContent(id webView) {
    if (++checkRenderingCount <= kYBXMaximumFailedRenderingChecks) return;
    Ref<YBXAdNetworkJavasSciptWebViewDelegate> protector(this);
    stopRenderingTimer();
    Ref<Object> error = sel::errorWithCode_customMessage_(YBXRequestErrorClass(), YBXErrorCodeNoFill, Value("Ad check timed out."));
    didFailLoad(webView, error.get());
    // Nothing else schedules the banner's next request on this path.
    Ref<Object> slot = slot_.lock();
    if (slot && sel::YBXSlot_state(slot.get()) == YBXSlotStateFailed) sel::scheduleAdReloadTimer(slot.get());
}

void registerAdNetworkJavaScriptWebViewDelegateClass() {
    ClassBuilder<YBXAdNetworkJavasSciptWebViewDelegate>("YBXAdNetworkJavasSciptWebViewDelegate", "YBXBannerWebViewDelegate")
        .protocol("YBXWebViewRenderedCheckerDelegate")
        .method(sel::initWithSlot_passbackURL_,
                [](id self, id slot, id passback) {
                    Ref<Object> made = sel::initWithSlot_(self, slot);
                    if (auto* d = delegateOf(made.get())) d->passbackURL = Ref<NSURL>(as<NSURL>(passback));
                    return made;
                })
        .method(sel::isPassbackRequest_,
                [](id self, id request) {
                    auto* r = as<NSURLRequest>(request);
                    return r && YBXIsPassbackURL(r->URL(), delegateOf(self)->passbackURL.get());
                })
        .method(sel::passbackURL, [](id self) { return Ref<Object>(delegateOf(self)->passbackURL); })
        .getter<&YBXAdNetworkJavasSciptWebViewDelegate::wasPassbackReceived>(sel::wasPassbackReceived)
        .getter<&YBXAdNetworkJavasSciptWebViewDelegate::renderingCheckHasStarted>(sel::renderingCheckHasStarted)
        .getter<&YBXAdNetworkJavasSciptWebViewDelegate::checkRenderingCount>(sel::checkRenderingCount)
        .getter<&YBXAdNetworkJavasSciptWebViewDelegate::webViewRenderedChecker>(sel::webViewRenderedChecker)
        .method(sel::checkRenderingTimer, [](id self) { return Ref<Object>(delegateOf(self)->checkRenderingTimer.lock()); })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id webView, id request, long long type) {
                    return delegateOf(self)->shouldStartLoadForNetwork(webView, as<NSURLRequest>(request), type);
                })
        .method(sel::webViewDidFinishLoad_, [](id self, id webView) { delegateOf(self)->didFinishLoadForNetwork(webView); })
        .method(sel::startRenderingTimerForWebView_, [](id self, id webView) { delegateOf(self)->startRenderingTimer(webView); })
        .method(sel::stopRenderingTimer, [](id self) { delegateOf(self)->stopRenderingTimer(); })
        .method(sel::webViewDidRenderContent_, [](id self, id webView) { delegateOf(self)->didRenderContent(webView); })
        .method(sel::webViewDidFailToRenderContent_, [](id self, id webView) { delegateOf(self)->didFailToRenderContent(webView); });
}

}  // namespace adlib
