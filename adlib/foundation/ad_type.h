// YBXAdType: the kind of ad wanted, a banner of a size or an interstitial; and
// YBXMAdSizeUtilities, the boxed-value face of the size rules that mediation
// adapters use. Immutable apart from the size; main thread, like the sizes'
// screen reads.
#pragma once

#include "adlib/foundation/ad_size.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Ref<Object>(id, YBXAdSize)> initWithAdSize_{"initWithAdSize:"};
inline constexpr Sel<Ref<Object>(id)> initForInterstitial{"initForInterstitial"};
inline constexpr Sel<Ref<Object>(id, YBXAdSize)> bannerAdTypeForSize_{"bannerAdTypeForSize:"};
inline constexpr Sel<Ref<Object>(id)> interstitialAdType{"interstitialAdType"};
inline constexpr Sel<YBXAdSize(id)> adSize{"adSize"};
inline constexpr Sel<void(id, YBXAdSize)> setAdSize_{"setAdSize:"};
inline constexpr Sel<bool(id)> isInterstitial{"isInterstitial"};
inline constexpr Sel<bool(id)> isValid{"isValid"};

// YBXMAdSizeUtilities (class methods; sizes boxed as NSValues).
inline constexpr Sel<bool(id, Value, YBXAdSize*)> decodeNSValue_toYBXAdSize_{"decodeNSValue:toYBXAdSize:"};
inline constexpr Sel<Value(id, Value, Value)> YBXAdSize_equalToSize_{"YBXAdSize:equalToSize:"};
inline constexpr Sel<Value(id, Value)> CGSizeFromYBXAdSize_{"CGSizeFromYBXAdSize:"};
inline constexpr Sel<Value(id, Value)> isYBXAdSizeValid_{"isYBXAdSizeValid:"};
inline constexpr Sel<Value(id, Value)> stringFromYBXAdSize_{"stringFromYBXAdSize:"};
}  // namespace sel

class YBXAdType : public NSObject {
public:
    YBXAdSize adSize = kYBXAdSizeInvalid;
    bool isInterstitial = false;
};

void registerAdTypeClasses();

}  // namespace adlib
