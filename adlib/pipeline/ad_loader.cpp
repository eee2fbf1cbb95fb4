#include "adlib/pipeline/ad_loader.h"

#include <algorithm>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/ad_type.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/request_error.h"
#include "adlib/pipeline/ad.h"
#include "adlib/pipeline/native_ad.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/format.h"
#include "platform/foundation/json.h"

namespace adlib {

namespace {

YBXAppEventAdLoader* appEventOf(id self) { return as<YBXAppEventAdLoader>(self); }
YBXAdLoader* loaderOf(id self) { return as<YBXAdLoader>(self); }

constexpr const char* kAppEventName = "native_ad_content";
constexpr double kAppEventWait = 5;

Ref<Object> publicError(long long code, const char* message) {
    return sel::errorWithCode_customMessage_(YBXRequestErrorClass(), code, message ? Value(message) : Value());
}

bool contains(const std::vector<Class*>& classes, Class* cls) { return cls && std::find(classes.begin(), classes.end(), cls) != classes.end(); }

// A new native ad of the class for the configuration's first ad object; null when the object is invalid.
Ref<Object> makeNativeAd(Class* cls, const Value& configuration) {
    const Value adObject = sel::firstAdObjectInAdConfigurationDictionary_(objc_getClass("YBXNativeAd"), configuration);
    return sel::initWithDictionary_(alloc(cls->name()), adObject);
}

void prepareNativeAd(id ad, const Value& adUnitID, id rootViewController, id loadingDelegate, id slot) {
    sel::setAdUnitID_(ad, adUnitID);
    sel::setRootViewController_(ad, rootViewController);
    sel::setLoadingDelegate_(ad, loadingDelegate);
    sel::setSlot_(ad, slot);
}

Value asArray(const std::vector<Ref<Object>>& objects) {
    Value::Array array;
    for (const Ref<Object>& object : objects) array.emplace_back(object);
    return Value(std::move(array));
}

}  // namespace

// --- YBXAppEventAdLoader ---------------------------------------------------------------------------

YBXAppEventAdLoader::~YBXAppEventAdLoader() { cancel(); }

void YBXAppEventAdLoader::cancel() {
    cancelBannerView();
    cancelNativeAd();
}

void YBXAppEventAdLoader::cancelBannerView() {
    Ref<Object> banner = std::move(loadingBannerView_);
    loadingBannerView_ = nullptr;
    if (!banner) return;
    sel::setDelegate_(banner.get(), nullptr);
    sel::setAppEventDelegate_(banner.get(), nullptr);
}

void YBXAppEventAdLoader::cancelNativeAd() {
    Ref<Object> ad = std::move(loadingNativeAd_);
    loadingNativeAd_ = nullptr;
    if (ad) sel::setLoadingDelegate_(ad.get(), nullptr);
}

void YBXAppEventAdLoader::loadRequest(id request) {
    Ref<YBXAppEventAdLoader> protector(this);
    cancel();
    Ref<Object> banner = sel::initWithAdSize_(alloc("QRTBannerView"), kYBXAdSizeBanner);
    if (!banner) return;
    sel::setAdUnitID_(banner.get(), adUnitID_);
    Ref<Object> root = rootViewController_.lock();
    sel::setRootViewController_(banner.get(), root.get());
    // The hidden banner's own impressions are never counted: the native ad records its own.
    sel::setEnableManualImpressions_(banner.get(), true);
    sel::setDelegate_(banner.get(), this);
    sel::setAppEventDelegate_(banner.get(), this);

    Ref<Object> delegate = delegate_.lock();
    Ref<Object> loader = delegate ? sel::adLoaderForAppEventAdLoader_(delegate.get(), this) : nullptr;
    Value::Array formats;
    for (Class* cls : adTypes_) {
        if (!cls || !loader) continue;
        const Value parameters = sel::requestParametersForAdLoader_(cls, loader.get());
        if (parameters.isDictionary() && !parameters.dictionary().empty()) formats.push_back(parameters);
    }
    Ref<Object> copy = request ? sel::copy(request) : sel::init(alloc("YBXRequest"));
    sel::setFormatParameters_(copy.get(), Value(std::move(formats)));
    sel::setResponseType_(copy.get(), 1);
    loadingBannerView_ = banner;
    sel::loadRequest_(banner.get(), copy.get());
}

void YBXAppEventAdLoader::bannerDidReceiveAd(id banner) {
    if (banner != loadingBannerView_.get()) return;
    WeakRef<Object> weakSelf(this);
    WeakRef<Object> weakBanner(banner);
    dispatch_after(dispatch_time(0, static_cast<std::int64_t>(kAppEventWait * 1e9)), dispatch_get_main_queue(), [weakSelf, weakBanner] {
        Ref<Object> self = weakSelf.lock();
        if (!self) return;
        YBXAppEventAdLoader* loader = appEventOf(self.get());
        Ref<Object> waitedFor = weakBanner.lock();
        // The app event came meanwhile when the banner is no longer the loading one.
        if (!waitedFor || waitedFor != loader->loadingBannerView_) return;
        loader->fail(YBXErrorCodeTimeout, "Failed to receive ad configuration.");
    });
}

void YBXAppEventAdLoader::bannerDidReceiveAppEvent(id banner, const Value& name, const Value& info) {
    if (banner != loadingBannerView_.get()) return;
    Ref<YBXAppEventAdLoader> protector(this);
    Ref<Object> heldBanner(banner);
    const Value configuration = info.isString() ? NSJSONSerialization::JSONObjectWithText(info.string(), 0) : Value();
    if (!configuration.isDictionary() || name != Value(kAppEventName)) {
        fail(YBXErrorCodeInternal, "Received malformed ad data.");
        return;
    }
    const Value adUnitID = sel::adUnitID(banner);
    Ref<Object> slot = sel::slot(banner);
    cancelBannerView();
    deliveringBanner_ = heldBanner;
    loadAssetsForAdConfiguration(configuration, adUnitID, slot.get());
    deliveringBanner_ = nullptr;
}

void YBXAppEventAdLoader::loadAssetsForAdConfiguration(const Value& configuration, const Value& adUnitID, id slot) {
    Ref<YBXAppEventAdLoader> protector(this);
    Class* cls = sel::classFromAdConfigurationDictionary_(objc_getClass("YBXNativeAd"), configuration);
    if (!contains(adTypes_, cls)) {
        fail(YBXErrorCodeInternal, "Received invalid ad response.");
        return;
    }
    Ref<Object> ad = makeNativeAd(cls, configuration);
    if (!ad) {
        fail(YBXErrorCodeInternal, "Received malformed ad data.");
        return;
    }
    Ref<Object> root = rootViewController_.lock();
    prepareNativeAd(ad.get(), adUnitID_.isNil() ? adUnitID : adUnitID_, root.get(), this, slot);
    // The ad keeps the banner, its slot and web view, and hears its screen events.
    if (YBXNativeAd* native = as<YBXNativeAd>(ad.get()); native && deliveringBanner_) {
        native->bannerView_ = deliveringBanner_;
        sel::setDelegate_(deliveringBanner_.get(), ad.get());
    }
    loadingNativeAd_ = ad;
    sel::loadAssets(ad.get());
}

void YBXAppEventAdLoader::nativeAdDidFinishLoadingAssets(id ad) {
    if (ad != loadingNativeAd_.get()) return;
    Ref<YBXAppEventAdLoader> protector(this);
    Ref<Object> delivered(ad);
    cancelNativeAd();
    Ref<Object> delegate = delegate_.lock();
    if (delegate) sel::appEventAdLoader_didReceiveAd_(delegate.get(), this, delivered.get());
}

void YBXAppEventAdLoader::fail(long long code, const char* message) { failedToLoadAdWithError(publicError(code, message).get()); }

void YBXAppEventAdLoader::failedToLoadAdWithError(id error) {
    Ref<YBXAppEventAdLoader> protector(this);
    Ref<Object> reported = error ? Ref<Object>(error) : publicError(YBXErrorCodeNetwork, "Couldn't load ad.");
    cancel();
    Ref<Object> delegate = delegate_.lock();
    if (delegate) sel::appEventAdLoader_didFailToReceiveAdWithError_(delegate.get(), this, reported.get());
}

// --- YBXAdLoader ------------------------------------------------------------------------------------

YBXAdLoader::~YBXAdLoader() {
    if (slot_) {
        sel::setSlotDelegate_(slot_.get(), nullptr);
        sel::setAdResponseDelegate_(slot_.get(), nullptr);
    }
}

bool YBXAdLoader::setUp(const Value& adUnitID, id rootViewController, const Value& types) {
    if (types.isArray()) {
        for (const Value& type : types.array()) {
            Class* cls = YBXNativeAdClassForAdType(type);
            if (!cls) {
                Ref<Object> error = sel::errorWithCode_customMessage_(YBXRequestErrorClass(), YBXErrorCodeInvalidArgument,
                                                                       Value(format("Invalid ad format requested: \"%@\".", type)));
                pubLog(format("Error: %@", Value(sel::localizedDescription(error.get()))));
                return false;
            }
            if (!contains(adTypes_, cls)) adTypes_.push_back(cls);
        }
    }
    adUnitID_ = adUnitID.isString() ? adUnitID : Value();
    rootViewController_ = WeakRef<Object>(rootViewController);
    slot_ = sel::init(alloc("YBXSlot"));
    sel::setSlotDelegate_(slot_.get(), this);
    sel::setAdResponseDelegate_(slot_.get(), this);
    sel::setAdUnitID_(slot_.get(), adUnitID_);
    return true;
}

bool YBXAdLoader::delegateIsValidForAdClass(id delegate, Class* adClass, Ref<Object>* error) {
    const Value protocol = sel::requiredDelegateProtocol(adClass);
    if (protocol.isString() && conformsToProtocol(delegate, protocol.string())) return true;
    if (error)
        *error = sel::ybx_errorWithCode_description_(NSErrorClass(), YBXInternalErrorCodeInvalidArgument,
                                                     Value(format("Delegate does not conform to the required protocol, %@.", protocol)));
    return false;
}

void YBXAdLoader::setDelegate(id delegate) {
    if (delegate == delegate_.lock().get()) return;
    if (delegate) {
        for (Class* cls : adTypes_) {
            Ref<Object> error;
            if (!delegateIsValidForAdClass(delegate, cls, &error)) {
                pubLog(format("%@", Value(sel::localizedDescription(error.get()))));
                return;
            }
        }
    }
    delegate_ = WeakRef<Object>(delegate);
}

void YBXAdLoader::loadRequest(id request) {
    Ref<YBXAdLoader> protector(this);
    Ref<Object> made = sel::init(alloc("YBXAppEventAdLoader"));
    YBXAppEventAdLoader* loader = appEventOf(made.get());
    loader->adUnitID_ = adUnitID_;
    loader->rootViewController_ = rootViewController_;
    loader->adTypes_ = adTypes_;
    loader->delegate_ = WeakRef<Object>(this);
    appEventAdLoaders_.push_back(made);
    loader->loadRequest(request);
}

void YBXAdLoader::remove(std::vector<Ref<Object>>& list, id object) {
    std::erase_if(list, [object](const Ref<Object>& each) { return each.get() == object; });
}

void YBXAdLoader::deliver(id ad) {
    Ref<YBXAdLoader> protector(this);
    Ref<Object> held(ad);
    Ref<Object> delegate = delegate_.lock();
    if (!delegate) return;
    Ref<Object> error;
    if (delegateIsValidForAdClass(delegate.get(), object_getClass(ad), &error)) {
        sel::didReceiveAdForAdLoader_(ad, this);
        return;
    }
    tellFailure(sel::errorWithCode_underlyingError_(YBXRequestErrorClass(), YBXErrorCodeInvalidRequest, error.get()).get());
}

void YBXAdLoader::tellFailure(id error) {
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::adLoader_didFailToReceiveAdWithError_.name))
        sel::adLoader_didFailToReceiveAdWithError_(delegate.get(), this, error);
}

bool YBXAdLoader::slotDidReceiveAd(id ad) {
    if (sel::responseType(ad) != YBXAdResponseTypeNative) return false;
    Ref<Object> preprocessor = sel::initWithAdUnitID_(alloc("YBXAdPreprocessor"), adUnitID_);
    adPreprocessors_.push_back(preprocessor);
    sel::didReceiveValidAd(slot_.get());
    Value body = sel::body(ad);
    if (body.kind() == Value::Kind::Data) body = Value(std::string(body.data().begin(), body.data().end()));
    WeakRef<Object> weakSelf(this);
    Object* key = preprocessor.get();
    sel::preprocessNativeAdJSON_completionHandler_(preprocessor.get(), body, [weakSelf, key](Value configuration, Ref<Object> slot, Ref<Object>) {
        Ref<Object> self = weakSelf.lock();
        if (self) loaderOf(self.get())->preprocessed(key, configuration, slot.get());
    });
    return true;
}

void YBXAdLoader::preprocessed(id preprocessor, const Value& configuration, id slot) {
    Ref<YBXAdLoader> protector(this);
    Ref<Object> kept(preprocessor);
    remove(adPreprocessors_, preprocessor);
    Class* cls = configuration.isDictionary() ? sel::classFromAdConfigurationDictionary_(objc_getClass("YBXNativeAd"), configuration) : nullptr;
    Ref<Object> ad = contains(adTypes_, cls) ? makeNativeAd(cls, configuration) : nullptr;
    if (!ad) {
        tellFailure(sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeInvalidResponse).get());
        return;
    }
    nativeAds_.push_back(ad);
    Ref<Object> root = rootViewController_.lock();
    prepareNativeAd(ad.get(), adUnitID_, root.get(), this, slot);
    sel::loadAssets(ad.get());
}

void registerAdLoaderClasses() {
    ClassBuilder<YBXAppEventAdLoader>("YBXAppEventAdLoader", "NSObject")
        .protocol("YBXBannerViewDelegate")
        .protocol("YBXAppEventDelegate")
        .protocol("YBXNativeAdLoadDelegate")
        .method(sel::loadRequest_, [](id self, id request) { appEventOf(self)->loadRequest(request); })
        .method(sel::cancel, [](id self) { appEventOf(self)->cancel(); })
        .method(sel::cancelBannerView, [](id self) { appEventOf(self)->cancelBannerView(); })
        .method(sel::cancelNativeAd, [](id self) { appEventOf(self)->cancelNativeAd(); })
        .method(sel::adViewDidReceiveAd_, [](id self, id banner) { appEventOf(self)->bannerDidReceiveAd(banner); })
        .method(sel::adView_didFailToReceiveAdWithError_,
                [](id self, id banner, id error) {
                    if (banner == appEventOf(self)->loadingBannerView_.get()) appEventOf(self)->failedToLoadAdWithError(error);
                })
        .method(sel::adView_didReceiveAppEvent_withInfo_,
                [](id self, id banner, Value name, Value info) { appEventOf(self)->bannerDidReceiveAppEvent(banner, name, info); })
        .method(sel::loadAssetsForAdConfiguration_adUnitID_slot_,
                [](id self, Value configuration, Value adUnitID, id slot) { appEventOf(self)->loadAssetsForAdConfiguration(configuration, adUnitID, slot); })
        .method(sel::nativeAdDidFinishLoadingAssets_, [](id self, id ad) { appEventOf(self)->nativeAdDidFinishLoadingAssets(ad); })
        .method(sel::nativeAdDidFailToLoadRequiredAssets_,
                [](id self, id ad) {
                    if (ad == appEventOf(self)->loadingNativeAd_.get()) appEventOf(self)->fail(YBXErrorCodeNetwork, "Couldn't load native ad assets.");
                })
        .method(sel::failedToLoadAdWithError_, [](id self, id error) { appEventOf(self)->failedToLoadAdWithError(error); })
        .method(sel::delegate, [](id self) { return appEventOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { appEventOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::loadingBannerView, [](id self) { return appEventOf(self)->loadingBannerView_; })
        .method(sel::loadingNativeAd, [](id self) { return appEventOf(self)->loadingNativeAd_; })
        .getter<&YBXAppEventAdLoader::adUnitID_>(sel::adUnitID);

    ClassBuilder<YBXAdLoader>("YBXAdLoader", "NSObject")
        .protocol("YBXAppEventAdLoaderDelegate")
        .protocol("YBXNativeAdLoadDelegate")
        .protocol("YBXSlotAdResponseDelegate")
        .protocol("YBXSlotDelegate")
        .method(sel::initWithAdUnitID_rootViewController_adTypes_,
                [](id self, Value adUnitID, id root, Value types) { return loaderOf(self)->setUp(adUnitID, root, types) ? Ref<Object>(self) : Ref<Object>(); })
        .method(sel::delegate, [](id self) { return loaderOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { loaderOf(self)->setDelegate(delegate); })
        .method(sel::delegate_isValidForAdClass_error_,
                [](id self, id delegate, Class* cls, Ref<Object>* error) { return loaderOf(self)->delegateIsValidForAdClass(delegate, cls, error); })
        .method(sel::loadRequest_, [](id self, id request) { loaderOf(self)->loadRequest(request); })
        .method(sel::adLoaderForAppEventAdLoader_, [](id self, id) { return Ref<Object>(self); })
        .method(sel::appEventAdLoader_didReceiveAd_,
                [](id self, id appEventLoader, id ad) {
                    Ref<Object> protector(self);
                    Ref<Object> held(ad);
                    loaderOf(self)->remove(loaderOf(self)->appEventAdLoaders_, appEventLoader);
                    loaderOf(self)->deliver(ad);
                })
        .method(sel::appEventAdLoader_didFailToReceiveAdWithError_,
                [](id self, id appEventLoader, id error) {
                    Ref<Object> protector(self);
                    Ref<Object> held(error);
                    loaderOf(self)->remove(loaderOf(self)->appEventAdLoaders_, appEventLoader);
                    loaderOf(self)->tellFailure(error);
                })
        .method(sel::slot_didReceiveAd_, [](id self, id, id ad) { return loaderOf(self)->slotDidReceiveAd(ad); })
        .method(sel::slot_didFailToReceiveAdWithError_,
                [](id self, id, id error) {
                    Ref<Object> reported = error ? Ref<Object>(error) : sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeInternal);
                    loaderOf(self)->tellFailure(reported.get());
                })
        .method(sel::nativeAdDidFinishLoadingAssets_,
                [](id self, id ad) {
                    Ref<Object> protector(self);
                    Ref<Object> held(ad);
                    loaderOf(self)->remove(loaderOf(self)->nativeAds_, ad);
                    loaderOf(self)->deliver(ad);
                })
        .method(sel::nativeAdDidFailToLoadRequiredAssets_,
                [](id self, id ad) {
                    Ref<Object> protector(self);
                    Ref<Object> held(ad);
                    loaderOf(self)->remove(loaderOf(self)->nativeAds_, ad);
                    loaderOf(self)->tellFailure(sel::errorWithCode_(YBXRequestErrorClass(), YBXErrorCodeNetwork).get());
                })
        .method(sel::appEventAdLoaders, [](id self) { return asArray(loaderOf(self)->appEventAdLoaders_); })
        .method(sel::adPreprocessors, [](id self) { return asArray(loaderOf(self)->adPreprocessors_); })
        .method(sel::nativeAds, [](id self) { return asArray(loaderOf(self)->nativeAds_); })
        .getter<&YBXAdLoader::adUnitID_>(sel::adUnitID)
        .method(sel::rootViewController, [](id self) { return loaderOf(self)->rootViewController_.lock(); })
        .method(sel::slot, [](id self) { return loaderOf(self)->slot_; });
}

}  // namespace adlib
