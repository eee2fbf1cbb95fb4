// YBXMToYBXGlue: sits between a slot and its mediation manager. For now the
// parts the slot calls: its weak slot, the mediation request (which stores
// its configuration), cancelling, the ad-type change (which no manager takes
// yet), the mediated interstitial and its presentation.
// Main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXMToYBXGlue : public NSObject {
public:
    WeakRef<Object> slot_;
    WeakRef<Object> mediatedInterstitial_;
    Ref<Object> mediationManager_;
    Ref<Object> mediationConfig_;
};

void registerGlueClass();

}  // namespace adlib
