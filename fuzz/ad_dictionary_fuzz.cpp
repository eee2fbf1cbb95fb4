// An ad dictionary (JSON object) read into a banner's and an interstitial's ad.
#include "adlib/pipeline/ad.h"
#include "fuzz/adlib_fuzz_support.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const adlib::fuzz::OneInput input;
    const Value dictionary = adlib::readJsonIntoDictionary(adlib::fuzz::text(data, size));
    for (const char* cls : {"YBXAd", "YBXAdBanner", "YBXAdInterstitial"}) {
        (void)adlib::sel::initWithDictionary_(alloc(cls), dictionary);
    }
    return 0;
}
