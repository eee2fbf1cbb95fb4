#include "adlib/foundation/ad_type.h"

#include <functional>

#include "platform/foundation/format.h"
#include "platform/uikit/geometry.h"

namespace adlib {

namespace {

YBXAdType* typeOf(id self) { return as<YBXAdType>(self); }

Ref<Object> initWithAdSize(id self, YBXAdSize size) {
    if (auto* t = typeOf(self)) {
        t->adSize = size;
        t->isInterstitial = false;
    }
    return Ref<Object>(self);
}

Ref<Object> initForInterstitial(id self) {
    if (auto* t = typeOf(self)) {
        t->adSize = kYBXAdSizeInvalid;
        t->isInterstitial = true;
    }
    return Ref<Object>(self);
}

bool isEqual(id self, id other) {
    if (self == other) return true;
    auto* a = typeOf(self);
    auto* b = typeOf(other);
    if (!a || !b) return false;
    // Equal objects must hash alike: an interstitial (hash 1) equals only
    // interstitials, whatever the size either holds.
    if (a->isInterstitial || b->isInterstitial) return a->isInterstitial && b->isInterstitial;
    return YBXAdSizesEqual(a->adSize, b->adSize);
}

unsigned long hash(id self) {
    auto* t = typeOf(self);
    if (t->isInterstitial) return 1;
    // -0 equals 0 but prints differently; equal sizes must give one text.
    Size s = t->adSize.size;
    if (s.width == 0) s.width = 0;
    if (s.height == 0) s.height = 0;
    return std::hash<std::string>{}(format("%@ %lu", NSStringFromCGSize(s), t->adSize.flags));
}

Value description(id self) {
    auto* t = typeOf(self);
    std::string name = NSStringFromClass(object_getClass(self));
    if (t->isInterstitial) return Value(format("%@ interstitial type", name));
    return Value(format("%@ banner with size: %@", name, YBXAdSizeDescription(t->adSize)));
}

// A value that does not hold an ad size counts as kYBXAdSizeInvalid.
YBXAdSize decodedOrInvalid(const Value& value) {
    YBXAdSize size = kYBXAdSizeInvalid;
    YBXAdSizeUnboxed(value, &size);
    return size;
}

Value boxedBool(bool b) { return Value::valueWithBytes(&b, "B"); }

}  // namespace

void registerAdTypeClasses() {
    ClassBuilder<YBXAdType>("YBXAdType", "NSObject")
        .method(sel::initWithAdSize_, &initWithAdSize)
        .method(sel::initForInterstitial, &initForInterstitial)
        .classMethod(sel::bannerAdTypeForSize_,
                     [](id cls, YBXAdSize size) { return sel::initWithAdSize_(alloc(static_cast<Class*>(cls)), size); })
        .classMethod(sel::interstitialAdType, [](id cls) { return sel::initForInterstitial(alloc(static_cast<Class*>(cls))); })
        .method(sel::adSize, [](id self) { return typeOf(self)->adSize; })
        .method(sel::setAdSize_, [](id self, YBXAdSize size) { typeOf(self)->adSize = size; })
        .method(sel::isInterstitial, [](id self) { return typeOf(self)->isInterstitial; })
        .method(sel::isEqual_, &isEqual)
        .method(sel::hash, &hash)
        .method(sel::isValid, [](id self) { return typeOf(self)->isInterstitial || YBXAdSizeIsValidForScreen(typeOf(self)->adSize); })
        .method(sel::description, &description);

    ClassBuilder<NSObject>("YBXMAdSizeUtilities", "NSObject")
        .classMethod(sel::decodeNSValue_toYBXAdSize_, [](id, Value value, YBXAdSize* out) { return YBXAdSizeUnboxed(value, out); })
        .classMethod(sel::YBXAdSize_equalToSize_,
                     [](id, Value a, Value b) {
                         YBXAdSize x, y;
                         return boxedBool(YBXAdSizeUnboxed(a, &x) && YBXAdSizeUnboxed(b, &y) && YBXAdSizesEqual(x, y));
                     })
        .classMethod(sel::CGSizeFromYBXAdSize_, [](id, Value v) { return Value(YBXAdSizeResolvedCGSize(decodedOrInvalid(v))); })
        .classMethod(sel::isYBXAdSizeValid_, [](id, Value v) { return boxedBool(YBXAdSizeIsValidForScreen(decodedOrInvalid(v))); })
        .classMethod(sel::stringFromYBXAdSize_, [](id, Value v) { return Value(YBXAdSizeDescription(decodedOrInvalid(v))); });
}

}  // namespace adlib
