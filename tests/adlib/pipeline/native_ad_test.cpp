// Native ads: which configurations make which ad, asset loading in every
// order of completion on the fake transport, the display rules before
// impressions and clicks, the click script, and the hidden banner's screen
// events reaching the ad's delegate.
#include "adlib/pipeline/native_ad.h"

#include <gtest/gtest.h>

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/macros.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/uikit/image.h"
#include "tests/adlib/pipeline/native_support.h"

namespace adlib {
namespace {

using namespace testing;
using Script = ScriptedTransport::Script;

class NativeAdTest : public ::testing::Test {
protected:
    NativeAdTest() {
        network::setTransport(transport);
        platform::log::clear();
    }

    Script image(double delay) {
        Script s = Script::body({pngText()});
        s.delay = delay;
        return s;
    }
    Script failing(double delay) {
        Script s = Script::body({"missing"}, 404);
        s.delay = delay;
        return s;
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    Ref<NativeRecorder> recorder = makeNativeRecorder();
};

YBXNativeAppInstallAd* appInstallOf(const Ref<Object>& ad) { return as<YBXNativeAppInstallAd>(ad.get()); }

Value without(Value object, const char* key) {
    Value::Dictionary d = object.dictionary();
    d.erase(key);
    return Value(std::move(d));
}

Value with(Value object, const char* key, Value value) {
    Value::Dictionary d = object.dictionary();
    d[key] = std::move(value);
    return Value(std::move(d));
}

TEST_F(NativeAdTest, OnlyValidAdObjectsMakeAnAd) {
    const Value attributionTextOnly = Value(Value::Dictionary{{"text", Value("Ad")}});
    struct Case {
        const char* name;
        const char* className;
        Value object;
        bool made;
    } cases[] = {
        {"a full app-install ad", "YBXNativeAppInstallAd", appInstallObject(true), true},
        {"app install without icon URL", "YBXNativeAppInstallAd", without(appInstallObject(), "app_icon"), false},
        {"app install without call to action", "YBXNativeAppInstallAd", without(appInstallObject(), "call_to_action"), false},
        {"app install with attribution text but no image", "YBXNativeAppInstallAd", with(appInstallObject(), "attribution", attributionTextOnly), false},
        {"content ad", "YBXNativeContentAd", contentObject(), true},
        {"content ad without body", "YBXNativeContentAd", without(contentObject(), "body"), false},
        {"content ad without headline", "YBXNativeContentAd", without(contentObject(), "headline"), false},
        {"content ad without call to action", "YBXNativeContentAd", without(contentObject(), "call_to_action"), true},
        {"missing click-tracking URL", "YBXNativeContentAd", with(contentObject(), "tracking_urls_and_actions", tracking(Value())), false},
        {"empty click-tracking URL", "YBXNativeContentAd", with(contentObject(), "tracking_urls_and_actions", tracking(Value(""))), false},
        {"click-tracking URL not a text", "YBXNativeContentAd", with(contentObject(), "tracking_urls_and_actions", tracking(Value(3LL))), false},
        {"no tracking part", "YBXNativeContentAd", without(contentObject(), "tracking_urls_and_actions"), false},
        {"not an object", "YBXNativeContentAd", Value("ad"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(static_cast<bool>(makeNativeAd(c.className, c.object)), c.made);
    }
    EXPECT_FALSE(sel::init(alloc("YBXNativeContentAd")));
}

TEST_F(NativeAdTest, TheAdObjectIsTheFirstObjectOfAnAdsArray) {
    Class* nativeAd = objc_getClass("YBXNativeAd");
    const Value ad = contentObject();
    struct Case {
        const char* name;
        Value configuration;
        bool found;
    } cases[] = {
        {"first of two", Value(Value::Dictionary{{"ads", Value::array({ad, appInstallObject()})}}), true},
        {"ads not an array", Value(Value::Dictionary{{"ads", ad}}), false},
        {"first element not an object", Value(Value::Dictionary{{"ads", Value::array({Value("x"), ad})}}), false},
        {"empty array", Value(Value::Dictionary{{"ads", Value(Value::Array{})}}), false},
        {"no dictionary", Value("ads"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Value found = sel::firstAdObjectInAdConfigurationDictionary_(nativeAd, c.configuration);
        EXPECT_EQ(found, c.found ? ad : Value());
    }
}

TEST_F(NativeAdTest, FormatAndTemplateChooseTheClass) {
    Class* nativeAd = objc_getClass("YBXNativeAd");
    struct Case {
        const char* name;
        Value type;
        Value templateID;
        const char* className;
    } cases[] = {
        {"template 1 as number", Value("native"), Value(1LL), "YBXNativeContentAd"},
        {"template 1 as text", Value("native"), Value("1"), "YBXNativeContentAd"},
        {"template 2 as number", Value("native"), Value(2LL), "YBXNativeAppInstallAd"},
        {"template 2 as text", Value("native"), Value("2"), "YBXNativeAppInstallAd"},
        {"template 3", Value("native"), Value(3LL), nullptr},
        {"no template", Value("native"), Value(), nullptr},
        {"type video", Value("video"), Value(1LL), nullptr},
        {"no type", Value(), Value(2LL), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Value::Dictionary ad{{"headline", Value("h")}};
        if (!c.type.isNil()) ad["type"] = c.type;
        if (!c.templateID.isNil()) ad["template_id"] = c.templateID;
        Class* found = sel::classFromAdConfigurationDictionary_(nativeAd, configurationWith(Value(std::move(ad))));
        EXPECT_EQ(found, c.className ? objc_getClass(c.className) : nullptr);
    }
    EXPECT_EQ(YBXNativeAdClassForAdType(Value("1")), objc_getClass("YBXNativeContentAd"));
    EXPECT_EQ(YBXNativeAdClassForAdType(Value("2")), objc_getClass("YBXNativeAppInstallAd"));
    EXPECT_EQ(YBXNativeAdClassForAdType(Value("3")), nullptr);
    EXPECT_EQ(YBXNativeAdClassForAdType(Value(1LL)), nullptr);
}

TEST_F(NativeAdTest, AssetsAndTrackingAreReadFromTheAdObject) {
    Ref<Object> ad = makeNativeAd("YBXNativeAppInstallAd", appInstallObject(true));
    ASSERT_TRUE(ad);
    EXPECT_EQ(sel::store(ad.get()), Value("App Store"));
    EXPECT_EQ(sel::price(ad.get()), Value("Free"));
    EXPECT_EQ(sel::attributionText(ad.get()), Value("Ad"));
    EXPECT_EQ(as<NSURL>(sel::iconURL(ad.get()).get())->absoluteString(), "http://img.test/icon.png");
    EXPECT_EQ(as<NSURL>(sel::attributionIconURL(ad.get()).get())->absoluteString(), "http://img.test/attr.png");
    EXPECT_TRUE(sel::hasAttributionInformation(ad.get()));
    EXPECT_EQ(sel::orvaneClickTrackingURLString(ad.get()), Value("http://click.test/c"));
    // The impression URLs are a set.
    EXPECT_EQ(sel::impressionTrackingURLs(ad.get()), Value::array({Value("http://imp.test/1"), Value("http://imp.test/2")}));
    EXPECT_EQ(sel::clickActionTemplateID(ad.get()), Value("2"));
    EXPECT_EQ(sel::requestParametersForAdLoader_(object_getClass(ad.get()), nullptr), Value(Value::Dictionary{{"format", Value(2LL)}}));
    EXPECT_EQ(sel::requiredDelegateProtocol(object_getClass(ad.get())), Value("YBXNativeAppInstallAdLoaderDelegate"));

    Ref<Object> content = makeNativeAd("YBXNativeContentAd", contentObject());
    EXPECT_FALSE(sel::hasAttributionInformation(content.get()));
    EXPECT_EQ(sel::clickActionTemplateID(content.get()), Value("1"));
    EXPECT_EQ(sel::requestParametersForAdLoader_(object_getClass(content.get()), nullptr), Value(Value::Dictionary{{"format", Value(1LL)}}));
    EXPECT_EQ(sel::requiredAssets(content.get()), Value::array({Value("headline"), Value("body")}));
    EXPECT_EQ(sel::requiredAssets(ad.get()), Value::array({Value("headline"), Value("callToAction"), Value("icon"), Value("attributionIcon")}));
}

TEST_F(NativeAdTest, StarRatingIsADecimalNumberAndZeroWhenAbsent) {
    struct Case {
        const char* name;
        Value rating;
        double expected;
    } cases[] = {{"4.5", Value(4.5), 4.5}, {"as text", Value("3.5"), 3.5}, {"absent", Value(), 0}, {"not a number", Value("x"), 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Value object = c.rating.isNil() ? without(appInstallObject(), "rating") : with(appInstallObject(), "rating", c.rating);
        const Value rating = sel::starRating(makeNativeAd("YBXNativeAppInstallAd", object).get());
        EXPECT_TRUE(rating.isDecimal());
        EXPECT_DOUBLE_EQ(rating.doubleValue(), c.expected);
    }
}

TEST_F(NativeAdTest, TheSupportPageIsTheConfiguredURLOrTheServersDefault) {
    const std::string fallback = YBXAdServerBaseURL() + kYBXNativeSupportPagePath;
    struct Case {
        const char* name;
        Value configured;
        std::string expected;
    } cases[] = {
        {"configured", Value("http://native.test/support.html"), "http://native.test/support.html"},
        {"not a URL", Value("not a url with spaces"), fallback},
        {"not a text", Value(5LL), fallback},
        {"absent", Value(), fallback},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NSUserDefaults::standardUserDefaults()->setObject(c.configured, "native_ad_support_url");
        Ref<Object> url = sel::supportHTMLURL(objc_getClass("YBXNativeAd"));
        ASSERT_TRUE(url);
        EXPECT_EQ(as<NSURL>(url.get())->absoluteString(), c.expected);
    }
}

// --- asset loading -----------------------------------------------------------------------------

TEST_F(NativeAdTest, LoadingEndsOnceWhateverOrderTheImagesCompleteIn) {
    struct Case {
        const char* name;
        Script image;
        Script icon;
        Script attribution;
        const char* outcome;
        double endsAt;
    } cases[] = {
        {"all good", image(1), image(2), image(3), "finished", 3},
        {"optional failure first", failing(1), image(2), image(3), "finished", 3},
        {"the attribution icon, required with attribution, failing last", image(1), image(2), failing(3), "failed", 3},
        {"optional image failing after the required ones", failing(3), image(1), image(2), "finished", 3},
        {"required failure, then another", image(1), failing(2), failing(3), "failed", 2},
        {"required failure after every other", image(1), image(2), failing(3), "failed", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder->calls.clear();
        transport->answer("http://img.test/image.png", c.image);
        transport->answer("http://img.test/icon.png", c.icon);
        transport->answer("http://img.test/attr.png", c.attribution);
        Ref<Object> ad = makeNativeAd("YBXNativeAppInstallAd", appInstallObject(true));
        sel::setLoadingDelegate_(ad.get(), recorder.get());
        sel::loadAssets(ad.get());
        EXPECT_EQ(sel::requestedAssets(ad.get()).array().size(), 3u);
        RunLoop::main().advance(c.endsAt - 0.5);
        EXPECT_TRUE(recorder->calls.empty());
        RunLoop::main().advance(5);
        EXPECT_EQ(recorder->calls, std::vector<std::string>{c.outcome});
        EXPECT_EQ(sel::failedToLoadRequiredAssets(ad.get()), std::string(c.outcome) == "failed");
    }
}

TEST_F(NativeAdTest, AnOptionalImageFailingLastStillFinishes) {
    transport->answer("http://img.test/image.png", failing(3));
    transport->answer("http://img.test/icon.png", image(1));
    Ref<Object> ad = makeNativeAd("YBXNativeAppInstallAd", appInstallObject());
    sel::setLoadingDelegate_(ad.get(), recorder.get());
    sel::loadAssets(ad.get());
    RunLoop::main().advance(5);
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"finished"});
    // The loaded image is stored under its key; the failed one stays empty.
    EXPECT_TRUE(isKindOfClass(appInstallOf(ad)->icon_.get(), "UIImage"));
    EXPECT_FALSE(sel::image(ad.get()));
    EXPECT_EQ(transport->log(), (std::vector<std::string>{"GET http://img.test/image.png", "GET http://img.test/icon.png"}));
    const auto requests = transport->requests();
    EXPECT_DOUBLE_EQ(requests.front()->timeoutInterval(), 60);
    EXPECT_EQ(requests.front()->cachePolicy(), NSURLRequestUseProtocolCachePolicy);
}

TEST_F(NativeAdTest, AContentAdWithNoImageFinishesOnTheNextTurn) {
    Ref<Object> ad = makeNativeAd("YBXNativeContentAd", contentObject());
    sel::setLoadingDelegate_(ad.get(), recorder.get());
    sel::loadAssets(ad.get());
    EXPECT_TRUE(recorder->calls.empty());
    RunLoop::main().advance(0);
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"finished"});
    EXPECT_TRUE(transport->log().empty());
}

TEST_F(NativeAdTest, DataThatMakeNoImageFailTheAsset) {
    transport->answer("http://img.test/icon.png", Script::body({"not a png"}));
    transport->answer("http://img.test/image.png", image(0));
    Ref<Object> ad = makeNativeAd("YBXNativeAppInstallAd", appInstallObject());
    sel::setLoadingDelegate_(ad.get(), recorder.get());
    sel::loadAssets(ad.get());
    RunLoop::main().advance(1);
    EXPECT_EQ(recorder->calls, std::vector<std::string>{"failed"});
}

// --- display rules, impressions, clicks -------------------------------------------------------

TEST_F(NativeAdTest, AnImpressionNeedsEveryRequiredAssetReadAndIsRecordedOnce) {
    transport->answer("http://imp.test/1", Script::body({"ok"}));
    transport->answer("http://imp.test/2", Script::body({"ok"}));
    Ref<Object> ad = makeNativeAd("YBXNativeAppInstallAd", appInstallObject());
    // The ad's own code reads the fields: nothing it does counts as displayed.
    sel::recordImpression(ad.get());
    RunLoop::main().advance(1);
    EXPECT_TRUE(platform::log::contains("<Orvane> All required assets must be displayed before recording an impression."));
    EXPECT_FALSE(sel::hasRecordedImpression(ad.get()));
    EXPECT_TRUE(transport->log().empty());

    sel::headline(ad.get());
    sel::callToAction(ad.get());
    sel::body(ad.get());  // optional: not needed
    sel::recordImpression(ad.get());
    RunLoop::main().advance(1);
    EXPECT_TRUE(transport->log().empty()) << "the icon was not displayed";

    sel::icon(ad.get());
    sel::recordImpression(ad.get());
    sel::recordImpression(ad.get());
    RunLoop::main().advance(1);
    EXPECT_TRUE(sel::hasRecordedImpression(ad.get()));
    EXPECT_EQ(transport->log(), (std::vector<std::string>{"GET http://imp.test/1", "GET http://imp.test/2"}));
}

TEST_F(NativeAdTest, AClickRunsTheAdScriptInTheSlotsWebViewAsATouch) {
    Ref<NativeFakeSlot> slot = makeNativeFakeSlot();
    Ref<Object> ad = makeNativeAd("YBXNativeContentAd", contentObject());
    sel::setSlot_(ad.get(), slot.get());
    sel::performClickOnAsset_(ad.get(), Value("headline"));
    EXPECT_TRUE(slot->webView->calls.empty());
    EXPECT_TRUE(platform::log::contains("<Orvane> All required assets must be displayed before performing clicks."));

    sel::headline(ad.get());
    sel::body(ad.get());
    sel::performClickOnAsset_(ad.get(), Value("headline"));
    const std::string json = dictionaryToJSONString(
        Value(Value::Dictionary{{"ad", contentObject()}, {"click", Value(Value::Dictionary{{"template", Value("1")}, {"asset", Value("headline")}})}}));
    ASSERT_EQ(slot->webView->calls.size(), 1u);
    EXPECT_EQ(slot->webView->calls[0], "touched: orvane.kestra.nativeAds.handleClick(" + json + ")");
    EXPECT_NE(json.find("\"click\":{\"template\":\"1\",\"asset\":\"headline\"}"), std::string::npos) << json;
}

TEST_F(NativeAdTest, TheHiddenBannersScreenEventsReachTheAdsDelegate) {
    Ref<Object> ad = makeNativeAd("YBXNativeContentAd", contentObject());
    sel::setDelegate_(ad.get(), recorder.get());
    sel::adViewDidReceiveAd_(ad.get(), nullptr);
    sel::adViewWillPresentScreen_(ad.get(), nullptr);
    sel::adViewWillDismissScreen_(ad.get(), nullptr);
    sel::adViewDidDismissScreen_(ad.get(), nullptr);
    sel::adViewWillLeaveApplication_(ad.get(), nullptr);
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"nativeAdWillPresentScreen:", "nativeAdWillDismissScreen:", "nativeAdDidDismissScreen:",
                                                         "nativeAdWillLeaveApplication:"}));
}

}  // namespace
}  // namespace adlib
