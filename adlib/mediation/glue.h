// YBXMToYBXGlue: sits between a slot and its mediation manager. It checks
// that the mediated ad type fits the slot, is the manager's YBXMDelegate and
// turns the waterfall's events into slot calls; the targeting questions are
// answered from the slot's request, the timings by the slot's statistics.
// Made with its slot, which owns it; main thread.
#pragma once

#include "adlib/foundation/selectors.h"
#include "adlib/mediation/ad_manager.h"

namespace adlib {

class YBXMToYBXGlue : public NSObject {
public:
    ~YBXMToYBXGlue() override;

    void requestAdWithType(id adType, id config);
    bool hasConsistentMediationConfigForAdType(id adType);
    bool changeAdTypeTo(id adType);
    void presentInterstitialFromRootViewController(id controller);
    void cancel();

    WeakRef<Object> slot_;
    WeakRef<Object> mediatedInterstitial_;
    Ref<YBXMAdManager> mediationManager_;
    Ref<YBXMConfig> mediationConfig_;
};

// The notifications the glue posts around a mediated network's full screen.
inline constexpr const char* kYBXWillPresentFullScreenNotification = "kAdModalViewControllerWillPresentFullScreen";
inline constexpr const char* kYBXDidDismissFullScreenNotification = "kAdModalViewControllerDidDismissFullScreen";

void registerGlueClass();

}  // namespace adlib
