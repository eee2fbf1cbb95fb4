// YBXSearchRequest: a convenience for search ads that turns its style
// properties into the additional parameters of a new YBXRequest. A class
// cluster: allocating it makes a YBXSearchRequestPrivate, which alone sets
// backgrounds. Main thread, like the requests it makes.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXSearchRequest : public NSObject {
public:
    // A new request whose additional parameters are the style.
    Ref<Object> request() const;
    Value styleParameters() const;

    // "#rrggbb" of an RGB or grey-scale colour, each component clamped to
    // 0...1; nil for other colours.
    static Value hexStringFromColor(id color);
    static std::string borderTypeString(unsigned long long type);
    static std::string callButtonTypeString(unsigned long long type);

    Value query;
    Ref<Object> backgroundColor, gradientFrom, gradientTo;
    Ref<Object> headerColor, descriptionTextColor, anchorTextColor;
    Value fontFamily;
    unsigned long long headerTextSize = 0;
    Ref<Object> borderColor;
    unsigned long long borderType = 0;  // 0 none, 1 dashed, 2 dotted, 3 solid
    unsigned long long borderThickness = 0;
    Value customChannels;
    unsigned long long callButtonColor = 0;  // 0 light, 1 medium, 2 dark
};

void registerSearchRequestClasses();

}  // namespace adlib
