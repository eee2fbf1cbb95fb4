#include "adlib/render/in_app_purchase.h"

#include <array>

#include "adlib/foundation/application.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/pipeline/click_tracker.h"
#include "adlib/pipeline/request.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/format.h"
#include "platform/frameworks/storekit.h"

namespace adlib {

namespace {

YBXInAppPurchase* purchaseOf(id self) { return as<YBXInAppPurchase>(self); }
YBXDefaultInAppPurchase* defaultPurchaseOf(id self) { return as<YBXDefaultInAppPurchase>(self); }

Ref<Object> initWithProduct(id self, Value productID, long long quantity, Value templates) {
    Ref<Object> made = sel::init(self);
    if (YBXInAppPurchase* purchase = purchaseOf(made.get())) {
        purchase->productID_ = productID.isString() ? productID : Value();
        purchase->setQuantity(quantity);
        purchase->reportingURLStringFormats_ = templates.isArray() ? templates : Value(Value::Array{});
    }
    return made;
}

Value sessionIDText() {
    YBXApplication* application = YBXApplication::sharedApplication();
    YBXSession* session = application ? application->currentSession() : nullptr;
    return session ? Value(session->sessionIDAsString()) : Value();
}

Value timestamp() {
    YBXApplication* application = YBXApplication::sharedApplication();
    return application ? application->timeSinceFirstAdRequestInMilliseconds() : Value();
}

}  // namespace

std::string YBXInAppPurchase::stringForStatus(long long status) {
    switch (status) {
        case YBXInAppPurchaseStatusSuccess: return "success";
        case YBXInAppPurchaseStatusCancel: return "cancel";
        case YBXInAppPurchaseStatusInvalidProduct: return "invalid product";
        default: return "error";
    }
}

std::string YBXInAppPurchase::expandedURLStringForURLStringFormat(const std::string& templ) const {
    NSBundle* bundle = NSBundle::mainBundle();
    const std::array<YBXTemplateValue, 9> values{{
        {"sku", productID_},
        {"quantity", Value(quantity_)},
        {"status", Value(purchaseStatus_)},
        {"sessionid", sessionIDText()},
        {"appid", bundle ? bundle->bundleIdentifier() : Value()},
        {"appversion", bundle ? bundle->objectForInfoDictionaryKey("CFBundleVersion") : Value()},
        {"osversion", Value(YBXDevice::currentDevice()->systemVersion())},
        {"sdkversion", Value(YBXRequest::sdkVersion())},
        {"timestamp", timestamp()},
    }};
    return YBXExpandAtQuotedTemplate(templ, values);
}

void YBXInAppPurchase::reportPurchaseStatus(long long status) {
    purchaseStatus_ = status;
    Value::Array urls;
    for (const Value& templ : reportingURLStringFormats_.array()) {
        if (!templ.isString()) continue;
        std::string url = expandedURLStringForURLStringFormat(templ.string());
        if (!url.empty()) urls.emplace_back(std::move(url));
    }
    // A report is one event: a cached answer would hide the second purchase.
    sel::trackURLs_cacheEnabled_(YBXClickTrackerCollection::sharedInstance(), Value(std::move(urls)), false);
    if (status == YBXInAppPurchaseStatusSuccess) reportConversionWithError(nullptr);
}

bool YBXInAppPurchase::reportConversionWithError(Ref<NSError>* error) const {
    const char* failure = kYBXConversionReportFailed;
    Class* reporterClass = objc_getClass(kYBXConversionReporterClassName);
    if (reporterClass && class_respondsToSelector(reporterClass, sel::initWithProductID_value_isRepeatable_.name) &&
        class_respondsToSelector(reporterClass, sel::report.name)) {
        Ref<Object> reporter = sel::initWithProductID_value_isRepeatable_(alloc(kYBXConversionReporterClassName), productID_, Value(), true);
        if (sel::report(reporter.get())) return true;
    } else {
        failure = kYBXConversionReporterMissing;
        pubLog(failure);
    }
    if (error) *error = as<NSError>(sel::ybx_errorWithCode_description_(NSErrorClass(), 2, Value(failure)));
    return false;
}

void YBXDefaultInAppPurchase::finishTransaction() {
    // Once: a second call would hand the payment queue nil, which raises.
    if (!paymentTransaction_) return;
    Ref<Object> transaction = std::move(paymentTransaction_);
    sel::finishTransaction_(SKPaymentQueue::defaultQueue(), transaction.get());
    Ref<YBXInAppPurchase> purchase = std::move(inAppPurchase_);
    if (purchase) purchase->reportPurchaseStatus(YBXInAppPurchaseStatusSuccess);
}

void registerInAppPurchaseClass() {
    ClassBuilder<YBXInAppPurchase>("YBXInAppPurchase", "NSObject")
        .classMethod(sel::quantityIsValid_, [](id, long long quantity) { return YBXInAppPurchase::quantityIsValid(quantity); })
        .classMethod(sel::stringForStatus_, [](id, long long status) { return YBXInAppPurchase::stringForStatus(status); })
        .method(sel::initWithProductID_quantity_reportingURLStringFormats_, &initWithProduct)
        .method(sel::productID, [](id self) { return purchaseOf(self)->productID_; })
        .method(sel::quantity, [](id self) { return purchaseOf(self)->quantity_; })
        .method(sel::setQuantity_, [](id self, long long quantity) { purchaseOf(self)->setQuantity(quantity); })
        .method(sel::reportingURLStringFormats, [](id self) { return purchaseOf(self)->reportingURLStringFormats_; })
        .getter<&YBXInAppPurchase::purchaseStatus_>(sel::purchaseStatus)
        .method(sel::reportPurchaseStatus_, [](id self, long long status) { purchaseOf(self)->reportPurchaseStatus(status); })
        .method(sel::expandedURLStringForURLStringFormat_,
                [](id self, Value templ) { return templ.isString() ? Value(purchaseOf(self)->expandedURLStringForURLStringFormat(templ.string())) : Value(); })
        .method(sel::reportConversionWithError_, [](id self, Ref<NSError>* error) { return purchaseOf(self)->reportConversionWithError(error); })
        .method(sel::description, [](id self) {
            YBXInAppPurchase* purchase = purchaseOf(self);
            // The frame takes the pieces' formats; the values are filled in last, so a "%" in them is text.
            const std::string pattern = format("<%%@: %%p>(%@)", Value("productID: %@,\n  quantity: %ld"));
            return Value(format(pattern, NSStringFromClass(object_getClass(self)), self, purchase->productID_, purchase->quantity_));
        });
    ClassBuilder<YBXDefaultInAppPurchase>("YBXDefaultInAppPurchase", "NSObject")
        .classMethod(sel::enableDefaultPurchaseFlowWithDelegate_,
                     [](id, id delegate) { sel::enableDefaultPurchaseFlowWithDelegate_(sel::sharedInstance(objc_getClass("YBXPaymentTransactionObserver")).get(), delegate); })
        .classMethod(sel::disableDefaultPurchaseFlow,
                     [](id) { sel::disableDefaultPurchaseFlow(sel::sharedInstance(objc_getClass("YBXPaymentTransactionObserver")).get()); })
        .method(sel::productID, [](id self) { return defaultPurchaseOf(self)->productID_; })
        .method(sel::quantity, [](id self) { return defaultPurchaseOf(self)->quantity_; })
        .method(sel::paymentTransaction, [](id self) { return defaultPurchaseOf(self)->paymentTransaction_; })
        .method(sel::inAppPurchase, [](id self) { return Ref<Object>(defaultPurchaseOf(self)->inAppPurchase_); })
        .method(sel::finishTransaction, [](id self) { defaultPurchaseOf(self)->finishTransaction(); });
}

}  // namespace adlib
