#include "adlib/render/web_view_delegate.h"

#include <memory>

#include "adlib/foundation/device.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/url_utilities.h"
#include "adlib/render/web_view.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/ns_string.h"
#include "platform/network/url.h"
#include "platform/uikit/application.h"
#include "platform/webkit/page_engine.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXWebViewDelegate* delegateOf(id self) { return as<YBXWebViewDelegate>(self); }

Class* delegateClass() { return objc_getClass("YBXWebViewDelegate"); }

void postWebAction(id webView, Value userInfo) {
    NSNotificationCenter::defaultCenter()->postNotificationName(kYBXDidReceiveWebAction, Value(webView), userInfo);
}

std::string withoutFragment(NSURL* url) { return url ? ybx_absoluteStringWithoutFragmentComponent(url) : std::string(); }

}  // namespace

bool beginsWithHTTP(const std::string& scheme) { return scheme.starts_with("http"); }

YBXWebViewDelegate::~YBXWebViewDelegate() {
    // The opener may outlive this delegate in a block or a sheet; it no longer presents for it.
    sel::setViewController_(opener_.get(), nullptr);
    sel::setSlot_(opener_.get(), nullptr);
    sel::setWebView_(opener_.get(), nullptr);
}

void YBXWebViewDelegate::setUp() {
    opener_ = newObject("YBXOpener");
    openerPMSGHandler_ = sel::initWithOpener_(alloc("YBXOpenerPMSGHandler"), opener_.get());
    pmsgHandlers_ = {openerPMSGHandler_, newObject("YBXDefaultPMSGHandler"), newObject("YBXOptoraPMSGHandler"),
                     sel::initWithOpener_(alloc("YBXMRAIDPMSGHandler"), opener_.get())};
}

YBXWebViewDelegate::Decision YBXWebViewDelegate::decide(id webView, NSURLRequest* request, long long navigationType) {
    NSURL* url = request ? request->URL() : nullptr;
    if (!url) return {};
    Ref<YBXWebViewDelegate> protector(this);
    id opener = opener_.get();
    const std::string absolute = url->absoluteString();
    sel::setNavigationURL_(opener, Value(absolute));

    if (absolute == kYBXPublisherToolbarSentinelURL) {
        const Value content = sel::stringByEvaluatingJavaScriptFromString_(webView, Value("document.body.innerHTML"));
        Ref<Object> superview = sel::superview(webView);
        const Value adUnitID = isKindOfClass(superview.get(), "YBXBannerView") ? sel::adUnitID(superview.get()) : Value();
        sel::openPublisherToolbar_withAdContent_(opener, adUnitID, content);
        return {};
    }

    const std::string scheme = lowercaseString(url->scheme());
    if (const std::string* agent = request->valueForHTTPHeaderField("User-Agent"))
        sel::setUserAgentString_(YBXDevice::currentDevice(), Value(*agent));
    sel::setViewController_(opener, sel::viewControllerForPresentingFromWebView_(this, webView).get());
    sel::setWebView_(opener, webView);

    if (navigationType == UIWebViewNavigationTypeLinkClicked) {
        Ref<Object> shown = sel::request(webView);
        auto* shownRequest = as<NSURLRequest>(shown.get());
        // A jump within the page now shown.
        if (url->fragment() && shownRequest && shownRequest->URL() && withoutFragment(shownRequest->URL()) == withoutFragment(url))
            return {};
        if (beginsWithHTTP(scheme) && sel::isMRAIDEnabled(sel::slot(opener).get())) {
            sel::openBrowserToURL_supportedOrientations_(opener, url, 1);
            return {};
        }
    }

    Value::Dictionary userInfo{{"u", Value(absolute)}};
    if (YBXNotification::isNotificationURL(url)) {
        Ref<YBXNotification> note = YBXNotification::fromURL(url);
        // A message without a name names nothing to act on.
        if (note && !note->name().empty()) userInfo["a"] = Value(note->name());
        postWebAction(webView, Value(std::move(userInfo)));
        sel::handlePMSGRequest_webView_(this, request, webView);
        return {};
    }
    if (navigationType != UIWebViewNavigationTypeOther || url->path().size() >= 2) postWebAction(webView, Value(std::move(userInfo)));

    if (scheme == "mailto") {
        sel::openEmailComposer_(opener, url);
        return {};
    }
    if (scheme == "sms") {
        sel::openSmsComposer_(opener, url);
        return {};
    }
    if (scheme == "file") return {fileAccessAllowed_, false};
    if (scheme == "about") return {true, false};
    // Frames and subresources are not the page: the stash keeps the page's own address.
    if (scheme == "http" || scheme == "https") return {true, request->isMainFrame()};
    sel::openApp_(opener, url);
    return {};
}

bool YBXWebViewDelegate::commit(const Decision& decision, id webView, NSURLRequest* request) {
    if (decision.allowed && decision.registers) sel::setURL_forView_(webView, request->URL(), webView);
    return decision.allowed;
}

void YBXWebViewDelegate::handlePMSGRequest(NSURLRequest* request, id webView) {
    // Straight onto the main queue, which is serial: the messages of a page
    // reach the handlers in the order sent, and the last block of a message
    // runs after all its handlers.
    std::vector<Ref<Object>> handlers = pmsgHandlers_;
    auto handled = std::make_shared<bool>(false);
    Ref<NSURLRequest> held(request);
    Ref<Object> view(webView);
    for (const Ref<Object>& handler : handlers)
        dispatch_async(dispatch_get_main_queue(), [handler, held, view, handled] {
            if (sel::handleRequest_webView_(handler.get(), held.get(), view.get())) *handled = true;
        });
    dispatch_async(dispatch_get_main_queue(), [held, view, handled] {
        if (!*handled && held) YBXNotificationCenter::defaultCenter()->postNotificationFromURL(held->URL(), Value(view.get()), 0);
    });
}

void YBXWebViewDelegate::didFinishLoad(id webView) {
    Ref<YBXWebViewDelegate> protector(this);
    sel::forceRotateToOrientation_(webView, sel::statusBarOrientation(UIApplication::sharedApplication()));
    sel::setDidReceiveLoadEvent_(webView, true);
    if (hasLoadedAtLeastOnce_) return;
    hasLoadedAtLeastOnce_ = true;
    YBXNotificationCenter::defaultCenter()->postNotificationName(kYBXWebViewDidFinishLoad, Value(webView));
    sel::loadedFirstPage_(this, webView);
}

void YBXWebViewDelegate::didFailLoad(id webView) {
    YBXNotificationCenter::defaultCenter()->postNotificationName(kYBXWebViewDidFailLoad, Value(webView));
}

void registerWebViewDelegateClass() {
    ClassBuilder<YBXWebViewDelegate>("YBXWebViewDelegate", "NSObject")
        .protocol("YBXWebViewDelegate")
        .method(sel::init,
                [](id self) {
                    Ref<Object> made = sel::init.super(delegateClass(), self);
                    if (YBXWebViewDelegate* delegate = delegateOf(made.get())) delegate->setUp();
                    return made;
                })
        .method(sel::addPMSGHandler_, [](id self, id handler) {
            if (handler) delegateOf(self)->pmsgHandlers_.emplace_back(handler);
        })
        .method(sel::pmsgHandlers,
                [](id self) {
                    Value::Array handlers;
                    for (const Ref<Object>& handler : delegateOf(self)->pmsgHandlers_) handlers.emplace_back(handler.get());
                    return Value(std::move(handlers));
                })
        .method(sel::opener, [](id self) { return delegateOf(self)->opener_; })
        .method(sel::openerPMSGHandler, [](id self) { return delegateOf(self)->openerPMSGHandler_; })
        .getter<&YBXWebViewDelegate::hasLoadedAtLeastOnce_>(sel::hasLoadedAtLeastOnce)
        .property<&YBXWebViewDelegate::fileAccessAllowed_>(sel::isFileAccessAllowed, sel::setFileAccessAllowed_)
        .method(sel::viewControllerForPresentingFromWebView_, [](id, id webView) { return sel::viewController(webView); })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id webView, id request, long long type) {
                    auto* r = as<NSURLRequest>(request);
                    return YBXWebViewDelegate::commit(delegateOf(self)->decide(webView, r, type), webView, r);
                })
        .method(sel::handlePMSGRequest_webView_,
                [](id self, id request, id webView) { delegateOf(self)->handlePMSGRequest(as<NSURLRequest>(request), webView); })
        .method(sel::webViewDidStartLoad_, [](id, id) {})
        .method(sel::loadedFirstPage_, [](id, id) {})
        .method(sel::webViewDidFinishLoad_, [](id self, id webView) { delegateOf(self)->didFinishLoad(webView); })
        .method(sel::webView_didFailLoadWithError_, [](id self, id webView, id) { delegateOf(self)->didFailLoad(webView); });
}

}  // namespace adlib
