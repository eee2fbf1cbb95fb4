// A mediation response (JSON) read into its configuration and waterfall.
#include "adlib/mediation/mediation_config.h"
#include "fuzz/adlib_fuzz_support.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const adlib::fuzz::OneInput input;
    const Value dictionary = adlib::readJsonIntoDictionary(adlib::fuzz::text(data, size));
    (void)adlib::YBXMConfig::peekAdTypeFromConfig(dictionary);
    Ref<NSError> error;
    Ref<Object> config = adlib::sel::initWithAppKey_configDict_error_(alloc("YBXMConfig"), Value("fuzz-unit"), dictionary, &error);
    if (!config) return 0;
    auto* parsed = as<adlib::YBXMConfig>(config.get());
    (void)parsed->description();
    for (const auto& network : parsed->adNetworkConfigs) {
        (void)network->publisherID();
        (void)network->description();
    }
    return 0;
}
