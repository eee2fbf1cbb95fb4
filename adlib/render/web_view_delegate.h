// YBXWebViewDelegate: the library's standard delegate of its web views. For
// now it holds the navigation policy that every web view falls back on: web
// pages and blank pages load, everything else is refused. Main thread only.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/request.h"

namespace adlib {

class YBXWebViewDelegate : public NSObject {
public:
    static bool shouldStartLoad(NSURLRequest* request);
};

void registerWebViewDelegateClass();

}  // namespace adlib
