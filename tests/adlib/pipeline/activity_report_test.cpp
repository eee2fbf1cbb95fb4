// Activity reports without a server: the request's and the metadata's JSON
// forms, the script the core controller runs in its container, and the
// reporter's way to it, on the scripted transport and page engine.
#include "adlib/pipeline/qrt_activity_reporter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/pipeline/qrt_activity_request.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "platform/network/url.h"
#include "platform/webkit/scripted_page_engine.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

Value parsed(const std::string& json) {
    Ref<NSError> error;
    Value value = ybx_decodedJSONObjectError(json, &error);
    EXPECT_FALSE(error) << json;
    return value;
}

class ActivityReportTest : public ::testing::Test {
protected:
    ActivityReportTest() {
        network::setTransport(transport);
        transport->answer(QRTCoreController::pageURL(), ScriptedTransport::Script::body({"<html>controller</html>"}));
    }
    std::string requestJSON(const Value& adUnitID, const Value& ppid, const Value& custom) {
        Ref<Object> request = sel::requestWithAdUnitID_publisherProvidedID_customParameters_(objc_getClass("QRTActivityRequest"),
                                                                                            adUnitID, ppid, custom);
        return sel::JSONStringValue(request.get());
    }
    std::vector<std::string> reports() const {
        std::vector<std::string> found;
        for (const std::string& s : pages.evaluated())
            if (s.rfind(kQRTReportActivityFunction, 0) == 0) found.push_back(s);
        return found;
    }

    testing::AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    webkit::ScriptedPages& pages = webkit::ScriptedPages::shared();
};

TEST_F(ActivityReportTest, RequestJSONHoldsOnlyTheValuesThatExist) {
    struct Case {
        const char* name;
        Value adUnitID, ppid, custom;
        std::string json;
    };
    const std::vector<Case> cases = {
        {"all three", Value("unit/1"), Value("pp-7"), Value{{"step", Value("checkout")}},
         R"({"ad_unit_id":"unit\/1","publisher_provided":{"id":"pp-7"},"custom_parameters":{"step":"checkout"}})"},
        {"no publisher-provided ID", Value("unit/1"), Value(), Value{{"n", Value(3LL)}}, R"({"ad_unit_id":"unit\/1","custom_parameters":{"n":3}})"},
        {"ad unit only", Value("u"), Value(), Value(), R"({"ad_unit_id":"u"})"},
        {"nothing", Value(), Value(), Value(), "{}"},
        {"values of the wrong kind are dropped", Value(12LL), Value(Value::Array{}), Value("x"), "{}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string json = requestJSON(c.adUnitID, c.ppid, c.custom);
        EXPECT_EQ(parsed(json), parsed(c.json)) << json;
        EXPECT_EQ(json.find("publisher_provided") != std::string::npos, !c.ppid.isNil() && c.ppid.isString());
    }
}

TEST_F(ActivityReportTest, CustomParametersJSONCannotHoldAreSentAsText) {
    Ref<NSURL> url = NSURL::URLWithString("https://example.com/a?b=c");
    const Value date(Date{0});
    const std::string json = requestJSON(Value("u"), Value(), Value{{"when", date}, {"where", Value(url.get())}, {"n", Value(1LL)}});
    ASSERT_FALSE(json.empty());
    const Value custom = parsed(json)["custom_parameters"];
    EXPECT_EQ(custom["when"], Value(date.description()));
    EXPECT_EQ(custom["where"], Value("https://example.com/a?b=c"));
    EXPECT_EQ(custom["n"], Value(1LL));
}

TEST_F(ActivityReportTest, ACopyHoldsTheSameValues) {
    Ref<Object> request = sel::requestWithAdUnitID_publisherProvidedID_customParameters_(
        objc_getClass("QRTActivityRequest"), Value("u"), Value("p"), Value{{"k", Value("v")}});
    Ref<Object> copy = sel::copyWithZone_(request.get(), nullptr);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), request.get());
    EXPECT_EQ(sel::adUnitID(copy.get()), Value("u"));
    EXPECT_EQ(sel::publisherProvidedID(copy.get()), Value("p"));
    EXPECT_EQ(sel::customParameters(copy.get()), (Value{{"k", Value("v")}}));
    EXPECT_EQ(sel::JSONStringValue(copy.get()), sel::JSONStringValue(request.get()));
}

TEST_F(ActivityReportTest, MetadataCarriesTheDeviceAndTheLibraryVersion) {
    const Value version = sel::SDKVersion(objc_getClass("QRTCoreMetadata"));
    EXPECT_EQ(version, (Value{{"major", Value(6LL)}, {"minor", Value(12LL)}, {"patch", Value(2LL)}}));
    const Value metadata = parsed(sel::JSONStringValue(newObject("QRTCoreMetadata").get()));
    EXPECT_EQ(metadata["sdk_version"], version);
    EXPECT_EQ(metadata["ybx_device"], YBXDevice::currentDevice()->parameters());
    EXPECT_EQ(metadata.count(), 2u);
}

TEST_F(ActivityReportTest, TheControllerRunsTheReportFunctionWithBothJSONTexts) {
    Ref<Object> controller = sel::initWithURLString_fallbackString_(alloc("QRTCoreController"), Value(QRTCoreController::pageURL()),
                                                                   Value(kQRTCoreControllerFallbackHTML));
    Ref<Object> metadata = newObject("QRTCoreMetadata");
    // A line separator is valid JSON but ends a script line: it is escaped.
    Ref<Object> request = sel::requestWithAdUnitID_publisherProvidedID_customParameters_(
        objc_getClass("QRTActivityRequest"), Value("u"), Value(), Value{{"line", Value("a\u2028b")}});
    sel::reportActivityWithMetadata_request_(controller.get(), metadata.get(), request.get());
    EXPECT_TRUE(reports().empty());
    platform::testing::advance(1);
    const std::string expected = std::string(kQRTReportActivityFunction) + "(" + sel::JSONStringValue(metadata.get()) + "," +
                                 sel::JSONStringValue(request.get()) + ")";
    EXPECT_EQ(reports(), (std::vector<std::string>{expected}));
    EXPECT_EQ(expected.find("\u2028"), std::string::npos);
    EXPECT_NE(expected.find("\\u2028"), std::string::npos);
    // Evaluation passes through to the page.
    pages.whenEvaluated("document.title", webkit::PageScript().answering("controller"));
    EXPECT_EQ(sel::stringByEvaluatingJavaScriptFromString_(controller.get(), Value("document.title")), Value("controller"));
}

TEST_F(ActivityReportTest, TheSharedReporterUsesTheControllerPageAndItsFallback) {
    Ref<Object> reporter = sel::sharedInstance(objc_getClass("QRTActivityReporter"));
    ASSERT_TRUE(reporter);
    EXPECT_EQ(sel::sharedInstance(objc_getClass("QRTActivityReporter")).get(), reporter.get());
    Ref<Object> controller = sel::controller(reporter.get());
    EXPECT_EQ(controller.get(), sel::sharedInstance(objc_getClass("QRTCoreController")).get());
    Ref<Object> container = sel::container(controller.get());
    ASSERT_TRUE(container);
    EXPECT_EQ(as<NSURL>(sel::remoteURL(container.get()).get())->absoluteString(),
              std::string(kYBXDefaultAdServerURL) + "/mads/static/sdk/native/controller.html");
    const std::string fallback = kQRTCoreControllerFallbackHTML;
    EXPECT_EQ(sel::fallbackData(container.get()), Value(Data(fallback.begin(), fallback.end())));

    sel::reportWithAdUnitID_customParameters_(reporter.get(), Value("unit-1"), Value{{"k", Value("v")}});
    Ref<Object> request = sel::requestWithAdUnitID_publisherProvidedID_customParameters_(
        objc_getClass("QRTActivityRequest"), Value("unit-2"), Value("pp"), Value());
    sel::reportWithRequest_(reporter.get(), request.get());
    platform::testing::advance(1);
    const std::vector<std::string> sent = reports();
    ASSERT_EQ(sent.size(), 2u);
    const std::string metadata = sel::JSONStringValue(newObject("QRTCoreMetadata").get());
    EXPECT_EQ(sent[0], std::string(kQRTReportActivityFunction) + "(" + metadata + R"(,{"ad_unit_id":"unit-1","custom_parameters":{"k":"v"}}))");
    EXPECT_EQ(sent[1], std::string(kQRTReportActivityFunction) + "(" + metadata + R"(,{"ad_unit_id":"unit-2","publisher_provided":{"id":"pp"}}))");
}

}  // namespace
}  // namespace adlib
