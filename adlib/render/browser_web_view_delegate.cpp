#include "adlib/render/browser_web_view_delegate.h"

#include "adlib/pipeline/slot_neighbours.h"
#include "adlib/render/web_app_web_view_delegate.h"
#include "platform/network/url.h"
#include "platform/webkit/page_engine.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

Class* delegateClass() { return objc_getClass("YBXBrowserWebViewDelegate"); }

Ref<Object> browserOf(id self, id webView) { return sel::browserControllerForWebView_(self, webView); }

}  // namespace

void registerBrowserWebViewDelegateClass() {
    ClassBuilder<YBXWebViewDelegate>("YBXBrowserWebViewDelegate", "YBXWebViewDelegate")
        .method(sel::browserControllerForWebView_,
                [](id, id webView) -> Ref<Object> {
                    return isKindOfClass(webView, "YBXBrowserWebView") ? sel::browserViewController(webView) : nullptr;
                })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id webView, id request, long long type) {
                    Ref<Object> browser = browserOf(self, webView);
                    auto* r = as<NSURLRequest>(request);
                    if (browser && r && r->URL() &&
                        (type == UIWebViewNavigationTypeLinkClicked || type == UIWebViewNavigationTypeFormSubmitted)) {
                        const std::string& scheme = r->URL()->scheme();
                        const char* counter = scheme == "http" ? "plpnc" : scheme == "https" ? "plpsnc" : nullptr;
                        Ref<Object> statistics = adStatisticsOf(sel::slot(browser.get()).get());
                        if (counter && statistics) sel::incrementNumberForKey_shouldNotifyDelegate_(statistics.get(), counter, true);
                    }
                    return sel::webView_shouldStartLoadWithRequest_navigationType_.super(delegateClass(), self, webView, request, type);
                })
        .method(sel::webViewDidStartLoad_,
                [](id self, id webView) {
                    Ref<Object> browser = browserOf(self, webView);
                    if (browser) markLandingPageLoadStart(sel::slot(browser.get()).get());
                    sel::webViewDidStartLoad_.super(delegateClass(), self, webView);
                    if (browser) sel::refreshToolbar(browser.get());
                })
        .method(sel::webViewDidFinishLoad_,
                [](id self, id webView) {
                    Ref<Object> browser = browserOf(self, webView);
                    if (browser) markLandingPageLoadEnd(sel::slot(browser.get()).get());
                    sel::webViewDidFinishLoad_.super(delegateClass(), self, webView);
                    if (browser) sel::refreshToolbar(browser.get());
                })
        .method(sel::webView_didFailLoadWithError_, [](id self, id webView, id error) {
            Ref<Object> browser = browserOf(self, webView);
            sel::webView_didFailLoadWithError_.super(delegateClass(), self, webView, error);
            if (browser) sel::refreshToolbar(browser.get());
        });
}

}  // namespace adlib
