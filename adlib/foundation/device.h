// YBXDevice: the library's one view of the device (OS version and its
// comparisons, model, language, screen, orientation, audio route, radio
// technology, the last browser user agent, the hashed advertising identifier)
// and the device parameters of every ad request. A process-wide singleton,
// made on the main thread on first use and then read from any thread; what it
// asks UIKit it asks on the main thread. Its five strings are guarded by its
// serial queue: reads wait, writes do not.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/dispatch.h"

namespace adlib {

namespace sel {
inline constexpr Sel<void(id, long long*, long long*, long long*)> getOSMajor_minor_bugFix_{"getOSMajor:minor:bugFix:"};
inline constexpr Sel<bool(id, long long, long long, long long)> isOSAtLeastMajor_minor_bug_{"isOSAtLeastMajor:minor:bug:"};
inline constexpr Sel<bool(id)> isOrientationLandscape{"isOrientationLandscape"};
inline constexpr Sel<Rect(id)> standardizedScreenBounds{"standardizedScreenBounds"};
inline constexpr Sel<Rect(id)> standardizedApplicationFrame{"standardizedApplicationFrame"};
inline constexpr Sel<double(id)> screenDensity{"screenDensity"};
inline constexpr Sel<bool(id)> OSIsSupported{"OSIsSupported"};
inline constexpr Sel<Ref<Object>(id)> identifierManager{"identifierManager"};
inline constexpr Sel<std::string(id)> deviceIdentifier{"deviceIdentifier"};
inline constexpr Sel<Value(id)> deviceModel{"deviceModel"};
inline constexpr Sel<Value(id)> deviceSubmodel{"deviceSubmodel"};
inline constexpr Sel<Value(id)> locale{"locale"};
inline constexpr Sel<Value(id)> baseSDKVersion{"baseSDKVersion"};
inline constexpr Sel<unsigned long(id)> audioRoute{"audioRoute"};
inline constexpr Sel<bool(id)> userInterfaceIdiomIsPhone{"userInterfaceIdiomIsPhone"};
inline constexpr Sel<Value(id, Value)> canOpenURLs_{"canOpenURLs:"};
inline constexpr Sel<Value(id)> radioAccessTechnology{"radioAccessTechnology"};
inline constexpr Sel<void(id, Value)> setRadioAccessTechnology_{"setRadioAccessTechnology:"};
inline constexpr Sel<Value(id)> lastKnownRadioAccessTechnology{"lastKnownRadioAccessTechnology"};
inline constexpr Sel<Value(id)> userAgentString{"userAgentString"};
inline constexpr Sel<void(id, Value)> setUserAgentString_{"setUserAgentString:"};
inline constexpr Sel<void(id)> enableRadioAccessTechnologyChecking{"enableRadioAccessTechnologyChecking"};
inline constexpr Sel<void(id)> disableRadioAccessTechnologyChecking{"disableRadioAccessTechnologyChecking"};
}  // namespace sel

// Audio route codes.
inline constexpr unsigned long YBXAudioRouteSpeaker = 1;
inline constexpr unsigned long YBXAudioRouteHeadphones = 2;
inline constexpr unsigned long YBXAudioRouteNone = 3;
inline constexpr unsigned long YBXAudioRouteOther = 5;

class YBXDevice : public NSObject {
public:
    ~YBXDevice() override;

    // The singleton; null when the class is not registered.
    static YBXDevice* currentDevice();

    // UIDevice's systemVersion, read once.
    const std::string& systemVersion();
    // The dot-separated parts of the version; a missing part is 0, a null pointer is skipped.
    void getOSVersion(long long* major, long long* minor, long long* bugFix);
    bool isOSAtLeast(long long major, long long minor, long long bug);
    bool OSIsSupported();
    bool isOrientationLandscape();
    bool userInterfaceIdiomIsPhone();
    Rect standardizedScreenBounds();
    Rect standardizedApplicationFrame();
    // The main screen's scale, read once; 1.0 when the screen does not answer scale.
    double screenDensity();
    // Once-computed: UIDevice's model, uname's machine, the first preferred
    // language lower-cased (nil when there is none), the SDK the app was built with.
    const std::string& deviceModel();
    const std::string& deviceSubmodel();
    const Value& locale();
    const Value& baseSDKVersion();

    // The shared ASIdentifierManager on OS 6 and later, else null.
    Ref<Object> identifierManager();
    // MD5 hex of the advertising identifier; "" when tracking is off.
    std::string deviceIdentifier();
    // Each URL text to whether UIApplication can open it.
    Value canOpenURLs(const Value& urls);
    unsigned long audioRoute();

    Value radioAccessTechnology();
    Value lastKnownRadioAccessTechnology();
    Value userAgentString();
    void setRadioAccessTechnology(const Value& technology);
    void setUserAgentString(const Value& userAgent);
    void enableRadioAccessTechnologyChecking();
    void disableRadioAccessTechnologyChecking();

    // The device parameters of every ad request.
    Value parameters();

    // Read on the lock queue.
    std::string cachedAdvertisingID();

private:
    friend void registerDeviceClass();
    void setUp();

    dispatch_queue_t lockQueue_ = nullptr;
    Ref<Object> radioAccessTechnologyChangeObserver_;
    Ref<Object> networkInfo_;
    Value lastKnownRadioAccessTechnology_{""};
    Value radioAccessTechnology_;
    Value userAgentString_{""};
    std::string cachedAdvertisingID_;
    std::string cachedMD5AdvertisingID_;
    Ref<Object> network_;
};

// The "ios_metadata" value: YBXApplication's iTunesMetadata, nil while that
// class is not there.
Value applicationITunesMetadata();

void registerDeviceClass();

}  // namespace adlib
