#include "adlib/pipeline/sdk_core_controller.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "adlib/foundation/absolute_time.h"
#include "adlib/foundation/application.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/pipeline/request.h"
#include "platform/foundation/format.h"
#include "platform/foundation/json.h"
#include "platform/foundation/number_formatter.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/url.h"

namespace adlib {

namespace {

std::atomic<YBXSDKCoreController*> sharedController{nullptr};

YBXSDKCoreController* controllerOf(id self) { return as<YBXSDKCoreController>(self); }

std::string command(std::string_view function, std::string_view json) { return format("%@(%@);", function, json); }

// The requester's method, on the main queue, when the requester is still there.
template <class Call>
void deliver(const WeakRef<Object>& requester, SEL selector, Call call) {
    dispatch_async(dispatch_get_main_queue(), [requester, selector, call] {
        Ref<Object> target = requester.lock();
        if (target && respondsToSelector(target.get(), selector.name)) call(target.get());
    });
}

void deliverFailure(const WeakRef<Object>& requester) {
    deliver(requester, sel::failedJavaScriptFile, [](id target) { sel::failedJavaScriptFile(target); });
}

// Requesters belong to the main thread: a reference taken on a queue is let go
// on the main queue, so that a requester its owner dropped meanwhile is never
// destroyed here.
void releaseOnMain(Ref<Object> held) {
    if (held) dispatch_async(dispatch_get_main_queue(), [held = std::move(held)] {});
}

// A constant that is there and says something.
bool isNonEmpty(const Value& value) { return value.isString() && !value.string().empty(); }

}  // namespace

YBXSDKCoreController* YBXSDKCoreController::sharedInstance() {
    if (YBXSDKCoreController* c = sharedController.load(std::memory_order_acquire)) return c;
    // Its page is a web view: the controller is made on the main thread.
    RunSynchronouslyOnMainThread([] {
        static std::once_flag once;
        std::call_once(once, [] {
            Ref<Object> made = sel::init(alloc("YBXSDKCoreController"));
            sharedController.store(as<YBXSDKCoreController>(made.leak()), std::memory_order_release);  // kept for the process
        });
    });
    return sharedController.load(std::memory_order_acquire);
}

void YBXSDKCoreController::setUp() {
    lockQueue_ = dispatch_queue_create("com.orvane.marlex.sdk-core-controller", DISPATCH_QUEUE_SERIAL);
    requestURLQueue_ = dispatch_queue_create("com.orvane.marlex.sdk-core-controller-url", DISPATCH_QUEUE_SERIAL);
    activeSDKCoreWebView_ = as<YBXSDKCoreWebView>(sel::init(alloc("YBXSDKCoreWebView")).get());
    if (activeSDKCoreWebView_) activeSDKCoreWebView_->handler()->delegate_ = this;
}

void YBXSDKCoreController::buildAdURL(id requester) {
    if (!requester) return;
    Ref<YBXSDKCoreController> self(this);
    WeakRef<Object> weakRequester(requester);
    // One block: the reload is decided (and a reloaded page is loading) before
    // the requester waits, so an old failure never reaches it.
    dispatch_async(lockQueue_, [self, weakRequester] {
        self->refreshOnLockQueue();
        self->appendWaitingRequester(weakRequester);
        self->observeSDKCoreWebViewForSDKCoreLoadRequestCompleted();
    });
}

void YBXSDKCoreController::refreshActiveWebViewSDKCore() {
    Ref<YBXSDKCoreController> self(this);
    dispatch_async(lockQueue_, [self] { self->refreshOnLockQueue(); });
}

void YBXSDKCoreController::refreshOnLockQueue() {
    if (!activeSDKCoreWebView_) return;
    const std::uint64_t now = YBXAbsoluteTimeInMilliseconds();
    const long long state = activeSDKCoreWebView_->state();
    const bool stale = now >= lastWebViewRefreshTimestamp_ && now - lastWebViewRefreshTimestamp_ >= kYBXSDKCoreRefreshAge;
    const bool reload = state == YBXSDKCoreWebViewStateNotLoaded || state == YBXSDKCoreWebViewStateFailed ||
                        ((state == YBXSDKCoreWebViewStateLoading || state == YBXSDKCoreWebViewStateLoaded) && stale);
    if (!reload) return;
    SDKConstantsNeedReload_ = true;
    activeSDKCoreWebView_->refreshSDKCore();
    lastWebViewRefreshTimestamp_ = now;
}

void YBXSDKCoreController::appendWaitingRequester(const WeakRef<Object>& requester) {
    if (requester.expired()) return;
    // Waiting once is enough: one wait gets one request.
    auto& waiting = pendingActiveWebViewLoadDelegates_;
    if (std::find(waiting.begin(), waiting.end(), requester) != waiting.end()) return;
    waiting.push_back(requester);
}

void YBXSDKCoreController::observeSDKCoreWebViewForSDKCoreLoadRequestCompleted() {
    if (activeSDKCoreWebView_) activeSDKCoreWebView_->addObserverForOneTimeNotification(this);
}

void YBXSDKCoreController::didFinishLoadingSDKCoreInSDKCoreWebView(YBXSDKCoreWebView* page) {
    if (!page || page != activeSDKCoreWebView_.get()) return;
    std::vector<WeakRef<Object>> failed;
    bool observeAgain = false;
    dispatch_sync(lockQueue_, [&] {
        if (SDKConstantsNeedReload_ && page->state() == YBXSDKCoreWebViewStateLoaded) {
            Value version(YBXRequest::sdkVersion());
            page->executeJavaScriptCommand(command("KESTRA_getSdkConstants", dictionaryToJSONString(Value{{"js", version}})));
        }
        auto& waiting = pendingActiveWebViewLoadDelegates_;
        while (!waiting.empty()) {
            const long long state = page->state();
            if (state == YBXSDKCoreWebViewStateLoading) break;
            WeakRef<Object> requester = std::move(waiting.front());
            waiting.erase(waiting.begin());
            if (state == YBXSDKCoreWebViewStateNotLoaded || state == YBXSDKCoreWebViewStateFailed)
                failed.push_back(std::move(requester));
            else if (state == YBXSDKCoreWebViewStateLoaded)
                requestURLForRequester(std::move(requester));
        }
        if (!page->hasSDKCoreLoadedAtLeastOnce()) lastWebViewRefreshTimestamp_ = 0;
        observeAgain = !waiting.empty();
    });
    for (const WeakRef<Object>& requester : failed) deliverFailure(requester);
    if (observeAgain) observeSDKCoreWebViewForSDKCoreLoadRequestCompleted();
}

void YBXSDKCoreController::asynchronouslyRequestURLForDelegate(id requester) {
    if (requester) requestURLForRequester(WeakRef<Object>(requester));
}

void YBXSDKCoreController::requestURLForRequester(WeakRef<Object> weakRequester) {
    if (weakRequester.expired()) return;
    Ref<YBXSDKCoreController> self(this);
    dispatch_async(requestURLQueue_, [self, weakRequester] {
        Ref<Object> held = weakRequester.lock();
        if (!held) return;
        self->sendRequest(held.get(), weakRequester);
        releaseOnMain(std::move(held));
    });
}

// On the request queue: the parameters are asked for here, off the main thread.
void YBXSDKCoreController::sendRequest(id requester, const WeakRef<Object>& weakRequester) {
    Ref<YBXSDKCoreController> self(this);
    const std::string requestID = format("%lu", static_cast<unsigned long>(requestID_++));
    if (respondsToSelector(requester, sel::setRequestID_.name)) sel::setRequestID_(requester, Value(requestID));
    const Value parameters = respondsToSelector(requester, sel::requestParameters.name) ? sel::requestParameters(requester) : Value();
    const Value json = adRequestParameterJSONFromParameters(parameters);
    if (!isNonEmpty(json)) {
        // Sent, it would never be answered.
        deliver(weakRequester, sel::invalidJavaScriptRequest, [](id target) { sel::invalidJavaScriptRequest(target); });
        return;
    }
    // Recorded before the command is queued, so no answer comes before its record.
    dispatch_async(lockQueue_, [self, weakRequester, requestID] {
        auto& sent = self->pendingBuildAdURLDelegates_;
        // A requester awaits its latest request only; an older answer reaches nobody.
        std::erase_if(sent, [&](const auto& entry) { return entry.second.expired() || entry.second == weakRequester; });
        if (weakRequester.expired()) return;
        sent[requestID] = weakRequester;
        dispatch_after(dispatch_time(DISPATCH_TIME_NOW, static_cast<std::int64_t>(kYBXSDKCoreRequestDeadline * NSEC_PER_SEC)),
                       self->lockQueue_, [self, requestID] {
                           auto found = self->pendingBuildAdURLDelegates_.find(requestID);
                           if (found == self->pendingBuildAdURLDelegates_.end()) return;
                           WeakRef<Object> late = std::move(found->second);
                           self->pendingBuildAdURLDelegates_.erase(found);
                           deliverFailure(late);
                       });
    });
    if (activeSDKCoreWebView_) activeSDKCoreWebView_->executeJavaScriptCommand(command("KESTRA_buildAdURL", json.string()));
}

Value YBXSDKCoreController::adRequestParameterJSONFromParameters(const Value& parameters) {
    if (!parameters.isDictionary()) return Value();
    Value used = parameters;
    const Value& extras = parameters["extras"];
    if (extras.isDictionary() && !extras.dictionary().empty()) {
        Value::Dictionary sanitised;
        bool replaced = false;
        for (const auto& [key, value] : extras.dictionary()) {
            if (auto* url = dynamic_cast<NSURL*>(value.object())) {
                sanitised[key] = Value(url->absoluteString());
                replaced = true;
            } else if (!NSJSONSerialization::isValidJSONObject(Value{{key, value}})) {
                sanitised[key] = Value(value.description());
                replaced = true;
            } else {
                sanitised[key] = value;
            }
        }
        if (replaced) {
            Value::Dictionary copy = parameters.dictionary();
            copy["extras"] = Value(std::move(sanitised));
            used = Value(std::move(copy));
        }
    }
    return Value(dictionaryToJSONString(used));
}

WeakRef<Object> YBXSDKCoreController::takeRequester(const Value& requestID) {
    WeakRef<Object> taken;
    if (!requestID.isString()) return taken;
    dispatch_sync(lockQueue_, [&] {
        auto found = pendingBuildAdURLDelegates_.find(requestID.string());
        if (found == pendingBuildAdURLDelegates_.end()) return;
        taken = std::move(found->second);
        pendingBuildAdURLDelegates_.erase(found);
    });
    return taken;
}

void YBXSDKCoreController::loadAdParameters(const Value& parameters, const Value& requestID) {
    deliver(takeRequester(requestID), sel::loadAdURLWithParameters_,
            [parameters](id target) { sel::loadAdURLWithParameters_(target, parameters); });
}

void YBXSDKCoreController::loadAd(id ad, const Value& headers, const Value& requestID) {
    Ref<Object> heldAd(ad);
    deliver(takeRequester(requestID), sel::loadAd_headers_, [heldAd, headers](id target) { sel::loadAd_headers_(target, heldAd.get(), headers); });
}

void YBXSDKCoreController::didReceiveInvalidAdParameters(const Value& parameters, const Value& requestID) {
    WeakRef<Object> requester = takeRequester(requestID);
    dispatch_async(dispatch_get_main_queue(), [requester, parameters] {
        pubLog(format("Invalid Request: %@", parameters.description()));
        Ref<Object> target = requester.lock();
        if (target && respondsToSelector(target.get(), sel::invalidJavaScriptRequest.name)) sel::invalidJavaScriptRequest(target.get());
    });
}

void YBXSDKCoreController::loadSDKConstants(const Value& constants) {
    // An MRAID location changes only when the server names one; without these
    // keys the current locations stay.
    // The interceptor is a URL protocol class, sent to by name: its header and
    // the web view's both declare the platform's stopLoading.
    Class* interceptor = objc_getClass("YBXMRAIDInterceptor");
    struct Path {
        const char* key;
        const Sel<void(id, Value)>& setter;
    } paths[] = {{"mraid_banner_path", sel::setBannerImplementationPath_},
                 {"mraid_interstitial_path", sel::setInterstitialImplementationPath_},
                 {"mraid_expanded_banner_path", sel::setExpandedBannerImplementationPath_}};
    for (const Path& path : paths)
        if (isNonEmpty(constants[path.key])) path.setter(interceptor, constants[path.key]);
    const Value& disableRedirect = constants["mraid_disable_redirect"];
    if (disableRedirect.isString() && disableRedirect.string() == "1")
        sel::disallow(interceptor);
    else
        sel::allow(interceptor);

    const Value& sampling = constants["optora_sampling_intervals"];
    if (!sampling.isNil()) {
        Ref<NSError> error;
        Value intervals = sampling.isString() ? ybx_decodedJSONObjectError(sampling.string(), &error) : Value();
        const bool numbers = !error && intervals.isArray() &&
                             std::all_of(intervals.array().begin(), intervals.array().end(), [](const Value& v) { return v.isNumber(); });
        setOptoraMonitorRefreshIntervals(numbers ? intervals : Value());
    }

    const Value& cacheSize = constants["discardable_storekitcontroller_cache_size"];
    if (cacheSize.isString()) {
        Value size = NSNumberFormatter::numberFromString(cacheSize.string());
        if (YBXApplication* application = YBXApplication::sharedApplication(); application && !size.isNil())
            application->setDiscardableStoreProductViewControllerAppCacheMaxSize(size.integerValue());
    }

    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    for (const char* key : {"bad_ad_report_path", "as_domains", "native_ad_support_url", "ybx_web_view_cache_max_capacity"})
        if (isNonEmpty(constants[key]) && defaults) defaults->setObject(constants[key], key);

    Ref<YBXSDKCoreController> self(this);
    dispatch_async(lockQueue_, [self] { self->SDKConstantsNeedReload_ = false; });
}

Value YBXSDKCoreController::optoraMonitorRefreshIntervals() {
    Value intervals;
    dispatch_sync(lockQueue_, [&] { intervals = optoraMonitorRefreshIntervals_; });
    return intervals;
}

void YBXSDKCoreController::setOptoraMonitorRefreshIntervals(const Value& intervals) {
    Ref<YBXSDKCoreController> self(this);
    dispatch_async(lockQueue_, [self, intervals] { self->optoraMonitorRefreshIntervals_ = intervals; });
}

// --- viewability pages -------------------------------------------------------------------------------

Ref<YBXSDKCoreWebView> YBXSDKCoreController::nextSDKCoreWebView() {
    removeFinishedOptoraWebViews();
    Ref<YBXSDKCoreWebView> page = as<YBXSDKCoreWebView>(sel::init(alloc("YBXSDKCoreWebView")).get());
    if (page) page->refreshSDKCore();
    return page;
}

void YBXSDKCoreController::finishedUsingSDKCoreWebView(YBXSDKCoreWebView* page) {
    if (page && !page->webView()->optoraUnloadPingReceived_) cacheRunningOptoraWebView(page);
}

void YBXSDKCoreController::cacheRunningOptoraWebView(YBXSDKCoreWebView* page) {
    if (!page) return;
    Ref<YBXSDKCoreController> self(this);
    Ref<YBXSDKCoreWebView> held(page);
    dispatch_async(lockQueue_, [self, held] { self->optoraSDKCoreWebViews_.push_back(held); });
    removeFinishedOptoraWebViews();
}

void YBXSDKCoreController::removeFinishedOptoraWebViews() {
    std::vector<Ref<YBXSDKCoreWebView>> setAside;
    dispatch_sync(lockQueue_, [&] {
        // The newest pages that still run are kept, in the list's order, so
        // that every walk lets the oldest go.
        std::vector<Ref<YBXSDKCoreWebView>> kept;
        auto& pages = optoraSDKCoreWebViews_;
        for (auto it = pages.rbegin(); it != pages.rend(); ++it) {
            if (!(*it)->webView()->optoraUnloadPingReceived_ && kept.size() < kYBXMaxRunningOptoraWebViews)
                kept.push_back(std::move(*it));
            else
                setAside.push_back(std::move(*it));
        }
        std::reverse(kept.begin(), kept.end());
        pages = std::move(kept);
    });
    for (Ref<YBXSDKCoreWebView>& page : setAside) {
        page->webView()->optoraUnloadPingReceived_ = true;
        finishedUsingSDKCoreWebView(page.get());
    }
}

void registerSDKCoreControllerClass() {
    ClassBuilder<YBXSDKCoreController>("YBXSDKCoreController", "NSObject")
        .protocol("YBXSDKCoreWebViewNotification")
        .protocol("YBXSDKCorePMSGHandlerDelegate")
        .classMethod(sel::sharedInstance, [](id) { return Ref<Object>(YBXSDKCoreController::sharedInstance()); })
        .method(sel::init,
                [](id self) {
                    controllerOf(self)->setUp();
                    return Ref<Object>(self);
                })
        .method(sel::buildAdURL_, [](id self, id requester) { controllerOf(self)->buildAdURL(requester); })
        .method(sel::refreshActiveWebViewSDKCore, [](id self) { controllerOf(self)->refreshActiveWebViewSDKCore(); })
        .method(sel::asynchronouslyRequestURLForDelegate_,
                [](id self, id requester) { controllerOf(self)->asynchronouslyRequestURLForDelegate(requester); })
        .method(sel::adRequestParameterJSONFromParameters_,
                [](id, Value parameters) { return YBXSDKCoreController::adRequestParameterJSONFromParameters(parameters); })
        .method(sel::didFinishLoadingSDKCoreInSDKCoreWebView_,
                [](id self, id page) { controllerOf(self)->didFinishLoadingSDKCoreInSDKCoreWebView(as<YBXSDKCoreWebView>(page)); })
        .method(sel::observeSDKCoreWebViewForSDKCoreLoadRequestCompleted,
                [](id self) { controllerOf(self)->observeSDKCoreWebViewForSDKCoreLoadRequestCompleted(); })
        .method(sel::SDKCorePMSGHandler_loadAdParameters_requestID_,
                [](id self, id, Value parameters, Value requestID) { controllerOf(self)->loadAdParameters(parameters, requestID); })
        .method(sel::SDKCorePMSGHandler_loadAd_headers_requestID_,
                [](id self, id, id ad, Value headers, Value requestID) { controllerOf(self)->loadAd(ad, headers, requestID); })
        .method(sel::SDKCorePMSGHandler_didReceiveInvalidAdParameters_requestID_,
                [](id self, id, Value parameters, Value requestID) { controllerOf(self)->didReceiveInvalidAdParameters(parameters, requestID); })
        .method(sel::SDKCorePMSGHandler_loadSDKConstants_, [](id self, id, Value constants) { controllerOf(self)->loadSDKConstants(constants); })
        .method(sel::optoraMonitorRefreshIntervals, [](id self) { return controllerOf(self)->optoraMonitorRefreshIntervals(); })
        .method(sel::setOptoraMonitorRefreshIntervals_, [](id self, Value v) { controllerOf(self)->setOptoraMonitorRefreshIntervals(v); })
        .method(sel::activeSDKCoreWebView, [](id self) { return Ref<Object>(controllerOf(self)->activeSDKCoreWebView()); })
        // The viewability pages' category.
        .method(sel::nextSDKCoreWebView, [](id self) { return Ref<Object>(controllerOf(self)->nextSDKCoreWebView().get()); })
        .method(sel::finishedUsingSDKCoreWebView_,
                [](id self, id page) { controllerOf(self)->finishedUsingSDKCoreWebView(as<YBXSDKCoreWebView>(page)); })
        .method(sel::cacheRunningOptoraWebView_,
                [](id self, id page) { controllerOf(self)->cacheRunningOptoraWebView(as<YBXSDKCoreWebView>(page)); })
        .method(sel::removeFinishedOptoraWebViews, [](id self) { controllerOf(self)->removeFinishedOptoraWebViews(); });
}

}  // namespace adlib
