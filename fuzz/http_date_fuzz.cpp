// The HTTP date forms of an Expires or Date field.
#include "adlib/foundation/header_parser.h"
#include "fuzz/adlib_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const adlib::fuzz::OneInput input;
    (void)adlib::ybx_dateFromHttpDateString(adlib::fuzz::text(data, size));
    return 0;
}
