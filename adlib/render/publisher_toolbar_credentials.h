// YBXPublisherToolbarCredentials: the publisher toolbar's sign-in, kept in the
// standard user defaults for the next time. Every write, from any instance or
// thread, goes under one class-wide lock and is synchronised at once.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/foundation/lock.h"

namespace adlib {

inline constexpr const char* kYBXToolbarCredentialsKey = "OrvaneAdsSDKToolbarCredentials";

// A dictionary is stored under the credentials key.
bool YBXHasToolbarCredentials();

class YBXPublisherToolbarCredentials : public NSObject {
public:
    static NSLock* credentialsLock();

    // Reads the stored dictionary.
    void setUp();
    void storeCredentials(const Value& credentials);
    void clearCredentials();
    Value credentials() const;

private:
    mutable std::mutex mutex_;  // the copy, read while another thread writes
    Value credentials_;
};

void registerPublisherToolbarCredentialsClass();

}  // namespace adlib
