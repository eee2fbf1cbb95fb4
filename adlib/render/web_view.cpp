#include "adlib/render/web_view.h"

#include "platform/network/request.h"

namespace adlib {

namespace {

YBXWebView* viewOf(id self) { return as<YBXWebView>(self); }

Class* webViewClass() { return objc_getClass("YBXWebView"); }

// The delegate, held while it is told, when it answers the selector.
Ref<Object> delegateFor(id self, SEL selector) {
    Ref<Object> delegate = viewOf(self)->delegate_.lock();
    return delegate && respondsToSelector(delegate.get(), selector.name) ? delegate : nullptr;
}

}  // namespace

YBXWebView::~YBXWebView() {
    if (webView_) webView_->delegate_ = nullptr;
}

void YBXWebView::setUpInnerView() {
    webView_ = UIView::make<UIWebView>("UIWebView", Rect({0, 0}, bounds_.size));
    if (!webView_) return;
    sel::setDelegate_(webView_.get(), this);
    sel::setAutoresizingMask_(webView_.get(), UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    sel::addSubview_(this, webView_.get());
}

bool YBXWebView::shouldStartLoad(NSURLRequest* request, long long navigationType) {
    Ref<YBXWebView> protector(this);
    Ref<Object> delegate = delegateFor(this, sel::webView_shouldStartLoadWithRequest_navigationType_);
    // Without a delegate that decides, every load goes ahead.
    return !delegate || sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), this, request, navigationType);
}

void registerWebViewClass() {
    ClassBuilder<YBXWebView>("YBXWebView", "UIView")
        .method(sel::initWithFrame_,
                [](id self, Rect frame) {
                    Ref<Object> made = sel::initWithFrame_.super(webViewClass(), self, frame);
                    if (YBXWebView* view = viewOf(made.get())) view->setUpInnerView();
                    return made;
                })
        .method(sel::webView, [](id self) -> Ref<Object> { return viewOf(self)->webView_; })
        .method(sel::delegate, [](id self) { return viewOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { viewOf(self)->delegate_ = delegate; })
        .property<&YBXWebView::touched_>(sel::touched, sel::setTouched_)
        .method(sel::loadRequest_, [](id self, id request) { sel::loadRequest_(viewOf(self)->webView_.get(), request); })
        .method(sel::stringByEvaluatingJavaScriptFromString_,
                [](id self, Value script) { return sel::stringByEvaluatingJavaScriptFromString_(viewOf(self)->webView_.get(), script); })
        .method(sel::optoraUnloadPingReceived, [](id self) { return viewOf(self)->optoraUnloadPingReceived_.load(); })
        .method(sel::setOptoraUnloadPingReceived_, [](id self, bool received) { viewOf(self)->optoraUnloadPingReceived_ = received; })
        // The inner view's delegate: each event goes on with this view first.
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id, id request, long long type) { return viewOf(self)->shouldStartLoad(as<NSURLRequest>(request), type); })
        .method(sel::webViewDidStartLoad_,
                [](id self, id) {
                    if (Ref<Object> delegate = delegateFor(self, sel::webViewDidStartLoad_)) sel::webViewDidStartLoad_(delegate.get(), self);
                })
        .method(sel::webViewDidFinishLoad_,
                [](id self, id) {
                    if (Ref<Object> delegate = delegateFor(self, sel::webViewDidFinishLoad_)) sel::webViewDidFinishLoad_(delegate.get(), self);
                })
        .method(sel::webView_didFailLoadWithError_, [](id self, id, id error) {
            if (Ref<Object> delegate = delegateFor(self, sel::webView_didFailLoadWithError_))
                sel::webView_didFailLoadWithError_(delegate.get(), self, error);
        });
}

}  // namespace adlib
