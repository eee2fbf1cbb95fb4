// YBXViewController: the base of the library's full-screen controllers, with
// the web app and in-app browser kinds. So far they hold what the web view
// delegates read of them (slot, web view, host controller, interstitial,
// how they are shown); presenting and giving back the screen come with the
// controllers' own work. Main thread only.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/network/url.h"
#include "platform/uikit/view_controller.h"

namespace adlib {

// Orientation codes of the full-screen controllers.
inline constexpr long long YBXOrientationAll = 1;
inline constexpr long long YBXOrientationPortrait = 2;
inline constexpr long long YBXOrientationLandscape = 3;

class YBXViewController : public UIViewController {
public:
    long long supportedOrientations_ = YBXOrientationAll;
    WeakRef<Object> slot_;
    bool viewDidAppear_ = false;
    // The web app's and the browser's.
    Ref<Object> webView_;
    Ref<Object> webViewDelegate_;
    Ref<Object> hostViewController_;
    WeakRef<Object> interstitial_;
    bool displayingAsTransparentInterstitial_ = false;
    // The web view was handed in (an interstitial's, an expanded banner's).
    bool isExpandable_ = false;
    // What the web app and the browser are handed to load, kept until their view exists.
    Ref<NSURL> URLToLoad_;
    Ref<NSURL> referringURLToLoad_;
    Value HTMLToLoad_;
    Ref<NSURL> HTMLBaseURLToLoad_;
};

void registerViewControllerClasses();

}  // namespace adlib
