// YBXPublisherToolbarCredentials: the publisher toolbar's sign-in, kept in the
// standard user defaults. For now only whether any are stored. Any thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

inline constexpr const char* kYBXToolbarCredentialsKey = "OrvaneAdsSDKToolbarCredentials";

// A dictionary is stored under the credentials key.
bool YBXHasToolbarCredentials();

void registerPublisherToolbarCredentialsClass();

}  // namespace adlib
