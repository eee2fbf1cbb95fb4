// YBXInAppPurchase: an ad's offer of one of the publisher's own products
// (product ID, quantity 1 to 10, the report URL templates), handed to the
// slot by the opener. A value object; made and read on the main thread.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXInAppPurchase : public NSObject {
public:
    static bool quantityIsValid(long long quantity) { return quantity >= 1 && quantity <= 10; }
    // A quantity outside 1 to 10 is stored as 0.
    void setQuantity(long long quantity) { quantity_ = quantityIsValid(quantity) ? quantity : 0; }

    Value productID_;
    long long quantity_ = 1;
    Value reportingURLStringFormats_ = Value::Array{};
    long long purchaseStatus_ = 0;
};

void registerInAppPurchaseClass();

}  // namespace adlib
