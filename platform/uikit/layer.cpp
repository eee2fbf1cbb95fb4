#include "platform/uikit/layer.h"

#include "platform/uikit/graphics.h"
#include "platform/uikit/internal.h"

namespace platform {

Ref<CAFilter> CAFilter::filterWithName(std::string name) {
    auto filter = as<CAFilter>(alloc("CAFilter"));
    if (filter) filter->name_ = std::move(name);
    return filter;
}

namespace uikit::detail {

void registerLayer() {
    ClassBuilder<CALayer>("CALayer", "NSObject")
        .storesUndefinedKeys()
        .property<&CALayer::cornerRadius>(sel::cornerRadius, sel::setCornerRadius_)
        .property<&CALayer::masksToBounds>(sel::masksToBounds, sel::setMasksToBounds_)
        .property<&CALayer::borderWidth>(sel::borderWidth, sel::setBorderWidth_)
        .method(sel::borderColor, [](id self) { return as<CALayer>(self)->borderColor; })
        .method(sel::setBorderColor_, [](id self, id color) { as<CALayer>(self)->borderColor = color; })
        .method(sel::backgroundColor, [](id self) { return as<CALayer>(self)->backgroundColor; })
        .method(sel::setBackgroundColor_, [](id self, id color) { as<CALayer>(self)->backgroundColor = color; })
        .property<&CALayer::filters>(sel::filters, sel::setFilters_)
        .method(sel::delegate, [](id self) -> Ref<Object> { return as<CALayer>(self)->delegate.lock(); })
        .method(sel::setDelegate_, [](id self, id d) { as<CALayer>(self)->delegate = d; })
        .method(sel::renderInContext_, [](id self, CGContext* context) { renderLayer(as<CALayer>(self), context); });
    ClassBuilder<CABackdropLayer>("CABackdropLayer", "CALayer");
    ClassBuilder<CAFilter>("CAFilter", "NSObject")
        .storesUndefinedKeys()
        .classMethod(sel::filterWithName_, [](id, Value name) -> Ref<Object> { return CAFilter::filterWithName(name.string()); })
        .method(sel::name, [](id self) { return Value(as<CAFilter>(self)->name()); });
}

}  // namespace uikit::detail
}  // namespace platform
