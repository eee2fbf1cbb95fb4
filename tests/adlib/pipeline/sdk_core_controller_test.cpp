// The SDK-core controller: requesters waiting for the page, request ids,
// answers routed back, reloads, extras, the server's constants and the
// viewability pages, on the scripted engine with the queues drained by hand.
#include "adlib/pipeline/sdk_core_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/application.h"
#include "adlib/foundation/configuration.h"
#include "adlib/foundation/macros.h"
#include "adlib/pipeline/request.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/user_defaults.h"
#include "tests/adlib/pipeline/sdk_core_test_support.h"

namespace adlib {
namespace {

using testing::requestFor;

// A slot as the controller sees it: what it is told, in order.
class Requester : public NSObject {
public:
    Value slotName{"unit"};
    Value extraParameters;  // merged into the parameters when a dictionary
    bool badParameters = false;
    std::vector<std::string> requestIDs;
    std::vector<std::string> calls;
    std::vector<Value> answers;
    bool allOnMain = true;
};

void registerRequester() {
    auto record = +[](id self, std::string call, Value value) {
        auto* r = as<Requester>(self);
        r->allOnMain = r->allOnMain && NSThread::isMainThread();
        r->calls.push_back(std::move(call));
        r->answers.push_back(std::move(value));
    };
    static auto recordCall = record;
    ClassBuilder<Requester>("TestSDKCoreRequester", "NSObject")
        .protocol("YBXSDKCoreControllerDelegate")
        .method(sel::setRequestID_, [](id self, Value requestID) { as<Requester>(self)->requestIDs.push_back(requestID.string()); })
        .method(sel::requestParameters,
                [](id self) {
                    auto* r = as<Requester>(self);
                    if (r->badParameters) return Value{{"when", Value(Date{0})}};
                    Value::Dictionary p{{"request_id", Value(r->requestIDs.empty() ? "" : r->requestIDs.back())}, {"slotname", r->slotName}};
                    if (r->extraParameters.isDictionary())
                        for (const auto& [k, v] : r->extraParameters.dictionary()) p[k] = v;
                    return Value(std::move(p));
                })
        .method(sel::loadAdURLWithParameters_, [](id self, Value parameters) { recordCall(self, "loadAdURL", parameters); })
        .method(sel::loadAd_headers_, [](id self, id, Value headers) { recordCall(self, "loadAd", headers); })
        .method(sel::invalidJavaScriptRequest, [](id self) { recordCall(self, "invalid", Value()); })
        .method(sel::failedJavaScriptFile, [](id self) { recordCall(self, "failed", Value()); });
}

class SDKCoreControllerTest : public testing::ManualSDKCore {
protected:
    SDKCoreControllerTest() {
        registerRequester();
        controller = YBXSDKCoreController::sharedInstance();
        page = controller->activeSDKCoreWebView();
    }

    void settle() {
        testing::settle({controller->lockQueue(), controller->requestURLQueue(), page->lockQueue(), page->commandQueue()});
        // The viewability pages' queues, then the controller's again.
        for (int round = 0; round < 3; ++round)
            for (dispatch_queue_t q : extraQueues) testing::settle({q, controller->lockQueue()});
    }
    void watch(YBXSDKCoreWebView* other) {
        extraQueues.push_back(other->lockQueue());
        extraQueues.push_back(other->commandQueue());
    }
    std::vector<dispatch_queue_t> extraQueues;
    Ref<Requester> requester(std::string slot) {
        Ref<Requester> r = as<Requester>(newObject("TestSDKCoreRequester").get());
        r->slotName = Value(std::move(slot));
        return r;
    }
    static std::string buildCommand(const std::string& id, const std::string& slot) {
        return format("KESTRA_buildAdURL({\"request_id\":\"%@\",\"slotname\":\"%@\"});", id, slot);
    }
    // The page answers the build command of the id and slot with the ad URL.
    void answer(const std::string& id, const std::string& slot) {
        pages.whenEvaluated(buildCommand(id, slot), webkit::PageScript().navigate(
                                                        format("pmsg://sdk/loadAdURL?request_id=%@&url=http%%3A%%2F%%2Fad.test%%2F%@", id, slot)));
    }
    // A message as if the loaded page sent it.
    void pageSends(const std::string& url) {
        sel::webView_shouldStartLoadWithRequest_navigationType_(page, page->webView(), requestFor(url).get(), 5);
    }

    YBXSDKCoreController* controller = nullptr;
    YBXSDKCoreWebView* page = nullptr;
};

TEST_F(SDKCoreControllerTest, OneControllerWithAPageMadeButNotLoaded) {
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(sel::sharedInstance(objc_getClass("YBXSDKCoreController")).get(), controller);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->handler()->delegate_.lock().get(), controller);
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateNotLoaded);
    EXPECT_EQ(pageLoads(), 0u);
    EXPECT_TRUE(controller->optoraMonitorRefreshIntervals().isNil());
}

TEST_F(SDKCoreControllerTest, RequestersWaitingForThePageAreAnsweredInOrderWithIdsAcrossThem) {
    Ref<Requester> first = requester("a"), second = requester("b");
    answer("1", "a");
    answer("2", "b");
    controller->buildAdURL(first.get());
    controller->buildAdURL(second.get());
    settle();
    EXPECT_EQ(pageLoads(), 1u);
    EXPECT_EQ(first->requestIDs, std::vector<std::string>{"1"});
    EXPECT_EQ(second->requestIDs, std::vector<std::string>{"2"});
    EXPECT_EQ(evaluatedStartingWith("KESTRA_buildAdURL("), (std::vector<std::string>{buildCommand("1", "a"), buildCommand("2", "b")}));
    // The constants are asked for once the page has loaded.
    EXPECT_EQ(evaluatedStartingWith("KESTRA_getSdkConstants(").size(), 1u);
    ASSERT_EQ(first->calls, std::vector<std::string>{"loadAdURL"});
    ASSERT_EQ(second->calls, std::vector<std::string>{"loadAdURL"});
    EXPECT_EQ(first->answers[0], (Value{{"request_id", "1"}, {"url", "http://ad.test/a"}}));
    EXPECT_EQ(second->answers[0], (Value{{"request_id", "2"}, {"url", "http://ad.test/b"}}));
    EXPECT_TRUE(first->allOnMain && second->allOnMain);

    // A loaded page is used as it is; ids go on.
    answer("3", "a");
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(pageLoads(), 1u);
    EXPECT_EQ(first->requestIDs, (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(first->calls, (std::vector<std::string>{"loadAdURL", "loadAdURL"}));
}

TEST_F(SDKCoreControllerTest, AFailedPageFailsEveryWaitingRequesterAndIsReloadedNextTime) {
    transport->answer(YBXSDKCorePageURL(), ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost));
    Ref<Requester> first = requester("a"), second = requester("b");
    controller->buildAdURL(first.get());
    controller->buildAdURL(second.get());
    settle();
    EXPECT_EQ(page->state(), YBXSDKCoreWebViewStateFailed);
    EXPECT_EQ(first->calls, std::vector<std::string>{"failed"});
    EXPECT_EQ(second->calls, std::vector<std::string>{"failed"});
    EXPECT_TRUE(evaluatedStartingWith("KESTRA_").empty());

    transport->answer(YBXSDKCorePageURL(), ScriptedTransport::Script::body({"<html>sdk core</html>"}));
    answer("1", "a");
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(transport->log().size(), 2u);
    EXPECT_EQ(first->calls, (std::vector<std::string>{"failed", "loadAdURL"}));
}

TEST_F(SDKCoreControllerTest, AnswersReachOnlyTheRequesterOfTheirId) {
    Ref<Requester> first = requester("a");
    pages.whenEvaluated(buildCommand("1", "a"), webkit::PageScript().navigate("pmsg://sdk/loadAdURL?request_id=99&url=x"));
    controller->buildAdURL(first.get());
    settle();
    EXPECT_TRUE(first->calls.empty());
    // The right id still reaches it, once.
    pageSends("pmsg://sdk/invalidRequest?request_id=1&error=e");
    pageSends("pmsg://sdk/invalidRequest?request_id=1&error=e");
    settle();
    EXPECT_EQ(first->calls, std::vector<std::string>{"invalid"});
}

TEST_F(SDKCoreControllerTest, AnInvalidRequestIsLoggedForThePublisher) {
    Ref<Requester> first = requester("a");
    pages.whenEvaluated(buildCommand("1", "a"), webkit::PageScript().navigate("pmsg://sdk/invalidRequest?request_id=1&error=bad"));
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(first->calls, std::vector<std::string>{"invalid"});
    EXPECT_TRUE(log::contains("<Orvane> Invalid Request: "));
}

TEST_F(SDKCoreControllerTest, ARequesterGoneBeforeItsAnswerIsNotCalled) {
    Ref<Requester> first = requester("a");
    WeakRef<Requester> weak(first.get());
    pages.whenLoaded(YBXSDKCorePageURL(), webkit::PageScript().neverEnd());
    controller->buildAdURL(first.get());
    settle();
    first = nullptr;
    EXPECT_FALSE(weak.lock());
    sel::webViewDidFinishLoad_(page, page->webView());
    settle();
    EXPECT_TRUE(evaluatedStartingWith("KESTRA_buildAdURL(").empty());
}

TEST_F(SDKCoreControllerTest, ARequesterAskingTwiceWhileThePageLoadsGetsOneCommand) {
    Ref<Requester> first = requester("a");
    answer("1", "a");
    pages.whenLoaded(YBXSDKCorePageURL(), webkit::PageScript().neverEnd());
    controller->buildAdURL(first.get());
    controller->buildAdURL(first.get());
    settle();
    sel::webViewDidFinishLoad_(page, page->webView());
    settle();
    EXPECT_EQ(evaluatedStartingWith("KESTRA_buildAdURL("), std::vector<std::string>{buildCommand("1", "a")});
    EXPECT_EQ(first->calls, std::vector<std::string>{"loadAdURL"});
}

TEST_F(SDKCoreControllerTest, AnOlderRequestOfTheSameRequesterIsAnsweredToNobody) {
    Ref<Requester> first = requester("a");
    controller->buildAdURL(first.get());
    settle();
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(first->requestIDs, (std::vector<std::string>{"1", "2"}));
    pageSends("pmsg://sdk/loadAdURL?request_id=1&url=old");
    pageSends("pmsg://sdk/loadAdURL?request_id=2&url=new");
    settle();
    ASSERT_EQ(first->calls, std::vector<std::string>{"loadAdURL"});
    EXPECT_EQ(first->answers[0]["url"], Value("new"));
}

TEST_F(SDKCoreControllerTest, ARequestUnansweredForTenSecondsFailsItsRequester) {
    Ref<Requester> first = requester("a");
    controller->buildAdURL(first.get());
    settle();
    platform::testing::advance(9.9);
    settle();
    EXPECT_TRUE(first->calls.empty());
    platform::testing::advance(0.2);
    settle();
    EXPECT_EQ(first->calls, std::vector<std::string>{"failed"});
    // A late answer reaches nobody.
    pageSends("pmsg://sdk/loadAdURL?request_id=1&url=late");
    settle();
    EXPECT_EQ(first->calls, std::vector<std::string>{"failed"});
    // An answered request is not failed later.
    answer("2", "a");
    controller->buildAdURL(first.get());
    settle();
    platform::testing::advance(11);
    settle();
    EXPECT_EQ(first->calls, (std::vector<std::string>{"failed", "loadAdURL"}));
}

TEST_F(SDKCoreControllerTest, ParametersWithoutJSONAreNotSent) {
    Ref<Requester> first = requester("a");
    first->badParameters = true;
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(first->calls, std::vector<std::string>{"invalid"});
    EXPECT_TRUE(evaluatedStartingWith("KESTRA_buildAdURL").empty());
    EXPECT_TRUE(YBXSDKCoreController::adRequestParameterJSONFromParameters(Value()).isNil());
}

TEST_F(SDKCoreControllerTest, LineAndParagraphSeparatorsAreEscapedInTheCommand) {
    Ref<Requester> first = requester("a");
    first->extraParameters = Value{{"kw", "a\u2028b\u2029c"}};
    controller->buildAdURL(first.get());
    settle();
    const std::vector<std::string> sent = evaluatedStartingWith("KESTRA_buildAdURL(");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NE(sent[0].find("\"kw\":\"a\\u2028b\\u2029c\""), std::string::npos) << sent[0];
    EXPECT_EQ(sent[0].find("\u2028"), std::string::npos);
    EXPECT_EQ(sent[0].find("\u2029"), std::string::npos);
}

TEST(SDKCoreExtras, ExtrasThatAreNoJSONAreSentAsText) {
    testing::AdLibEnvironment env;
    Ref<NSURL> url = NSURL::URLWithString("http://publisher.test/page?a=1");
    const Value date(Date{0});
    struct Case {
        const char* name;
        Value extras;
        std::string json;
    } cases[] = {
        {"URL", Value{{"u", Value(url)}}, R"({"extras":{"u":"http:\/\/publisher.test\/page?a=1"}})"},
        {"date", Value{{"d", date}, {"n", 1}}, dictionaryToJSONString(Value{{"extras", Value{{"d", date.description()}, {"n", 1}}}})},
        {"nested dictionary", Value{{"inner", Value{{"a", "1"}}}}, R"({"extras":{"inner":{"a":"1"}}})"},
        {"nested date", Value{{"inner", Value{{"d", date}}}},
         dictionaryToJSONString(Value{{"extras", Value{{"inner", Value{{"d", date}}.description()}}}})},
        {"plain", Value{{"s", "t"}}, R"({"extras":{"s":"t"}})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Value json = YBXSDKCoreController::adRequestParameterJSONFromParameters(Value{{"extras", c.extras}});
        Value viaSelector = sel::adRequestParameterJSONFromParameters_(YBXSDKCoreController::sharedInstance(), Value{{"extras", c.extras}});
        EXPECT_EQ(json, Value(c.json));
        EXPECT_EQ(viaSelector, json);
    }
}

TEST_F(SDKCoreControllerTest, TheServersConstantsReachTheirPlaces) {
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    const char* keys[] = {"bad_ad_report_path", "as_domains", "native_ad_support_url", "ybx_web_view_cache_max_capacity"};
    for (const char* key : keys) defaults->setObject(Value("before"), key);
    // Absent and empty values leave what was there.
    controller->loadSDKConstants(Value{{"as_domains", ""}});
    settle();
    for (const char* key : keys) EXPECT_EQ(defaults->objectForKey(key), Value("before")) << key;
    controller->loadSDKConstants(Value{{"bad_ad_report_path", "/bad"},
                                       {"as_domains", "127.0.0.1"},
                                       {"native_ad_support_url", "http://127.0.0.1/native"},
                                       {"ybx_web_view_cache_max_capacity", "6"}});
    settle();
    EXPECT_EQ(defaults->objectForKey("bad_ad_report_path"), Value("/bad"));
    EXPECT_EQ(defaults->objectForKey("as_domains"), Value("127.0.0.1"));
    EXPECT_EQ(defaults->objectForKey("native_ad_support_url"), Value("http://127.0.0.1/native"));
    EXPECT_EQ(defaults->objectForKey("ybx_web_view_cache_max_capacity"), Value("6"));

    struct Case {
        const char* text;  // nullptr: absent
        Value intervals;
    } sampling[] = {
        {"[0.5,1,2]", Value::array({Value(0.5), Value(1), Value(2)})},
        {nullptr, Value::array({Value(0.5), Value(1), Value(2)})},  // absent: unchanged
        {"[1,\"2\"]", Value()},
        {"[3]", Value::array({Value(3)})},
        {"not json", Value()},
        {"{\"a\":1}", Value()},
    };
    for (const auto& c : sampling) {
        SCOPED_TRACE(c.text ? c.text : "absent");
        controller->loadSDKConstants(c.text ? Value{{"optora_sampling_intervals", c.text}} : Value(Value::Dictionary{}));
        settle();
        EXPECT_EQ(controller->optoraMonitorRefreshIntervals(), c.intervals);
    }
}

TEST_F(SDKCoreControllerTest, MRAIDLocationsChangeOnlyWhenTheServerNamesOne) {
    Class* interceptor = objc_getClass("YBXMRAIDInterceptor");
    const Value banner = sel::bannerImplementationPath(interceptor);
    EXPECT_EQ(banner, Value(YBXAdServerBaseURL() + "/mraid/v1/mraid_app_banner.js"));
    EXPECT_EQ(sel::interstitialImplementationPath(interceptor), Value(YBXAdServerBaseURL() + "/mraid/v1/mraid_app_interstitial.js"));
    EXPECT_EQ(sel::expandedBannerImplementationPath(interceptor),
              Value(YBXAdServerBaseURL() + "/mraid/v1/mraid_app_expanded_banner.js"));
    controller->loadSDKConstants(Value{{"mraid_banner_path", ""}, {"mraid_disable_redirect", "1"}});
    EXPECT_EQ(sel::bannerImplementationPath(interceptor), banner);
    EXPECT_FALSE(sel::isAllowed(interceptor));
    controller->loadSDKConstants(Value{{"mraid_interstitial_path", "http://media.test/i.js"}});
    EXPECT_EQ(sel::bannerImplementationPath(interceptor), banner);
    EXPECT_EQ(sel::interstitialImplementationPath(interceptor), Value("http://media.test/i.js"));
    // Anything but "1", or nothing, lets the interceptor serve.
    EXPECT_TRUE(sel::isAllowed(interceptor));
    controller->loadSDKConstants(Value{{"mraid_disable_redirect", "true"}});
    EXPECT_TRUE(sel::isAllowed(interceptor));
}

TEST_F(SDKCoreControllerTest, TheStoreSheetCacheSizeIsAWholeNumber) {
    YBXApplication* application = YBXApplication::sharedApplication();
    ASSERT_NE(application, nullptr);
    controller->loadSDKConstants(Value{{"discardable_storekitcontroller_cache_size", "3"}});
    ASSERT_TRUE(application->discardableStoreProductViewControllerAppCache());
    EXPECT_EQ(application->discardableStoreProductViewControllerAppCache()->countLimit(), 3);
    for (const char* unread : {"three", "2.5", ""}) {
        controller->loadSDKConstants(Value{{"discardable_storekitcontroller_cache_size", unread}});
        EXPECT_EQ(application->discardableStoreProductViewControllerAppCache()->countLimit(), 3) << unread;
    }
    controller->loadSDKConstants(Value{{"discardable_storekitcontroller_cache_size", "0"}});
    EXPECT_FALSE(application->discardableStoreProductViewControllerAppCache());
    controller->loadSDKConstants(Value{{"discardable_storekitcontroller_cache_size", "1"}});
    ASSERT_TRUE(application->discardableStoreProductViewControllerAppCache());
    EXPECT_EQ(application->discardableStoreProductViewControllerAppCache()->countLimit(), 1);
}

TEST_F(SDKCoreControllerTest, APageIsReusedFor59MinutesAndReloadedAfterAnHour) {
    Ref<Requester> first = requester("a");
    controller->buildAdURL(first.get());
    settle();
    ASSERT_EQ(pageLoads(), 1u);
    platform::testing::advance(59 * 60);
    settle();
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(pageLoads(), 1u);
    EXPECT_EQ(evaluatedStartingWith("KESTRA_getSdkConstants(").size(), 2u);  // no constants came yet
    platform::testing::advance(2 * 60);
    settle();
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(pageLoads(), 2u);
    EXPECT_EQ(evaluatedStartingWith("KESTRA_getSdkConstants(").size(), 3u);
}

TEST_F(SDKCoreControllerTest, ConstantsArriveFromThePageAndAreAskedForAgainAfterAReload) {
    pages.whenEvaluated("KESTRA_getSdkConstants({\"js\":\"" + YBXRequest::sdkVersion() + "\"});",
                        webkit::PageScript().navigate("pmsg://sdk/loadSdkConstants?as_domains=ads.test&optora_sampling_intervals=%5B1%5D"));
    Ref<Requester> first = requester("a");
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->objectForKey("as_domains"), Value("ads.test"));
    EXPECT_EQ(controller->optoraMonitorRefreshIntervals(), Value::array({Value(1)}));
    // Constants came: a second finish asks no more.
    controller->buildAdURL(first.get());
    settle();
    EXPECT_EQ(evaluatedStartingWith("KESTRA_getSdkConstants(").size(), 1u);
}

TEST_F(SDKCoreControllerTest, AtMostFourViewabilityPagesKeepRunningTheOldestGoFirst) {
    std::vector<Ref<YBXSDKCoreWebView>> made;
    std::vector<WeakRef<YBXSDKCoreWebView>> weak;
    for (int i = 0; i < 6; ++i) {
        made.push_back(controller->nextSDKCoreWebView());
        watch(made.back().get());
        weak.emplace_back(made.back().get());
    }
    settle();
    EXPECT_EQ(pageLoads(), 6u);
    std::vector<Ref<Object>> innerOf;
    for (auto& p : made) innerOf.push_back(Ref<Object>(p->webView()));
    auto finish = [&](int i) {
        controller->finishedUsingSDKCoreWebView(made[i].get());
        made[i] = nullptr;
        settle();
    };
    // A page that said goodbye is let go at once.
    sel::setOptoraUnloadPingReceived_(innerOf[0].get(), true);
    finish(0);
    EXPECT_FALSE(weak[0].lock());
    for (int i = 1; i <= 5; ++i) finish(i);
    // Five running: the oldest is marked and let go.
    EXPECT_FALSE(weak[1].lock());
    EXPECT_TRUE(sel::optoraUnloadPingReceived(innerOf[1].get()));
    for (int i = 2; i <= 5; ++i) EXPECT_TRUE(weak[i].lock()) << i;
    // A sixth: again the oldest.
    made.push_back(controller->nextSDKCoreWebView());
    watch(made.back().get());
    innerOf.push_back(Ref<Object>(made.back()->webView()));
    weak.emplace_back(made.back().get());
    finish(6);
    EXPECT_FALSE(weak[2].lock());
    for (int i = 3; i <= 6; ++i) EXPECT_TRUE(weak[i].lock()) << i;
    EXPECT_FALSE(sel::optoraUnloadPingReceived(innerOf[6].get()));
}

// The reload of a failed page and a requester's wait, in both orders in
// which the page's queues may run: the old failure never reaches it.
class ReloadRace : public SDKCoreControllerTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ReloadRace, ARequesterWaitsForTheReloadNotTheOldFailure) {
    transport->answer(YBXSDKCorePageURL(), ScriptedTransport::Script::failure(NSURLErrorCannotConnectToHost));
    Ref<Requester> early = requester("early");
    controller->buildAdURL(early.get());
    settle();
    ASSERT_EQ(page->state(), YBXSDKCoreWebViewStateFailed);
    transport->answer(YBXSDKCorePageURL(), ScriptedTransport::Script::body({"<html>sdk core</html>"}));
    answer("1", "a");
    Ref<Requester> first = requester("a");
    controller->buildAdURL(first.get());
    dispatch::drainAll(controller->lockQueue());
    if (GetParam()) {
        dispatch::drainAll(page->lockQueue());  // the observer is registered before the load starts
        dispatch::drainAll(page->commandQueue());
    } else {
        dispatch::drainAll(page->commandQueue());  // the load starts before the observer is registered
        dispatch::drainAll(page->lockQueue());
    }
    settle();
    EXPECT_EQ(first->calls, std::vector<std::string>{"loadAdURL"});
    EXPECT_EQ(early->calls, std::vector<std::string>{"failed"});
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ReloadRace, ::testing::Bool());

}  // namespace
}  // namespace adlib
