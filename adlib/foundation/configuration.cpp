#include "adlib/foundation/configuration.h"

#include <cstdlib>

#include "platform/foundation/user_defaults.h"

namespace adlib {

namespace {

std::string setting(const char* name, const char* fallback) {
    if (const char* env = std::getenv(name); env && *env) return env;
    if (auto* defaults = platform::NSUserDefaults::standardUserDefaults()) {
        platform::Value stored = defaults->stringForKey(name);
        if (stored.isString() && !stored.string().empty()) return stored.string();
    }
    return fallback;
}

}  // namespace

const std::string& YBXAdServerBaseURL() {
    // These two are never destroyed: queue workers may still read them while the process exits.
    static const std::string& url = *new std::string([] {
        std::string u = setting("ADLIB_AD_SERVER_URL", kYBXDefaultAdServerURL);
        while (!u.empty() && u.back() == '/') u.pop_back();
        return u;
    }());
    return url;
}

const std::string& YBXHNVHost() {
    static const std::string& host = *new std::string(setting("ADLIB_HNV_HOST", kYBXDefaultHNVHost));
    return host;
}

std::string YBXSDKCorePageURL() { return YBXAdServerBaseURL() + kYBXSDKCorePagePath; }

}  // namespace adlib
