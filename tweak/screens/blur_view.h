// FJBlurView: a view backed by the private backdrop layer with a gaussian
// blur filter, which blurs whatever lies behind it. Its radius, cropping
// rectangle, hard edges and quality live in the filter (set and read with
// key-value coding). Main thread only.
#pragma once

#include "platform/uikit/view.h"
#include "tweak/screens/selectors.h"

namespace rousa {

inline constexpr const char* FJBlurViewQualityDefault = "default";
inline constexpr const char* FJBlurViewQualityLow = "low";

namespace sel {
inline constexpr Sel<double(id)> blurRadius{"blurRadius"};
inline constexpr Sel<void(id, double)> setBlurRadius_{"setBlurRadius:"};
inline constexpr Sel<Rect(id)> blurCroppingRect{"blurCroppingRect"};
inline constexpr Sel<void(id, Rect)> setBlurCroppingRect_{"setBlurCroppingRect:"};
inline constexpr Sel<bool(id)> blurEdges{"blurEdges"};
inline constexpr Sel<void(id, bool)> setBlurEdges_{"setBlurEdges:"};
inline constexpr Sel<Value(id)> quality{"quality"};
inline constexpr Sel<void(id, Value)> setQuality_{"setQuality:"};
inline constexpr Sel<Value(id)> blurQuality{"blurQuality"};
inline constexpr Sel<void(id, Value)> setBlurQuality_{"setBlurQuality:"};
inline constexpr Sel<Ref<Object>(id)> blurFilter{"blurFilter"};
inline constexpr Sel<void(id, id)> setBlurFilter_{"setBlurFilter:"};
}  // namespace sel

class FJBlurView : public UIView {
public:
    Value blurQuality;
    Ref<Object> blurFilter;
};

void registerBlurViewClass();

}  // namespace rousa
