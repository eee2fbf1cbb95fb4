#include "adlib/pipeline/sdk_core_web_view.h"

#include <algorithm>

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/string_utilities.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/url.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXSDKCoreWebView* pageOf(id self) { return as<YBXSDKCoreWebView>(self); }
YBXSDKCorePMSGHandler* handlerOf(id self) { return as<YBXSDKCorePMSGHandler>(self); }

const std::string& pageAddress() {
    // Never destroyed: queue workers may still read it while the process exits.
    static const std::string& address = *new std::string(YBXSDKCorePageURL());
    return address;
}

std::string urlText(const Value& value) {
    if (value.isString()) return value.string();
    if (auto* url = dynamic_cast<NSURL*>(value.object())) return url->absoluteString();
    return {};
}

// Whether the failure is of the page address, under whichever key the URL came.
bool isFailureOfPage(NSError* error) {
    if (!error) return false;
    for (std::string_view key : {NSURLErrorKey, NSURLErrorFailingURLErrorKey, NSURLErrorFailingURLStringErrorKey})
        if (urlText(error->userInfo()[key]) == pageAddress()) return true;
    return false;
}

// The message's note and parameters, from the base handler's argument.
const Value& parametersOf(const Value& argument) {
    auto* note = dynamic_cast<YBXNotification*>(argument["note"].object());
    return note ? note->parameters() : Value::nil();
}

// A JSON object from a parameter's text; nil for anything else.
Value decodedObject(const Value& text) {
    if (!text.isString()) return Value();
    Ref<NSError> error;
    Value object = ybx_decodedJSONObjectError(text.string(), &error);
    return !error && object.isDictionary() ? object : Value();
}

// The delegate as the message arrives, and the call made later on the main queue.
template <class Call>
void toDelegate(id self, SEL selector, Call call) {
    Ref<Object> delegate = handlerOf(self)->delegate_.lock();
    if (!delegate || !respondsToSelector(delegate.get(), selector.name)) return;
    Ref<Object> handler(self);
    dispatch_async(dispatch_get_main_queue(), [delegate, handler, call] { call(delegate.get(), handler.get()); });
}

}  // namespace

// --- the message handler -------------------------------------------------------------------------

const Value& YBXSDKCorePMSGHandler::actionSelectorDictionary() {
    static const Value table{{"loadAdURL", "didReceiveloadAdURLAction:"},
                             {"loadAd", "didReceiveLoadAdAction:"},
                             {"invalidRequest", "didReceiveInvalidAdRequestAction:"},
                             {"loadSdkConstants", "didReceiveloadSDKConstantsAction:"}};
    return table;
}

// --- the page ----------------------------------------------------------------------------------------

void YBXSDKCoreWebView::setUp() {
    lockQueue_ = dispatch_queue_create("com.orvane.marlex.sdk-core-web-view", DISPATCH_QUEUE_SERIAL);
    commandQueue_ = dispatch_queue_create("com.orvane.marlex.sdk-core-web-view-js", DISPATCH_QUEUE_SERIAL);
    webViewDelegate_ = newObject("YBXWebViewDelegate");
    handler_ = as<YBXSDKCorePMSGHandler>(sel::init(alloc("YBXSDKCorePMSGHandler")).get());
    RunSynchronouslyOnMainThread([this] {
        webView_ = UIView::make<YBXWebView>("YBXWebView", Rect());
        sel::setDelegate_(webView_.get(), this);
    });
}

YBXSDKCoreWebView::~YBXSDKCoreWebView() {
    Ref<YBXWebView> view = std::move(webView_);
    if (!view) return;
    // The view is a UIKit object: it lets go of this page, and goes itself, on the
    // main thread. Off it the page hands the view over rather than wait for it.
    if (NSThread::isMainThread()) {
        sel::setDelegate_(view.get(), nullptr);
        return;
    }
    dispatch_async(dispatch_get_main_queue(), [view] { sel::setDelegate_(view.get(), nullptr); });
}

long long YBXSDKCoreWebView::state() {
    long long state = 0;
    dispatch_sync(lockQueue_, [&] { state = state_; });
    return state;
}

bool YBXSDKCoreWebView::hasSDKCoreLoadedAtLeastOnce() {
    bool loaded = false;
    dispatch_sync(lockQueue_, [&] { loaded = hasSDKCoreLoadedAtLeastOnce_; });
    return loaded;
}

void YBXSDKCoreWebView::setState(long long state) {
    Ref<YBXSDKCoreWebView> self(this);
    dispatch_async(lockQueue_, [self, state] { self->state_ = state; });
}

void YBXSDKCoreWebView::setHasSDKCoreLoadedAtLeastOnce(bool loaded) {
    Ref<YBXSDKCoreWebView> self(this);
    dispatch_async(lockQueue_, [self, loaded] { self->hasSDKCoreLoadedAtLeastOnce_ = loaded; });
}

void YBXSDKCoreWebView::refreshSDKCore() {
    // Loading from the caller's point on: an observer registered after this
    // call waits for the new load's end, whatever the old one did.
    setState(YBXSDKCoreWebViewStateLoading);
    WeakRef<YBXSDKCoreWebView> weakSelf(this);
    dispatch_async(commandQueue_, [weakSelf] {
        Ref<YBXSDKCoreWebView> self = weakSelf.lock();
        if (!self) return;
        Ref<NSURL> url = NSURL::URLWithString(pageAddress());
        RunSynchronouslyOnMainThread([&] {
            if (url) sel::loadRequest_(self->webView_.get(), NSURLRequest::requestWithURL(url.get()).get());
        });
    });
}

void YBXSDKCoreWebView::addObserverForOneTimeNotification(id observer) {
    if (!observer) return;
    WeakRef<YBXSDKCoreWebView> weakSelf(this);
    Ref<Object> held(observer);
    dispatch_async(lockQueue_, [weakSelf, held] {
        Ref<YBXSDKCoreWebView> self = weakSelf.lock();
        if (!self) return;
        if (std::find(self->observers_.begin(), self->observers_.end(), held) == self->observers_.end()) self->observers_.push_back(held);
        if (self->state_ != YBXSDKCoreWebViewStateLoaded && self->state_ != YBXSDKCoreWebViewStateFailed) return;
        dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0), [weakSelf] {
            if (Ref<YBXSDKCoreWebView> page = weakSelf.lock()) page->notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished();
        });
    });
}

void YBXSDKCoreWebView::removeObserver(id observer) {
    std::vector<Ref<Object>> removed;  // let go of outside the queue
    dispatch_sync(lockQueue_, [&] {
        auto found = std::find(observers_.begin(), observers_.end(), Ref<Object>(observer));
        if (found == observers_.end()) return;
        removed.push_back(std::move(*found));
        observers_.erase(found);
    });
}

void YBXSDKCoreWebView::notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished() {
    std::vector<Ref<Object>> observers;
    dispatch_sync(lockQueue_, [&] { observers.swap(observers_); });
    Ref<YBXSDKCoreWebView> self(this);
    for (Ref<Object>& observer : observers) {
        dispatch_async(dispatch_get_main_queue(), [self, observer] {
            if (respondsToSelector(observer.get(), sel::didFinishLoadingSDKCoreInSDKCoreWebView_.name))
                sel::didFinishLoadingSDKCoreInSDKCoreWebView_(observer.get(), self.get());
        });
    }
}

void YBXSDKCoreWebView::executeJavaScriptCommand(const std::string& command) {
    WeakRef<YBXSDKCoreWebView> weakSelf(this);
    dispatch_async(lockQueue_, [weakSelf, command] {
        Ref<YBXSDKCoreWebView> self = weakSelf.lock();
        if (!self || self->state_ == YBXSDKCoreWebViewStateFailed) return;
        if (self->pendingJSCommands_.size() >= kYBXSDKCoreMaxPendingJSCommands) self->pendingJSCommands_.pop_front();
        self->pendingJSCommands_.push_back(command);
    });
    executePendingJavaScriptCommands();
}

void YBXSDKCoreWebView::executePendingJavaScriptCommands() {
    WeakRef<YBXSDKCoreWebView> weakSelf(this);
    dispatch_async(commandQueue_, [weakSelf] {
        if (Ref<YBXSDKCoreWebView> self = weakSelf.lock()) self->dispatchPendingJavaScriptCommands();
    });
}

void YBXSDKCoreWebView::dispatchPendingJavaScriptCommands() {
    std::deque<std::string> commands;
    dispatch_sync(lockQueue_, [&] {
        if (state_ == YBXSDKCoreWebViewStateLoaded) commands.swap(pendingJSCommands_);
    });
    // Outside the lock queue: the main thread reads the state there while it runs these.
    for (const std::string& command : commands)
        RunSynchronouslyOnMainThread([&] { sel::stringByEvaluatingJavaScriptFromString_(webView_.get(), Value(command)); });
}

bool YBXSDKCoreWebView::shouldStartLoad(NSURLRequest* request, long long navigationType) {
    NSURL* url = request ? request->URL() : nullptr;
    if (!url) return false;
    Ref<YBXSDKCoreWebView> protector(this);
    auto standardDecision = [&] {
        return !respondsToSelector(webViewDelegate_.get(), sel::webView_shouldStartLoadWithRequest_navigationType_.name) ||
               sel::webView_shouldStartLoadWithRequest_navigationType_(webViewDelegate_.get(), webView_.get(), request, navigationType);
    };
    if (url->absoluteString() == pageAddress()) {
        setState(YBXSDKCoreWebViewStateLoading);
        if (handler_->handleRequest(request, webView_.get())) return false;
        return standardDecision();
    }
    if (state() != YBXSDKCoreWebViewStateLoaded) return false;
    if (!YBXNotification::isNotificationURL(url)) return false;
    if (handler_->handleRequest(request, webView_.get())) return false;
    return standardDecision();
}

void YBXSDKCoreWebView::didFinishLoad() {
    Ref<YBXSDKCoreWebView> self(this);
    // Read and written in one block: a load that ends while not loading changes nothing.
    dispatch_async(lockQueue_, [self] {
        if (self->state_ != YBXSDKCoreWebViewStateLoading) return;
        self->state_ = YBXSDKCoreWebViewStateLoaded;
        self->hasSDKCoreLoadedAtLeastOnce_ = true;
    });
    if (respondsToSelector(webViewDelegate_.get(), sel::webViewDidFinishLoad_.name))
        sel::webViewDidFinishLoad_(webViewDelegate_.get(), webView_.get());
    executePendingJavaScriptCommands();
    notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished();
}

void YBXSDKCoreWebView::didFailLoad(NSError* error) {
    Ref<YBXSDKCoreWebView> self(this);
    if (isFailureOfPage(error)) setState(YBXSDKCoreWebViewStateFailed);
    if (respondsToSelector(webViewDelegate_.get(), sel::webView_didFailLoadWithError_.name))
        sel::webView_didFailLoadWithError_(webViewDelegate_.get(), webView_.get(), error);
    notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished();
}

void registerSDKCoreWebViewClasses() {
    ClassBuilder<YBXSDKCorePMSGHandler>("YBXSDKCorePMSGHandler", "YBXPMSGHandler")
        .classMethod(sel::actionSelectorDictionary, [](id) { return YBXSDKCorePMSGHandler::actionSelectorDictionary(); })
        .method(sel::init, [](id self) { return sel::initWithActionSelectorDictionary_(self, YBXSDKCorePMSGHandler::actionSelectorDictionary()); })
        .method(sel::delegate, [](id self) { return handlerOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { handlerOf(self)->delegate_ = delegate; })
        .method(sel::didReceiveloadAdURLAction_,
                [](id self, Value argument) {
                    const Value parameters = parametersOf(argument);
                    toDelegate(self, sel::SDKCorePMSGHandler_loadAdParameters_requestID_, [parameters](id delegate, id handler) {
                        sel::SDKCorePMSGHandler_loadAdParameters_requestID_(delegate, handler, parameters, parameters["request_id"]);
                    });
                })
        .method(sel::didReceiveInvalidAdRequestAction_,
                [](id self, Value argument) {
                    const Value parameters = parametersOf(argument);
                    toDelegate(self, sel::SDKCorePMSGHandler_didReceiveInvalidAdParameters_requestID_, [parameters](id delegate, id handler) {
                        sel::SDKCorePMSGHandler_didReceiveInvalidAdParameters_requestID_(delegate, handler, parameters,
                                                                                        parameters["request_id"]);
                    });
                })
        .method(sel::didReceiveloadSDKConstantsAction_,
                [](id self, Value argument) {
                    const Value parameters = parametersOf(argument);
                    toDelegate(self, sel::SDKCorePMSGHandler_loadSDKConstants_,
                               [parameters](id delegate, id handler) { sel::SDKCorePMSGHandler_loadSDKConstants_(delegate, handler, parameters); });
                })
        .method(sel::didReceiveLoadAdAction_, [](id self, Value argument) {
            const Value parameters = parametersOf(argument);
            // Only an ad object, with no headers or an object of them, is an ad;
            // anything else is dropped as malformed.
            const Value& headerText = parameters["header"];
            const Value headers = decodedObject(headerText);
            if (!headerText.isNil() && headers.isNil()) return;
            const Value ad = decodedObject(parameters["ad"]);
            if (ad.isNil()) return;
            Ref<Object> made = sel::initWithDictionary_(alloc("YBXAd"), ad);
            if (!made) return;
            const Value requestID = parameters["request_id"];
            toDelegate(self, sel::SDKCorePMSGHandler_loadAd_headers_requestID_, [made, headers, requestID](id delegate, id handler) {
                sel::SDKCorePMSGHandler_loadAd_headers_requestID_(delegate, handler, made.get(), headers, requestID);
            });
        });

    ClassBuilder<YBXSDKCoreWebView>("YBXSDKCoreWebView", "NSObject")
        .protocol("YBXWebViewDelegate")
        .method(sel::init,
                [](id self) {
                    pageOf(self)->setUp();
                    return Ref<Object>(self);
                })
        .method(sel::SDKCoreWebView_state, [](id self) { return pageOf(self)->state(); })
        .method(sel::SDKCoreWebView_setState_, [](id self, long long state) { pageOf(self)->setState(state); })
        .method(sel::hasSDKCoreLoadedAtLeastOnce, [](id self) { return pageOf(self)->hasSDKCoreLoadedAtLeastOnce(); })
        .method(sel::setHasSDKCoreLoadedAtLeastOnce_, [](id self, bool loaded) { pageOf(self)->setHasSDKCoreLoadedAtLeastOnce(loaded); })
        .method(sel::refreshSDKCore, [](id self) { pageOf(self)->refreshSDKCore(); })
        .method(sel::addObserverForOneTimeNotification_, [](id self, id observer) { pageOf(self)->addObserverForOneTimeNotification(observer); })
        .method(sel::removeObserver_, [](id self, id observer) { pageOf(self)->removeObserver(observer); })
        .method(sel::notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished,
                [](id self) { pageOf(self)->notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished(); })
        .method(sel::executeJavaScriptCommand_, [](id self, std::string command) { pageOf(self)->executeJavaScriptCommand(command); })
        .method(sel::executePendingJavaScriptCommands, [](id self) { pageOf(self)->executePendingJavaScriptCommands(); })
        .method(sel::dispatchPendingJavaScriptCommands, [](id self) { pageOf(self)->dispatchPendingJavaScriptCommands(); })
        .method(sel::webView, [](id self) { return Ref<Object>(pageOf(self)->webView()); })
        .method(sel::SDKCorePMSGHandler, [](id self) { return Ref<Object>(pageOf(self)->handler()); })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id, id request, long long type) { return pageOf(self)->shouldStartLoad(as<NSURLRequest>(request), type); })
        .method(sel::webViewDidFinishLoad_, [](id self, id) { pageOf(self)->didFinishLoad(); })
        .method(sel::webView_didFailLoadWithError_, [](id self, id, id error) { pageOf(self)->didFailLoad(as<NSError>(error)); });
}

}  // namespace adlib
