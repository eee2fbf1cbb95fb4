#include "adlib/render/mraid_interceptor.h"

#include <mutex>
#include <set>
#include <string>

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/configuration.h"
#include "adlib/foundation/macros.h"
#include "adlib/render/ad_url_stash.h"
#include "platform/foundation/lock.h"
#include "platform/network/connection.h"

namespace adlib {

namespace {

struct ClassState {
    Ref<NSLock> classLock = NSLock::make();
    // Under classLock.
    bool allowed = false;
    long long requestCounter = 0;
    Value bannerPath, interstitialPath, expandedBannerPath;
    std::set<std::string> implementationPaths;
    ClassState() { setDefaults(); }
    void setDefaults() {
        bannerPath = Value(YBXAdServerBaseURL() + kYBXMRAIDBannerPath);
        interstitialPath = Value(YBXAdServerBaseURL() + kYBXMRAIDInterstitialPath);
        expandedBannerPath = Value(YBXAdServerBaseURL() + kYBXMRAIDExpandedBannerPath);
        rebuildPaths();
    }
    // The set follows the locations only while all three are set.
    void rebuildPaths() {
        if (!bannerPath.isString() || !interstitialPath.isString() || !expandedBannerPath.isString()) return;
        implementationPaths = {bannerPath.string(), interstitialPath.string(), expandedBannerPath.string()};
    }
};

ClassState& state() {
    static ClassState* s = new ClassState();  // kept for the process: protocol threads may outlive main's exit
    return *s;
}

Value copiedPath(const Value& path) { return path.isString() ? path : Value(); }

// Every public operation is a use of the class: the set-up runs before the first.
template <class F>
auto underClassLock(F f) {
    YBXMRAIDInterceptor::initializeClass();
    ClassState& s = state();
    std::lock_guard guard(*s.classLock);
    return f(s);
}

void setPath(Value ClassState::*member, const Value& path) {
    underClassLock([&](ClassState& s) {
        if (s.*member == copiedPath(path)) return;
        s.*member = copiedPath(path);
        s.rebuildPaths();
    });
}

YBXMRAIDInterceptor* interceptorOf(id self) { return as<YBXMRAIDInterceptor>(self); }

}  // namespace

void YBXMRAIDInterceptor::initializeClass() {
    static std::once_flag once;
    // Takes only the class lock and the protocol registry's: nothing here waits for the main thread.
    std::call_once(once, [] {
        ClassState& s = state();
        {
            std::lock_guard guard(*s.classLock);
            s.setDefaults();
        }
        NSURLProtocol::registerClass(objc_getClass("YBXMRAIDInterceptor"));
        std::lock_guard guard(*s.classLock);
        s.allowed = true;
    });
}

void YBXMRAIDInterceptor::allow() {
    underClassLock([](ClassState& s) { s.allowed = true; });
}

void YBXMRAIDInterceptor::disallow() {
    underClassLock([](ClassState& s) { s.allowed = false; });
}

bool YBXMRAIDInterceptor::isAllowed() {
    return underClassLock([](ClassState& s) { return s.allowed; });
}

void YBXMRAIDInterceptor::resetToDefaultPaths() {
    underClassLock([](ClassState& s) { s.setDefaults(); });
}

Value YBXMRAIDInterceptor::bannerImplementationPath() {
    return underClassLock([](ClassState& s) { return s.bannerPath; });
}

Value YBXMRAIDInterceptor::interstitialImplementationPath() {
    return underClassLock([](ClassState& s) { return s.interstitialPath; });
}

Value YBXMRAIDInterceptor::expandedBannerImplementationPath() {
    return underClassLock([](ClassState& s) { return s.expandedBannerPath; });
}

void YBXMRAIDInterceptor::setBannerImplementationPath(const Value& path) { setPath(&ClassState::bannerPath, path); }

void YBXMRAIDInterceptor::setInterstitialImplementationPath(const Value& path) { setPath(&ClassState::interstitialPath, path); }

void YBXMRAIDInterceptor::setExpandedBannerImplementationPath(const Value& path) {
    setPath(&ClassState::expandedBannerPath, path);
}

bool YBXMRAIDInterceptor::urlIsAnImplementationPath(NSURL* url) {
    if (!url) return false;
    const std::string text = url->absoluteString();
    return underClassLock([&](ClassState& s) { return s.implementationPaths.contains(text); });
}

void YBXMRAIDInterceptor::enableCanInitWithRequest() {
    underClassLock([](ClassState& s) { ++s.requestCounter; });
}

void YBXMRAIDInterceptor::disableCanInitWithRequest() {
    underClassLock([](ClassState& s) { --s.requestCounter; });
}

void YBXMRAIDInterceptor::resetCanInitWithRequestCounter() {
    underClassLock([](ClassState& s) { s.requestCounter = 0; });
}

bool YBXMRAIDInterceptor::canInitWithRequestIsEnabled() {
    return underClassLock([](ClassState& s) { return s.requestCounter > 0; });
}

Ref<NSURL> YBXMRAIDInterceptor::refererURLFromRequest(NSURLRequest* request) {
    const std::string* referer = request ? request->valueForHTTPHeaderField("referer") : nullptr;
    if (!referer || referer->empty()) return nullptr;
    return NSURL::URLWithString(*referer);
}

bool YBXMRAIDInterceptor::shouldRedirectForMRAID(NSURLRequest* request) {
    NSURL* url = request ? request->URL() : nullptr;
    if (!url || urlIsAnImplementationPath(url)) return false;
    return url->lastPathComponent() == "mraid.js";
}

bool YBXMRAIDInterceptor::canInitWithRequest(NSURLRequest* request) {
    // The locks one after the other, never one inside the other.
    const bool enabled = underClassLock([](ClassState& s) { return s.allowed && s.requestCounter != 0; });
    if (!enabled || !YBXAdURLStash::hasStashedURLs()) return false;
    if (!shouldRedirectForMRAID(request)) return false;
    Ref<NSURL> referer = refererURLFromRequest(request);
    if (!referer) return false;
    bool found = false;
    // The web view is the main thread's: the reference taken is let go there.
    RunSynchronouslyOnMainThread([&] { found = static_cast<bool>(YBXAdURLStash::viewForURL(referer.get())); });
    return found;
}

void YBXMRAIDInterceptor::chooseLocation() {
    Ref<NSURL> referer = refererURLFromRequest(request());
    if (!referer) return;
    Value location;
    // The web view, its delegate and its slot belong to the main thread, which
    // never waits on a load; the slot hears of its MRAID ad there, before the
    // script is served and so before its page can finish.
    RunSynchronouslyOnMainThread([&] {
        Ref<Object> view = YBXAdURLStash::viewForURL(referer.get());
        if (!view) return;  // gone since the claim: nobody to serve
        Ref<Object> delegate = respondsToSelector(view.get(), sel::delegate.name) ? sel::delegate(view.get()) : nullptr;
        if (!isKindOfClass(delegate.get(), "YBXBannerWebViewDelegate")) {
            location = expandedBannerImplementationPath();
            return;
        }
        Ref<Object> slot = sel::slot(delegate.get());
        location = sel::isInterstitial(sel::adType(slot.get()).get()) ? interstitialImplementationPath() : bannerImplementationPath();
        sel::willLoadMRAIDAd(slot.get());
    });
    mraidLocationToLoad_ = location;
}

void YBXMRAIDInterceptor::startLoading() {
    Ref<YBXMRAIDInterceptor> protector(this);
    id answer = client();
    Ref<NSURL> url = mraidLocationToLoad_.isString() ? NSURL::URLWithString(mraidLocationToLoad_.string()) : nullptr;
    if (!url) {
        sel::URLProtocol_didFailWithError_(answer, this, NSError::errorWithDomain(NSCocoaErrorDomain, kYBXMRAIDNoLocationErrorCode).get());
        return;
    }
    // A plain request without a referer: this interceptor never claims its own fetch.
    Ref<NSURLRequest> fetch = NSURLRequest::requestWithURL(url.get());
    Ref<NSURLResponse> response;
    Ref<NSError> error;
    std::optional<Data> script = NSURLConnection::sendSynchronousRequest(fetch.get(), &response, &error);
    auto* http = as<NSHTTPURLResponse>(response.get());
    if (!error && (!script || (http && (http->statusCode() < 200 || http->statusCode() > 299))))
        error = NSURLConnection::errorForCode(NSURLErrorBadServerResponse, url.get());
    // A script that did not come is a failed load, never an empty success.
    if (error) {
        sel::URLProtocol_didFailWithError_(answer, this, error.get());
        return;
    }
    Ref<NSURLResponse> served =
        NSURLResponse::make(url.get(), "application/javascript", static_cast<long long>(script->size()), "");
    sel::URLProtocol_didReceiveResponse_cacheStoragePolicy_(answer, this, served.get(), NSURLCacheStorageAllowed);
    sel::URLProtocol_didLoadData_(answer, this, Value(std::move(*script)));
    sel::URLProtocolDidFinishLoading_(answer, this);
}

void registerMRAIDInterceptorClass() {
    ClassBuilder<YBXMRAIDInterceptor>("YBXMRAIDInterceptor", "NSURLProtocol")
        .classMethod(sel::allow, [](id) { YBXMRAIDInterceptor::allow(); })
        .classMethod(sel::disallow, [](id) { YBXMRAIDInterceptor::disallow(); })
        .classMethod(sel::isAllowed, [](id) { return YBXMRAIDInterceptor::isAllowed(); })
        .classMethod(sel::resetToDefaultPaths, [](id) { YBXMRAIDInterceptor::resetToDefaultPaths(); })
        .classMethod(sel::bannerImplementationPath, [](id) { return YBXMRAIDInterceptor::bannerImplementationPath(); })
        .classMethod(sel::interstitialImplementationPath, [](id) { return YBXMRAIDInterceptor::interstitialImplementationPath(); })
        .classMethod(sel::expandedBannerImplementationPath, [](id) { return YBXMRAIDInterceptor::expandedBannerImplementationPath(); })
        .classMethod(sel::setBannerImplementationPath_, [](id, Value path) { YBXMRAIDInterceptor::setBannerImplementationPath(path); })
        .classMethod(sel::setInterstitialImplementationPath_,
                     [](id, Value path) { YBXMRAIDInterceptor::setInterstitialImplementationPath(path); })
        .classMethod(sel::setExpandedBannerImplementationPath_,
                     [](id, Value path) { YBXMRAIDInterceptor::setExpandedBannerImplementationPath(path); })
        .classMethod(sel::urlIsAnImplementationPath_, [](id, NSURL* url) { return YBXMRAIDInterceptor::urlIsAnImplementationPath(url); })
        .classMethod(sel::enableCanInitWithRequest, [](id) { YBXMRAIDInterceptor::enableCanInitWithRequest(); })
        .classMethod(sel::disableCanInitWithRequest, [](id) { YBXMRAIDInterceptor::disableCanInitWithRequest(); })
        .classMethod(sel::resetCanInitWithRequestCounter, [](id) { YBXMRAIDInterceptor::resetCanInitWithRequestCounter(); })
        .classMethod(sel::canInitWithRequestIsEnabled, [](id) { return YBXMRAIDInterceptor::canInitWithRequestIsEnabled(); })
        .classMethod(sel::refererURLFromRequest_,
                     [](id, id request) -> Ref<Object> { return YBXMRAIDInterceptor::refererURLFromRequest(as<NSURLRequest>(request)); })
        .classMethod(sel::shouldRedirectForMRAID_,
                     [](id, id request) { return YBXMRAIDInterceptor::shouldRedirectForMRAID(as<NSURLRequest>(request)); })
        // The URL protocol operations.
        .classMethod(sel::canInitWithRequest_, [](id, id request) { return YBXMRAIDInterceptor::canInitWithRequest(as<NSURLRequest>(request)); })
        .classMethod(sel::canonicalRequestForRequest_, [](id, id request) { return Ref<Object>(request); })
        .method(sel::initWithRequest_cachedResponse_client_,
                [](id self, id request, id cachedResponse, id client) {
                    Ref<Object> made =
                        sel::initWithRequest_cachedResponse_client_.super(objc_getClass("YBXMRAIDInterceptor"), self, request, cachedResponse, client);
                    if (YBXMRAIDInterceptor* interceptor = interceptorOf(made.get())) interceptor->chooseLocation();
                    return made;
                })
        .method(sel::startLoading, [](id self) { interceptorOf(self)->startLoading(); })
        .method(sel::stopLoading, [](id) {})
        .method(sel::mraidLocationToLoad, [](id self) { return interceptorOf(self)->mraidLocationToLoad_; });
}

}  // namespace adlib
