// YBXInAppPurchase: an ad's offer of one of the publisher's own products
// (product ID, quantity 1 to 10, the report URL templates), handed to the
// slot by the opener. Whichever way the offer ends, it reports its status by
// pinging its templates with their macros filled; a purchase also goes to a
// conversion reporter when the app links one. YBXDefaultInAppPurchase is what
// the default purchase flow hands the publisher once the user has paid.
// Main thread.
#pragma once

#include <string>

#include "adlib/foundation/selectors.h"

namespace adlib {

enum YBXInAppPurchaseStatus : long long {
    YBXInAppPurchaseStatusError = 0,
    YBXInAppPurchaseStatusSuccess = 1,
    YBXInAppPurchaseStatusCancel = 2,
    YBXInAppPurchaseStatusInvalidProduct = 3,
};

inline constexpr const char* kYBXConversionReporterClassName = "NIVConversionReporter";
inline constexpr const char* kYBXConversionReportFailed = "Unable to report in-app purchase conversion.";
inline constexpr const char* kYBXConversionReporterMissing =
    "Warning: Valid conversion tracking library was not linked. In-app purchase conversions will not be reported.";

class YBXInAppPurchase : public NSObject {
public:
    static bool quantityIsValid(long long quantity) { return quantity >= 1 && quantity <= 10; }
    static std::string stringForStatus(long long status);
    // A quantity outside 1 to 10 is stored as 0.
    void setQuantity(long long quantity) { quantity_ = quantityIsValid(quantity) ? quantity : 0; }

    void reportPurchaseStatus(long long status);
    std::string expandedURLStringForURLStringFormat(const std::string& templ) const;
    // NO with a private-domain error of code 2 when no conversion was reported.
    bool reportConversionWithError(Ref<NSError>* error) const;

    Value productID_;
    long long quantity_ = 1;
    Value reportingURLStringFormats_ = Value::Array{};
    long long purchaseStatus_ = YBXInAppPurchaseStatusError;
};

class YBXDefaultInAppPurchase : public NSObject {
public:
    // Finishes the transaction once, then reports the purchase's success.
    void finishTransaction();

    Value productID_;
    long long quantity_ = 0;
    Ref<Object> paymentTransaction_;
    Ref<YBXInAppPurchase> inAppPurchase_;
};

void registerInAppPurchaseClass();

}  // namespace adlib
