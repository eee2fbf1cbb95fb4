// UIScreen (the main screen's bounds, scale and current mode) and UIDevice
// (system version, idiom, model, battery), both from the device traits that
// boot sets and tests may change. Phone screens are 320 x 568 points, pad
// screens 768 x 1024, in portrait; from iOS 8 on the bounds follow the
// interface orientation, as UIKit's do. Main thread only.
#pragma once

#include <sys/utsname.h>

#include <string>

#include "platform/uikit/selectors.h"

namespace platform {

inline constexpr long long UIUserInterfaceIdiomPhone = 0;
inline constexpr long long UIUserInterfaceIdiomPad = 1;

inline constexpr long long UIDeviceOrientationPortrait = 1;
inline constexpr long long UIDeviceOrientationLandscapeLeft = 3;
inline constexpr long long UIDeviceOrientationLandscapeRight = 4;

inline constexpr const char* UIDeviceOrientationDidChangeNotification = "UIDeviceOrientationDidChangeNotification";

inline constexpr long long UIDeviceBatteryStateUnknown = 0;
inline constexpr long long UIDeviceBatteryStateUnplugged = 1;
inline constexpr long long UIDeviceBatteryStateCharging = 2;
inline constexpr long long UIDeviceBatteryStateFull = 3;
inline constexpr long long UIInterfaceOrientationPortrait = 1;
inline constexpr long long UIInterfaceOrientationPortraitUpsideDown = 2;
inline constexpr long long UIInterfaceOrientationLandscapeLeft = 4;
inline constexpr long long UIInterfaceOrientationLandscapeRight = 3;

namespace uikit {
struct DeviceTraits {
    long long interfaceIdiom = UIUserInterfaceIdiomPhone;
    double screenScale = 2.0;
    // "" gives the idiom's model; an iPad may run a phone app.
    std::string model;
    // uname's machine; "" gives "iPhone7,2" or "iPad4,1" by the idiom.
    std::string machine;
    float batteryLevel = 1.0f;  // -1 unknown
    long long batteryState = UIDeviceBatteryStateFull;
};
void setDeviceTraits(DeviceTraits traits);
const DeviceTraits& deviceTraits();

// The interface orientation the screen's bounds follow (the status bar's).
long long interfaceOrientation();
void setInterfaceOrientation(long long orientation);
// Tests: turns the device; sets the device orientation, the status-bar
// orientation (which the screen's bounds follow) and posts what the status
// bar posts. When the interface turns, the topmost presented controller of
// the key window hears willRotateToInterfaceOrientation:duration: before and
// didRotateFromInterfaceOrientation: (the old orientation) after. Main thread.
// bar posts, and UIDeviceOrientationDidChangeNotification while the device
// generates orientation notifications. Main thread.
void rotateDevice(long long interfaceOrientation);
}  // namespace uikit

class UIScreen : public NSObject {
public:
    static UIScreen* mainScreen();
    Rect bounds() const;
    // The bounds in portrait, whatever the orientation.
    Rect portraitBounds() const;
    double scale() const { return uikit::deviceTraits().screenScale; }
    // The bounds less the 20-point status bar at the top.
    Rect applicationFrame() const;
};

class UIDevice : public NSObject {
public:
    static UIDevice* currentDevice();
    std::string systemVersion() const;  // process::info().systemVersion
    long long userInterfaceIdiom() const { return uikit::deviceTraits().interfaceIdiom; }
    std::string model() const;  // "iPhone" or "iPad" unless the traits say
    // -1 and unknown while monitoring is off, as UIKit answers.
    float batteryLevel() const;
    long long batteryState() const;
    bool batteryMonitoringEnabled_ = false;
    long long orientation_ = UIDeviceOrientationPortrait;
    // beginGeneratingDeviceOrientationNotifications nests: notifications come
    // while the count is above 0.
    long long orientationNotificationCount_ = 0;
};

class UIScreenMode : public NSObject {
public:
    Size size_;  // pixels
};

// uname(3): the machine from the device traits, the rest fixed.
int uname(struct utsname* name);

// UI_USER_INTERFACE_IDIOM()
long long UI_USER_INTERFACE_IDIOM();

}  // namespace platform
