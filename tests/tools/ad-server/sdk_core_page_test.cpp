// The SDK-core page's script, run under Duktape with the least of a page
// around it: a window that is the global object and a location whose
// assignment records the navigation, as the page engine would ask its
// delegate.
#include <duktape.h>

#include <nlohmann/json.hpp>

#include "tests/tools/ad-server/http_client.h"

namespace rousa::adserver::testing {
namespace {

struct PageMessage {
    std::string scheme, name;
    std::map<std::string, std::string> parameters;
};

PageMessage parseMessage(const std::string& url) {
    PageMessage message;
    size_t colon = url.find("://");
    message.scheme = url.substr(0, colon);
    size_t path = url.find('/', colon + 3);
    size_t query = url.find('?', path);
    message.name = url.substr(path + 1, query == std::string::npos ? std::string::npos : query - path - 1);
    if (query != std::string::npos) message.parameters = queryParameters(url.substr(query + 1));
    return message;
}

class SdkCorePage : public AdServerFixture {
protected:
    void SetUp() override {
        AdServerFixture::SetUp();
        HttpResult page = fetch(url(kSdkCorePath));
        ASSERT_EQ(page.status, 200);
        size_t open = page.body.find("<script>");
        size_t close = page.body.find("</script>");
        ASSERT_NE(open, std::string::npos);
        ASSERT_NE(close, std::string::npos);
        std::string script = page.body.substr(open + 8, close - open - 8);

        context = duk_create_heap_default();
        duk_push_global_object(context);
        duk_push_pointer(context, &navigations);
        duk_put_prop_string(context, -2, DUK_HIDDEN_SYMBOL("navigations"));
        duk_push_c_function(context, &SdkCorePage::navigate, 1);
        duk_put_prop_string(context, -2, "__navigate");
        duk_pop(context);
        ASSERT_EQ(evaluate(R"(
            var window = this;
            (function () {
              var location = {};
              Object.defineProperty(location, 'href', {
                get: function () { return 'http://127.0.0.1/mads/static/sdk/native/sdk-core-v40.html'; },
                set: function (url) { __navigate(String(url)); }
              });
              Object.defineProperty(window, 'location', {
                get: function () { return location; },
                set: function (url) { __navigate(String(url)); }
              });
            })();)"),
                  "");
        ASSERT_EQ(evaluate(script), "");
    }

    void TearDown() override {
        if (context) duk_destroy_heap(context);
    }

    // Empty when the script ran; its error otherwise.
    std::string evaluate(const std::string& source) {
        if (duk_peval_lstring(context, source.data(), source.size()) != 0) {
            std::string error = duk_safe_to_string(context, -1);
            duk_pop(context);
            return error.empty() ? "error" : error;
        }
        duk_pop(context);
        return "";
    }

    // Runs a call as the library sends it and answers the one message the
    // page navigated to.
    PageMessage call(const std::string& command) {
        navigations.clear();
        std::string error = evaluate(command);
        EXPECT_EQ(error, "") << command;
        EXPECT_EQ(navigations.size(), 1u) << command;
        return navigations.empty() ? PageMessage{} : parseMessage(navigations.front());
    }

    static duk_ret_t navigate(duk_context* ctx) {
        const char* url = duk_require_string(ctx, 0);
        duk_push_global_object(ctx);
        duk_get_prop_string(ctx, -1, DUK_HIDDEN_SYMBOL("navigations"));
        static_cast<std::vector<std::string>*>(duk_get_pointer(ctx, -1))->push_back(url);
        duk_pop_2(ctx);
        return 0;
    }

    duk_context* context = nullptr;
    std::vector<std::string> navigations;
};

TEST_F(SdkCorePage, BuildAdURLAnswersWithAnAdURLCarryingTheParameters) {
    PageMessage message = call(R"(KESTRA_buildAdURL({"js":"kestra-sdk-i-v6.12.2","kw":["a b","c&d"],)"
                               R"("slotname":"html-banner","ad_frame":{"x":0,"y":0,"w":320,"h":50},)"
                               R"("request_id":"1","d_imp_hdr":"1","seq":3});)");
    EXPECT_EQ(message.scheme, "pmsg");
    EXPECT_EQ(message.name, "loadAdURL");
    EXPECT_EQ(message.parameters["request_id"], "1");
    EXPECT_EQ(message.parameters["request_scenario"], "online_request");
    EXPECT_EQ(message.parameters.count("errors"), 0u);

    const std::string adURL = message.parameters["url"];
    const std::string endpoint = server.baseURL() + kAdPath + "?";
    ASSERT_EQ(adURL.rfind(endpoint, 0), 0u) << adURL;
    auto carried = queryParameters(adURL.substr(endpoint.size()));
    EXPECT_EQ(carried, (std::map<std::string, std::string>{{"js", "kestra-sdk-i-v6.12.2"},
                                                           {"kw", R"(["a b","c&d"])"},
                                                           {"slotname", "html-banner"},
                                                           {"ad_frame", R"({"x":0,"y":0,"w":320,"h":50})"},
                                                           {"request_id", "1"},
                                                           {"d_imp_hdr", "1"},
                                                           {"seq", "3"}}));

    // The ad URL is the ad endpoint's: it answers with the unit's ad.
    HttpResult ad = fetch(adURL);
    EXPECT_EQ(ad.status, 200);
    EXPECT_EQ(ad.header("X-Kestra-Tracking-Urls"), server.baseURL() + "/ping/imp?slotname=html-banner&request_id=1");
}

TEST_F(SdkCorePage, MalformedArgumentsAnswerInvalidRequest) {
    struct Case {
        const char* command;
        const char* requestID;
    };
    const Case cases[] = {
        {R"(KESTRA_buildAdURL('{"request_id":"5","slotname":');)", "5"},
        {R"(KESTRA_buildAdURL('not json');)", ""},
        {R"(KESTRA_buildAdURL(42);)", ""},
        {R"(KESTRA_buildAdURL(null);)", ""},
        {R"(KESTRA_buildAdURL([1, 2]);)", ""},
        {R"(KESTRA_buildAdURL();)", ""},
        {R"(KESTRA_buildAdURL({"slotname":"html-banner"});)", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        PageMessage message = call(c.command);
        EXPECT_EQ(message.name, "invalidRequest");
        EXPECT_EQ(message.parameters["request_id"], c.requestID);
        EXPECT_FALSE(message.parameters["error"].empty());
        EXPECT_EQ(message.parameters.count("url"), 0u);
    }
}

TEST_F(SdkCorePage, JsonTextArgumentIsReadLikeAnObject) {
    PageMessage message = call(R"(KESTRA_buildAdURL('{"request_id":"6","slotname":"no-fill"}');)");
    EXPECT_EQ(message.name, "loadAdURL");
    EXPECT_EQ(message.parameters["request_id"], "6");
    EXPECT_NE(message.parameters["url"].find("slotname=no-fill"), std::string::npos);
}

TEST_F(SdkCorePage, ARequestWithoutAdUnitAnswersErrors) {
    PageMessage message = call(R"(KESTRA_buildAdURL({"request_id":"3","js":"kestra-sdk-i-v6.12.2"});)");
    EXPECT_EQ(message.name, "loadAdURL");
    EXPECT_EQ(message.parameters["request_id"], "3");
    EXPECT_FALSE(message.parameters["errors"].empty());
    EXPECT_EQ(message.parameters.count("url"), 0u);
}

TEST_F(SdkCorePage, PageDeliveredUnitAnswersWithTheAdItself) {
    PageMessage message = call(R"(KESTRA_buildAdURL({"request_id":"4","slotname":"page-banner"});)");
    EXPECT_EQ(message.name, "loadAd");
    EXPECT_EQ(message.parameters["request_id"], "4");
    auto ad = nlohmann::json::parse(message.parameters["ad"]);
    EXPECT_EQ(ad["ad_base_url"], server.baseURL() + "/");
    EXPECT_EQ(ad["ad_size"], "320x50");
    EXPECT_EQ(ad["refresh_rate"], 30);
    EXPECT_NE(ad["ad_html"].get<std::string>().find("</div>"), std::string::npos);
    auto header = nlohmann::json::parse(message.parameters["header"]);
    EXPECT_EQ(header, nlohmann::json({{"X-Kestra-Refresh-Rate", "30"}}));
}

TEST_F(SdkCorePage, GetSdkConstantsAnswersWithTheConstants) {
    PageMessage message = call(R"(KESTRA_getSdkConstants({"js":"kestra-sdk-i-v6.12.2"});)");
    EXPECT_EQ(message.name, "loadSdkConstants");
    EXPECT_EQ(message.parameters, (std::map<std::string, std::string>{
                                      {"as_domains", "127.0.0.1"},
                                      {"mraid_disable_redirect", "0"},
                                      {"optora_sampling_intervals", "[0.5,1,2]"},
                                      {"discardable_storekitcontroller_cache_size", "2"},
                                      {"ybx_web_view_cache_max_capacity", "4"},
                                  }));
}

TEST_F(SdkCorePage, RequestIDsComeBackAsSent) {
    for (const char* id : {"1", "2", "18446744073709551615"}) {
        SCOPED_TRACE(id);
        PageMessage message =
            call(std::string(R"(KESTRA_buildAdURL({"slotname":"html-banner","request_id":")") + id + "\"});");
        EXPECT_EQ(message.parameters["request_id"], id);
    }
}

}  // namespace
}  // namespace rousa::adserver::testing
