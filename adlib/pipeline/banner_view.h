// YBXBannerView: the publisher's banner, a view placed in the app's layout
// that shows and refreshes ads of one size. Its slot does the work; the view
// answers the slot's questions of size, placement and visibility and turns
// slot events into calls on its public delegate (weak, every method
// optional), always synchronously on the main thread. Main thread only.
#pragma once

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/selectors.h"
#include "platform/uikit/view.h"

namespace adlib {

class YBXBannerView : public UIView {
public:
    ~YBXBannerView() override;

    void commonInit(const YBXAdSize& size);
    void loadRequest(id request);
    // The size of the slot's ad type; all zero while the slot has no banner size.
    YBXAdSize adSize() const;
    void setAdSize(const YBXAdSize& size, bool reload);
    // setFrame: and setBounds: take a new size only when it differs from the
    // resolved one and is not zero, so that layout passes keep a smart size.
    void adoptSizeOf(Size size);
    void setRootViewController(id controller);
    void setAdView(id view);
    bool slotShouldReloadCurrentRequest();

    bool createdOnMediationRequest_ = false;
    WeakRef<Object> rootViewController_;
    WeakRef<Object> delegate_;
    WeakRef<Object> inAppPurchaseDelegate_;
    Ref<Object> adView_;
    Ref<Object> slot_;
};

void registerBannerViewClass();

}  // namespace adlib
