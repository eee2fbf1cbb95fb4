// YBXViewController: the base of everything the library shows over the
// publisher's screen (web apps and interstitials, the in-app browser, the
// publisher toolbar). It presents itself from a publisher's or another of the
// library's controllers, keeps itself alive while on screen, hides the status
// bar and the idle timer for the first layer over the publisher, tells the
// slot when the ad takes and gives back the screen, and closes when the app
// returns from the background. Main thread only.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/uikit/view_controller.h"

namespace adlib {

// Orientation codes of the full-screen controllers.
inline constexpr long long YBXOrientationAll = 1;
inline constexpr long long YBXOrientationPortrait = 2;
inline constexpr long long YBXOrientationLandscape = 3;

inline constexpr const char* kYBXWillPresentFullScreen = "kAdModalViewControllerWillPresentFullScreen";
inline constexpr const char* kYBXDidDismissFullScreen = "kAdModalViewControllerDidDismissFullScreen";
inline constexpr const char* kYBXNoViewControllerMessage = "No UIViewController supplied to the ad. Cannot continue.";
// The delay after which a presentation counts as appeared when the platform did not say so.
inline constexpr double kYBXAppearanceFallbackDelay = 0.6;

// The interface orientation mask of an orientation code, and whether the code allows an orientation.
unsigned long long YBXInterfaceOrientationMask(long long code);
bool YBXOrientationCodeAllows(long long code, long long interfaceOrientation);

class YBXViewController : public UIViewController {
public:
    ~YBXViewController() override;

    void presentFromViewController(id controller);
    void viewDidAppear(bool animated);
    void viewDidDisappear(bool animated);
    void relinquishScreen();
    void appDidEnterForeground();
    void hideStatusBar(bool remember);
    void restoreStatusBar();

    long long supportedOrientations_ = YBXOrientationAll;
    WeakRef<Object> slot_;
    Ref<Object> retainCycle_;
    bool viewDidAppear_ = false;
    bool statusBarWasHidden_ = false;
    bool publisherIdleTimerDisabled_ = false;
    bool interactingWithParent_ = false;
    bool wasPresentedFromViewController_ = false;
    WeakRef<Object> parent_;
    // Decided at presentation: the parent may be gone when this controller is.
    bool isFirstYBXViewController_ = false;
    // Between a presentation and its relinquishScreen: closing acts once.
    bool onScreen_ = false;
};

// The YBXViewController of an object, or null.
YBXViewController* asYBXViewController(id object);

void registerViewControllerClasses();

}  // namespace adlib
