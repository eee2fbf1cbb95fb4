#include "platform/frameworks/storekit.h"

#include <atomic>

#include "platform/foundation/error.h"
#include "platform/foundation/run_loop.h"

namespace platform::storekit {

namespace {
std::atomic<bool> payments{true};
bool loadSucceeds = true;
double loadDelay = 0.5;

SKStoreProductViewController* sheetOf(id self) { return as<SKStoreProductViewController>(self); }

void loadProduct(id self, Value parameters, SKStoreProductLoadCompletion completion) {
    Ref<SKStoreProductViewController> sheet(sheetOf(self));
    sheet->loadedItemIdentifiers_.push_back(parameters[SKStoreProductParameterITunesItemIdentifier]);
    const bool succeeds = loadSucceeds;
    RunLoop::main().schedule(loadDelay, [sheet, succeeds, completion = std::move(completion)] {
        sheet->loadAnswered_ = true;
        sheet->loadSucceeded_ = succeeds;
        if (!completion) return;
        if (succeeds) {
            completion(true, nullptr);
            return;
        }
        Ref<NSError> error = NSError::errorWithDomain("SKErrorDomain", 0, Value::Dictionary{});
        completion(false, error.get());
    });
}
}  // namespace

void setCanMakePayments(bool can) { payments = can; }

void setProductLoadAnswer(bool succeeds, double delay) {
    loadSucceeds = succeeds;
    loadDelay = delay;
}

void pressDone(SKStoreProductViewController* sheet) {
    if (!sheet) return;
    Ref<SKStoreProductViewController> protector(sheet);
    Ref<Object> delegate = sheet->delegate_.lock();
    if (delegate && respondsToSelector(delegate, sel::productViewControllerDidFinish_.name)) sel::productViewControllerDidFinish_(delegate, sheet);
}

void registerClasses() {
    ClassBuilder<SKPaymentQueue>("SKPaymentQueue", "NSObject").classMethod(sel::canMakePayments, [](id) { return payments.load(); });
    ClassBuilder<SKStoreProductViewController>("SKStoreProductViewController", "UIViewController")
        .method(sel::delegate, [](id self) { return sheetOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { sheetOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::loadProductWithParameters_completionBlock_, &loadProduct);
}

}  // namespace platform::storekit
