#include "adlib/foundation/utilities.h"

#include <array>

#include "platform/foundation/format.h"
#include "platform/network/url.h"

namespace adlib {

bool CheckStaticLibraryCategoriesLoaded() {
    Ref<Object> probe = alloc("NSObject");
    return probe && respondsToSelector(probe, sel::ybx_staticLibraryCategoriesAreLoaded.name);
}

Value ybx_negativeOne() { return Value(Decimal(1, 0, true)); }

Value MakeURLArrayFromStrings(const Value& strings) {
    Value::Array urls;
    for (const Value& s : strings.array())
        if (s.isString())
            if (Ref<NSURL> url = NSURL::URLWithString(s.string())) urls.emplace_back(url);
    return urls.empty() ? Value() : Value(std::move(urls));
}

Rect MakeRectFromDictionary(const Value& dictionary, Ref<NSError>* error) {
    std::array<double, 4> numbers{};
    const char* keys[] = {"x", "y", "width", "height"};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const Value& v = dictionary[keys[i]];
        if (!v.isNumber()) {
            if (error)
                *error = NSError::errorWithDomain(
                    "cg_rect_conversion", 1,
                    Value{{std::string(NSLocalizedDescriptionKey), format("Invalid SDK Core rectangle %@.", dictionary)}});
            return Rect();
        }
        numbers[i] = v.doubleValue();
    }
    return Rect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

Value MakeDictionaryFromRect(Rect rect) {
    return Value{{"x", rect.x()}, {"y", rect.y()}, {"width", rect.width()}, {"height", rect.height()}};
}

bool InvokeSelectorWithObject(id target, SEL selector, const Value& object) {
    if (!target || !respondsToSelector(target, selector.name) || methodArity(target, selector.name) != 1) return false;
    const std::array<Value, 1> args{object};
    invoke(target, selector.name, args);
    return true;
}

void registerUtilityCategories() {
    class_addMethod(objc_getClass("NSObject"), sel::ybx_staticLibraryCategoriesAreLoaded, [](id) { return true; });
}

}  // namespace adlib
