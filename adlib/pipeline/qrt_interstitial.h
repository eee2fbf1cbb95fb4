// QRTInterstitial: the publisher interstitial of the publisher-ads family, a
// YBXInterstitial that relays the creative's app events to its app-event
// delegate and hands custom-rendering ads to its raw-HTML delegate
// (QRTRawHTMLInterstitialViewDelegate); an ad the app renders itself is not
// presented by the library. Delegates are weak. Main thread only.
#pragma once

#include "adlib/pipeline/interstitial.h"

namespace adlib {

class QRTInterstitial : public YBXInterstitial {
public:
    // slot:shouldUseCustomRenderingForAd: — YES when the app renders the ad.
    bool shouldUseCustomRenderingForAd(id ad);

    bool customAdRenderingEnabled_ = false;
    WeakRef<Object> appEventDelegate_;
    WeakRef<Object> rawHTMLInterstitialDelegate_;
};

void registerQRTInterstitialClass();

}  // namespace adlib
