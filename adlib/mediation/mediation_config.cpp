#include "adlib/mediation/mediation_config.h"

#include <cctype>

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/mediation/ad_network_adapter.h"
#include "platform/foundation/format.h"

namespace adlib {

namespace {

constexpr long long kRefreshLimit = 30000;
constexpr long long kMaxAnimationType = 8;
constexpr const char* kNoAdapterFormat =
    "Cannot find an ad network adapter with the name(s): %@. Remember to link all required ad network adapters and SDKs, and set -ObjC in the 'Other Linker Flags' setting of your build target.";

// A number, or a string whose text begins with a number after white space.
bool hasIntegerValue(const Value& value) {
    if (value.isNumber()) return true;
    if (!value.isString()) return false;
    const std::string& text = value.string();
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

Ref<NSError> mediationError(long long code, std::string message) {
    return as<NSError>(sel::errorWithCode_customMessage_(YBXRequestErrorClass(), code, Value(std::move(message))));
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& name : names) out += (out.empty() ? "" : ", ") + name;
    return out;
}

YBXMConfig* configOf(id self) { return as<YBXMConfig>(self); }
YBXMAdNetworkConfig* networkOf(id self) { return as<YBXMAdNetworkConfig>(self); }

}  // namespace

// --- YBXMAdNetworkConfig ------------------------------------------------------------------------

bool YBXMAdNetworkConfig::parse(const Value& dictionary, Ref<NSError>* error) {
    const Value& identifier = dictionary["id"];
    if (identifier.isNil()) {
        if (error)
            *error = mediationError(YBXErrorCodeInvalidMediationResponse,
                                    "The Marlex Mediation response was invalid: An ad network config has no network ID.");
        return false;
    }
    if (identifier.isString()) {
        networkID = identifier;
    } else if (identifier.isNumber()) {
        networkID = Value(identifier.description());
    } else {
        if (error)
            *error = mediationError(YBXErrorCodeInvalidMediationResponse,
                                    "The Marlex Mediation response was invalid: An ad network config has an invalid network ID.");
        return false;
    }
    auto dictionaryFor = [&](const char* key) { return dictionary[key].isDictionary() ? dictionary[key] : Value(); };
    auto arrayFor = [&](const char* key) { return dictionary[key].isArray() ? dictionary[key] : Value(); };
    credentials = dictionaryFor("data");
    extras = dictionaryFor("extras");
    ad = dictionaryFor("ad");
    allocationID = dictionary["allocation_id"];
    impressionURLs = arrayFor("imp_urls");
    adapterList = arrayFor("adapters");

    std::vector<std::string> oldAdapters;
    for (const Value& name : adapterList.array()) {
        // A name that is no string names no class.
        if (!name.isString()) continue;
        Class* cls = NSClassFromString(name.string());
        if (!cls) continue;
        if (!YBXMClassImplementsCurrentAdapterAPI(cls)) {
            oldAdapters.push_back(name.string());
            continue;
        }
        if (YBXMClassIsAdapterClass(cls)) {
            adapterClass = cls;
            break;
        }
    }

    if (!oldAdapters.empty()) {
        std::string tail = adapterClass ? "" : " No valid adapters found for this ad network.";
        std::string message = oldAdapters.size() == 1
                                  ? format("Ad network adapter %@ implements an old API. Please update the adapter.%@", joined(oldAdapters), tail)
                                  : format("Ad network adapters (%@) implement an old API. Please update the adapters.%@", joined(oldAdapters), tail);
        if (error) *error = mediationError(YBXErrorCodeNoAdapter, std::move(message));
    } else if (!adapterClass) {
        if (error)
            *error = mediationError(YBXErrorCodeNoAdapter,
                                    format(kNoAdapterFormat, adapterList));
    }
    return true;
}

Value YBXMAdNetworkConfig::publisherID() const {
    const Value& pubid = credentials["pubid"];
    if (pubid.isString()) return pubid;
    if (pubid.isNumber()) return Value(pubid.description());
    return Value();
}

std::string YBXMAdNetworkConfig::description() const {
    Value pubid = publisherID();
    return format("networkID:%@ adapter:%@ data:%@", networkID, adapterClass ? Value(adapterClass->name()) : Value(),
                  pubid.isNil() ? Value(credentials.description()) : pubid);
}

// --- YBXMConfig ------------------------------------------------------------------------------------

bool YBXMConfig::initialize(const Value& key, const Value& dictionary, Ref<NSError>* error) {
    appKey = key.isString() ? key : Value();
    adNetworkConfigs.clear();
    bannerAnimationType = kMaxAnimationType;
    adNetworkTimeout = 10.0;

    adType = peekAdTypeFromConfig(dictionary);
    if (dictionary["settings"].isDictionary()) parseSettings(dictionary["settings"]);
    if (!dictionary["qdata"].isNil()) qdata = dictionary["qdata"];
    const Value& networks = dictionary["ad_networks"];
    if (!networks.isArray()) {
        if (error) *error = as<NSError>(sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeInvalidMediationResponse));
        return false;
    }
    for (const Value& element : networks.array()) {
        if (!element.isDictionary()) continue;
        Ref<YBXMAdNetworkConfig> network = as<YBXMAdNetworkConfig>(alloc("YBXMAdNetworkConfig"));
        Ref<NSError> networkError;
        if (network && network->parse(element, &networkError)) adNetworkConfigs.push_back(network);
        if (!networkError) continue;
        if (networkError->code() != YBXErrorCodeNoAdapter) {
            if (error) *error = networkError;
            return false;
        }
        pubLog(format("%@", networkError->description()));
    }
    return true;
}

void YBXMConfig::parseSettings(const Value& settings) {
    if (hasIntegerValue(settings["refresh"])) setRefreshInterval(static_cast<double>(settings["refresh"].integerValue()));
    if (hasIntegerValue(settings["ad_network_timeout_millis"]))
        adNetworkTimeout = static_cast<double>(settings["ad_network_timeout_millis"].integerValue()) / 1000.0;
    if (hasIntegerValue(settings["ad_transition_anim"])) {
        long long animation = settings["ad_transition_anim"].integerValue();
        if (animation >= 0 && animation <= kMaxAnimationType) bannerAnimationType = animation;
    }
    auto arrayFor = [&](const char* key) { return settings[key].isArray() ? settings[key] : Value(); };
    impressionURLs = arrayFor("imp_urls");
    clickURLs = arrayFor("click_urls");
    noFillURLs = arrayFor("nofill_urls");
}

void YBXMConfig::setRefreshInterval(double seconds) { refreshInterval = seconds >= kRefreshLimit ? 0 : seconds; }

Value YBXMConfig::adNetworkConfigsArray() const {
    Value::Array networks;
    for (const auto& network : adNetworkConfigs) networks.emplace_back(network);
    return Value(std::move(networks));
}

std::string YBXMConfig::description() const {
    std::string base = sel::description.super(objc_getClass("YBXMConfig"), const_cast<YBXMConfig*>(this)).string();
    std::string own = format("qdata:%@ adTypeString:%@ refresh:%f transition:%ld", qdata, adType, refreshInterval, bannerAnimationType);
    return format("%@:\n%@ ad_networks:%@", base, own, adNetworkConfigsArray());
}

Ref<Object> YBXMConfig::peekAdTypeFromConfig(const Value& dictionary) { return adTypeFromString(dictionary["ad_type"]); }

Ref<Object> YBXMConfig::adTypeFromString(const Value& name) {
    static const std::pair<const char*, const YBXAdSize*> kBanners[] = {
        {"banner", &kYBXAdSizeBanner},         {"largebanner", &kYBXAdSizeLargeBanner}, {"mrec", &kYBXAdSizeMediumRectangle},
        {"fullbanner", &kYBXAdSizeFullBanner}, {"leaderboard", &kYBXAdSizeLeaderboard}, {"skyscraper", &kYBXAdSizeSkyscraper},
    };
    Class* typeClass = objc_getClass("YBXAdType");
    if (name.isString() && name.string() == "interstitial") return sel::interstitialAdType(typeClass);
    for (const auto& [text, size] : kBanners)
        if (name.isString() && name.string() == text) return sel::bannerAdTypeForSize_(typeClass, *size);
    return sel::bannerAdTypeForSize_(typeClass, kYBXAdSizeInvalid);
}

// --- registration ------------------------------------------------------------------------------------

void registerMediationConfigClasses() {
    ClassBuilder<YBXMAdNetworkConfig>("YBXMAdNetworkConfig", "NSObject")
        .method(sel::initWithDictionary_error_,
                [](id self, Value dictionary, Ref<NSError>* error) -> Ref<Object> {
                    Ref<NSError> made;
                    bool built = networkOf(self) && networkOf(self)->parse(dictionary, &made);
                    if (error) *error = made;
                    return built ? Ref<Object>(self) : nullptr;
                })
        .getter<&YBXMAdNetworkConfig::networkID>(sel::networkID)
        .getter<&YBXMAdNetworkConfig::credentials>(sel::credentials)
        .getter<&YBXMAdNetworkConfig::extras>(sel::extras)
        .getter<&YBXMAdNetworkConfig::ad>(sel::adDictionary)
        .getter<&YBXMAdNetworkConfig::allocationID>(sel::allocationID)
        .getter<&YBXMAdNetworkConfig::impressionURLs>(sel::impressionURLs)
        .getter<&YBXMAdNetworkConfig::adapterList>(sel::adapterList)
        .getter<&YBXMAdNetworkConfig::adapterClass>(sel::adapterClass)
        .method(sel::publisherID, [](id self) { return networkOf(self)->publisherID(); })
        .method(sel::description, [](id self) { return Value(networkOf(self)->description()); });

    ClassBuilder<YBXMConfig>("YBXMConfig", "NSObject")
        .method(sel::initWithAppKey_configDict_error_,
                [](id self, Value appKey, Value dictionary, Ref<NSError>* error) -> Ref<Object> {
                    Ref<NSError> made;
                    bool parsed = configOf(self) && configOf(self)->initialize(appKey, dictionary, &made);
                    if (error) *error = made;
                    return parsed ? Ref<Object>(self) : nullptr;
                })
        .classMethod(sel::peekAdTypeFromConfig_, [](id, Value dictionary) { return YBXMConfig::peekAdTypeFromConfig(dictionary); })
        .classMethod(sel::adTypeFromString_, [](id, Value name) { return YBXMConfig::adTypeFromString(name); })
        .getter<&YBXMConfig::appKey>(sel::appKey)
        .getter<&YBXMConfig::adType>(sel::adType)
        .method(sel::setAdType_, [](id self, id type) { configOf(self)->adType = Ref<Object>(type); })
        .getter<&YBXMConfig::qdata>(sel::qdata)
        .getter<&YBXMConfig::refreshInterval>(sel::refreshInterval)
        .method(sel::setRefreshInterval_, [](id self, double seconds) { configOf(self)->setRefreshInterval(seconds); })
        .getter<&YBXMConfig::adNetworkTimeout>(sel::adNetworkTimeout)
        .getter<&YBXMConfig::bannerAnimationType>(sel::bannerAnimationType)
        .getter<&YBXMConfig::impressionURLs>(sel::impressionURLs)
        .getter<&YBXMConfig::clickURLs>(sel::clickURLs)
        .getter<&YBXMConfig::noFillURLs>(sel::noFillURLs)
        .method(sel::adNetworkConfigs, [](id self) { return configOf(self)->adNetworkConfigsArray(); })
        .method(sel::description, [](id self) { return Value(configOf(self)->description()); });
}

}  // namespace adlib
