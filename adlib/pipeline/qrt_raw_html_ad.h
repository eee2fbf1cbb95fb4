// QRTRawHTMLAd: an ad's HTML and base URL handed to an app that renders the ad
// itself (custom rendering). The app reports clicks, its impression and the
// end of its rendering through it to the banner or interstitial that made it
// (its delegate, weak: QRTRawHTMLAdDelegate). Also what the publisher banner
// and interstitial share: the steps of custom rendering and the relay of app
// events. Main thread only.
#pragma once

#include "adlib/foundation/selectors.h"

namespace adlib {

class QRTRawHTMLAd : public NSObject {
public:
    Value adHTML_;
    Ref<Object> adBaseURL_;
    WeakRef<Object> delegate_;
};

// The base URL the app is handed: "/" resolved against the ad's base URL.
Ref<NSURL> QRTCustomRenderingBaseURL(id ad);

// Custom rendering goes ahead for `owner` (the banner or interstitial, the raw
// ad's delegate): the ad becomes the slot's current ad, so that the app's
// clicks and impression ping its URLs, and the slot hears that rendering
// starts. Answers the raw ad to hand to the app.
Ref<Object> QRTBeginCustomRendering(id owner, id slot, id ad, const Value& html, id baseURL);

// Whether the raw-HTML delegate lets custom rendering go ahead: a delegate
// that does not implement the question lets it.
template <class ShouldUse>
bool QRTDelegateAllowsCustomRendering(id delegate, const ShouldUse& shouldUse, id owner, const Value& html, id baseURL) {
    return !respondsToSelector(delegate, shouldUse.name) || shouldUse(delegate, owner, html, baseURL);
}

// A creative's app event relayed to the app-event delegate of `owner` as
// `relay` (the banner's or the interstitial's method), when it implements it.
template <class Relay>
void QRTRelayAppEvent(id owner, const WeakRef<Object>& appEventDelegate, const Relay& relay, const Value& name, const Value& info) {
    Ref<Object> protector(owner);
    Ref<Object> delegate = appEventDelegate.lock();
    if (delegate && respondsToSelector(delegate.get(), relay.name)) relay(delegate.get(), owner, name, info);
}

// The RawHTMLAd category of a class whose `slot` is the ad's slot:
// recordClick, recordCustomAdImpression, finishedRenderingAdView:.
void registerRawHTMLAdCategory(Class* cls);

void registerQRTRawHTMLAdClass();

}  // namespace adlib
