// The library's tiny plain functions and the categories that prove the library
// was linked whole (YBXCategoryVerificationAdditions) and give the decimal -1
// (YBXValueAdditions). Pure functions; any thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

namespace sel {
inline constexpr Sel<bool(id)> ybx_staticLibraryCategoriesAreLoaded{"ybx_staticLibraryCategoriesAreLoaded"};
}  // namespace sel

// Whether NSObject instances answer ybx_staticLibraryCategoriesAreLoaded.
bool CheckStaticLibraryCategoriesLoaded();
// The decimal number -1.
Value ybx_negativeOne();
// The URLs (NSURL objects) that could be made from the strings, in order; nil when none could.
Value MakeURLArrayFromStrings(const Value& strings);
// The rectangle of the numbers "x", "y", "width", "height"; CGRect zero and a
// "cg_rect_conversion" error when any is missing.
Rect MakeRectFromDictionary(const Value& dictionary, Ref<NSError>* error);
Value MakeDictionaryFromRect(Rect rect);
// Sends the selector with the object when the target's method takes exactly one argument.
bool InvokeSelectorWithObject(id target, SEL selector, const Value& object);

void registerUtilityCategories();

}  // namespace adlib
