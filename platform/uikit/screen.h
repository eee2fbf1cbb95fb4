// UIScreen (the main screen's bounds and scale) and UIDevice (system version,
// idiom, model), both from the device traits that boot sets and tests may
// change. Phone screens are 320 x 568 points, pad screens 768 x 1024.
// Main thread only.
#pragma once

#include <string>

#include "platform/uikit/selectors.h"

namespace platform {

inline constexpr long long UIUserInterfaceIdiomPhone = 0;
inline constexpr long long UIUserInterfaceIdiomPad = 1;

inline constexpr long long UIDeviceOrientationPortrait = 1;
inline constexpr long long UIInterfaceOrientationPortrait = 1;
inline constexpr long long UIInterfaceOrientationPortraitUpsideDown = 2;
inline constexpr long long UIInterfaceOrientationLandscapeLeft = 4;
inline constexpr long long UIInterfaceOrientationLandscapeRight = 3;

namespace uikit {
struct DeviceTraits {
    long long interfaceIdiom = UIUserInterfaceIdiomPhone;
    double screenScale = 2.0;
};
void setDeviceTraits(DeviceTraits traits);
const DeviceTraits& deviceTraits();
}  // namespace uikit

class UIScreen : public NSObject {
public:
    static UIScreen* mainScreen();
    Rect bounds() const;
    double scale() const { return uikit::deviceTraits().screenScale; }
    // The bounds less the 20-point status bar at the top.
    Rect applicationFrame() const;
};

class UIDevice : public NSObject {
public:
    static UIDevice* currentDevice();
    std::string systemVersion() const;  // process::info().systemVersion
    long long userInterfaceIdiom() const { return uikit::deviceTraits().interfaceIdiom; }
    std::string model() const;  // "iPhone" or "iPad"
};

// UI_USER_INTERFACE_IDIOM()
long long UI_USER_INTERFACE_IDIOM();

}  // namespace platform
