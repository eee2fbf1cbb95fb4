// YBXInterstitial: the publisher's full-screen ad. It loads through its slot,
// answers whether it is ready and is presented once, by a web app controller
// showing the slot's web view; after that it refuses every load and
// presentation with a usage error. It never refreshes. Its public delegate
// (weak, every method optional) hears slot events synchronously on the main
// thread. Main thread only.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/foundation/notification_center.h"

namespace adlib {

class YBXInterstitial : public NSObject {
public:
    ~YBXInterstitial() override;

    void setUp();
    void loadRequest(id request);
    bool isReady() const;
    void presentFromRootViewController(id root);
    bool canPresentFullScreen();
    void sendInterstitialUsageError();
    void sendInterstitialError(id error);
    void webAction(NSNotification* notification);

    bool hasBeenUsed_ = false;
    WeakRef<Object> delegate_;
    WeakRef<Object> inAppPurchaseDelegate_;
    Ref<Object> request_;
    Ref<Object> viewController_;
    Ref<Object> slot_;
};

void registerInterstitialClass();

}  // namespace adlib
