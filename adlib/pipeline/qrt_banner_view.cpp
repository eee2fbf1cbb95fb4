#include "adlib/pipeline/qrt_banner_view.h"

#include "adlib/foundation/macros.h"
#include "adlib/pipeline/qrt_raw_html_ad.h"
#include "platform/foundation/format.h"

namespace adlib {

namespace {

QRTBannerView* qrtOf(id self) { return as<QRTBannerView>(self); }

template <WeakRef<Object> QRTBannerView::*Member>
Ref<Object> weakGetter(id self) {
    return (qrtOf(self)->*Member).lock();
}
template <WeakRef<Object> QRTBannerView::*Member>
void weakSetter(id self, id object) {
    qrtOf(self)->*Member = WeakRef<Object>(object);
}

void setValidAdSizesWithSizes(id self, const YBXAdSize* const* sizes) {
    Value::Array boxed;
    for (const YBXAdSize* const* each = sizes; each && *each; ++each) boxed.push_back(YBXAdSizeBoxed(**each));
    qrtOf(self)->validAdSizes_ = Value(std::move(boxed));
}

}  // namespace

bool QRTBannerView::shouldUseCustomRenderingForAd(id ad) {
    Ref<QRTBannerView> protector(this);
    Ref<Object> delegate = rawHTMLBannerViewDelegate_.lock();
    if (!delegate) return false;
    Ref<NSURL> base = QRTCustomRenderingBaseURL(ad);
    const Value html = sel::adHTML(ad);
    if (!QRTDelegateAllowsCustomRendering(delegate.get(), sel::bannerView_shouldUseCustomRenderingForAdHTML_baseURL_, this, html, base.get()))
        return false;
    // A delegate that cannot take the raw ad leaves it to the library: the
    // slot would otherwise wait in the rendering state for good.
    if (!respondsToSelector(delegate.get(), sel::bannerView_renderRawHTMLAd_.name)) {
        pubLog(format("Ignoring delegate callback. Delegate does not conform to %@.\nBanner view: %@\nDelegate: %@",
                      Value("QRTRawHTMLBannerViewDelegate"), Value(Ref<Object>(this)), Value(delegate)));
        return false;
    }
    Ref<Object> raw = QRTBeginCustomRendering(this, slot_.get(), ad, html, base.get());
    sel::bannerView_renderRawHTMLAd_(delegate.get(), this, raw.get());
    return true;
}

void registerQRTBannerViewClass() {
    ClassBuilder<QRTBannerView> builder("QRTBannerView", "YBXBannerView");
    builder.method(sel::appEventDelegate, &weakGetter<&QRTBannerView::appEventDelegate_>)
        .method(sel::setAppEventDelegate_, &weakSetter<&QRTBannerView::appEventDelegate_>)
        .method(sel::adSizeDelegate, &weakGetter<&QRTBannerView::adSizeDelegate_>)
        .method(sel::setAdSizeDelegate_, &weakSetter<&QRTBannerView::adSizeDelegate_>)
        .method(sel::rawHTMLBannerViewDelegate, &weakGetter<&QRTBannerView::rawHTMLBannerViewDelegate_>)
        .method(sel::setRawHTMLBannerViewDelegate_, &weakSetter<&QRTBannerView::rawHTMLBannerViewDelegate_>)
        .method(sel::validAdSizes, [](id self) { return qrtOf(self)->validAdSizes_; })
        .method(sel::setValidAdSizes_, [](id self, Value sizes) { qrtOf(self)->validAdSizes_ = sizes.isArray() ? sizes : Value(); })
        .method(sel::setValidAdSizesWithSizes_, &setValidAdSizesWithSizes)
        .method(sel::resize_, [](id self, YBXAdSize size) { sel::setAdSize_andReload_(self, size, false); })
        .method(sel::enableManualImpressions, [](id self) { return sel::manualImpressionsEnabled(qrtOf(self)->slot_.get()); })
        .method(sel::setEnableManualImpressions_, [](id self, bool on) { sel::setManualImpressionsEnabled_(qrtOf(self)->slot_.get(), on); })
        .method(sel::recordImpression, [](id self) { sel::pingManualTrackingURLs(qrtOf(self)->slot_.get()); })
        // Slot-delegate operations.
        .method(sel::slot_willResizeToAdSize_,
                [](id self, id, YBXAdSize size) {
                    Ref<Object> protector(self);
                    Ref<Object> delegate = qrtOf(self)->adSizeDelegate_.lock();
                    if (delegate && respondsToSelector(delegate.get(), sel::adView_willChangeAdSizeTo_.name))
                        sel::adView_willChangeAdSizeTo_(delegate.get(), self, size);
                })
        .method(sel::slot_didReceiveAppEvent_withInfo_,
                [](id self, id, Value name, Value info) {
                    QRTRelayAppEvent(self, qrtOf(self)->appEventDelegate_, sel::adView_didReceiveAppEvent_withInfo_, name, info);
                })
        .method(sel::slot_shouldUseCustomRenderingForAd_, [](id self, id, id ad) { return qrtOf(self)->shouldUseCustomRenderingForAd(ad); });
    registerRawHTMLAdCategory(builder.get());

    // Swiping is not offered here: the delegate is taken and forgotten.
    ClassBuilder<QRTBannerView>("QRTSwipeableBannerView", "QRTBannerView")
        .method(sel::swipeDelegate, [](id) { return Ref<Object>(); })
        .method(sel::setSwipeDelegate_, [](id, id) {});
}

}  // namespace adlib
