// An MRAID message's parameters (a URL query) read as a resize's geometry and
// as a calendar event.
#include "adlib/foundation/url_utilities.h"
#include "adlib/render/mraid_calendar_properties.h"
#include "adlib/render/mraid_pmsg_handler.h"
#include "fuzz/adlib_fuzz_support.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const adlib::fuzz::OneInput input;
    const Value parameters = adlib::ybx_dictionaryFromQuery(adlib::fuzz::text(data, size), false);
    (void)adlib::sel::initWithDictionary_(alloc("YBXMRAIDResizeProperties"), parameters);
    (void)adlib::sel::initWithDictionary_(alloc("YBXMRAIDCalendarProperties"), parameters);
    return 0;
}
