#include "adlib/render/mraid_interceptor.h"

#include <mutex>

#include "adlib/foundation/configuration.h"
#include "platform/foundation/lock.h"

namespace adlib {

namespace {

struct ClassState {
    Ref<NSLock> classLock = NSLock::make();
    // Under classLock.
    bool allowed = false;
    long long requestCounter = 0;
    Value bannerPath, interstitialPath, expandedBannerPath;
    ClassState() { setDefaults(); }
    void setDefaults() {
        bannerPath = Value(YBXAdServerBaseURL() + kYBXMRAIDBannerPath);
        interstitialPath = Value(YBXAdServerBaseURL() + kYBXMRAIDInterstitialPath);
        expandedBannerPath = Value(YBXAdServerBaseURL() + kYBXMRAIDExpandedBannerPath);
    }
};

ClassState& state() {
    static ClassState* s = new ClassState();  // kept for the process
    return *s;
}

Value copiedPath(const Value& path) { return path.isString() ? path : Value(); }

template <class F>
auto underClassLock(F f) {
    ClassState& s = state();
    std::lock_guard guard(*s.classLock);
    return f(s);
}

}  // namespace

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

void YBXMRAIDInterceptor::setBannerImplementationPath(const Value& path) {
    underClassLock([&](ClassState& s) {
        if (s.bannerPath != copiedPath(path)) s.bannerPath = copiedPath(path);
    });
}

void YBXMRAIDInterceptor::setInterstitialImplementationPath(const Value& path) {
    underClassLock([&](ClassState& s) {
        if (s.interstitialPath != copiedPath(path)) s.interstitialPath = copiedPath(path);
    });
}

void YBXMRAIDInterceptor::setExpandedBannerImplementationPath(const Value& path) {
    underClassLock([&](ClassState& s) {
        if (s.expandedBannerPath != copiedPath(path)) s.expandedBannerPath = copiedPath(path);
    });
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
        .classMethod(sel::enableCanInitWithRequest, [](id) { YBXMRAIDInterceptor::enableCanInitWithRequest(); })
        .classMethod(sel::disableCanInitWithRequest, [](id) { YBXMRAIDInterceptor::disableCanInitWithRequest(); })
        .classMethod(sel::resetCanInitWithRequestCounter, [](id) { YBXMRAIDInterceptor::resetCanInitWithRequestCounter(); })
        .classMethod(sel::canInitWithRequestIsEnabled, [](id) { return YBXMRAIDInterceptor::canInitWithRequestIsEnabled(); });
}

}  // namespace adlib
