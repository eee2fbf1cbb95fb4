#include "adlib/pipeline/js_container.h"

#include <cassert>

#include "adlib/foundation/macros.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/request.h"
#include "platform/network/url.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXJSContainer* containerOf(id self) { return as<YBXJSContainer>(self); }

void checkMainThread() { assert(NSThread::isMainThread() && "the container's web view is used on the main thread only"); }

}  // namespace

void YBXJSContainer::setUp(NSURL* url, const Value& fallbackData, UIWebView* webView) {
    lockQueue_ = dispatch_queue_create("com.orvane.marlex.js-container", DISPATCH_QUEUE_SERIAL);
    remoteURL_ = url;
    fallbackData_ = fallbackData.kind() == Value::Kind::Data ? fallbackData : Value(Data());
    // Nothing else knows the container yet: the flag needs no lock.
    initialLoadSequence_ = true;
    RunSynchronouslyOnMainThread([&] {
        webView_ = webView ? Ref<UIWebView>(webView) : UIView::make<UIWebView>("UIWebView", Rect());
        sel::setHidden_(webView_.get(), true);
        sel::setDelegate_(webView_.get(), this);
        if (!remoteURL_) {
            // Nothing to load: the remote page has failed already.
            didFailLoad();
            return;
        }
        Ref<NSURLRequest> request =
            NSURLRequest::requestWithURL(remoteURL_.get(), NSURLRequestUseProtocolCachePolicy, kYBXJSContainerLoadTimeout);
        sel::loadRequest_(webView_.get(), request.get());
    });
}

YBXJSContainer::~YBXJSContainer() {
    Ref<UIWebView> view = std::move(webView_);
    if (!view) return;
    // A UIKit object: it lets go of the container, and goes itself, on the main thread.
    if (NSThread::isMainThread()) {
        sel::setDelegate_(view.get(), nullptr);
        return;
    }
    dispatch_async(dispatch_get_main_queue(), [view] { sel::setDelegate_(view.get(), nullptr); });
}

bool YBXJSContainer::invokeJavaScriptFromString(const std::string& script) {
    bool run = false;
    // Only the decision is taken under the lock: the script itself runs on the
    // main thread, which may be waiting for this queue meanwhile. A caller
    // that sees the page loaded waits behind the main thread's current work,
    // so scripts queued before the load still run first.
    dispatch_sync(lockQueue_, [&] {
        run = loaded_;
        if (!run) pendingExpressions_.push_back(script);
    });
    if (!run) return false;
    RunSynchronouslyOnMainThread([&] { sel::stringByEvaluatingJavaScriptFromString_(webView_.get(), Value(script)); });
    return true;
}

std::string YBXJSContainer::stringByEvaluatingJavaScriptFromString(const std::string& script) {
    std::string result;
    RunSynchronouslyOnMainThread(
        [&] { result = sel::stringByEvaluatingJavaScriptFromString_(webView_.get(), Value(script)).stringOr(""); });
    return result;
}

Ref<Object> YBXJSContainer::delegate() {
    Ref<Object> delegate;
    dispatch_sync(lockQueue_, [&] { delegate = delegate_.lock(); });
    return delegate;
}

void YBXJSContainer::setDelegate(id delegate) {
    dispatch_sync(lockQueue_, [&] { delegate_ = delegate; });
}

Value YBXJSContainer::pendingExpressions() {
    Value::Array scripts;
    dispatch_sync(lockQueue_, [&] {
        for (const std::string& script : pendingExpressions_) scripts.emplace_back(script);
    });
    return Value(std::move(scripts));
}

bool YBXJSContainer::initialLoadSequence() {
    bool running = false;
    dispatch_sync(lockQueue_, [&] { running = initialLoadSequence_; });
    return running;
}

bool YBXJSContainer::failureLoadSequence() {
    bool running = false;
    dispatch_sync(lockQueue_, [&] { running = failureLoadSequence_; });
    return running;
}

bool YBXJSContainer::loaded() {
    bool done = false;
    dispatch_sync(lockQueue_, [&] { done = loaded_; });
    return done;
}

Ref<Object> YBXJSContainer::delegateOutsideLoadSequences() {
    Ref<Object> delegate;
    dispatch_sync(lockQueue_, [&] {
        if (!initialLoadSequence_ && !failureLoadSequence_) delegate = delegate_.lock();
    });
    return delegate;
}

bool YBXJSContainer::shouldStartLoad(NSURLRequest* request, long long navigationType) {
    checkMainThread();
    // The container's own page and its fallback load whatever they navigate to.
    Ref<Object> delegate = delegateOutsideLoadSequences();
    if (!respondsToSelector(delegate.get(), sel::container_shouldStartLoadWithRequest_navigationType_.name)) return true;
    return sel::container_shouldStartLoadWithRequest_navigationType_(delegate.get(), this, request, navigationType);
}

void YBXJSContainer::didStartLoad() {
    checkMainThread();
    Ref<Object> delegate = delegateOutsideLoadSequences();
    if (!respondsToSelector(delegate.get(), sel::didStartLoadInJSContainer_.name)) return;
    sel::didStartLoadInJSContainer_(delegate.get(), this);
}

void YBXJSContainer::didFinishLoad() {
    checkMainThread();
    Ref<YBXJSContainer> protector(this);
    std::vector<std::string> scripts;
    Ref<Object> delegate;
    dispatch_sync(lockQueue_, [&] {
        initialLoadSequence_ = false;
        failureLoadSequence_ = false;
        loaded_ = true;
        scripts.swap(pendingExpressions_);
        delegate = delegate_.lock();
    });
    for (const std::string& script : scripts) invokeJavaScriptFromString(script);
    if (respondsToSelector(delegate.get(), sel::didFinishLoadInJSContainer_.name)) sel::didFinishLoadInJSContainer_(delegate.get(), this);
}

void YBXJSContainer::didFailLoad() {
    checkMainThread();
    bool fallBack = false;
    dispatch_sync(lockQueue_, [&] {
        // Only the remote page falls back, and only once.
        fallBack = initialLoadSequence_;
        if (!fallBack) return;
        initialLoadSequence_ = false;
        failureLoadSequence_ = true;
    });
    if (fallBack) loadFallback();
}

void YBXJSContainer::loadFallback() {
    RunSynchronouslyOnMainThread([&] {
        sel::loadData_MIMEType_textEncodingName_baseURL_(webView_.get(), fallbackData_, Value("text/html"), Value("UTF-8"),
                                                         remoteURL_.get());
    });
}

void registerJSContainerClass() {
    ClassBuilder<YBXJSContainer>("YBXJSContainer", "NSObject")
        .protocol("UIWebViewDelegate")
        .method(sel::initWithURL_fallbackData_,
                [](id self, id url, Value data) {
                    containerOf(self)->setUp(as<NSURL>(url), data, nullptr);
                    return Ref<Object>(self);
                })
        .method(sel::initWithURL_fallbackData_webView_,
                [](id self, id url, Value data, id webView) {
                    containerOf(self)->setUp(as<NSURL>(url), data, as<UIWebView>(webView));
                    return Ref<Object>(self);
                })
        .method(sel::invokeJavaScriptFromString_, [](id self, std::string script) { return containerOf(self)->invokeJavaScriptFromString(script); })
        .method(sel::stringByEvaluatingJavaScriptFromString_,
                [](id self, Value script) { return Value(containerOf(self)->stringByEvaluatingJavaScriptFromString(script.stringOr(""))); })
        .method(sel::delegate, [](id self) { return containerOf(self)->delegate(); })
        .method(sel::setDelegate_, [](id self, id delegate) { containerOf(self)->setDelegate(delegate); })
        .method(sel::lockQueue, [](id self) { return containerOf(self)->lockQueue(); })
        .method(sel::remoteURL, [](id self) { return Ref<Object>(containerOf(self)->remoteURL()); })
        .method(sel::fallbackData, [](id self) { return containerOf(self)->fallbackData(); })
        .method(sel::pendingExpressions, [](id self) { return containerOf(self)->pendingExpressions(); })
        .method(sel::initialLoadSequence, [](id self) { return containerOf(self)->initialLoadSequence(); })
        .method(sel::failureLoadSequence, [](id self) { return containerOf(self)->failureLoadSequence(); })
        .method(sel::loaded, [](id self) { return containerOf(self)->loaded(); })
        .method(sel::webView, [](id self) { return Ref<Object>(containerOf(self)->webView()); })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id, id request, long long type) { return containerOf(self)->shouldStartLoad(as<NSURLRequest>(request), type); })
        .method(sel::webViewDidStartLoad_, [](id self, id) { containerOf(self)->didStartLoad(); })
        .method(sel::webViewDidFinishLoad_, [](id self, id) { containerOf(self)->didFinishLoad(); })
        .method(sel::webView_didFailLoadWithError_, [](id self, id, id) { containerOf(self)->didFailLoad(); });
}

}  // namespace adlib
