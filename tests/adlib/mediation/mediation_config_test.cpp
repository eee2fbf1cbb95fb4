#include "adlib/mediation/mediation_config.h"

#include <gtest/gtest.h>

#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/mediation/protocols.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// Adapters of every kind the choice meets: a current one, two that predate
// getBannerWithSize:, and a class that has the method but is no adapter.
void registerTestAdapters() {
    ClassBuilder<NSObject>("TestMediationAdapter", "NSObject")
        .protocol(kYBXMAdNetworkAdapterProtocol)
        .method(sel::getBannerWithSize_, [](id, YBXAdSize) {});
    for (const char* name : {"TestOldAdapter", "TestOtherOldAdapter"})
        ClassBuilder<NSObject>(name, "NSObject").protocol(kYBXMAdNetworkAdapterProtocol).method(sel::getInterstitial, [](id) {});
    ClassBuilder<NSObject>("TestLookalike", "NSObject").method(sel::getBannerWithSize_, [](id, YBXAdSize) {});
}

class MediationConfigs : public ::testing::Test {
protected:
    MediationConfigs() { registerTestAdapters(); }

    Ref<YBXMConfig> parse(std::string_view json) {
        error = nullptr;
        Value dictionary = readJsonIntoDictionary(json);
        EXPECT_TRUE(dictionary.isDictionary()) << json;
        return as<YBXMConfig>(sel::initWithAppKey_configDict_error_(alloc("YBXMConfig"), Value("unit-7"), dictionary, &error));
    }
    Ref<YBXMAdNetworkConfig> network(std::string_view json) {
        error = nullptr;
        return as<YBXMAdNetworkConfig>(sel::initWithDictionary_error_(alloc("YBXMAdNetworkConfig"), readJsonIntoDictionary(json), &error));
    }
    std::vector<std::string> networkIDs(YBXMConfig* config) {
        std::vector<std::string> ids;
        for (const Value& entry : sel::adNetworkConfigs(config).array()) ids.push_back(sel::networkID(entry.object()).string());
        return ids;
    }
    std::string errorText() const { return error ? error->localizedDescription() : std::string("no error"); }

    AdLibEnvironment env;
    Ref<NSError> error;
};

TEST_F(MediationConfigs, ParseOrderAndFailures) {
    const std::string invalid = "Request Error: The mediation response was invalid.";
    const std::string noID = "The Marlex Mediation response was invalid: An ad network config has no network ID.";
    const std::string badID = "The Marlex Mediation response was invalid: An ad network config has an invalid network ID.";
    struct Case {
        const char* name;
        const char* json;
        bool parses;
        std::vector<std::string> ids;
        std::string message;  // of the error that fails the parse
    } cases[] = {
        {"no ad_networks", R"({"ad_type": "banner"})", false, {}, invalid},
        {"ad_networks not an array", R"({"ad_networks": {"id": "a"}})", false, {}, invalid},
        {"an empty waterfall", R"({"ad_networks": []})", true, {}, ""},
        {"elements that are no dictionaries are skipped", R"({"ad_networks": [1, "x", null, [], {"id": "a"}]})", true, {"a"}, ""},
        {"a number id becomes its decimal text", R"({"ad_networks": [{"id": 1002}, {"id": "b"}]})", true, {"1002", "b"}, ""},
        {"an id missing fails the whole parse", R"({"ad_networks": [{"id": "a"}, {"data": {}}]})", false, {}, noID},
        {"an id of a dictionary", R"({"ad_networks": [{"id": {"n": 1}}]})", false, {}, badID},
        {"an id of an array", R"({"ad_networks": [{"id": ["a"]}]})", false, {}, badID},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXMConfig> config = parse(c.json);
        EXPECT_EQ(static_cast<bool>(config), c.parses);
        if (c.parses) {
            EXPECT_FALSE(error) << errorText();
            EXPECT_EQ(networkIDs(config), c.ids);
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), kYBXErrorDomain);
        EXPECT_EQ(error->code(), YBXErrorCodeInvalidMediationResponse);
        EXPECT_EQ(error->localizedDescription(), c.message);
    }
}

TEST_F(MediationConfigs, AdapterErrorsAreLoggedWhileTheLoopGoesOn) {
    Ref<YBXMConfig> config = parse(R"({"ad_networks": [
        {"id": "a", "adapters": ["NoSuchAdapter"]},
        {"id": "b", "adapters": ["TestMediationAdapter"]},
        {"id": "c"}]})");
    ASSERT_TRUE(config);
    EXPECT_FALSE(error);
    EXPECT_EQ(networkIDs(config), (std::vector<std::string>{"a", "b", "c"}));
    Value networks = sel::adNetworkConfigs(config);
    EXPECT_EQ(sel::adapterClass(networks.at(0).object()), nullptr);
    EXPECT_EQ(sel::adapterClass(networks.at(1).object()), objc_getClass("TestMediationAdapter"));

    std::vector<std::string> logged;
    for (const auto& line : log::lines())
        if (line.find("<Orvane> Error Domain=com.orvane.ads Code=8") != std::string::npos) logged.push_back(line);
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_NE(logged[0].find("Cannot find an ad network adapter with the name(s): (\n    NoSuchAdapter\n). Remember to link all required "
                             "ad network adapters and SDKs, and set -ObjC in the 'Other Linker Flags' setting of your build target."),
              std::string::npos);
    EXPECT_NE(logged[1].find("Cannot find an ad network adapter with the name(s): (null)."), std::string::npos);
}

TEST_F(MediationConfigs, Settings) {
    struct Case {
        const char* name;
        const char* settings;
        double refresh;
        double timeout;
        long long animation;
    } cases[] = {
        {"defaults", R"({})", 0, 10.0, 8},
        {"refresh one below the bound is kept", R"({"refresh": 29999})", 29999, 10.0, 8},
        {"refresh at the bound means none", R"({"refresh": 30000})", 0, 10.0, 8},
        {"refresh without an integer value", R"({"refresh": "abc"})", 0, 10.0, 8},
        {"a negative refresh is kept", R"({"refresh": -5})", -5, 10.0, 8},
        {"a text beginning with a number", R"({"refresh": " 12abc"})", 12, 10.0, 8},
        {"refresh of another kind", R"({"refresh": [45]})", 0, 10.0, 8},
        {"time-out in milliseconds", R"({"ad_network_timeout_millis": 2500})", 0, 2.5, 8},
        {"time-out without bounds", R"({"ad_network_timeout_millis": 0})", 0, 0, 8},
        {"animation out of range", R"({"ad_transition_anim": 9})", 0, 10.0, 8},
        {"animation below range", R"({"ad_transition_anim": -1})", 0, 10.0, 8},
        {"animation as text", R"({"ad_transition_anim": "3"})", 0, 10.0, 3},
        {"animation zero", R"({"ad_transition_anim": 0})", 0, 10.0, 0},
        {"animation of another kind", R"({"ad_transition_anim": {"a": 1}})", 0, 10.0, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXMConfig> config = parse(format(R"({"settings": %@, "ad_networks": []})", c.settings));
        ASSERT_TRUE(config);
        EXPECT_EQ(sel::refreshInterval(config), c.refresh);
        EXPECT_EQ(sel::adNetworkTimeout(config), c.timeout);
        EXPECT_EQ(sel::bannerAnimationType(config), c.animation);
    }

    Ref<YBXMConfig> config = parse(R"({"settings": {"imp_urls": ["i"], "click_urls": "c", "nofill_urls": []}, "ad_networks": []})");
    EXPECT_EQ(sel::impressionURLs(config), Value::array({Value("i")}));
    EXPECT_TRUE(sel::clickURLs(config).isNil());
    EXPECT_EQ(sel::noFillURLs(config), Value(Value::Array{}));
    // Settings that are no dictionary are ignored.
    config = parse(R"({"settings": [1], "qdata": {"r": 1}, "ad_networks": []})");
    ASSERT_TRUE(config);
    EXPECT_EQ(sel::adNetworkTimeout(config), 10.0);
    EXPECT_EQ(sel::qdata(config), Value(Value::Dictionary{{"r", Value(1)}}));
    EXPECT_EQ(sel::appKey(config), Value("unit-7"));

    sel::setRefreshInterval_(config, 30001);
    EXPECT_EQ(sel::refreshInterval(config), 0);
    sel::setRefreshInterval_(config, 60);
    EXPECT_EQ(sel::refreshInterval(config), 60);
}

TEST_F(MediationConfigs, AdapterChoice) {
    const std::string linkAdvice =
        ". Remember to link all required ad network adapters and SDKs, and set -ObjC in the 'Other Linker Flags' setting of your build target.";
    struct Case {
        const char* name;
        const char* adapters;
        const char* chosen;  // null: none
        std::string message;
    } cases[] = {
        {"missing, old, valid: the valid one with the singular message", R"(["NoSuchAdapter", "TestOldAdapter", "TestMediationAdapter"])",
         "TestMediationAdapter", "Ad network adapter TestOldAdapter implements an old API. Please update the adapter."},
        {"old ones only: the plural message with the tail", R"(["TestOldAdapter", "TestOtherOldAdapter"])", nullptr,
         "Ad network adapters (TestOldAdapter, TestOtherOldAdapter) implement an old API. Please update the adapters. No valid adapters found "
         "for this ad network."},
        {"one old one, nothing valid", R"(["TestOldAdapter"])", nullptr,
         "Ad network adapter TestOldAdapter implements an old API. Please update the adapter. No valid adapters found for this ad network."},
        {"none", R"(["NoSuchAdapter", "Other"])", nullptr,
         "Cannot find an ad network adapter with the name(s): (\n    NoSuchAdapter,\n    Other\n)" + linkAdvice},
        {"a name that is no string is skipped", R"([5, {"a": 1}, "TestMediationAdapter"])", "TestMediationAdapter", ""},
        {"a class that is no adapter is skipped", R"(["TestLookalike", "TestMediationAdapter"])", "TestMediationAdapter", ""},
        {"the first usable one ends the walk", R"(["TestMediationAdapter", "TestOldAdapter"])", "TestMediationAdapter", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXMAdNetworkConfig> entry = network(format(R"({"id": "n", "adapters": %@})", c.adapters));
        ASSERT_TRUE(entry);  // the entry comes with its error
        EXPECT_EQ(sel::adapterClass(entry), c.chosen ? objc_getClass(c.chosen) : nullptr);
        if (c.message.empty()) {
            EXPECT_FALSE(error) << errorText();
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), YBXErrorCodeNoAdapter);
        EXPECT_EQ(error->localizedDescription(), c.message);
    }
}

TEST_F(MediationConfigs, NetworkFields) {
    Ref<YBXMAdNetworkConfig> entry = network(R"({"id": "n", "data": {"pubid": "p-1", "k": [1]}, "extras": {"e": "1"}, "ad": {"html": "x"},
        "allocation_id": 17, "imp_urls": ["u"], "adapters": ["TestMediationAdapter"]})");
    ASSERT_TRUE(entry);
    EXPECT_EQ(sel::credentials(entry), Value(Value::Dictionary{{"pubid", Value("p-1")}, {"k", Value::array({Value(1)})}}));
    EXPECT_EQ(sel::extras(entry), Value(Value::Dictionary{{"e", Value("1")}}));
    EXPECT_EQ(sel::adDictionary(entry), Value(Value::Dictionary{{"html", Value("x")}}));
    EXPECT_EQ(sel::allocationID(entry), Value(17));
    EXPECT_EQ(sel::impressionURLs(entry), Value::array({Value("u")}));
    EXPECT_EQ(sel::adapterList(entry), Value::array({Value("TestMediationAdapter")}));
    EXPECT_EQ(sel::description(entry).string(), "networkID:n adapter:TestMediationAdapter data:p-1");

    // Fields of the wrong kind are left out.
    entry = network(R"({"id": "n", "data": "p", "extras": [], "ad": 1, "imp_urls": "u", "adapters": "TestMediationAdapter"})");
    ASSERT_TRUE(entry);
    for (Value v : {sel::credentials(entry), sel::extras(entry), sel::adDictionary(entry), sel::impressionURLs(entry), sel::adapterList(entry)})
        EXPECT_TRUE(v.isNil()) << v.description();

    struct Case {
        const char* data;
        Value publisherID;
        const char* description;
    } cases[] = {
        {R"({"pubid": "p"})", Value("p"), "networkID:n adapter:(null) data:p"},
        {R"({"pubid": 77})", Value("77"), "networkID:n adapter:(null) data:77"},
        {R"({"pubid": {"a": 1}})", Value(), "networkID:n adapter:(null) data:{\n    pubid = {\n        a = 1;\n    };\n}"},
        {R"({"k": "v"})", Value(), "networkID:n adapter:(null) data:{\n    k = v;\n}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        entry = network(format(R"({"id": "n", "data": %@})", c.data));
        ASSERT_TRUE(entry);
        EXPECT_EQ(sel::publisherID(entry), c.publisherID);
        EXPECT_EQ(sel::description(entry).string(), c.description);
    }
}

TEST_F(MediationConfigs, AdTypes) {
    struct Case {
        const char* json;
        bool interstitial;
        YBXAdSize size;
    } cases[] = {
        {R"({"ad_type": "banner"})", false, kYBXAdSizeBanner},
        {R"({"ad_type": "largebanner"})", false, kYBXAdSizeLargeBanner},
        {R"({"ad_type": "mrec"})", false, kYBXAdSizeMediumRectangle},
        {R"({"ad_type": "fullbanner"})", false, kYBXAdSizeFullBanner},
        {R"({"ad_type": "leaderboard"})", false, kYBXAdSizeLeaderboard},
        {R"({"ad_type": "skyscraper"})", false, kYBXAdSizeSkyscraper},
        {R"({"ad_type": "interstitial"})", true, kYBXAdSizeInvalid},
        {R"({"ad_type": "Banner"})", false, kYBXAdSizeInvalid},
        {R"({"ad_type": 1})", false, kYBXAdSizeInvalid},
        {R"({})", false, kYBXAdSizeInvalid},
    };
    Class* configClass = objc_getClass("YBXMConfig");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        Ref<Object> type = sel::peekAdTypeFromConfig_(configClass, readJsonIntoDictionary(c.json));
        ASSERT_TRUE(type);
        EXPECT_EQ(sel::isInterstitial(type), c.interstitial);
        if (!c.interstitial) {
            EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(type), c.size));
        }
    }
    Ref<YBXMConfig> config = parse(R"({"ad_type": "mrec", "ad_networks": []})");
    EXPECT_TRUE(YBXAdSizesEqual(sel::adSize(sel::adType(config)), kYBXAdSizeMediumRectangle));
}

TEST_F(MediationConfigs, Description) {
    Ref<YBXMConfig> config = parse(R"({"ad_type": "banner", "qdata": "q1", "settings": {"refresh": 45, "ad_transition_anim": 3},
        "ad_networks": [{"id": "1001", "data": {"pubid": "pub"}, "adapters": ["TestMediationAdapter"]}, {"id": "1002"}]})");
    ASSERT_TRUE(config);
    std::string text = sel::description(config).string();
    ASSERT_EQ(text.rfind("<YBXMConfig: 0x", 0), 0u) << text;
    std::string type = sel::description(sel::adType(config)).string();
    EXPECT_EQ(text.substr(text.find('>') + 1), ":\nqdata:q1 adTypeString:" + type +
                        " refresh:45.000000 transition:3 ad_networks:(\n"
                        "    networkID:1001 adapter:TestMediationAdapter data:pub,\n"
                        "    networkID:1002 adapter:(null) data:(null)\n)");
}

}  // namespace
}  // namespace adlib
