#include "adlib/pipeline/native_ad.h"

#include <set>

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/macros.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/format.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/user_defaults.h"
#include "platform/network/connection.h"
#include "platform/network/request.h"
#include "platform/uikit/image.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXNativeAd* nativeOf(id self) { return as<YBXNativeAd>(self); }
YBXNativeAppInstallAd* appInstallOf(id self) { return as<YBXNativeAppInstallAd>(self); }
YBXNativeContentAd* contentOf(id self) { return as<YBXNativeContentAd>(self); }

constexpr const char* kClickLine = "All required assets must be displayed before performing clicks.";
constexpr const char* kImpressionLine = "All required assets must be displayed before recording an impression.";

bool contains(const Value& names, std::string_view name) {
    if (!names.isArray()) return false;
    for (const Value& each : names.array())
        if (each.isString() && each.string() == name) return true;
    return false;
}

// Adds the text to an array kept as a set.
void addName(Value& names, std::string_view name) {
    if (contains(names, name)) return;
    Value::Array array = names.isArray() ? names.array() : Value::Array{};
    array.emplace_back(std::string(name));
    names = Value(std::move(array));
}

Value textsAsSet(const Value& texts) {
    Value set(Value::Array{});
    if (!texts.isArray()) return set;
    for (const Value& each : texts.array())
        if (each.isString()) addName(set, each.string());
    return set;
}

Value textFor(const Value& object, const char* key) {
    const Value& value = object[key];
    return value.isString() ? value : Value();
}

Ref<NSURL> urlIn(const Value& object) {
    const Value& url = object["url"];
    return url.isString() ? NSURL::URLWithString(url.string()) : nullptr;
}

bool sameness(bool a, bool b) { return a == b; }

// The integer of a value's text form: 1 and "1" alike.
long long integerOfText(const Value& value) {
    if (value.isString()) return Value(value.string()).integerValue();
    if (value.isNumber()) return Value(value.description()).integerValue();
    return 0;
}

Value decimalOf(const Value& value) {
    Decimal decimal;
    if (value.isString()) decimal = Decimal::fromString(value.string());
    else if (value.isNumber()) decimal = value.decimalValue();
    if (decimal.isNaN()) decimal = Decimal::zero();
    return Value(decimal);
}

Value firstAdObject(const Value& configuration) {
    const Value& ads = configuration["ads"];
    if (!ads.isArray() || ads.array().empty() || !ads.array().front().isDictionary()) return Value();
    return ads.array().front();
}

Class* classFromConfiguration(const Value& configuration) {
    const Value ad = firstAdObject(configuration);
    if (!ad.isDictionary() || ad["type"] != Value("native")) return nullptr;
    switch (integerOfText(ad["template_id"])) {
        case 1: return objc_getClass("YBXNativeContentAd");
        case 2: return objc_getClass("YBXNativeAppInstallAd");
        default: return nullptr;
    }
}

Ref<Object> supportHTMLURL() {
    const Value configured = NSUserDefaults::standardUserDefaults()->stringForKey("native_ad_support_url");
    if (configured.isString())
        if (Ref<NSURL> url = NSURL::URLWithString(configured.string()); url && !url->scheme().empty()) return url;
    return NSURL::URLWithString(YBXAdServerBaseURL() + kYBXNativeSupportPagePath);
}

void tellLoadingDelegate(YBXNativeAd* ad, Sel<void(id, id)> selector) {
    Ref<Object> delegate = ad->loadingDelegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), selector.name)) selector(delegate.get(), ad);
}

// A banner event of the hidden banner, heard as the native ad's own.
template <const Sel<void(id, id)>& Selector>
void relayBannerEvent(id self, id) {
    Ref<YBXNativeAd> protector(nativeOf(self));
    Ref<Object> delegate = nativeOf(self)->delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), Selector.name)) Selector(delegate.get(), self);
}

// YBXAdLoading's delivery: the loader's delegate hears the ad of its format.
void deliverTo(id self, id loader, Sel<void(id, id, id)> selector) {
    Ref<Object> protector(self);
    Ref<Object> delegate = sel::delegate(loader);
    if (delegate && respondsToSelector(delegate.get(), selector.name)) selector(delegate.get(), loader, self);
}

Value requiredOf(std::initializer_list<const char*> names, bool attribution) {
    Value set(Value::Array{});
    for (const char* name : names) addName(set, name);
    if (attribution) addName(set, "attributionIcon");
    return set;
}

Value copyOfRequired(id self) {
    Value required = sel::assetsRequiredToBeDisplayed(self);
    return required.isArray() ? required : Value();
}

}  // namespace

YBXNativeAd::~YBXNativeAd() {
    if (bannerView_) {
        sel::setDelegate_(bannerView_.get(), nullptr);
        sel::setAppEventDelegate_(bannerView_.get(), nullptr);
    }
}

bool YBXNativeAd::parse(const Value& adObject) {
    readAssets_ = Value(Value::Array{});
    completedAssets_ = Value(Value::Array{});
    requestedAssets_ = Value(Value::Array{});
    adAssetActions_ = Value(Value::Array{});
    if (!adObject.isDictionary()) return false;
    adConfiguration_ = adObject;
    const Value& tracking = adObject["tracking_urls_and_actions"];
    const Value& click = tracking["orvane_click_tracking_url"];
    if (!click.isString() || click.string().empty()) return false;
    orvaneClickTrackingURLString_ = click;
    thirdPartyClickTrackingURLs_ = textsAsSet(tracking["third_party_click_tracking_urls"]);
    impressionTrackingURLs_ = textsAsSet(tracking["impression_tracking_urls"]);
    const Value& actions = tracking["click_actions"];
    clickActions_ = actions.isArray() ? actions : Value(Value::Array{});
    return true;
}

void YBXNativeAd::markRead(std::string_view asset) { addName(readAssets_, asset); }

bool YBXNativeAd::requiredAssetsDisplayed(std::string_view logLine) {
    const Value required = sel::requiredAssets(this);
    if (!required.isArray()) return true;
    for (const Value& name : required.array()) {
        if (!contains(readAssets_, name.string())) {
            pubLog(logLine);
            return false;
        }
    }
    return true;
}

void YBXNativeAd::performClickOnAsset(const Value& asset) {
    if (!requiredAssetsDisplayed(kClickLine)) return;
    Value::Dictionary click{{"template", sel::clickActionTemplateID(this)}, {"asset", asset}};
    const std::string json = dictionaryToJSONString(Value(Value::Dictionary{{"ad", adConfiguration_}, {"click", Value(std::move(click))}}));
    if (json.empty()) return;
    Ref<Object> webView = sel::webView(slot_.get());
    if (!webView) return;
    // The publisher calls this for a user's tap: the creative's click is a real one.
    sel::setTouched_(webView.get(), true);
    sel::stringByEvaluatingJavaScriptFromString_(webView.get(), Value(format("orvane.kestra.nativeAds.handleClick(%@)", Value(json))));
}

void YBXNativeAd::recordImpression() {
    if (!requiredAssetsDisplayed(kImpressionLine)) return;
    if (hasRecordedImpression_) return;
    hasRecordedImpression_ = true;
    sel::trackURLs_cacheEnabled_(sel::sharedInstance(objc_getClass("YBXClickTrackerCollection")).get(), impressionTrackingURLs_, false);
}

void YBXNativeAd::loadImages(const std::vector<std::pair<NSURL*, const char*>>& images) {
    for (const auto& [url, key] : images)
        if (url) sel::loadImageWithURL_forKey_(this, url, Value(key));
    if (requestedAssets_.isArray() && !requestedAssets_.array().empty()) return;
    Ref<YBXNativeAd> kept(this);
    dispatch_async(dispatch_get_main_queue(), [kept] { kept->finishIfAllAssetsCompleted(); });
}

void YBXNativeAd::loadImageWithURL(NSURL* url, const Value& key) {
    Ref<YBXNativeAd> kept(this);
    sel::loadContentAtURL_forKey_completionHandler_(this, url, key, [kept, key](Value data, Ref<Object> error) {
        Ref<UIImage> image;
        if (!error && data.kind() == Value::Kind::Data && !data.data().empty()) image = UIImage::fromData(data.data(), 1.0);
        if (image) {
            setValueForKey(kept.get(), Value(Ref<Object>(image)), key.string());
            sel::finishedLoadingAssetWithName_(kept.get(), key);
        } else {
            sel::failedToLoadAssetWithName_(kept.get(), key);
        }
    });
}

void YBXNativeAd::loadContentAtURL(NSURL* url, const Value& key, std::function<void(Value, Ref<Object>)> handler) {
    const bool usableKey = key.isString() && !key.string().empty();
    Ref<NSURLRequest> request = url && usableKey ? NSURLRequest::requestWithURL(url, NSURLRequestUseProtocolCachePolicy, 60) : nullptr;
    if (!request) {
        sel::failedToLoadAssetWithName_(this, key);
        return;
    }
    addName(requestedAssets_, key.string());
    NSURLConnection::sendAsynchronousRequest(request.get(), NSOperationQueue::mainQueue(),
                                             [handler = std::move(handler)](Ref<NSURLResponse> response, std::optional<Data> body, Ref<NSError> error) {
                                                 auto* http = dynamic_cast<NSHTTPURLResponse*>(response.get());
                                                 const bool ok = !error && body && (!http || http->statusCode() < 400);
                                                 handler(ok ? Value(*body) : Value(), Ref<Object>(error));
                                             });
}

void YBXNativeAd::finishedLoadingAssetWithName(const Value& name) {
    if (name.isString()) addName(completedAssets_, name.string());
    finishIfAllAssetsCompleted();
}

void YBXNativeAd::failedToLoadAssetWithName(const Value& name) {
    if (name.isString()) addName(completedAssets_, name.string());
    if (name.isString() && contains(copyOfRequired(this), name.string())) {
        if (failedToLoadRequiredAssets_ || loadEnded_) return;
        failedToLoadRequiredAssets_ = true;
        loadEnded_ = true;
        Ref<YBXNativeAd> protector(this);
        tellLoadingDelegate(this, sel::nativeAdDidFailToLoadRequiredAssets_);
        return;
    }
    // An optional asset that failed only counts as done.
    finishIfAllAssetsCompleted();
}

void YBXNativeAd::finishIfAllAssetsCompleted() {
    if (loadEnded_ || failedToLoadRequiredAssets_) return;
    if (requestedAssets_.isArray())
        for (const Value& name : requestedAssets_.array())
            if (!contains(completedAssets_, name.string())) return;
    loadEnded_ = true;
    Ref<YBXNativeAd> protector(this);
    tellLoadingDelegate(this, sel::nativeAdDidFinishLoadingAssets_);
}

Class* YBXNativeAdClassForAdType(const Value& type) {
    if (type == Value("1")) return objc_getClass("YBXNativeContentAd");
    if (type == Value("2")) return objc_getClass("YBXNativeAppInstallAd");
    return nullptr;
}

void registerNativeAdClasses() {
    ClassBuilder<YBXNativeAd>("YBXNativeAd", "NSObject")
        .protocol("YBXBannerViewDelegate")
        .classMethod(sel::firstAdObjectInAdConfigurationDictionary_, [](id, Value configuration) { return firstAdObject(configuration); })
        .classMethod(sel::classFromAdConfigurationDictionary_, [](id, Value configuration) { return classFromConfiguration(configuration); })
        .classMethod(sel::supportHTMLURL, [](id) { return supportHTMLURL(); })
        .method(sel::init, [](id) { return Ref<Object>(); })
        .method(sel::initWithDictionary_, [](id self, Value ad) { return nativeOf(self)->parse(ad) ? Ref<Object>(self) : Ref<Object>(); })
        .method(sel::clickActionTemplateID, [](id) { return Value(""); })
        .method(sel::assetsRequiredToBeDisplayed, [](id) { return Value(); })
        .method(sel::requiredAssets, [](id self) { return copyOfRequired(self); })
        .method(sel::markAssetWithSelectorAsRead_, [](id self, Value name) {
            if (name.isString()) nativeOf(self)->markRead(name.string());
        })
        .method(sel::performClickOnAsset_, [](id self, Value asset) { nativeOf(self)->performClickOnAsset(asset); })
        .method(sel::recordImpression, [](id self) { nativeOf(self)->recordImpression(); })
        .method(sel::loadAssets, [](id) {})
        .method(sel::loadImageWithURL_forKey_, [](id self, NSURL* url, Value key) { nativeOf(self)->loadImageWithURL(url, key); })
        .method(sel::loadContentAtURL_forKey_completionHandler_,
                [](id self, NSURL* url, Value key, std::function<void(Value, Ref<Object>)> handler) {
                    nativeOf(self)->loadContentAtURL(url, key, std::move(handler));
                })
        .method(sel::finishedLoadingAssetWithName_, [](id self, Value name) { nativeOf(self)->finishedLoadingAssetWithName(name); })
        .method(sel::failedToLoadAssetWithName_, [](id self, Value name) { nativeOf(self)->failedToLoadAssetWithName(name); })
        // The hidden banner's events.
        .method(sel::adViewDidReceiveAd_, [](id, id) {})
        .method(sel::adView_didFailToReceiveAdWithError_, [](id, id, id) {})
        .method(sel::adViewWillPresentScreen_, &relayBannerEvent<sel::nativeAdWillPresentScreen_>)
        .method(sel::adViewWillDismissScreen_, &relayBannerEvent<sel::nativeAdWillDismissScreen_>)
        .method(sel::adViewDidDismissScreen_, &relayBannerEvent<sel::nativeAdDidDismissScreen_>)
        .method(sel::adViewWillLeaveApplication_, &relayBannerEvent<sel::nativeAdWillLeaveApplication_>)
        // Properties.
        .getter<&YBXNativeAd::hasRecordedImpression_>(sel::hasRecordedImpression)
        .getter<&YBXNativeAd::failedToLoadRequiredAssets_>(sel::failedToLoadRequiredAssets)
        .getter<&YBXNativeAd::impressionTrackingURLs_>(sel::impressionTrackingURLs)
        .getter<&YBXNativeAd::thirdPartyClickTrackingURLs_>(sel::thirdPartyClickTrackingURLs)
        .getter<&YBXNativeAd::orvaneClickTrackingURLString_>(sel::orvaneClickTrackingURLString)
        .getter<&YBXNativeAd::clickActions_>(sel::clickActions)
        .getter<&YBXNativeAd::adConfiguration_>(sel::adConfiguration)
        .getter<&YBXNativeAd::readAssets_>(sel::readAssets)
        .getter<&YBXNativeAd::completedAssets_>(sel::completedAssets)
        .getter<&YBXNativeAd::requestedAssets_>(sel::requestedAssets)
        .getter<&YBXNativeAd::adAssetActions_>(sel::adAssetActions)
        .method(sel::delegate, [](id self) { return nativeOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { nativeOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::loadingDelegate, [](id self) { return nativeOf(self)->loadingDelegate_.lock(); })
        .method(sel::setLoadingDelegate_, [](id self, id delegate) { nativeOf(self)->loadingDelegate_ = WeakRef<Object>(delegate); })
        .method(sel::rootViewController, [](id self) { return nativeOf(self)->rootViewController_.lock(); })
        .method(sel::setRootViewController_, [](id self, id controller) { nativeOf(self)->rootViewController_ = WeakRef<Object>(controller); })
        .method(sel::adUnitID, [](id self) { return nativeOf(self)->adUnitID_; })
        .method(sel::setAdUnitID_, [](id self, Value adUnitID) { nativeOf(self)->adUnitID_ = adUnitID.isString() ? adUnitID : Value(); })
        .method(sel::slot, [](id self) { return nativeOf(self)->slot_; })
        .method(sel::setSlot_, [](id self, id slot) { nativeOf(self)->slot_ = Ref<Object>(slot); });

    ClassBuilder<YBXNativeAppInstallAd>("YBXNativeAppInstallAd", "YBXNativeAd")
        .protocol("YBXAdLoading")
        .classMethod(sel::requiredDelegateProtocol, [](id) { return Value("YBXNativeAppInstallAdLoaderDelegate"); })
        .classMethod(sel::requestParametersForAdLoader_, [](id, id) { return Value(Value::Dictionary{{"format", Value(2LL)}}); })
        .method(sel::didReceiveAdForAdLoader_, [](id self, id loader) { deliverTo(self, loader, sel::adLoader_didReceiveNativeAppInstallAd_); })
        .method(sel::initWithDictionary_,
                [](id self, Value d) -> Ref<Object> {
                    YBXNativeAppInstallAd* ad = appInstallOf(self);
                    if (!ad->parse(d)) return nullptr;
                    ad->headline_ = textFor(d, "headline");
                    ad->body_ = textFor(d, "body");
                    ad->callToAction_ = textFor(d, "call_to_action");
                    ad->store_ = textFor(d, "store");
                    ad->price_ = textFor(d, "price");
                    ad->starRating_ = decimalOf(d["rating"]);
                    ad->imageURL_ = urlIn(d["image"]);
                    ad->iconURL_ = urlIn(d["app_icon"]);
                    ad->attributionText_ = textFor(d["attribution"], "text");
                    ad->attributionIconURL_ = urlIn(d["attribution"]["image"]);
                    if (ad->headline_.isNil() || ad->callToAction_.isNil() || !ad->iconURL_) return nullptr;
                    if (!sameness(ad->attributionText_.isNil(), !ad->attributionIconURL_)) return nullptr;
                    return Ref<Object>(self);
                })
        .method(sel::clickActionTemplateID, [](id) { return Value("2"); })
        .method(sel::assetsRequiredToBeDisplayed,
                [](id self) { return requiredOf({"headline", "callToAction", "icon"}, static_cast<bool>(appInstallOf(self)->attributionIconURL_)); })
        .method(sel::loadAssets,
                [](id self) {
                    YBXNativeAppInstallAd* ad = appInstallOf(self);
                    ad->loadImages({{ad->imageURL_.get(), "image"}, {ad->iconURL_.get(), "icon"}, {ad->attributionIconURL_.get(), "attributionIcon"}});
                })
        .method(sel::hasAttributionInformation,
                [](id self) { return appInstallOf(self)->attributionIconURL_ && !appInstallOf(self)->attributionText_.isNil(); })
        // The getters of the assets that must be displayed mark themselves read.
        .method(sel::headline, [](id self) { appInstallOf(self)->markRead("headline"); return appInstallOf(self)->headline_; })
        .method(sel::callToAction, [](id self) { appInstallOf(self)->markRead("callToAction"); return appInstallOf(self)->callToAction_; })
        .method(sel::icon, [](id self) { appInstallOf(self)->markRead("icon"); return appInstallOf(self)->icon_; })
        .method(sel::attributionIcon, [](id self) { appInstallOf(self)->markRead("attributionIcon"); return appInstallOf(self)->attributionIcon_; })
        .getter<&YBXNativeAppInstallAd::body_>(sel::body)
        .getter<&YBXNativeAppInstallAd::store_>(sel::store)
        .getter<&YBXNativeAppInstallAd::price_>(sel::price)
        .getter<&YBXNativeAppInstallAd::starRating_>(sel::starRating)
        .getter<&YBXNativeAppInstallAd::attributionText_>(sel::attributionText)
        .getter<&YBXNativeAppInstallAd::image_>(sel::image)
        .method(sel::imageURL, [](id self) { return Ref<Object>(appInstallOf(self)->imageURL_); })
        .method(sel::iconURL, [](id self) { return Ref<Object>(appInstallOf(self)->iconURL_); })
        .method(sel::attributionIconURL, [](id self) { return Ref<Object>(appInstallOf(self)->attributionIconURL_); })
        // Loaded images are stored by key.
        .ivar<&YBXNativeAppInstallAd::image_>("_image")
        .ivar<&YBXNativeAppInstallAd::icon_>("_icon")
        .ivar<&YBXNativeAppInstallAd::attributionIcon_>("_attributionIcon");

    ClassBuilder<YBXNativeContentAd>("YBXNativeContentAd", "YBXNativeAd")
        .protocol("YBXAdLoading")
        .classMethod(sel::requiredDelegateProtocol, [](id) { return Value("YBXNativeContentAdLoaderDelegate"); })
        .classMethod(sel::requestParametersForAdLoader_, [](id, id) { return Value(Value::Dictionary{{"format", Value(1LL)}}); })
        .method(sel::didReceiveAdForAdLoader_, [](id self, id loader) { deliverTo(self, loader, sel::adLoader_didReceiveNativeContentAd_); })
        .method(sel::initWithDictionary_,
                [](id self, Value d) -> Ref<Object> {
                    YBXNativeContentAd* ad = contentOf(self);
                    if (!ad->parse(d)) return nullptr;
                    ad->headline_ = textFor(d, "headline");
                    ad->body_ = textFor(d, "body");
                    ad->callToAction_ = textFor(d, "call_to_action");
                    ad->advertiser_ = textFor(d, "advertiser");
                    ad->imageURL_ = urlIn(d["image"]);
                    ad->logoURL_ = urlIn(d["secondary_image"]);
                    ad->attributionText_ = textFor(d["attribution"], "text");
                    ad->attributionIconURL_ = urlIn(d["attribution"]["image"]);
                    if (ad->headline_.isNil() || ad->body_.isNil()) return nullptr;
                    if (!sameness(ad->attributionText_.isNil(), !ad->attributionIconURL_)) return nullptr;
                    return Ref<Object>(self);
                })
        .method(sel::clickActionTemplateID, [](id) { return Value("1"); })
        .method(sel::assetsRequiredToBeDisplayed,
                [](id self) { return requiredOf({"headline", "body"}, static_cast<bool>(contentOf(self)->attributionIconURL_)); })
        .method(sel::loadAssets,
                [](id self) {
                    YBXNativeContentAd* ad = contentOf(self);
                    ad->loadImages({{ad->imageURL_.get(), "image"}, {ad->logoURL_.get(), "logo"}, {ad->attributionIconURL_.get(), "attributionIcon"}});
                })
        .method(sel::hasAttributionInformation,
                [](id self) { return contentOf(self)->attributionIconURL_ && !contentOf(self)->attributionText_.isNil(); })
        .method(sel::headline, [](id self) { contentOf(self)->markRead("headline"); return contentOf(self)->headline_; })
        .method(sel::body, [](id self) { contentOf(self)->markRead("body"); return contentOf(self)->body_; })
        .method(sel::attributionIcon, [](id self) { contentOf(self)->markRead("attributionIcon"); return contentOf(self)->attributionIcon_; })
        .getter<&YBXNativeContentAd::callToAction_>(sel::callToAction)
        .getter<&YBXNativeContentAd::advertiser_>(sel::advertiser)
        .getter<&YBXNativeContentAd::attributionText_>(sel::attributionText)
        .getter<&YBXNativeContentAd::image_>(sel::image)
        .getter<&YBXNativeContentAd::logo_>(sel::logo)
        .method(sel::imageURL, [](id self) { return Ref<Object>(contentOf(self)->imageURL_); })
        .method(sel::logoURL, [](id self) { return Ref<Object>(contentOf(self)->logoURL_); })
        .method(sel::attributionIconURL, [](id self) { return Ref<Object>(contentOf(self)->attributionIconURL_); })
        .ivar<&YBXNativeContentAd::image_>("_image")
        .ivar<&YBXNativeContentAd::logo_>("_logo")
        .ivar<&YBXNativeContentAd::attributionIcon_>("_attributionIcon");
}

}  // namespace adlib
