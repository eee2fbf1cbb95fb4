#include "adlib/pipeline/qrt_raw_html_ad.h"

namespace adlib {

namespace {

QRTRawHTMLAd* rawOf(id self) { return as<QRTRawHTMLAd>(self); }

// The raw ad's delegate when it implements the selector, held while it is told.
template <class... Args>
void tellDelegate(id self, Sel<void(id, Args...)> selector, Args... args) {
    Ref<Object> delegate = rawOf(self)->delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), selector.name)) selector(delegate.get(), args...);
}

}  // namespace

Ref<NSURL> QRTCustomRenderingBaseURL(id ad) {
    auto* base = as<NSURL>(sel::adBaseURL(ad).get());
    return base ? NSURL::URLWithString("/", base) : nullptr;
}

Ref<Object> QRTBeginCustomRendering(id owner, id slot, id ad, const Value& html, id baseURL) {
    Ref<Object> raw = sel::initWithAdHTML_adBaseURL_(alloc("QRTRawHTMLAd"), html, baseURL);
    sel::setDelegate_(raw.get(), owner);
    sel::finishedLoadingAdResponse_(slot, ad);
    sel::willStartAdRendering(slot);
    return raw;
}

void registerRawHTMLAdCategory(Class* cls) {
    ClassBuilder<NSObject>(cls)
        .protocol("QRTRawHTMLAdDelegate")
        .method(sel::recordClick, [](id self) { sel::pingClickURLs(sel::slot(self).get()); })
        .method(sel::recordCustomAdImpression,
                [](id self) {
                    Ref<Object> slot = sel::slot(self);
                    sel::didMakeAdImpression(slot.get());
                    sel::pingManualTrackingURLs(slot.get());
                })
        .method(sel::finishedRenderingAdView_, [](id self, id) { sel::didReceiveValidAd(sel::slot(self).get()); });
}

void registerQRTRawHTMLAdClass() {
    ClassBuilder<QRTRawHTMLAd>("QRTRawHTMLAd", "NSObject")
        // Only the designated initialiser makes a raw ad.
        .method(sel::init, [](id) { return Ref<Object>(); })
        .method(sel::initWithAdHTML_adBaseURL_,
                [](id self, Value html, id baseURL) {
                    Ref<Object> made = sel::init.super(objc_getClass("QRTRawHTMLAd"), self);
                    if (QRTRawHTMLAd* raw = rawOf(made.get())) {
                        raw->adHTML_ = html.isString() ? html : Value();
                        raw->adBaseURL_ = Ref<Object>(baseURL);  // URLs are immutable: a copy is the same URL
                    }
                    return made;
                })
        .getter<&QRTRawHTMLAd::adHTML_>(sel::adHTML)
        .method(sel::adBaseURL, [](id self) { return rawOf(self)->adBaseURL_; })
        .method(sel::delegate, [](id self) { return rawOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { rawOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::recordClick, [](id self) { tellDelegate(self, sel::recordClick); })
        .method(sel::recordImpression, [](id self) { tellDelegate(self, sel::recordCustomAdImpression); })
        .method(sel::finishedRenderingAdView_, [](id self, id view) { tellDelegate(self, sel::finishedRenderingAdView_, view); });
}

}  // namespace adlib
