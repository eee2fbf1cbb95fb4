// YBXOpener: carries out the destinations a creative or a click leads to, each
// behind the auto-click gate. For now it holds what the slot and the web view
// delegates set on it: the slot, the delegate and the gate's flag. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXOpener : public NSObject {
public:
    WeakRef<Object> slot_;
    WeakRef<Object> delegate_;
    bool autoClickProtected_ = false;
};

void registerOpenerClass();

}  // namespace adlib
