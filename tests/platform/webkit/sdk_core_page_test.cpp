// The real engine on our ad server's SDK-core page: the library's script form
// "KESTRA_buildAdURL(<json>);" makes the page navigate to a "pmsg" message
// with the ad URL, asked of the host on the next turn; viewability reports
// load the server's endpoint and come back as visibility changes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"
#include "platform/webkit/real_page_engine.h"
#include "tests/platform/webkit/navigation_host.h"
#include "tests/tools/ad-server/http_client.h"

namespace platform::webkit {
namespace {

using rousa::adserver::kAdPath;
using rousa::adserver::kSdkCorePath;
using rousa::adserver::testing::fetch;
using rousa::adserver::testing::HttpResult;
using rousa::adserver::testing::queryParameters;

using testing::NavigationHost;

class RealSdkCorePage : public rousa::adserver::testing::AdServerFixture {
protected:
    void SetUp() override {
        AdServerFixture::SetUp();
        HttpResult page = fetch(url(kSdkCorePath));
        ASSERT_EQ(page.status, 200);
        engine.loadDocument(page.body, NSURL::URLWithString(url(kSdkCorePath)).get());
        RunLoop::main().advance(0);
        ASSERT_EQ(host.finished, 1);
    }
    // The one message the script sends, split into its name and parameters.
    std::map<std::string, std::string> message(const std::string& script, std::string* name) {
        EXPECT_FALSE(engine.evaluateScript(script).error) << script;
        EXPECT_TRUE(host.navigations.empty()) << "asked inside the script's turn";
        RunLoop::main().advance(0);
        EXPECT_EQ(host.navigations.size(), 1u);
        if (host.navigations.empty()) return {};
        std::string sent = host.navigations.back();
        host.navigations.clear();
        size_t query = sent.find('?');
        *name = sent.substr(0, query);
        return query == std::string::npos ? std::map<std::string, std::string>{} : queryParameters(sent.substr(query + 1));
    }

    testing::TestEnvironment env;
    NavigationHost host;
    RealPageEngine engine{host};
};

TEST_F(RealSdkCorePage, BuildAdURLNavigatesToTheAdURLMessage) {
    std::string name;
    auto parameters = message("KESTRA_buildAdURL({\"request_id\":\"r1\",\"slotname\":\"html-banner\",\"w\":320});", &name);
    EXPECT_EQ(name, "pmsg://sdk/loadAdURL");
    EXPECT_EQ(parameters["request_id"], "r1");
    EXPECT_EQ(parameters["request_scenario"], "online_request");
    std::string adURL = parameters["url"];
    EXPECT_EQ(adURL.rfind(url(kAdPath) + "?", 0), 0u) << adURL;
    auto adQuery = queryParameters(adURL.substr(adURL.find('?') + 1));
    EXPECT_EQ(adQuery["slotname"], "html-banner");
    EXPECT_EQ(adQuery["w"], "320");
}

TEST_F(RealSdkCorePage, MalformedParametersAnswerAnInvalidRequest) {
    std::string name;
    auto parameters = message("KESTRA_buildAdURL('{\"request_id\":\"r2\", broken');", &name);
    EXPECT_EQ(name, "pmsg://sdk/invalidRequest");
    EXPECT_EQ(parameters["request_id"], "r2");
}

TEST_F(RealSdkCorePage, ConstantsComeAsTheirMessage) {
    std::string name;
    auto parameters = message("KESTRA_getSdkConstants();", &name);
    EXPECT_EQ(name, "pmsg://sdk/loadSdkConstants");
    EXPECT_EQ(parameters["ybx_web_view_cache_max_capacity"], "4");
}

TEST_F(RealSdkCorePage, ViewabilityReportsGoToTheServerAndChangesComeBack) {
    struct Step {
        const char* unit;
        const char* answer;  // "" for none
        const char* isVisible;
    };
    const Step steps[] = {
        {R"({"hashCode":7,"isVisible":"1"})", "pmsg://sdk/visibilityChanged", "1"},
        {R"({"hashCode":7,"isVisible":"1"})", "", ""},
        {R"({"hashCode":7,"isVisible":"0"})", "pmsg://sdk/visibilityChanged", "0"},
        {R"({"hashCode":7,"isVisible":"0"})", "", ""},
        {R"({"hashCode":8,"isVisible":"0"})", "pmsg://sdk/visibilityChanged", "0"},
        {R"({"hashCode":7,"isVisible":"0","doneReasonCode":"u"})", "pmsg://sdk/untrackOptoraUnit", ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.unit);
        host.subresources.clear();
        const std::string report = std::string(R"({"units":[)") + step.unit + "]}";
        // The library's form: no semicolon after the call.
        ASSERT_FALSE(engine.evaluateScript("KESTRA_updateOptora(" + report + ")").error);
        RunLoop::main().advance(0);
        // Each report is a script load of the viewability endpoint carrying it.
        ASSERT_EQ(host.subresources.size(), 1u);
        const std::string& load = host.subresources[0];
        const std::string endpoint = url(rousa::adserver::kViewabilityPath) + "?";
        ASSERT_EQ(load.rfind(endpoint, 0), 0u) << load;
        EXPECT_EQ(nlohmann::json::parse(queryParameters(load.substr(endpoint.size()))["report"]), nlohmann::json::parse(report));
        if (!*step.answer) {
            EXPECT_TRUE(host.navigations.empty());
            continue;
        }
        ASSERT_EQ(host.navigations.size(), 1u);
        const std::string sent = host.navigations[0];
        host.navigations.clear();
        EXPECT_EQ(sent.substr(0, sent.find('?')), step.answer);
        auto parameters = queryParameters(sent.substr(sent.find('?') + 1));
        if (*step.isVisible) {
            EXPECT_EQ(parameters["isVisible"], step.isVisible);
        }
    }
}

}  // namespace
}  // namespace platform::webkit
