// The native ad loaders. YBXAdLoader is the publisher's entry point: made for
// an ad unit and native ad types, it checks its delegate and delivers one
// native ad or an error per load. Each load runs a YBXAppEventAdLoader, which
// loads a hidden publisher banner whose creative answers with the app event
// "native_ad_content"; the native ad made from it takes the banner over (its
// slot and web view serve the ad's clicks) and loads its images before it is
// delivered. Main thread only.
#pragma once

#include <vector>

#include "adlib/foundation/selectors.h"

namespace adlib {

class YBXAppEventAdLoader : public NSObject {
public:
    ~YBXAppEventAdLoader() override;

    void loadRequest(id request);
    void cancel();
    void cancelBannerView();
    void cancelNativeAd();
    void bannerDidReceiveAd(id banner);
    void bannerDidReceiveAppEvent(id banner, const Value& name, const Value& info);
    void loadAssetsForAdConfiguration(const Value& configuration, const Value& adUnitID, id slot);
    void nativeAdDidFinishLoadingAssets(id ad);
    void failedToLoadAdWithError(id error);
    // Fails the load with a public error of the code and text.
    void fail(long long code, const char* message);

    WeakRef<Object> delegate_;
    Ref<Object> loadingBannerView_;
    Ref<Object> loadingNativeAd_;
    Value adUnitID_;
    WeakRef<Object> rootViewController_;
    std::vector<Class*> adTypes_;

private:
    // The banner the app event came from, handed to the native ad made from it.
    Ref<Object> deliveringBanner_;
};

class YBXAdLoader : public NSObject {
public:
    ~YBXAdLoader() override;

    bool setUp(const Value& adUnitID, id rootViewController, const Value& types);
    void setDelegate(id delegate);
    bool delegateIsValidForAdClass(id delegate, Class* adClass, Ref<Object>* error);
    void loadRequest(id request);
    // A ready ad to the delegate, when it takes ads of its class.
    void deliver(id ad);
    void tellFailure(id error);
    bool slotDidReceiveAd(id ad);
    void preprocessed(id preprocessor, const Value& configuration, id slot);
    void remove(std::vector<Ref<Object>>& list, id object);

    WeakRef<Object> delegate_;
    Value adUnitID_;
    std::vector<Class*> adTypes_;
    WeakRef<Object> rootViewController_;
    Ref<Object> slot_;
    std::vector<Ref<Object>> appEventAdLoaders_;
    std::vector<Ref<Object>> adPreprocessors_;
    std::vector<Ref<Object>> nativeAds_;
};

void registerAdLoaderClasses();

}  // namespace adlib
