// A native ad's configuration (JSON) read into the ad of the format it names.
#include "adlib/pipeline/native_ad.h"
#include "fuzz/adlib_fuzz_support.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const adlib::fuzz::OneInput input;
    const Value configuration = adlib::readJsonIntoDictionary(adlib::fuzz::text(data, size));
    Class* nativeAd = objc_getClass("YBXNativeAd");
    Class* cls = adlib::sel::classFromAdConfigurationDictionary_(nativeAd, configuration);
    const Value adObject = adlib::sel::firstAdObjectInAdConfigurationDictionary_(nativeAd, configuration);
    // Each format reads the ad object, whichever the configuration names.
    for (const char* format : {"YBXNativeAppInstallAd", "YBXNativeContentAd"}) {
        Ref<Object> ad = adlib::sel::initWithDictionary_(alloc(format), adObject);
        if (ad) (void)as<adlib::YBXNativeAd>(ad.get())->requiredAssetsDisplayed("fuzz");
    }
    if (cls) (void)adlib::sel::initWithDictionary_(alloc(cls->name()), adObject);
    return 0;
}
