// YBXPMSGHandler: the base of the creative message handlers. A handler keeps
// a table from message name to the name of one of its own one-argument
// operations; handleRequest:webView: parses a "pmsg" request and calls the
// operation named for the message with {"webView": the web view, "note": the
// YBXNotification}. Subclasses pass their class-wide table to
// initWithActionSelectorDictionary:. Main thread only.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/request.h"

namespace adlib {

class YBXPMSGHandler : public NSObject {
public:
    // Whether an operation took the message.
    bool handleRequest(NSURLRequest* request, id webView);

    Value actionSelectors_ = Value::Dictionary{};
};

void registerPMSGHandlerClass();

}  // namespace adlib
