#include "adlib/render/web_view_cache_set.h"

#include <algorithm>

#include "platform/network/url.h"
#include "platform/webkit/web_view.h"

namespace adlib {

namespace {

YBXWebViewCacheSet* cacheOf(id self) { return as<YBXWebViewCacheSet>(self); }

constexpr const char* kBlankPage = "about:blank";

}  // namespace

YBXWebViewCacheSet::~YBXWebViewCacheSet() {
    for (const Ref<Object>& view : clearingWebViews_) {
        sel::setDelegate_(view.get(), nullptr);
        sel::stopLoading(view.get());
    }
}

void YBXWebViewCacheSet::returnWebView(id view) {
    if (!view) return;
    WeakRef<Object> weakSelf(this);
    Ref<Object> held(view);
    // Inner views are touched only on the main thread.
    dispatch_async(dispatch_get_main_queue(), [weakSelf, held] {
        if (Ref<Object> self = weakSelf.lock()) sel::clearWebView_(self.get(), held.get());
    });
}

void YBXWebViewCacheSet::clearWebView(id view) {
    if (!view || clearingWebViews_.size() >= kYBXMaxWebViewsBlankedAtOnce) return;
    sel::stopLoading(view);
    sel::setDelegate_(view, this);
    sel::loadRequest_(view, NSURLRequest::requestWithURL(NSURL::URLWithString(kBlankPage).get()).get());
    clearingWebViews_.emplace_back(view);
}

bool YBXWebViewCacheSet::shouldStartLoad(NSURLRequest* request) const {
    return request && request->URL() && request->URL()->absoluteString() == kBlankPage;
}

void YBXWebViewCacheSet::blankingEnded(id view, bool loaded) {
    auto found = std::find_if(clearingWebViews_.begin(), clearingWebViews_.end(), [view](const Ref<Object>& v) { return v.get() == view; });
    if (found == clearingWebViews_.end()) return;
    Ref<Object> held = std::move(*found);
    clearingWebViews_.erase(found);
    sel::setDelegate_(view, nullptr);
    if (!loaded) return;
    // A page that kept any content would show through in the next ad.
    const Value body = sel::stringByEvaluatingJavaScriptFromString_(view, Value("document.body.innerHTML"));
    if (body.isString() && body.string().empty()) addObject(Value(view));
}

void registerWebViewCacheSetClass() {
    ClassBuilder<YBXWebViewCacheSet>("YBXWebViewCacheSet", "YBXCacheSet")
        .protocol("UIWebViewDelegate")
        .method(sel::addObject_, [](id self, Value view) { cacheOf(self)->returnWebView(view.object()); })
        .method(sel::clearWebView_, [](id self, id view) { cacheOf(self)->clearWebView(view); })
        .method(sel::clearingWebViewCount, [](id self) -> unsigned long long { return cacheOf(self)->clearingWebViews_.size(); })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id, id request, long long) { return cacheOf(self)->shouldStartLoad(as<NSURLRequest>(request)); })
        .method(sel::webViewDidFinishLoad_, [](id self, id view) { cacheOf(self)->blankingEnded(view, true); })
        .method(sel::webView_didFailLoadWithError_, [](id self, id view, id) { cacheOf(self)->blankingEnded(view, false); });
}

}  // namespace adlib
