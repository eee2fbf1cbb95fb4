// YBXAdPreprocessor: the support page it loads in its slot, the script it
// runs once the page is there, and how the page's answer, its silence or a
// failure reach the handler (once, on a later main-queue turn).
#include "adlib/pipeline/ad_preprocessor.h"

#include <gtest/gtest.h>

#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/request_error.h"
#include "platform/foundation/run_loop.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

struct Seen {
    std::vector<Ref<Object>> requests;
    std::vector<std::string> scripts;
};
Seen& seen() {
    static Seen s;
    return s;
}

struct Outcome {
    Value configuration;
    Ref<Object> slot;
    Ref<Object> error;
};

class AdPreprocessorTest : public ::testing::Test {
protected:
    AdPreprocessorTest() {
        // The slot's request road and the page are stood in for: the test says when the page has loaded.
        MSHookMessageEx(objc_getClass("YBXSlot"), sel::loadRequest_, +[](id, id request) { seen().requests.emplace_back(request); }, &previousLoad);
        MSHookMessageEx(objc_getClass("YBXWebView"), sel::stringByEvaluatingJavaScriptFromString_,
                        +[](id, Value script) {
                            seen().scripts.push_back(script.string());
                            return Value("");
                        },
                        &previousEvaluate);
        preprocessor = sel::initWithAdUnitID_(alloc("YBXAdPreprocessor"), Value("unit-1"));
    }

    void start(const std::string& json) {
        sel::preprocessNativeAdJSON_completionHandler_(preprocessor.get(), Value(json), [this](Value configuration, Ref<Object> slot, Ref<Object> error) {
            outcomes.push_back({configuration, slot, error});
        });
    }
    Ref<Object> slot() const { return sel::slot(preprocessor.get()); }
    void pageLoaded() { sel::slotFinishedLoadingAdContent_(preprocessor.get(), slot().get()); }
    void answer(const Value& success, id from = nullptr) {
        Ref<Object> webView = sel::webView(slot().get());
        YBXNotificationCenter::defaultCenter()->postNotificationName("nativeAdPreProcess", Value(Ref<Object>(from ? from : webView.get())),
                                                                     Value(Value::Dictionary{{"success", success}}));
    }

    static inline void (*previousLoad)(id, id) = nullptr;
    static inline Value (*previousEvaluate)(id, Value) = nullptr;
    AdLibEnvironment env;
    Ref<Object> preprocessor;
    std::vector<Outcome> outcomes;
};

const std::string kJSON = R"({"native":{"headline":"h"}})";
const std::string kConfiguration = R"({"ads":[{"type":"native","template_id":1}]})";

TEST_F(AdPreprocessorTest, TheSupportPageAnswerBecomesTheConfigurationWithTheSlot) {
    start(kJSON);
    ASSERT_EQ(seen().requests.size(), 1u);
    const Value extras = sel::networkExtrasAdditionalParameters(seen().requests[0].get());
    auto* page = extras["_requestUrl"].objectAs<NSURL>();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->absoluteString(), as<NSURL>(sel::supportHTMLURL(objc_getClass("YBXNativeAd")).get())->absoluteString());
    EXPECT_EQ(sel::adUnitID(slot().get()), Value("unit-1"));
    EXPECT_TRUE(seen().scripts.empty());

    pageLoaded();
    EXPECT_EQ(seen().scripts, std::vector<std::string>{"orvane.kestra.nativeAds.preProcessJsonPmsg(" + kJSON + ")"});
    answer(Value(kConfiguration));
    EXPECT_TRUE(outcomes.empty()) << "the handler runs on a later turn";
    RunLoop::main().advance(0);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].configuration["ads"].array().size(), 1u);
    EXPECT_EQ(outcomes[0].slot.get(), slot().get());
    EXPECT_FALSE(outcomes[0].error);
    // The time-out after an answer changes nothing.
    RunLoop::main().advance(10);
    EXPECT_EQ(outcomes.size(), 1u);
}

TEST_F(AdPreprocessorTest, UnusableInputOrAnswersEndWithAnError) {
    struct Case {
        const char* name;
        std::string json;
        Value success;  // nil: no page is loaded
        std::string domain;
        long long code;
    } cases[] = {
        {"undecodable JSON", "{not json", Value(), "", 0},
        {"success not an object", kJSON, Value("[1,2]"), std::string(kYBXErrorDomain), YBXErrorCodeInvalidResponse},
        {"success not JSON", kJSON, Value("nope"), std::string(kYBXErrorDomain), YBXErrorCodeInvalidResponse},
        {"success not a text", kJSON, Value(7LL), std::string(kYBXErrorDomain), YBXErrorCodeInvalidResponse},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        outcomes.clear();
        seen().requests.clear();
        preprocessor = sel::initWithAdUnitID_(alloc("YBXAdPreprocessor"), Value("unit-1"));
        start(c.json);
        if (!c.success.isNil()) {
            pageLoaded();
            answer(c.success);
        } else {
            EXPECT_TRUE(seen().requests.empty());
        }
        EXPECT_TRUE(outcomes.empty());
        RunLoop::main().advance(0);
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_TRUE(outcomes[0].configuration.isNil());
        EXPECT_FALSE(outcomes[0].slot);
        ASSERT_TRUE(outcomes[0].error);
        if (!c.domain.empty()) {
            EXPECT_EQ(sel::domain(outcomes[0].error.get()), c.domain);
            EXPECT_EQ(sel::code(outcomes[0].error.get()), c.code);
        }
        RunLoop::main().advance(6);
        EXPECT_EQ(outcomes.size(), 1u);
    }
}

TEST_F(AdPreprocessorTest, APageThatDoesNotAnswerTimesOutAfterFiveSeconds) {
    start(kJSON);
    pageLoaded();
    // An answer from another web view is not the page's.
    Ref<Object> other = sel::initWithFrame_(alloc("YBXWebView"), Rect{});
    answer(Value(kConfiguration), other.get());
    RunLoop::main().advance(4.9);
    EXPECT_TRUE(outcomes.empty());
    RunLoop::main().advance(0.2);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(sel::domain(outcomes[0].error.get()), std::string(kYBXPrivateErrorDomain));
    EXPECT_EQ(sel::code(outcomes[0].error.get()), YBXInternalErrorCodeInternal);
    EXPECT_EQ(sel::localizedDescription(outcomes[0].error.get()), "Timed out.");
    // A late answer is not heard a second time.
    answer(Value(kConfiguration));
    RunLoop::main().advance(1);
    EXPECT_EQ(outcomes.size(), 1u);
}

TEST_F(AdPreprocessorTest, TheSlotsFailureIsTheHandlersError) {
    start(kJSON);
    Ref<Object> failure = sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeNetwork);
    sel::slot_didFailToLoadAdContentWithError_(preprocessor.get(), slot().get(), failure.get());
    RunLoop::main().advance(0);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].error.get(), failure.get());
}

TEST_F(AdPreprocessorTest, AGonePreprocessorNeitherTimesOutNorHearsAnswers) {
    start(kJSON);
    pageLoaded();
    Ref<Object> webView = sel::webView(slot().get());
    preprocessor = nullptr;
    YBXNotificationCenter::defaultCenter()->postNotificationName("nativeAdPreProcess", Value(webView), Value(Value::Dictionary{{"success", Value(kConfiguration)}}));
    RunLoop::main().advance(10);
    EXPECT_TRUE(outcomes.empty());
}

}  // namespace
}  // namespace adlib
