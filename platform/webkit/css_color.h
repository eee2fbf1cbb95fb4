// CSS colour values as the page engine reports them: "#rgb", "#rgba",
// "#rrggbb", "#rrggbbaa", "rgb()", "rgba()" and the common named colours.
// Transparent colours (alpha 0) and text that is no colour give nothing.
#pragma once

#include <optional>
#include <string_view>

#include "platform/webkit/page_engine.h"

namespace platform::webkit {

std::optional<Rgba8> parseCssColor(std::string_view text);

}  // namespace platform::webkit
