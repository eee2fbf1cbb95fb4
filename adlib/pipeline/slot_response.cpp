// The slot's response processing: what the fetcher brought back is dispatched
// by its response type to HTML rendering, custom rendering or mediation, the
// size the response asks for is applied through the slot delegate, and
// failures end the request.
#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/ad.h"
#include "adlib/pipeline/slot.h"
#include "platform/foundation/format.h"
#include "platform/foundation/ns_string.h"
#include "platform/uikit/control_selectors.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXSlot* slotOf(id self) { return as<YBXSlot>(self); }

bool isSizeZero(Size size) { return size.width == 0 && size.height == 0; }

// The slot delegate when it implements the selector, held while it is asked.
Ref<Object> delegateFor(YBXSlot* slot, const char* selector) {
    Ref<Object> delegate = slot->slotDelegate_.lock();
    return delegate && respondsToSelector(delegate.get(), selector) ? delegate : nullptr;
}

void failWithError(YBXSlot* slot, id error) {
    sel::didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_(slot, error, false, false);
}

void failWithCode(YBXSlot* slot, long long code) {
    Ref<Object> error = sel::errorWithCode_request_(YBXRequestErrorClass(), code, slot->request_.get());
    failWithError(slot, error.get());
}

}  // namespace

void YBXSlot::loadAd(id ad, const Value& headers) {
    Ref<YBXSlot> protector(this);
    if (adFetcher_) sel::cancel(adFetcher_.get());
    adFetcher_ = nullptr;
    sel::resetRequestState(this);
    loadingAd_ = Ref<Object>(ad);
    sel::willFetchAdContent(this);
    if (sel::hasAdNetworkJavaScript(ad)) {
        sel::loadAdNetworkJavaScriptRequest_(this, ad);
        return;
    }
    if (!isInterstitialType() && isKindOfClass(ad, "YBXAdBanner")) {
        newAdSize_ = sel::YBXAd_size(ad).size;
        reloadInterval_ = sel::refreshInterval(ad);
    }
    adFetcher_ = sel::init(alloc("YBXAdFetcher"));
    sel::fetchRemainingContentForAd_headers_delegate_request_error_(adFetcher_.get(), ad, headers, this, request_.get(), nullptr);
}

void YBXSlot::resetRequestState() {
    sel::finishOptoraReporting(this);
    sel::disableSwipeToViewController(this);
    if (ad_ && sel::isMRAIDEnabled(ad_.get())) sel::didUnloadMRAIDAd(this);
    // The ad on show stays current until the next one has loaded: clicks on
    // it during a refresh still ping and count.
    sel::resetState(this);
}

void YBXSlot::didFetchAd(id fetcher, id ad) {
    Ref<YBXSlot> protector(this);
    sel::didFetchAdContent(this);
    Ref<Object> responder = adResponseDelegate_.lock();
    const bool taken = responder && sel::slot_didReceiveAd_(responder.get(), this, ad);
    if (!taken) sel::adFetcher_didFailToFetchAdWithError_(this, fetcher, nullptr);
}

void YBXSlot::didFailToFetchAd(id error) {
    Ref<YBXSlot> protector(this);
    failWithError(this, error);
    if (Ref<Object> responder = adResponseDelegate_.lock()) sel::slot_didFailToReceiveAdWithError_(responder.get(), this, error);
}

bool YBXSlot::didReceiveAd(id ad) {
    switch (sel::responseType(ad)) {
        case YBXAdResponseTypeHTML: sel::processAdResponse_(this, ad); return true;
        case YBXAdResponseTypeMediation: sel::processMediationAdResponse_(this, ad); return true;
        case YBXAdResponseTypeCustomRendering: sel::processCustomRenderingAdResponse_(this, ad); return true;
        case YBXAdResponseTypeInvalid:
        case YBXAdResponseTypeNative: return false;
        default: return true;  // the fetcher makes no other type
    }
}

void YBXSlot::processAdResponse(id ad) {
    Ref<YBXSlot> protector(this);
    loadingAd_ = Ref<Object>(ad);
    if (const double interval = sel::reloadInterval(ad); interval > 0) reloadInterval_ = interval;
    // The refresh runs from here, before the creative renders.
    sel::scheduleAdReloadTimer(this);
    if (const Value custom = sel::customAdSizeString(ad); custom.isString() && !custom.string().empty())
        newAdSize_ = isInterstitialType() ? Size{} : YBXAdSizeFromWxHString(custom.string());
    id webView = webView_.get();
    sel::setScrollEnabled_(sel::scrollView(webView).get(), sel::isScrollEnabled(ad));
    const Value html = sel::adHTML(ad);
    const std::string trimmedHTML = html.isString() ? trimWhitespaceAndNewlines(html.string()) : std::string();
    if (trimmedHTML.empty()) {
        failWithCode(this, YBXErrorCodeNoFill);
        return;
    }
    sel::setAdDebugDialog_(webView, sel::debugDialog(ad));
    sel::willLoadAdHTMLInWebView(this);
    sel::loadHTMLString_baseURL_(webView, Value(trimmedHTML), sel::adBaseURL(ad).get());
    sel::setViewForAdUsingView_(this, webView);
}

void YBXSlot::processCustomRenderingAdResponse(id ad) {
    if (Ref<Object> delegate = delegateFor(this, sel::slot_shouldUseCustomRenderingForAd_.name);
        delegate && sel::slot_shouldUseCustomRenderingForAd_(delegate.get(), this, ad)) {
        // The delegate shows the ad itself; nothing of it refreshes.
        reloadable_ = false;
        deactivateReloadTimer();
        return;
    }
    sel::setResponseType_(ad, YBXAdResponseTypeHTML);
    sel::processAdResponse_(this, ad);
}

void YBXSlot::processMediationAdResponse(id ad) {
    Ref<YBXSlot> protector(this);
    sel::willProcessMediationResponse(this);
    const Value html = sel::adHTML(ad);
    const Value dictionary = html.isString() ? readJsonIntoDictionary(html.string()) : Value();
    Ref<NSError> error;
    Ref<Object> config = sel::initWithAppKey_configDict_error_(alloc("YBXMConfig"), adUnitID_, dictionary, &error);
    if (!config) {
        if (error) failWithError(this, error.get());
        else failWithCode(this, YBXErrorCodeInvalidMediationResponse);
        return;
    }
    sel::finishedLoadingAdResponse_(this, ad);
    Ref<Object> type = adType_;
    if (!isInterstitialType() && !isSizeZero(newAdSize_))
        type = sel::bannerAdTypeForSize_(objc_getClass("YBXAdType"), YBXAdSizeFromSize(newAdSize_));
    if (!sel::isValid(sel::adType(config.get()).get())) {
        pubLog(format("Warning: mediated ad type is unknown or invalid. Resetting type to %@.", Value(type)));
        sel::setAdType_(config.get(), type.get());
    }
    sel::requestAdWithType_mediationConfig_(adMediationGlue_.get(), type.get(), config.get());
    if (!isInterstitialType()) scheduleReloadTimer(sel::refreshInterval(config.get()));
}

void YBXSlot::setViewForAdUsingView(id view) {
    Ref<YBXSlot> protector(this);
    Ref<Object> delegate = slotDelegate_.lock();
    const auto implements = [&](const char* selector) { return delegate && respondsToSelector(delegate.get(), selector); };
    if (implements(sel::slot_didReceiveAdView_.name)) sel::slot_didReceiveAdView_(delegate.get(), this, view);
    if (isSizeZero(newAdSize_)) return;
    const YBXAdSize size = YBXAdSizeFromSize(newAdSize_);
    if (implements(sel::validAdSizes.name) && validateAdResponseWithAdSize(size, sel::validAdSizes(delegate.get()))) {
        const Size current = YBXAdSizeResolvedCGSize(sel::adSize(adType_.get()));
        if ((current.width != newAdSize_.width || current.height != newAdSize_.height) && implements(sel::slot_willResizeToAdSize_.name))
            sel::slot_willResizeToAdSize_(delegate.get(), this, size);
        if (implements(sel::setAdSize_andReload_.name)) sel::setAdSize_andReload_(delegate.get(), size, false);
        if (view == webView_.get() && implements(sel::bounds.name)) sel::setFrame_(webView_.get(), sel::bounds(delegate.get()));
    }
    // Accepted or not, the response's size is used up.
    newAdSize_ = Size{};
}

bool YBXSlot::validateAdResponseWithAdSize(const YBXAdSize& size, const Value& validSizes) {
    if (!validSizes.isArray()) return false;
    for (const Value& element : validSizes.array()) {
        YBXAdSize valid;
        if (YBXAdSizeUnboxed(element, &valid) && YBXAdSizesEqual(valid, size)) return true;
    }
    return false;
}

void registerSlotResponseCategory(Class* slotClass) {
    ClassBuilder<YBXSlot>(slotClass)
        .method(sel::adFetcher_didFetchAd_, [](id self, id fetcher, id ad) { slotOf(self)->didFetchAd(fetcher, ad); })
        .method(sel::adFetcher_didFailToFetchAdWithError_, [](id self, id, id error) { slotOf(self)->didFailToFetchAd(error); })
        .method(sel::slot_didReceiveAd_, [](id self, id, id ad) { return slotOf(self)->didReceiveAd(ad); })
        .method(sel::slot_didFailToReceiveAdWithError_, [](id self, id, id) { sel::scheduleAdReloadTimer(self); })
        .method(sel::processAdResponse_, [](id self, id ad) { slotOf(self)->processAdResponse(ad); })
        .method(sel::processMediationAdResponse_, [](id self, id ad) { slotOf(self)->processMediationAdResponse(ad); })
        .method(sel::processCustomRenderingAdResponse_, [](id self, id ad) { slotOf(self)->processCustomRenderingAdResponse(ad); })
        .method(sel::setViewForAdUsingView_, [](id self, id view) { slotOf(self)->setViewForAdUsingView(view); })
        .method(sel::validateAdResponseWithAdSize_andValidAdSizes_,
                [](id, YBXAdSize size, Value validSizes) { return YBXSlot::validateAdResponseWithAdSize(size, validSizes); })
        // Network JavaScript ads are loaded by the bad-ad and passback support; until then the slot waits in state 4.
        .method(sel::loadAdNetworkJavaScriptRequest_, [](id, id) {});
}

}  // namespace adlib
