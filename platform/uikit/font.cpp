#include "platform/uikit/font.h"

#include "platform/foundation/format.h"
#include "platform/foundation/process.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/text_metrics.h"

namespace platform {

Ref<UIFont> UIFont::make(std::string name, double pointSize) {
    if (name.empty()) return nullptr;
    auto font = as<UIFont>(alloc("UIFont"));
    if (!font) return nullptr;
    font->name_ = std::move(name);
    font->size_ = pointSize;
    return font;
}

namespace {
bool sanFrancisco() { return stringDoubleValue(process::info().systemVersion) >= 9.0; }
}  // namespace

Ref<UIFont> UIFont::systemFont(double pointSize) {
    return make(sanFrancisco() ? ".SFUIText-Regular" : ".HelveticaNeueInterface-Regular", pointSize);
}

Ref<UIFont> UIFont::boldSystemFont(double pointSize) {
    return make(sanFrancisco() ? ".SFUIText-Semibold" : ".HelveticaNeueInterface-MediumP4", pointSize);
}

double UIFont::lineHeight() const { return text::lineHeight(size_); }

namespace uikit::detail {

void registerFont() {
    ClassBuilder<UIFont>("UIFont", "NSObject")
        .classMethod(sel::fontWithName_size_, [](id, Value name, double size) -> Ref<Object> { return UIFont::make(name.string(), size); })
        .classMethod(sel::systemFontOfSize_, [](id, double size) -> Ref<Object> { return UIFont::systemFont(size); })
        .classMethod(sel::boldSystemFontOfSize_, [](id, double size) -> Ref<Object> { return UIFont::boldSystemFont(size); })
        .method(sel::fontWithSize_, [](id self, double size) -> Ref<Object> { return UIFont::make(as<UIFont>(self)->fontName(), size); })
        .method(sel::fontName, [](id self) { return Value(as<UIFont>(self)->fontName()); })
        .method(sel::pointSize, [](id self) { return as<UIFont>(self)->pointSize(); })
        .method(sel::lineHeight, [](id self) { return as<UIFont>(self)->lineHeight(); })
        .method(sel::isEqual_,
                [](id self, id other) {
                    auto* a = as<UIFont>(self);
                    auto* b = as<UIFont>(other);
                    return b && a->fontName() == b->fontName() && a->pointSize() == b->pointSize();
                })
        .method(sel::hash,
                [](id self) {
                    auto* f = as<UIFont>(self);
                    return static_cast<unsigned long>(std::hash<std::string>{}(f->fontName()) ^ static_cast<unsigned long>(f->pointSize() * 64));
                })
        .method(sel::description, [](id self) {
            auto* f = as<UIFont>(self);
            return Value(format("<UIFont: %p> font-family: \"%@\"; font-size: %gpt", self, f->fontName(), f->pointSize()));
        });
}

}  // namespace uikit::detail
}  // namespace platform
