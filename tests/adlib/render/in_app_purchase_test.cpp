// In-app purchase offers: their quantity and status names, the report
// templates with their macros, the pings of a report (never from the cache),
// and the conversion reporter an app may link.
#include <gtest/gtest.h>

#include "adlib/foundation/application.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/click_tracker.h"
#include "adlib/pipeline/request.h"
#include "adlib/render/in_app_purchase.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// Every report asked of the click tracker collection: its URLs and whether it may come from the cache.
struct Reports {
    std::vector<std::vector<std::string>> urls;
    std::vector<bool> cacheEnabled;
};
Reports& reports() {
    static Reports recorded;
    return recorded;
}
void (*previousTrackURLs)(id, Value, bool) = nullptr;

void hookReports() {
    MSHookMessageEx(objc_getClass("YBXClickTrackerCollection"), sel::trackURLs_cacheEnabled_,
                    +[](id, Value urls, bool cacheEnabled) {
                        std::vector<std::string> texts;
                        for (const Value& url : urls.array()) texts.push_back(url.string());
                        reports().urls.push_back(texts);
                        reports().cacheEnabled.push_back(cacheEnabled);
                    },
                    &previousTrackURLs);
}

Ref<YBXInAppPurchase> makePurchase(Value productID, long long quantity, Value templates = Value(Value::Array{})) {
    return as<YBXInAppPurchase>(
        sel::initWithProductID_quantity_reportingURLStringFormats_(alloc("YBXInAppPurchase"), productID, quantity, templates));
}

// What the app's conversion reporter says, and what it was made with.
struct Conversions {
    bool answer = true;
    std::vector<std::string> made;
};
Conversions& conversions() {
    static Conversions recorded;
    return recorded;
}

void linkConversionReporter() {
    ClassBuilder<NSObject>(kYBXConversionReporterClassName, "NSObject")
        .method(sel::initWithProductID_value_isRepeatable_,
                [](id self, Value productID, Value value, bool repeatable) {
                    conversions().made.push_back(productID.string() + (value.isNil() ? " nil" : " value") + (repeatable ? " repeatable" : ""));
                    return sel::init(self);
                })
        .method(sel::report, [](id) { return conversions().answer; });
}

TEST(InAppPurchase, QuantitiesOutsideOneToTenAreZeroAndStatusesHaveNames) {
    AdLibEnvironment env;
    Ref<YBXInAppPurchase> purchase = makePurchase(Value("abc"), 1);
    for (auto [given, stored] : std::vector<std::pair<long long, long long>>{{0, 0}, {1, 1}, {10, 10}, {11, 0}, {-1, 0}}) {
        sel::setQuantity_(purchase.get(), given);
        EXPECT_EQ(sel::quantity(purchase.get()), stored) << given;
    }
    Class* cls = objc_getClass("YBXInAppPurchase");
    for (auto [status, name] : std::vector<std::pair<long long, std::string>>{
             {0, "error"}, {1, "success"}, {2, "cancel"}, {3, "invalid product"}, {7, "error"}})
        EXPECT_EQ(sel::stringForStatus_(cls, status), name) << status;

    sel::setQuantity_(purchase.get(), 2);
    const std::string text = sel::description(purchase.get()).string();
    EXPECT_EQ(text, format("<YBXInAppPurchase: %p>(productID: abc,\n  quantity: 2)", purchase.get()));
    // A product ID is text, not a format.
    Ref<YBXInAppPurchase> percent = makePurchase(Value("100%d"), 1);
    EXPECT_EQ(sel::description(percent.get()).string(), format("<YBXInAppPurchase: %p>(productID: 100%%d,\n  quantity: 1)", percent.get()));
}

TEST(InAppPurchase, TemplatesFillTheirMacrosAndDropUnknownOnes) {
    AdLibEnvironment env;
    YBXApplication* app = YBXApplication::sharedApplication();
    const std::string session = app->currentSession()->sessionIDAsString();
    const Value bundleID = NSBundle::mainBundle()->bundleIdentifier();
    const Value bundleVersion = NSBundle::mainBundle()->objectForInfoDictionaryKey("CFBundleVersion");
    struct Case {
        const char* name;
        Value productID;
        std::string templ;
        std::string expected;
    } cases[] = {
        {"known and unknown", Value("abc"), "http://r/?sku=@sku@&q=@quantity@&x=@nope@", "http://r/?sku=abc&q=2&x="},
        {"an escaped at-sign around a macro", Value("abc"), "http://r/?v=@@@sku@@@", "http://r/?v=@abc@"},
        {"a value with an at-sign forms no macro", Value("a@quantity@"), "http://r/?sku=@sku@", "http://r/?sku=a@quantity@"},
        {"a value cannot add parameters", Value("a&b=c #d"), "http://r/?sku=@sku@", "http://r/?sku=a%26b=c%20%23d"},
        {"status and the session", Value("abc"), "http://r/?s=@status@&id=@sessionid@", "http://r/?s=0&id=" + session},
        {"the app and the library",
         Value("abc"),
         "http://r/?a=@appid@&v=@appversion@&os=@osversion@&sdk=@sdkversion@",
         "http://r/?a=" + bundleID.string() + "&v=" + bundleVersion.string() + "&os=" + YBXDevice::currentDevice()->systemVersion() +
             "&sdk=" + YBXRequest::sdkVersion()},
        {"no product", Value(), "http://r/?sku=@sku@", "http://r/?sku="},
    };
    for (const Case& c : cases) {
        Ref<YBXInAppPurchase> purchase = makePurchase(c.productID, 2);
        EXPECT_EQ(sel::expandedURLStringForURLStringFormat_(purchase.get(), Value(c.templ)), Value(c.expected)) << c.name;
    }
    const std::string stamped = makePurchase(Value("abc"), 1)->expandedURLStringForURLStringFormat("t=@timestamp@");
    EXPECT_EQ(stamped, "t=" + app->timeSinceFirstAdRequestInMilliseconds().description());
}

TEST(InAppPurchase, AReportPingsEachNonEmptyTemplateNeverFromTheCache) {
    AdLibEnvironment env;
    hookReports();
    Ref<YBXInAppPurchase> purchase =
        makePurchase(Value("abc"), 3, Value::array({Value("http://r/1?s=@status@"), Value("@only_a_macro@"), Value("http://r/2?sku=@sku@&q=@quantity@")}));
    sel::reportPurchaseStatus_(purchase.get(), 2);
    EXPECT_EQ(sel::purchaseStatus(purchase.get()), 2);
    ASSERT_EQ(reports().urls.size(), 1u);
    EXPECT_EQ(reports().urls[0], (std::vector<std::string>{"http://r/1?s=2", "http://r/2?sku=abc&q=3"}));
    EXPECT_FALSE(reports().cacheEnabled[0]);
}

TEST(InAppPurchase, ASuccessIsAConversionWhenTheAppLinksAReporter) {
    AdLibEnvironment env;
    hookReports();
    Ref<YBXInAppPurchase> purchase = makePurchase(Value("abc"), 1);

    // Not linked: a warning, and the error says so.
    Ref<NSError> error;
    EXPECT_FALSE(sel::reportConversionWithError_(purchase.get(), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), kYBXPrivateErrorDomain);
    EXPECT_EQ(error->code(), 2);
    EXPECT_EQ(error->localizedDescription(), kYBXConversionReporterMissing);
    EXPECT_TRUE(platform::log::contains(std::string("<Orvane> ") + kYBXConversionReporterMissing));
    EXPECT_FALSE(sel::reportConversionWithError_(purchase.get(), nullptr));

    linkConversionReporter();
    conversions().answer = false;
    error = nullptr;
    EXPECT_FALSE(sel::reportConversionWithError_(purchase.get(), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(), kYBXConversionReportFailed);

    conversions().answer = true;
    conversions().made.clear();
    error = nullptr;
    EXPECT_TRUE(sel::reportConversionWithError_(purchase.get(), &error));
    EXPECT_FALSE(error);
    EXPECT_EQ(conversions().made, std::vector<std::string>{"abc nil repeatable"});

    // Only a success reports a conversion.
    conversions().made.clear();
    sel::reportPurchaseStatus_(purchase.get(), 2);
    EXPECT_TRUE(conversions().made.empty());
    sel::reportPurchaseStatus_(purchase.get(), 1);
    EXPECT_EQ(conversions().made.size(), 1u);
}

}  // namespace
}  // namespace adlib
