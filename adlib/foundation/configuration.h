// Where the library's ad server lives: its base URL (scheme, host, port) and
// the publisher-ads serving host. Read once, at first use, from the
// environment, else the standard user defaults of the same names, else our
// test ad server's loopback address. Any thread.
#pragma once

#include <string>

namespace adlib {

// tools/ad-server's default address.
inline constexpr const char* kYBXDefaultAdServerURL = "http://127.0.0.1:47800";
// Not the ad server's default host, so that by default no ad-server URL is a publisher-ads URL.
inline constexpr const char* kYBXDefaultHNVHost = "localhost";
inline constexpr const char* kYBXSDKCorePagePath = "/mads/static/sdk/native/sdk-core-v40.html";

// "scheme://host[:port]", without a trailing "/".
const std::string& YBXAdServerBaseURL();
const std::string& YBXHNVHost();
// The hidden ad-server page: the base URL and kYBXSDKCorePagePath.
std::string YBXSDKCorePageURL();

}  // namespace adlib
