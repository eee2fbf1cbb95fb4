#include "adlib/render/publisher_toolbar_credentials.h"

#include "platform/foundation/user_defaults.h"

namespace adlib {

bool YBXHasToolbarCredentials() {
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    return defaults && defaults->objectForKey(kYBXToolbarCredentialsKey).isDictionary();
}

void registerPublisherToolbarCredentialsClass() {
    ClassBuilder<NSObject>("YBXPublisherToolbarCredentials", "NSObject").classMethod(sel::hasToolbarCredentials, [](id) {
        return YBXHasToolbarCredentials();
    });
}

}  // namespace adlib
