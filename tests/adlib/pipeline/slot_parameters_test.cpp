#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/slot.h"
#include "adlib/render/publisher_toolbar_credentials.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

using testing::makeBannerSlot;
using testing::makeDelegate;
using testing::makeRequest;
using testing::makeSlot;
using testing::neighbourLog;
using testing::SlotTest;

// The parameters as the page receives them: through their JSON text.
Value asJSON(const Value& parameters) { return readJsonIntoDictionary(dictionaryToJSONString(parameters)); }

Value rect(double x, double y, double w, double h) {
    return Value(Value::Dictionary{{"x", Value(x)}, {"y", Value(y)}, {"w", Value(w)}, {"h", Value(h)}});
}

Value sizes(std::initializer_list<YBXAdSize> list) {
    Value::Array boxed;
    for (const YBXAdSize& size : list) boxed.push_back(YBXAdSizeBoxed(size));
    return Value(std::move(boxed));
}

using SlotParameters = SlotTest;

TEST_F(SlotParameters, DependOnTheAdTypeAndWhatTheDelegateAnswers) {
    struct Case {
        const char* name;
        bool interstitial;
        YBXAdSize size;
        bool silentDelegate;
        Value::Dictionary expected;
    };
    const Value webViewFrame = rect(0, 0, 320, 50);
    const Case cases[] = {
        {"banner, full delegate", false, kYBXAdSizeBanner, false,
         {{"sz", Value("320x50|300x250")}, {"ad_frame", rect(1, 2, 320, 50)}, {"ad_bounds", rect(0, 0, 320, 50)}}},
        {"banner, delegate without answers", false, kYBXAdSizeBanner, true,
         {{"ad_frame", webViewFrame}, {"ad_bounds", webViewFrame}}},
        {"interstitial", true, kYBXAdSizeInvalid, false, {{"format", Value("interstitial_mb")}}},
        {"smart banner", false, kYBXAdSizeSmartBannerPortrait, false,
         {{"sz", Value("320x50|300x250")},
          {"ad_frame", rect(1, 2, 320, 50)},
          {"ad_bounds", rect(0, 0, 320, 50)},
          {"smart_w", Value("full")},
          {"smart_h", Value("auto")}}},
        {"full width", false, YBXAdSizeMakeFullWidth(50), true,
         {{"ad_frame", webViewFrame}, {"ad_bounds", webViewFrame}, {"smart_w", Value("full")}}},
    };
    std::set<std::string> slotKeys;
    for (const Case& c : cases)
        for (const auto& entry : c.expected) slotKeys.insert(entry.first);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXSlot> slot = c.interstitial ? makeSlot() : makeBannerSlot(c.size);
        Ref<testing::SlotTestDelegate> delegate = makeDelegate(c.silentDelegate);
        delegate->validSizes = sizes({kYBXAdSizeBanner, kYBXAdSizeMediumRectangle});
        sel::setSlotDelegate_(slot.get(), delegate.get());
        slot->request_ = makeRequest();

        // The slot's keys come on top of the request's own parameters.
        Value parameters = asJSON(sel::requestParameters(slot.get()));
        EXPECT_FALSE(parameters["js"].isNil());
        for (const std::string& key : slotKeys) {
            auto found = c.expected.find(key);
            EXPECT_EQ(parameters[key], found == c.expected.end() ? Value() : found->second) << key;
        }
    }
}

TEST_F(SlotParameters, CarryTheSlotsFlagsEachWhenSet) {
    Ref<YBXSlot> slot = makeSlot();
    Ref<testing::SlotTestDelegate> delegate = makeDelegate();
    delegate->position = Value(Value::Dictionary{{"x", Value(5.0)}, {"y", Value(6.0)}});
    delegate->purchaseDelegate = alloc("NSObject");
    sel::setSlotDelegate_(slot.get(), delegate.get());
    sel::setAdUnitID_(slot.get(), Value("unit-1"));
    sel::setRequestID_(slot.get(), Value("17"));
    sel::setCalledLoadAndDisplayRequest_(slot.get(), true);
    sel::setManualImpressionsEnabled_(slot.get(), true);
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(Value(Value::Dictionary{{"token", Value("t")}}), kYBXToolbarCredentialsKey);
    defaults->setBool(true, "orvane_ybx_use_https");

    Value first = asJSON(sel::requestParameters(slot.get()));
    EXPECT_EQ(first,
              Value(Value::Dictionary{{"slotname", Value("unit-1")},
                                      {"format", Value("interstitial_mb")},
                                      {"request_id", Value("17")},
                                      {"ad_pos", Value(Value::Dictionary{{"x", Value(5.0)}, {"y", Value(6.0)}})},
                                      {"dpt", Value("1")},
                                      {"cladr", Value("1")},
                                      {"d_imp_hdr", Value("1")},
                                      {"iap_set", Value("1")},
                                      {"force_https", Value("1")}}));
    // "cladr" rides along once.
    Value second = asJSON(sel::requestParameters(slot.get()));
    EXPECT_TRUE(second["cladr"].isNil());
    EXPECT_EQ(second["slotname"], Value("unit-1"));

    // Credentials that are no dictionary, and a switched-off https default, add nothing.
    defaults->setObject(Value("t"), kYBXToolbarCredentialsKey);
    defaults->setBool(false, "orvane_ybx_use_https");
    Value third = asJSON(sel::requestParameters(slot.get()));
    EXPECT_TRUE(third["dpt"].isNil());
    EXPECT_TRUE(third["force_https"].isNil());
}

TEST_F(SlotParameters, SizesTextSkipsWhatIsNoAdSize) {
    Ref<YBXSlot> slot = makeSlot();
    struct Case {
        const char* name;
        Value sizes;
        const char* text;
    };
    Value::Array mixed = sizes({kYBXAdSizeMediumRectangle}).array();
    mixed.insert(mixed.begin(), Value("320x50"));
    mixed.push_back(Value(Size{320, 50}));
    mixed.push_back(YBXAdSizeBoxed(YBXAdSizeFromCGSize(Size{-300, 250})));
    mixed.push_back(YBXAdSizeBoxed(YBXAdSizeFromCGSize(Size{728.9, 90.2})));
    const Case cases[] = {
        {"two predefined sizes", sizes({kYBXAdSizeBanner, kYBXAdSizeMediumRectangle}), "320x50|300x250"},
        {"no ad size at all", Value(Value::Array{Value("320x50"), Value(3LL)}), ""},
        {"mixed, negative and fractional", Value(mixed), "300x250|728x90"},
        {"not an array", Value("320x50"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sel::multipleAdSizeParameterFromSizes_(slot.get(), c.sizes), Value(c.text));
    }
    // No text, no "sz".
    Ref<YBXSlot> banner = makeBannerSlot(kYBXAdSizeBanner);
    Ref<testing::SlotTestDelegate> delegate = makeDelegate();
    delegate->validSizes = Value(Value::Array{Value("320x50")});
    sel::setSlotDelegate_(banner.get(), delegate.get());
    EXPECT_TRUE(sel::requestParameters(banner.get())["sz"].isNil());
}

TEST_F(SlotParameters, QualitySignalsOnlyWithSomethingInThem) {
    Ref<YBXSlot> slot = makeSlot();
    EXPECT_TRUE(sel::requestParameters(slot.get())["quality_signals"].isNil());

    // The application's snapshot of a started request alone.
    Ref<YBXSlot> requesting = makeSlot();
    sel::loadRequest_(requesting.get(), makeRequest().get());
    Value app = asJSON(sel::requestParameters(requesting.get()))["quality_signals"];
    ASSERT_TRUE(app.isDictionary());
    EXPECT_EQ(app.dictionary().size(), 1u);
    EXPECT_TRUE(app["app"].isDictionary());
    EXPECT_FALSE(app["app"]["seq_num"].isNil());

    // The pending ad statistics alone.
    testing::addPendingAdStatistics(Value(Value::Dictionary{{"pcc", Value(3LL)}}));
    Value signals = sel::requestParameters(slot.get())["quality_signals"];
    EXPECT_EQ(signals, Value(Value::Dictionary{{"ads", Value(Value::Array{Value(Value::Dictionary{{"pcc", Value(3LL)}})})}}));
}

// --- the page's answers ----------------------------------------------------------------------------

using SlotAnswers = SlotTest;

TEST_F(SlotAnswers, AnAdURLGoesToLoadAdWithoutHeaders) {
    struct Case {
        const char* name;
        Value::Dictionary parameters;
        bool hasURL;
        bool protectedClicks;
    };
    const Case cases[] = {
        {"url", {{"url", Value("http://127.0.0.1:47800/ad?x=1")}}, true, false},
        {"url, auto-click protection", {{"url", Value("http://127.0.0.1:47800/ad")}, {"enable_auto_click_protection", Value("1")}}, true, true},
        {"protection other than 1", {{"url", Value("http://127.0.0.1:47800/ad")}, {"enable_auto_click_protection", Value("true")}}, true, false},
        {"missing url", {{"request_scenario", Value("online_request")}}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        neighbourLog().loadedAds.clear();
        Ref<YBXSlot> slot = makeBannerSlot(kYBXAdSizeBanner);
        sel::loadRequest_(slot.get(), makeRequest().get());
        sel::loadAdURLWithParameters_(slot.get(), Value(c.parameters));
        ASSERT_EQ(neighbourLog().loadedAds.size(), 1u);
        const auto& loaded = neighbourLog().loadedAds[0];
        EXPECT_EQ(loaded.stateBefore, 3);
        EXPECT_TRUE(loaded.headers.isNil());
        Ref<Object> url = sel::adURL(loaded.ad.get());
        EXPECT_EQ(static_cast<bool>(url), c.hasURL);
        if (c.hasURL) {
            EXPECT_EQ(sel::absoluteString(url.get()), c.parameters.at("url").string());
        }
        EXPECT_EQ(slot->state_, 4);
        EXPECT_EQ(sel::autoClickProtected(sel::opener(slot->webViewDelegate_.get()).get()), c.protectedClicks);
    }
}

TEST_F(SlotAnswers, ErrorsAndInvalidRequestsEndTheRequestWithoutRefresh) {
    for (bool invalid : {false, true}) {
        SCOPED_TRACE(invalid ? "invalidRequest" : "errors");
        Ref<YBXSlot> slot = makeBannerSlot(kYBXAdSizeBanner);
        Ref<testing::SlotTestDelegate> delegate = makeDelegate();
        sel::setAdEventDelegate_(slot.get(), delegate.get());
        sel::scheduleReloadTimer_(slot.get(), 30);
        sel::deactivateReloadTimer(slot.get());
        sel::loadRequest_(slot.get(), makeRequest().get());
        if (invalid) {
            sel::invalidJavaScriptRequest(slot.get());
        } else {
            sel::loadAdURLWithParameters_(slot.get(), Value(Value::Dictionary{{"errors", Value("bad unit")}, {"url", Value("http://x/")}}));
        }
        EXPECT_EQ(slot->state_, 7);
        EXPECT_FALSE(slot->reloadTimer_);
        EXPECT_TRUE(neighbourLog().loadedAds.empty());
        ASSERT_EQ(delegate->errors.size(), 1u);
        EXPECT_EQ(sel::code(delegate->errors[0].get()), YBXErrorCodeInvalidRequest);
        EXPECT_EQ(neighbourLog().counted(), 0);
    }
}

TEST_F(SlotAnswers, AnswersAfterACancelAreDropped) {
    for (bool forGood : {false, true}) {
        SCOPED_TRACE(forGood ? "cancelPendingAndFutureActions" : "cancelPendingActions");
        Ref<YBXSlot> slot = makeBannerSlot(kYBXAdSizeBanner);
        Ref<testing::SlotTestDelegate> delegate = makeDelegate();
        sel::setAdEventDelegate_(slot.get(), delegate.get());
        sel::loadRequest_(slot.get(), makeRequest().get());
        if (forGood) sel::cancelPendingAndFutureActions(slot.get());
        else sel::cancelPendingActions(slot.get());
        const long long state = slot->state_;

        sel::loadAdURLWithParameters_(slot.get(), Value(Value::Dictionary{{"url", Value("http://x/")}}));
        sel::loadAdURLWithParameters_(slot.get(), Value(Value::Dictionary{{"errors", Value("e")}}));
        sel::loadAd_headers_(slot.get(), sel::init(alloc("YBXAd")).get(), Value());
        sel::invalidJavaScriptRequest(slot.get());
        sel::failedJavaScriptFile(slot.get());

        EXPECT_EQ(slot->state_, state);
        EXPECT_TRUE(delegate->calls.empty());
        EXPECT_FALSE(sel::loadingAd(slot.get()));
        EXPECT_FALSE(slot->reloadTimer_);
        EXPECT_EQ(neighbourLog().counted(), 0);
    }
}

TEST_F(SlotAnswers, ADelegateImplementingNothingHearsNothing) {
    Ref<YBXSlot> slot = makeBannerSlot(kYBXAdSizeBanner);
    Ref<testing::SlotTestDelegate> delegate = makeDelegate(true);
    sel::setAdEventDelegate_(slot.get(), delegate.get());
    sel::setSlotDelegate_(slot.get(), delegate.get());
    sel::loadRequest_(slot.get(), makeRequest().get());
    sel::requestParameters(slot.get());
    sel::invalidJavaScriptRequest(slot.get());
    sel::loadRequest_(slot.get(), makeRequest().get());
    sel::failedJavaScriptFile(slot.get());
    EXPECT_EQ(slot->state_, 1);
    EXPECT_TRUE(delegate->calls.empty());
}

// --- threads -------------------------------------------------------------------------------------

TEST_F(SlotParameters, AreBuiltOnTheMainThreadWhileItRuns) {
    Ref<YBXSlot> slot = makeBannerSlot(kYBXAdSizeBanner);
    sel::setAdUnitID_(slot.get(), Value("unit-2"));
    sel::loadRequest_(slot.get(), makeRequest().get());
    std::atomic<bool> done{false};
    Value fromWorker;
    std::thread worker([&] {
        sel::setRequestID_(slot.get(), Value("worker-id"));
        fromWorker = sel::requestParameters(slot.get());
        done = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 10.0));
    worker.join();
    EXPECT_EQ(fromWorker["slotname"], Value("unit-2"));
    EXPECT_EQ(fromWorker["request_id"], Value("worker-id"));
    EXPECT_EQ(fromWorker["ad_frame"], rect(0, 0, 320, 50));
}

}  // namespace
}  // namespace adlib
