// The ad library's selectors: the platform's, and those of the library's own
// classes and of the ybx_ methods it adds to platform classes, each declared
// once with its signature. ':' is written '_'.
#pragma once

#include <functional>

#include "platform/foundation/error.h"
#include "platform/frameworks/selectors.h"
#include "platform/uikit/selectors.h"

namespace adlib {
using namespace platform;

namespace sel {
using namespace platform::sel;

// A request as the errors see it (YBXRequest): its URL parameters, a dictionary or nil.
inline constexpr Sel<Value(id)> parameters{"parameters"};

// --- YBXWebView: the wrapper around the inner UIWebView ---------------------------------------
inline constexpr Sel<Ref<Object>(id)> webView{"webView"};
inline constexpr Sel<bool(id)> optoraUnloadPingReceived{"optoraUnloadPingReceived"};
inline constexpr Sel<void(id, bool)> setOptoraUnloadPingReceived_{"setOptoraUnloadPingReceived:"};

// --- YBXPMSGHandler: creative message handlers --------------------------------------------------
// (class) message name -> operation name, the table of a handler class.
inline constexpr Sel<Value(id)> actionSelectorDictionary{"actionSelectorDictionary"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithActionSelectorDictionary_{"initWithActionSelectorDictionary:"};
inline constexpr Sel<Value(id)> actionSelectors{"actionSelectors"};
// (URL request, web view) whether the handler took the message.
inline constexpr Sel<bool(id, id, id)> handleRequest_webView_{"handleRequest:webView:"};

}  // namespace sel
}  // namespace adlib
