// YBXRequest: the publisher's description of one ad request (targeting, test
// settings, network extras, native formats) and its part of the request
// parameters; also the library's version strings. Bound to the main thread
// (checked in debug builds): the slot builds its parameters there.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"

namespace adlib {

// The library's version.
inline constexpr int kYBXSDKVersionMajor = 6, kYBXSDKVersionMinor = 12, kYBXSDKVersionPatch = 2;

class YBXRequest : public NSObject {
public:
    // The class's one-time initialisation: the application's early
    // activities, then the publisher log line on test ads.
    static void initializeClass();

    static long long requestTypeFromString(const Value& text);
    static const std::string& sdkVersion();
    static std::string sdkVersionMetadata();
    static std::string sdkVersionIdentifiers();
    static const std::string& extendedSDKVersionNumber();

    Ref<YBXRequest> copy() const;
    std::string description() const;

    void registerAdNetworkExtras(id extras);
    Ref<Object> adNetworkExtrasFor(const Class* cls) const;
    void removeAdNetworkExtrasFor(const Class* cls);
    Ref<Object> networkExtras() const;
    void setAdditionalParameters(const Value& parameters);
    // The extras' additional parameters. Reading them for the request's
    // parameters uses up a use-once entry; any other read leaves it.
    enum class UseOnce { keep, consume };
    Value networkExtrasAdditionalParameters(UseOnce use = UseOnce::keep);

    Value genderString() const;
    void setBirthday(long long month, long long day, long long year);
    Value birthdayString() const;
    Value contentURLString() const;
    void setLocation(double latitude, double longitude, double accuracy);
    void setLocationDescription(const Value& description);
    void addKeyword(const Value& keyword);
    Value analyticsIDs() const;
    bool isATestDevice() const;
    Value parameters();
    void addQRTParameters(Value::Dictionary& parameters) const;

    Value::Dictionary networkExtrasMap;  // class name to extras object
    Value testDevices;
    bool testing = false;
    Value formatParameters;
    Value mediationExtras;
    Value privateMediationExtras;
    long long gender = 0;
    Value birthday;
    Ref<Object> location;
    Value childDirectedTreatment;
    Value keywords;
    Value contentURL;
    long long responseType = 0;
};

void registerRequestClass();

}  // namespace adlib
