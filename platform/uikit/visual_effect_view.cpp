#include "platform/uikit/visual_effect_view.h"

#include "platform/uikit/internal.h"

namespace platform {

namespace uikit::detail {

void registerVisualEffectView() {
    if (!hasVisualEffects()) return;
    ClassBuilder<UIVisualEffectView>("UIVisualEffectView", "UIView")
        .method(sel::initWithEffect_,
                [](id self, id effect) -> Ref<Object> {
                    Ref<Object> base = sel::initWithFrame_(self, Rect());
                    auto* v = as<UIVisualEffectView>(base.get());
                    if (!v) return base;
                    v->effect_ = effect;
                    return base;
                })
        .method(sel::initWithFrame_,
                [](id self, Rect frame) -> Ref<Object> {
                    Ref<Object> base = sel::initWithFrame_.super(objc_getClass("UIVisualEffectView"), self, frame);
                    auto* v = as<UIVisualEffectView>(base.get());
                    if (!v || v->contentView_) return base;
                    v->contentView_ = UIView::make("UIView", Rect(Point{}, v->bounds_.size));
                    sel::setAutoresizingMask_(v->contentView_, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
                    sel::addSubview_(v, v->contentView_);
                    return base;
                })
        .method(sel::effect, [](id self) { return as<UIVisualEffectView>(self)->effect_; })
        .method(sel::contentView, [](id self) -> Ref<Object> { return as<UIVisualEffectView>(self)->contentView_; });
}

}  // namespace uikit::detail
}  // namespace platform
