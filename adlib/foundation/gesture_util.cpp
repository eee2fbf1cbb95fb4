#include "adlib/foundation/gesture_util.h"

#include <netinet/in.h>

#include "adlib/foundation/device.h"
#include "platform/foundation/uuid.h"
#include "platform/frameworks/adsupport.h"
#include "platform/uikit/application.h"
#include "platform/uikit/window.h"

namespace adlib {

namespace {

void walk(id view, id window, const std::string& stop, Value::Array& records) {
    if (!view || sel::isHidden(view)) return;
    std::string chain = YBXGestureUtil::viewInheritenceHierarchy(view, kYBXViewNameMaxSize);
    Rect inWindow = sel::convertRect_toView_(view, sel::bounds(view), window);
    Rect frame = sel::frame(view);
    records.push_back(Value{{"ViewName", Value(chain)},
                            {"x", Value(inWindow.origin.x)},
                            {"y", Value(inWindow.origin.y)},
                            {"w", Value(frame.width())},
                            {"h", Value(frame.height())}});
    if (chain == stop) return;
    const Value subviews = sel::subviews(view);
    for (const Value& subview : subviews.array()) walk(subview.object(), window, stop, records);
}

// YBXGestureIdUtil's text of the advertising identifier, nil when there is none.
Value advertisingIdentifierText() {
    Ref<Object> manager = YBXDevice::currentDevice()->identifierManager();
    Ref<Object> uuid = manager ? sel::advertisingIdentifier(manager) : nullptr;
    if (!uuid || !respondsToSelector(uuid, sel::UUIDString.name)) return Value();
    return Value(sel::UUIDString(uuid));
}

}  // namespace

SCNetworkReachabilityFlags YBXGestureUtil::reachability() {
    sockaddr_in zero{};
    zero.sin_family = AF_INET;
    SCNetworkReachabilityRef target = SCNetworkReachabilityCreateWithAddress(nullptr, reinterpret_cast<const sockaddr*>(&zero));
    SCNetworkReachabilityFlags flags = 0;
    if (!target || !SCNetworkReachabilityGetFlags(target.get(), &flags)) return 0;
    return flags;
}

std::string YBXGestureUtil::viewInheritenceHierarchy(id view, std::size_t maxSize) {
    if (!view) return "";
    std::string chain;
    for (Class* c = object_getClass(view); c; c = c->superclass()) {
        if (!chain.empty()) chain += ":";
        chain += c->name();
    }
    if (chain.size() > maxSize) chain.resize(maxSize);
    return chain;
}

Value YBXGestureUtil::walkViews(const std::string& stop) {
    Value::Array records;
    Ref<Object> window = sel::keyWindow(UIApplication::sharedApplication());
    walk(window.get(), window.get(), stop, records);
    return Value(std::move(records));
}

YBXGestureIdUtil* YBXGestureIdUtil::sharedInstance() {
    // Main thread only, so no guard waits for it.
    static auto* shared = new Ref<Object>();
    if (!*shared) *shared = sel::init(alloc("YBXGestureIdUtil"));
    return as<YBXGestureIdUtil>(shared->get());
}

void YBXGestureIdUtil::getOSVersion(int* major, int* minor, int* bugFix) {
    long long parts[3] = {0, 0, 0};
    YBXDevice::currentDevice()->getOSVersion(&parts[0], &parts[1], &parts[2]);
    int* out[] = {major, minor, bugFix};
    for (int i = 0; i < 3; ++i)
        if (out[i]) *out[i] = static_cast<int>(parts[i]);
}

bool YBXGestureIdUtil::isOSAtLeast(int major, int minor, int bug) { return YBXDevice::currentDevice()->isOSAtLeast(major, minor, bug); }

Value YBXGestureIdUtil::deviceIdentifier() {
    if (isOSAtLeast(6, 0, 0)) return advertisingIdentifierText();
    Value stored = userDefaults_->objectForKey(kYBXAppIdDefaultsKey);
    if (stored.isString()) return stored;
    Value made(NSUUID::UUID()->UUIDString());
    userDefaults_->setObject(made, kYBXAppIdDefaultsKey);
    return made;
}

int YBXGestureIdUtil::deviceIdentifierType() { return isOSAtLeast(6, 0, 0) ? 4 : 1; }

bool YBXGestureIdUtil::deviceOptedOut() {
    if (!isOSAtLeast(6, 0, 0)) return false;
    Ref<Object> manager = YBXDevice::currentDevice()->identifierManager();
    return !sel::isAdvertisingTrackingEnabled(manager);
}

void registerGestureUtilClasses() {
    ClassBuilder<YBXGestureUtil>("YBXGestureUtil", "UIViewController")
        .classMethod(sel::reachability_,
                     [](id, SCNetworkReachabilityFlags* flags) {
                         if (flags) *flags = YBXGestureUtil::reachability();
                     })
        .classMethod(sel::viewInheritenceHierarchy_maxSize_,
                     [](id, id view, long long maxSize) {
                         return YBXGestureUtil::viewInheritenceHierarchy(view, static_cast<std::size_t>(std::max(0LL, maxSize)));
                     })
        .classMethod(sel::walkViews_, [](id, std::string stop) { return YBXGestureUtil::walkViews(stop); });
    ClassBuilder<YBXGestureIdUtil>("YBXGestureIdUtil", "NSObject")
        .classMethod(sel::sharedInstance, [](id) { return Ref<Object>(YBXGestureIdUtil::sharedInstance()); })
        .classMethod(sel::getOSMajor_minor_bugFix_32_, [](id, int* a, int* b, int* c) { YBXGestureIdUtil::getOSVersion(a, b, c); })
        .method(sel::init,
                [](id self) -> Ref<Object> {
                    as<YBXGestureIdUtil>(self)->userDefaults_ = NSUserDefaults::standardUserDefaults();
                    return Ref<Object>(self);
                })
        .method(sel::deviceIdentifierText, [](id self) { return as<YBXGestureIdUtil>(self)->deviceIdentifier(); })
        .method(sel::deviceIdentifierType, [](id self) { return Value(as<YBXGestureIdUtil>(self)->deviceIdentifierType()); })
        .method(sel::deviceOptedOut, [](id self) { return as<YBXGestureIdUtil>(self)->deviceOptedOut(); });
}

}  // namespace adlib
