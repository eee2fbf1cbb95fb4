// StoreKit: SKPaymentQueue's canMakePayments, which tests set, and
// SKStoreProductViewController, the App Store sheet. The sheet records the
// item identifier it was asked to load and answers its completion after a
// delay of the main run loop's clock, with the result tests set; its delegate
// (weak) hears Done when a test presses it. Any thread for canMakePayments;
// the sheet is main thread only.
#pragma once

#include <functional>

#include "platform/frameworks/selectors.h"
#include "platform/uikit/view_controller.h"

namespace platform {

// The parameter key of the product to show (an NSNumber).
inline constexpr const char* SKStoreProductParameterITunesItemIdentifier = "id";

// (result, error): NO with an error when the product could not be loaded.
using SKStoreProductLoadCompletion = std::function<void(bool result, id error)>;

namespace sel {
inline constexpr Sel<bool(id)> canMakePayments{"canMakePayments"};  // class method
// (parameters, completion or empty)
inline constexpr Sel<void(id, Value, SKStoreProductLoadCompletion)> loadProductWithParameters_completionBlock_{
    "loadProductWithParameters:completionBlock:"};
// The delegate's: the user pressed Done.
inline constexpr Sel<void(id, id)> productViewControllerDidFinish_{"productViewControllerDidFinish:"};
}  // namespace sel

class SKPaymentQueue : public NSObject {};

class SKStoreProductViewController : public UIViewController {
public:
    WeakRef<Object> delegate_;
    // The item identifier of each load, oldest first.
    std::vector<Value> loadedItemIdentifiers_;
    // Whether a load has answered, and how.
    bool loadAnswered_ = false;
    bool loadSucceeded_ = false;
};

namespace storekit {
// YES at first.
void setCanMakePayments(bool can);
// How later product loads answer: success or failure, after this many
// seconds (success after 0.5 s at first).
void setProductLoadAnswer(bool succeeds, double delay);
// The user presses Done on the sheet: its delegate hears it.
void pressDone(SKStoreProductViewController* sheet);
void registerClasses();
}  // namespace storekit

}  // namespace platform
