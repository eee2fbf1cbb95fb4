#include "adlib/mediation/adapter_html.h"

#include <optional>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/configuration.h"
#include "adlib/foundation/request_error.h"
#include "adlib/mediation/mediation_utilities.h"
#include "adlib/mediation/protocols.h"
#include "adlib/render/ad_network_javascript_web_view_delegate.h"
#include "platform/network/request.h"
#include "platform/uikit/color.h"

namespace adlib {

namespace {

YBXMAdapterHTML* adapterOf(id self) { return as<YBXMAdapterHTML>(self); }

Ref<Object> errorOf(long long code, const char* message) {
    return sel::errorWithCode_customMessage_(YBXRequestErrorClass(), code, Value(message));
}

}  // namespace

Ref<NSURL> YBXMAdExchangeBaseURL() {
    Ref<NSURL> server = NSURL::URLWithString(YBXAdServerBaseURL());
    if (!server || server->host().empty()) return nullptr;
    std::string text = "http://" + server->host();
    if (const std::optional<long> port = server->port()) text += ":" + std::to_string(*port);
    return NSURL::URLWithString(text + kYBXMAdExchangePath);
}

YBXMAdapterHTML::~YBXMAdapterHTML() { stopBeingDelegate(); }

void YBXMAdapterHTML::failBanner(long long code, const char* message) {
    if (Ref<Object> c = connector.lock()) sel::adapter_didFailAd_(c.get(), this, errorOf(code, message).get());
}

void YBXMAdapterHTML::getBanner(const YBXAdSize& size) {
    Ref<YBXMAdapterHTML> protector(this);
    stopBeingDelegate();
    webView = nullptr;
    passbackUrl = nullptr;
    checkRenderingCount = 0;
    Ref<Object> c = connector.lock();
    const Value html = YBXMTextCredential(c.get(), "vqztym_html");
    if (const Value passback = YBXMTextCredential(c.get(), "vqztym_passback_url"); passback.isString()) {
        if (passback.string().empty()) return failBanner(YBXErrorCodeNetwork, "Empty passback URL in TYM response.");
        passbackUrl = NSURL::URLWithString(passback.string());
        if (!passbackUrl) return failBanner(YBXErrorCodeNetwork, "Invalid passback URL in TYM response.");
    }
    // Code 1 would count as no fill: a missing snippet is an error of the network.
    if (!html.isString() || html.string().empty()) return failBanner(YBXErrorCodeNetwork, "Missing HTML in TYM response.");
    const Size resolved = YBXAdSizeResolvedCGSize(size);
    webView = UIView::make<UIWebView>("UIWebView", Rect(0, 0, resolved.width, resolved.height));
    id view = webView.get();
    sel::setScalesPageToFit_(view, false);
    sel::setClipsToBounds_(view, true);
    sel::setAutoresizingMask_(view, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::setOpaque_(view, false);
    sel::setBackgroundColor_(view, sel::clearColor(objc_getClass("UIColor")).get());
    sel::setAllowsInlineMediaPlayback_(view, true);
    sel::setMediaPlaybackRequiresUserAction_(view, true);
    sel::setDataDetectorTypes_(view, UIDataDetectorTypeNone);
    sel::setDelegate_(view, this);
    sel::loadHTMLString_baseURL_(view, html, YBXMAdExchangeBaseURL().get());
    startPolling();
}

void YBXMAdapterHTML::startPolling() {
    stopPolling();
    YBXRenderingPoll poll = YBXStartRenderingPoll("YBXMWebViewRenderedChecker", webView.get(), this);
    webViewRenderedChecker = poll.checker;
    checkRenderingTimer = poll.timer;
}

void YBXMAdapterHTML::stopPolling() {
    YBXStopRenderingPoll(webViewRenderedChecker.get(), checkRenderingTimer.get());
    webViewRenderedChecker = nullptr;
    checkRenderingTimer = nullptr;
}

void YBXMAdapterHTML::isRendered(id view, bool rendered) {
    if (!view || view != webView.get()) return;
    Ref<YBXMAdapterHTML> protector(this);
    ++checkRenderingCount;
    if (rendered) {
        stopPolling();
        if (Ref<Object> c = connector.lock()) sel::adapter_didReceiveAdView_(c.get(), this, view);
    } else if (checkRenderingCount >= kYBXMMaximumRenderingChecks) {
        stopPolling();
    }
}

bool YBXMAdapterHTML::shouldStartLoad(id view, NSURLRequest* request) {
    if (!view || view != webView.get() || !request || !request->URL()) return false;
    if (!YBXIsPassbackURL(request->URL(), passbackUrl.get())) return true;
    Ref<YBXMAdapterHTML> protector(this);
    stopPolling();
    failBanner(YBXErrorCodeNoFill, "Ad network returned no ad.");
    return false;
}

void YBXMAdapterHTML::stopBeingDelegate() {
    if (webView) sel::setDelegate_(webView.get(), nullptr);
    stopPolling();
}

void YBXMWebViewRenderedChecker::report(id delegate, id webView, bool rendered) {
    if (respondsToSelector(delegate, sel::webView_isRendered_.name)) sel::webView_isRendered_(delegate, webView, rendered);
}

void registerAdapterHTMLClasses() {
    if (!objc_getProtocol("YBXMWebViewRenderedCheckerDelegate"))
        objc_registerProtocol(objc_allocateProtocol("YBXMWebViewRenderedCheckerDelegate"));
    registerRenderedCheckerClass<YBXMWebViewRenderedChecker>("YBXMWebViewRenderedChecker");
    ClassBuilder<YBXMAdapterHTML>("YBXMAdapterHTML", "NSObject")
        .protocol(kYBXMAdNetworkAdapterProtocol)
        .protocol("YBXMWebViewRenderedCheckerDelegate")
        .classMethod(sel::adapterVersion, [](id) { return Value("1.1"); })
        .classMethod(sel::networkExtrasClass, [](id) { return static_cast<Class*>(nullptr); })
        .method(sel::initWithYBXMAdNetworkConnector_,
                [](id self, id connector) {
                    adapterOf(self)->connector = WeakRef<Object>(connector);
                    return Ref<Object>(self);
                })
        .method(sel::getBannerWithSize_, [](id self, YBXAdSize size) { adapterOf(self)->getBanner(size); })
        .method(sel::getInterstitial,
                [](id self) {
                    if (Ref<Object> c = adapterOf(self)->connector.lock())
                        sel::adapter_didFailInterstitial_(c.get(), self, errorOf(YBXErrorCodeInvalidRequest, "Interstitials not supported.").get());
                })
        .method(sel::presentInterstitialFromRootViewController_,
                [](id self, id) {
                    if (Ref<Object> c = adapterOf(self)->connector.lock())
                        sel::adapter_didFailInterstitial_(c.get(), self, errorOf(YBXErrorCodeInvalidRequest, "Interstitials not supported.").get());
                })
        .method(sel::stopBeingDelegate, [](id self) { adapterOf(self)->stopBeingDelegate(); })
        .method(sel::isBannerAnimationOK_, [](id, long long) { return true; })
        .method(sel::webView, [](id self) { return Ref<Object>(adapterOf(self)->webView); })
        .method(sel::passbackUrl, [](id self) { return adapterOf(self)->passbackUrl ? Value(adapterOf(self)->passbackUrl->absoluteString()) : Value(); })
        .getter<&YBXMAdapterHTML::webViewRenderedChecker>(sel::webViewRenderedChecker)
        .method(sel::checkRenderingTimer, [](id self) { return Ref<Object>(adapterOf(self)->checkRenderingTimer); })
        .getter<&YBXMAdapterHTML::checkRenderingCount>(sel::checkRenderingCount)
        .method(sel::webView_isRendered_, [](id self, id view, bool rendered) { adapterOf(self)->isRendered(view, rendered); })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id view, id request, long long) { return adapterOf(self)->shouldStartLoad(view, as<NSURLRequest>(request)); });
}

}  // namespace adlib
