#include "platform/uikit/visual_effect.h"

#include "platform/foundation/process.h"
#include "platform/uikit/internal.h"

namespace platform {

namespace uikit::detail {

bool hasVisualEffects() { return stringDoubleValue(process::info().systemVersion) >= 8.0; }

void registerVisualEffects() {
    if (!hasVisualEffects()) return;
    ClassBuilder<UIVisualEffect>("UIVisualEffect", "NSObject");
    ClassBuilder<UIBlurEffect>("UIBlurEffect", "UIVisualEffect")
        .classMethod(sel::effectWithStyle_,
                     [](id cls, long long style) -> Ref<Object> {
                         auto effect = as<UIBlurEffect>(alloc(static_cast<Class*>(cls)));
                         if (effect) effect->style_ = style;
                         return effect;
                     })
        .ivar<&UIBlurEffect::style_>("_style");
    ClassBuilder<UIVibrancyEffect>("UIVibrancyEffect", "UIVisualEffect")
        .classMethod(sel::effectForBlurEffect_, [](id cls, id blur) -> Ref<Object> {
            auto effect = as<UIVibrancyEffect>(alloc(static_cast<Class*>(cls)));
            if (effect) effect->blurEffect_ = as<UIBlurEffect>(blur);
            return effect;
        });
}

}  // namespace uikit::detail
}  // namespace platform
