#include "adlib/render/web_view_delegate.h"

#include "platform/foundation/ns_string.h"
#include "platform/network/url.h"
#include "platform/webkit/selectors.h"

namespace adlib {

bool YBXWebViewDelegate::shouldStartLoad(NSURLRequest* request) {
    if (!request || !request->URL()) return false;
    const std::string scheme = lowercaseString(request->URL()->scheme());
    return scheme == "http" || scheme == "https" || scheme == "about";
}

void registerWebViewDelegateClass() {
    ClassBuilder<YBXWebViewDelegate>("YBXWebViewDelegate", "NSObject")
        .protocol("YBXWebViewDelegate")
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id, id, id request, long long) { return YBXWebViewDelegate::shouldStartLoad(as<NSURLRequest>(request)); });
}

}  // namespace adlib
