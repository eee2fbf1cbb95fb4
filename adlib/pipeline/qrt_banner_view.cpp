#include "adlib/pipeline/qrt_banner_view.h"

namespace adlib {

namespace {

QRTBannerView* qrtOf(id self) { return as<QRTBannerView>(self); }

}  // namespace

void registerQRTBannerViewClass() {
    ClassBuilder<QRTBannerView>("QRTBannerView", "YBXBannerView")
        .method(sel::appEventDelegate, [](id self) { return qrtOf(self)->appEventDelegate_.lock(); })
        .method(sel::setAppEventDelegate_, [](id self, id delegate) { qrtOf(self)->appEventDelegate_ = WeakRef<Object>(delegate); })
        .method(sel::enableManualImpressions, [](id self) { return sel::manualImpressionsEnabled(qrtOf(self)->slot_.get()); })
        .method(sel::setEnableManualImpressions_, [](id self, bool on) { sel::setManualImpressionsEnabled_(qrtOf(self)->slot_.get(), on); })
        .method(sel::slot_didReceiveAppEvent_withInfo_, [](id self, id, Value name, Value info) {
            Ref<Object> protector(self);
            Ref<Object> delegate = qrtOf(self)->appEventDelegate_.lock();
            if (delegate && respondsToSelector(delegate.get(), sel::adView_didReceiveAppEvent_withInfo_.name))
                sel::adView_didReceiveAppEvent_withInfo_(delegate.get(), self, name, info);
        });
}

}  // namespace adlib
