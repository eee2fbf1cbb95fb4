// A creative's "pmsg" URL read into a notification, and the notification's
// name and parameters handed back to a page as a script call.
#include "adlib/foundation/notification_center.h"
#include "fuzz/adlib_fuzz_support.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const adlib::fuzz::OneInput input;
    Ref<NSURL> url = NSURL::URLWithString(std::string(adlib::fuzz::text(data, size)));
    if (!url) return 0;
    (void)adlib::YBXNotification::isNotificationURL(url.get());
    if (Ref<adlib::YBXNotification> note = adlib::YBXNotification::fromURL(url.get())) {
        if (note->name().empty()) std::abort();
        (void)note->description();
        (void)adlib::YBXNotificationCenter::JSCommandForNotificationName(note->name(), note->parameters());
    }
    return 0;
}
