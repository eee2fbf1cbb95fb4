// YBXDevice: the library's one view of the device (OS version and its
// comparisons, orientation, screen bounds in portrait terms). A process-wide
// singleton, made on the main thread on first use and then read from any
// thread; what it asks UIKit it asks on the main thread.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"

namespace adlib {

namespace sel {
inline constexpr Sel<void(id, long long*, long long*, long long*)> getOSMajor_minor_bugFix_{"getOSMajor:minor:bugFix:"};
inline constexpr Sel<bool(id, long long, long long, long long)> isOSAtLeastMajor_minor_bug_{"isOSAtLeastMajor:minor:bug:"};
inline constexpr Sel<bool(id)> isOrientationLandscape{"isOrientationLandscape"};
inline constexpr Sel<Rect(id)> standardizedScreenBounds{"standardizedScreenBounds"};
inline constexpr Sel<double(id)> screenDensity{"screenDensity"};
}  // namespace sel

class YBXDevice : public NSObject {
public:
    // The singleton; null when the class is not registered.
    static YBXDevice* currentDevice();

    // UIDevice's systemVersion, read once.
    const std::string& systemVersion();
    // The dot-separated parts of the version; a missing part is 0, a null pointer is skipped.
    void getOSVersion(long long* major, long long* minor, long long* bugFix);
    bool isOSAtLeast(long long major, long long minor, long long bug);
    bool isOrientationLandscape();
    Rect standardizedScreenBounds();
    // The main screen's scale, read once; 1.0 when the screen does not answer scale.
    double screenDensity();
};

void registerDeviceClass();

}  // namespace adlib
