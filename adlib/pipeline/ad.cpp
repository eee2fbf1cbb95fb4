#include "adlib/pipeline/ad.h"

#include <array>

namespace adlib {

namespace {

YBXAd* adOf(id self) { return as<YBXAd>(self); }

// The ad's own statistics report to the application singleton.
Ref<Object> makeStatistics() {
    Class* cls = objc_getClass("YBXStatisticDictionary");
    if (!cls) return nullptr;
    Ref<Object> application = sel::sharedApplication(objc_getClass("YBXApplication"));
    const std::array<Value, 1> args{Value(application)};
    return Ref<Object>(invoke(alloc(cls).get(), "initWithDelegate:", args).object());
}

Ref<Object> makeSwipeConfigurations(const Value& dictionary) {
    return sel::initWithSwipeConfigurations_(alloc("YBXSwipeToViewControllerConfigurations"), dictionary);
}

YBXAdSize sizeFromText(const Value& text) {
    if (!text.isString()) return YBXAdSizeFromCGSize(Size{});
    return YBXAdSizeFromSize(YBXAdSizeFromWxHString(text.string()));
}

long long orientationFromText(const Value& text) {
    if (text == Value("portrait")) return 2;
    if (text == Value("landscape")) return 3;
    return 1;
}

// The URLs that the texts of the array make; other elements are skipped.
Value URLsFromTexts(const Value& texts) {
    Value::Array urls;
    for (const Value& text : texts.array())
        if (Ref<NSURL> url = YBXURLFromValue(text)) urls.emplace_back(url);
    return Value(std::move(urls));
}

Ref<Object> initAd(id self) {
    adOf(self)->setUp();
    return Ref<Object>(self);
}

Ref<Object> initAdWithDictionary(id self, Value dictionary) {
    Ref<Object> made = sel::init(self);
    if (YBXAd* ad = adOf(made.get())) ad->initWithDictionary(dictionary);
    return made;
}

// Only a number counts: a text "30" is no interval.
double numberOr(const Value& value, double current) { return value.isNumber() ? value.doubleValue() : current; }

}  // namespace

Ref<NSURL> YBXURLFromValue(const Value& text) {
    if (!text.isString() || text.string().empty()) return nullptr;
    return NSURL::URLWithString(text.string());
}

void YBXAd::setUp() {
    statistics_ = makeStatistics();
    clickURLs_ = Value(Value::Array{});
    impressionURLs_ = Value(Value::Array{});
    manualImpressionURLs_ = Value(Value::Array{});
    scrollEnabled_ = true;
}

void YBXAd::addURLs(Value& set, const Value& urls) {
    for (const Value& element : urls.array()) {
        auto* url = element.objectAs<NSURL>();
        if (!url) continue;
        bool present = false;
        for (const Value& kept : set.array())
            if (url->isEqual(kept.objectAs<NSURL>())) present = true;
        if (!present) set.mutableArray().push_back(element);
    }
}

void YBXAd::initWithDictionary(const Value& d) {
    const Value& html = d["ad_html"];
    Ref<NSURL> base = YBXURLFromValue(d["ad_base_url"]);
    if (html.isString() && !html.string().empty() && base) {
        adHTML_ = html;
        adBaseURL_ = base;
    } else {
        adURL_ = YBXURLFromValue(d["ad_url"]);
    }
    size_ = sizeFromText(d["ad_size"]);
    supportedOrientations_ = orientationFromText(d["orientation"]);
    if (const Value& javaScript = d["ad_is_javascript"]; javaScript.isNumber()) {
        hasAdNetworkJavaScript_ = javaScript.boolValue();
        if (hasAdNetworkJavaScript_) adNetworkPassbackURL_ = YBXURLFromValue(d["ad_passback_url"]);
    }
    if (const Value& dialog = d["debug_dialog"]; dialog.isString()) debugDialog_ = dialog;
    if (const Value& optora = d["optora"]; optora.isDictionary()) optoraConfigurations_ = optora;
    const Value& swipe = d["swipe_to_viewcontroller"];
    swipeToViewControllerConfigurations_ = swipe.isDictionary() ? makeSwipeConfigurations(swipe) : nullptr;
    addURLs(clickURLs_, URLsFromTexts(d["click_urls"]));
    addURLs(impressionURLs_, URLsFromTexts(d["impression_urls"]));
    addURLs(manualImpressionURLs_, URLsFromTexts(d["manual_impression_urls"]));
}

void registerAdClasses() {
    ClassBuilder<YBXAd>("YBXAd", "NSObject")
        .method(sel::init, &initAd)
        .method(sel::initWithDictionary_, &initAdWithDictionary)
        .method(sel::addClickURLsFromArray_, [](id self, Value urls) { YBXAd::addURLs(adOf(self)->clickURLs_, urls); })
        .method(sel::addImpressionURLsFromArray_, [](id self, Value urls) { YBXAd::addURLs(adOf(self)->impressionURLs_, urls); })
        .method(sel::addManualImpressionURLsFromArray_, [](id self, Value urls) { YBXAd::addURLs(adOf(self)->manualImpressionURLs_, urls); })
        .getter<&YBXAd::clickURLs_>(sel::clickURLs)
        .getter<&YBXAd::impressionURLs_>(sel::impressionURLs)
        .getter<&YBXAd::manualImpressionURLs_>(sel::manualImpressionURLs)
        .property<&YBXAd::scrollEnabled_>(sel::isScrollEnabled, sel::setScrollEnabled_)
        .property<&YBXAd::MRAIDEnabled_>(sel::isMRAIDEnabled, sel::setMRAIDEnabled_)
        .property<&YBXAd::hasAdNetworkJavaScript_>(sel::hasAdNetworkJavaScript, sel::setHasAdNetworkJavaScript_)
        .method(sel::statistics, [](id self) { return adOf(self)->statistics_; })
        .method(sel::adBaseURL, [](id self) { return Ref<Object>(adOf(self)->adBaseURL_); })
        .method(sel::setAdBaseURL_, [](id self, NSURL* url) { adOf(self)->adBaseURL_ = url; })
        .property<&YBXAd::adHTML_>(sel::adHTML, sel::setAdHTML_)
        .method(sel::adURL, [](id self) { return Ref<Object>(adOf(self)->adURL_); })
        .method(sel::setAdURL_, [](id self, NSURL* url) { adOf(self)->adURL_ = url; })
        .property<&YBXAd::optoraConfigurations_>(sel::optoraConfigurations, sel::setOptoraConfigurations_)
        .method(sel::swipeToViewControllerConfigurations, [](id self) { return adOf(self)->swipeToViewControllerConfigurations_; })
        .method(sel::setSwipeToViewControllerConfigurations_,
                [](id self, id configurations) { adOf(self)->swipeToViewControllerConfigurations_ = configurations; })
        .property<&YBXAd::responseType_>(sel::responseType, sel::setResponseType_)
        .property<&YBXAd::reloadInterval_>(sel::reloadInterval, sel::setReloadInterval_)
        .property<&YBXAd::supportedOrientations_>(sel::supportedOrientations, sel::setSupportedOrientations_)
        .property<&YBXAd::debugDialog_>(sel::debugDialog, sel::setDebugDialog_)
        .property<&YBXAd::customAdSizeString_>(sel::customAdSizeString, sel::setCustomAdSizeString_)
        .method(sel::adNetworkPassbackURL, [](id self) { return Ref<Object>(adOf(self)->adNetworkPassbackURL_); })
        .method(sel::setAdNetworkPassbackURL_, [](id self, NSURL* url) { adOf(self)->adNetworkPassbackURL_ = url; })
        .property<&YBXAd::size_>(sel::YBXAd_size, sel::YBXAd_setSize_);

    ClassBuilder<YBXAdBanner>("YBXAdBanner", "YBXAd")
        .method(sel::initWithDictionary_,
                [](id self, Value dictionary) {
                    Ref<Object> made = sel::initWithDictionary_.super(objc_getClass("YBXAdBanner"), self, dictionary);
                    if (auto* ad = as<YBXAdBanner>(made.get())) ad->refreshInterval_ = numberOr(dictionary["refresh_rate"], ad->refreshInterval_);
                    return made;
                })
        .property<&YBXAdBanner::refreshInterval_>(sel::refreshInterval, sel::setRefreshInterval_);

    ClassBuilder<YBXAdInterstitial>("YBXAdInterstitial", "YBXAd")
        .method(sel::initWithDictionary_,
                [](id self, Value dictionary) {
                    Ref<Object> made = sel::initWithDictionary_.super(objc_getClass("YBXAdInterstitial"), self, dictionary);
                    if (auto* ad = as<YBXAdInterstitial>(made.get()))
                        ad->interstitialTimeout_ = numberOr(dictionary["interstitial_timeout"], ad->interstitialTimeout_);
                    return made;
                })
        .property<&YBXAdInterstitial::interstitialTimeout_>(sel::interstitialTimeout, sel::setInterstitialTimeout_);
}

}  // namespace adlib
