// QRTBannerView: the publisher banner of the publisher-ads family, a
// YBXBannerView that also relays the creative's app events to its app-event
// delegate, accepts several ad sizes and tells its size delegate
// (YBXAdSizeDelegate) when the slot resizes it, can leave impressions to the
// app (manual impressions) and hands custom-rendering ads to its raw-HTML
// delegate (QRTRawHTMLBannerViewDelegate). Delegates are weak.
// QRTSwipeableBannerView is a QRTBannerView whose swipe delegate keeps
// nothing. Main thread only.
#pragma once

#include "adlib/pipeline/banner_view.h"

namespace adlib {

class QRTBannerView : public YBXBannerView {
public:
    // slot:shouldUseCustomRenderingForAd: — YES when the app renders the ad.
    bool shouldUseCustomRenderingForAd(id ad);

    WeakRef<Object> appEventDelegate_;
    WeakRef<Object> adSizeDelegate_;
    WeakRef<Object> rawHTMLBannerViewDelegate_;
    // Boxed ad sizes; nil until set.
    Value validAdSizes_;
};

void registerQRTBannerViewClass();

}  // namespace adlib
