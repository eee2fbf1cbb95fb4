#include "tweak/screens/blur_view.h"

#include "platform/uikit/layer.h"

namespace rousa {

namespace {
FJBlurView* blur(id self) { return as<FJBlurView>(self); }
Value filterValue(id self, std::string_view key) { return valueForKey(blur(self)->blurFilter, key); }
void setFilterValue(id self, const Value& v, std::string_view key) { setValueForKey(blur(self)->blurFilter, v, key); }
}  // namespace

void registerBlurViewClass() {
    ClassBuilder<FJBlurView>("FJBlurView", "UIView")
        .classMethod(sel::layerClass, [](id) {
            Class* backdrop = objc_getClass("CABackdropLayer");
            return backdrop ? backdrop : objc_getClass("CALayer");
        })
        .method(sel::initWithFrame_, [](id self, Rect frame) {
            Ref<Object> view = sel::initWithFrame_.super(objc_getClass("FJBlurView"), self, frame);
            if (!view) return view;
            Ref<Object> filter = sel::filterWithName_(objc_getClass("CAFilter"), Value(kCAFilterGaussianBlur));
            sel::setFilters_(sel::layer(view), Value::array({Value(filter)}));
            blur(view)->blurFilter = filter;
            blur(view)->blurQuality = Value(FJBlurViewQualityDefault);
            sel::setBlurRadius_(view, 5.0);
            return view;
        })
        .method(sel::setBlurRadius_, [](id self, double r) { setFilterValue(self, Value(r), "inputRadius"); })
        // Read back in single precision, as the filter keeps it.
        .method(sel::blurRadius, [](id self) { return static_cast<double>(filterValue(self, "inputRadius").floatValue()); })
        .method(sel::setBlurCroppingRect_, [](id self, Rect r) { setFilterValue(self, Value(r), "inputBounds"); })
        .method(sel::blurCroppingRect, [](id self) {
            Value v = filterValue(self, "inputBounds");
            return v.kind() == Value::Kind::Rect ? v.rect() : Rect::null();
        })
        // The filter keeps hard edges: the inverse of blurred edges.
        .method(sel::setBlurEdges_, [](id self, bool edges) { setFilterValue(self, Value(edges ? 0 : 1), "inputHardEdges"); })
        .method(sel::blurEdges, [](id self) { return !filterValue(self, "inputHardEdges").boolValue(); })
        .method(sel::setQuality_, [](id self, Value q) { setFilterValue(self, q, "inputQuality"); })
        .method(sel::quality, [](id self) { return filterValue(self, "inputQuality"); })
        .property<&FJBlurView::blurQuality>(sel::blurQuality, sel::setBlurQuality_)
        .method(sel::blurFilter, [](id self) { return blur(self)->blurFilter; })
        .method(sel::setBlurFilter_, [](id self, id f) { blur(self)->blurFilter = f; });
}

}  // namespace rousa
