#include "adlib/render/in_app_purchase.h"

namespace adlib {

namespace {

YBXInAppPurchase* purchaseOf(id self) { return as<YBXInAppPurchase>(self); }

Ref<Object> initWithProduct(id self, Value productID, long long quantity, Value templates) {
    Ref<Object> made = sel::init(self);
    if (YBXInAppPurchase* purchase = purchaseOf(made.get())) {
        purchase->productID_ = productID.isString() ? productID : Value();
        purchase->setQuantity(quantity);
        purchase->reportingURLStringFormats_ = templates.isArray() ? templates : Value(Value::Array{});
    }
    return made;
}

}  // namespace

void registerInAppPurchaseClass() {
    ClassBuilder<YBXInAppPurchase>("YBXInAppPurchase", "NSObject")
        .classMethod(sel::quantityIsValid_, [](id, long long quantity) { return YBXInAppPurchase::quantityIsValid(quantity); })
        .method(sel::initWithProductID_quantity_reportingURLStringFormats_, &initWithProduct)
        .method(sel::productID, [](id self) { return purchaseOf(self)->productID_; })
        .method(sel::quantity, [](id self) { return purchaseOf(self)->quantity_; })
        .method(sel::setQuantity_, [](id self, long long quantity) { purchaseOf(self)->setQuantity(quantity); })
        .method(sel::reportingURLStringFormats, [](id self) { return purchaseOf(self)->reportingURLStringFormats_; })
        .getter<&YBXInAppPurchase::purchaseStatus_>(sel::purchaseStatus);
}

}  // namespace adlib
