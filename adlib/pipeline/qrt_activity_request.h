// What a publisher reports about user activity (QRTActivityRequest) and what
// the library says about itself with it (QRTCoreMetadata), each as the compact
// JSON text the controller page's script takes (YBXJSONSerializable). Plain
// values, copied on creation; any thread.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"

namespace adlib {

class QRTActivityRequest : public NSObject {
public:
    static Ref<QRTActivityRequest> make(const Value& adUnitID, const Value& publisherProvidedID, const Value& customParameters);

    std::string JSONStringValue() const;

    Value adUnitID;             // a string or nil
    Value publisherProvidedID;  // a string or nil
    Value customParameters;     // a dictionary or nil
};

class QRTCoreMetadata : public NSObject {
public:
    // {"major": 6, "minor": 12, "patch": 2}
    static Value SDKVersion();
    std::string JSONStringValue() const;
};

void registerActivityRequestClasses();

}  // namespace adlib
