#include "adlib/pipeline/qrt_interstitial.h"

#include "adlib/foundation/macros.h"
#include "adlib/pipeline/qrt_raw_html_ad.h"

namespace adlib {

namespace {

QRTInterstitial* qrtOf(id self) { return as<QRTInterstitial>(self); }

// The answer to the slot, also kept as whether the app renders the ad.
bool decide(QRTInterstitial* interstitial, bool custom) {
    interstitial->customAdRenderingEnabled_ = custom;
    return custom;
}

}  // namespace

bool QRTInterstitial::shouldUseCustomRenderingForAd(id ad) {
    Ref<QRTInterstitial> protector(this);
    Ref<Object> delegate = rawHTMLInterstitialDelegate_.lock();
    if (!delegate) return decide(this, false);
    Ref<NSURL> base = QRTCustomRenderingBaseURL(ad);
    const Value html = sel::adHTML(ad);
    if (!QRTDelegateAllowsCustomRendering(delegate.get(), sel::interstitial_shouldUseCustomRenderingForAdHTML_baseURL_, this, html, base.get()))
        return decide(this, false);
    // The render method is required; a delegate without it would leave the
    // ad neither shown by the app nor presentable.
    if (!respondsToSelector(delegate.get(), sel::interstitial_renderRawHTMLAd_.name)) return decide(this, false);
    Ref<Object> raw = QRTBeginCustomRendering(this, slot_.get(), ad, html, base.get());
    decide(this, true);
    sel::interstitial_renderRawHTMLAd_(delegate.get(), this, raw.get());
    return true;
}

void registerQRTInterstitialClass() {
    ClassBuilder<QRTInterstitial> builder("QRTInterstitial", "YBXInterstitial");
    builder.property<&QRTInterstitial::customAdRenderingEnabled_>(sel::customAdRenderingEnabled, sel::setCustomAdRenderingEnabled_)
        .method(sel::appEventDelegate, [](id self) { return qrtOf(self)->appEventDelegate_.lock(); })
        .method(sel::setAppEventDelegate_, [](id self, id delegate) { qrtOf(self)->appEventDelegate_ = WeakRef<Object>(delegate); })
        .method(sel::rawHTMLInterstitialDelegate, [](id self) { return qrtOf(self)->rawHTMLInterstitialDelegate_.lock(); })
        .method(sel::setRawHTMLInterstitialDelegate_,
                [](id self, id delegate) { qrtOf(self)->rawHTMLInterstitialDelegate_ = WeakRef<Object>(delegate); })
        .method(sel::presentFromRootViewController_,
                [](id self, id root) {
                    if (qrtOf(self)->customAdRenderingEnabled_) {
                        pubLog("Error: Custom ad rendering is enabled. Please present interstitial view from rootViewController manually.");
                        return;
                    }
                    sel::presentFromRootViewController_.super(objc_getClass("QRTInterstitial"), self, root);
                })
        // Slot-delegate operations.
        .method(sel::slot_didReceiveAppEvent_withInfo_,
                [](id self, id, Value name, Value info) {
                    QRTRelayAppEvent(self, qrtOf(self)->appEventDelegate_, sel::interstitial_didReceiveAppEvent_withInfo_, name, info);
                })
        .method(sel::slot_shouldUseCustomRenderingForAd_, [](id self, id, id ad) { return qrtOf(self)->shouldUseCustomRenderingForAd(ad); });
    registerRawHTMLAdCategory(builder.get());
}

}  // namespace adlib
