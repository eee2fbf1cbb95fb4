// QRTBannerView: the publisher banner of the publisher-ads family, a
// YBXBannerView that also relays the creative's app events to its app-event
// delegate (weak, optional methods) and can leave impressions to the app
// (manual impressions). Main thread only.
#pragma once

#include "adlib/pipeline/banner_view.h"

namespace adlib {

class QRTBannerView : public YBXBannerView {
public:
    WeakRef<Object> appEventDelegate_;
};

void registerQRTBannerViewClass();

}  // namespace adlib
