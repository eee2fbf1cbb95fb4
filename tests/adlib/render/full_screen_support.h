// What the full-screen controller tests share: a slot that records what the
// controllers tell it (MRAID or not, with an ad whose statistics are read),
// and a count of the platform's own appearance handling for the library's
// controllers.
#pragma once

#include <string>
#include <vector>

#include "adlib/foundation/selectors.h"
#include "adlib/foundation/statistic_dictionary.h"

namespace adlib::testing {

inline std::vector<std::string>& slotCalls() {
    static std::vector<std::string> log;
    return log;
}

class FullScreenSlot : public NSObject {
public:
    Ref<Object> ad;
    bool mraid = false;
};

class FullScreenAd : public NSObject {
public:
    Ref<YBXStatisticDictionary> statistics = YBXStatisticDictionary::make();
};

inline int platformAppearances = 0;
inline void (*previousViewDidAppear)(id, bool) = nullptr;

inline void registerFullScreenFakes() {
    ClassBuilder<FullScreenAd>("FullScreenTestAd", "NSObject").method(sel::statistics, [](id self) {
        return Ref<Object>(as<FullScreenAd>(self)->statistics);
    });
    ClassBuilder<FullScreenSlot>("FullScreenTestSlot", "NSObject")
        .method(sel::adWillPresentScreen, [](id) { slotCalls().push_back("adWillPresentScreen"); })
        .method(sel::adWillDismissScreen, [](id) { slotCalls().push_back("adWillDismissScreen"); })
        .method(sel::adDidDismissScreen, [](id) { slotCalls().push_back("adDidDismissScreen"); })
        .method(sel::interstitialViewWillAppear, [](id) { slotCalls().push_back("interstitialViewWillAppear"); })
        .method(sel::interstitialViewWillDisappear, [](id) { slotCalls().push_back("interstitialViewWillDisappear"); })
        .method(sel::pingClickURLs, [](id) { slotCalls().push_back("pingClickURLs"); })
        .method(sel::adWillLeaveApplication, [](id) { slotCalls().push_back("adWillLeaveApplication"); })
        .method(sel::willLeaveAppDueToClick, [](id) { slotCalls().push_back("willLeaveAppDueToClick"); })
        .method(sel::isMRAIDEnabled, [](id self) { return as<FullScreenSlot>(self)->mraid; })
        // The slot's own web view: none of the controllers' pages.
        .method(sel::webView, [](id) { return Ref<Object>(); })
        .method(sel::ad, [](id self) { return as<FullScreenSlot>(self)->ad; });
    MSHookMessageEx(objc_getClass("UIViewController"), sel::viewDidAppear_,
                    +[](id self, bool animated) {
                        if (isKindOfClass(self, "YBXViewController")) ++platformAppearances;
                        previousViewDidAppear(self, animated);
                    },
                    &previousViewDidAppear);
}

// A recording slot with its ad.
inline Ref<Object> makeFullScreenSlot(bool mraid = false) {
    Ref<Object> slot = newObject("FullScreenTestSlot");
    as<FullScreenSlot>(slot.get())->ad = newObject("FullScreenTestAd");
    as<FullScreenSlot>(slot.get())->mraid = mraid;
    return slot;
}

}  // namespace adlib::testing
