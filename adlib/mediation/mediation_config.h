// YBXMConfig: a mediation response parsed once per ad load, the ad networks of
// its waterfall in response order; YBXMAdNetworkConfig: one of those networks
// with the adapter class chosen for it. Neither changes after parsing, so the
// slot, the manager, connectors and adapters share them. Main thread.
#pragma once

#include <vector>

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXMAdNetworkConfig : public NSObject {
public:
    // Builds the entry from one element of "ad_networks". A missing or wrong
    // "id" is an error without an entry (false); a network without a usable
    // adapter keeps its entry (true) and still sets `error`.
    bool parse(const Value& dictionary, Ref<NSError>* error);
    // "pubid" of the credentials: a string, a number's decimal text, else nil.
    Value publisherID() const;
    std::string description() const;

    Value networkID;
    Value credentials;
    Value extras;
    Value ad;
    Value allocationID;
    Value impressionURLs;
    Value adapterList;
    Class* adapterClass = nullptr;
};

class YBXMConfig : public NSObject {
public:
    // The app key copied, no networks, animation 8, time-out 10 seconds, then
    // the dictionary parsed; false and the error when it does not parse.
    bool initialize(const Value& appKey, const Value& dictionary, Ref<NSError>* error);
    // Keeps values below 30000 seconds (negative ones too); 30000 or more means no refresh.
    void setRefreshInterval(double seconds);
    std::string description() const;
    Value adNetworkConfigsArray() const;

    // "ad_type" of a configuration dictionary; never nil.
    static Ref<Object> peekAdTypeFromConfig(const Value& dictionary);
    // The exact names of the table; anything else is a banner of the invalid size.
    static Ref<Object> adTypeFromString(const Value& name);

    Value appKey;
    Ref<Object> adType;
    Value qdata;
    double refreshInterval = 0;
    double adNetworkTimeout = 10.0;
    long long bannerAnimationType = 8;
    Value impressionURLs;
    Value clickURLs;
    Value noFillURLs;
    std::vector<Ref<YBXMAdNetworkConfig>> adNetworkConfigs;

private:
    void parseSettings(const Value& settings);
};

void registerMediationConfigClasses();

}  // namespace adlib
