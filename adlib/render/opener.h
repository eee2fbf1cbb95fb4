// YBXOpener: carries out the destinations a creative or a click leads to, each
// behind the auto-click gate. For now it holds what the slot and the web view
// delegates set on it (the slot, the delegate, the gate's flag, the
// presenting controller, the web view, the referring and navigation URLs);
// its openings do nothing yet. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/url.h"

namespace adlib {

class YBXOpener : public NSObject {
public:
    WeakRef<Object> slot_;
    WeakRef<Object> delegate_;
    WeakRef<Object> viewController_;
    WeakRef<Object> webView_;
    Ref<NSURL> referringURL_;
    Value navigationURL_;
    bool autoClickProtected_ = false;
};

void registerOpenerClass();

}  // namespace adlib
