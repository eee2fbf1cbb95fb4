// YBXIntrinsicImages: the library's built-in button images (the in-app
// browser's back and forward arrows, the close mark of full-screen ads) kept
// as Base64 PNG text, so that the library needs no resource bundle. One shared
// instance; each image is made once on first request. Main thread, like images.
#pragma once

#include <string_view>

#include "adlib/foundation/selectors.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Ref<Object>(id)> browserBackButton{"browserBackButton"};
inline constexpr Sel<Ref<Object>(id)> browserForwardButton{"browserForwardButton"};
inline constexpr Sel<Ref<Object>(id)> closeButton{"closeButton"};
inline constexpr Sel<Ref<Object>(id)> transparentImage{"transparentImage"};
inline constexpr Sel<Ref<Object>(id, std::string)> imageWithBase64EncodedString_{"imageWithBase64EncodedString:"};
inline constexpr Sel<Value(id, Value, Value)> chooseImage_orDoubleDensityImage_{"chooseImage:orDoubleDensityImage:"};
}  // namespace sel

// The shared instance, made once.
Ref<Object> YBXIntrinsicImagesSharedInstance();

void registerIntrinsicImagesClass();

}  // namespace adlib
