// YBXNativeAd and its two formats, YBXNativeAppInstallAd and
// YBXNativeContentAd: an ad delivered as a JSON configuration whose texts and
// images the publisher's app lays out itself. The ad parses its tracking part
// and assets, loads its images, records which assets the app has displayed,
// records its impression once and hands clicks to the ad's script in the web
// view of the slot that delivered it (kept alive by the ad). Main thread only.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "adlib/foundation/selectors.h"

namespace adlib {

// Where the native support page lives on the ad server by default.
inline constexpr const char* kYBXNativeSupportPagePath = "/mads/static/mad/sdk/native/native_ads.html";

class YBXNativeAd : public NSObject {
public:
    ~YBXNativeAd() override;

    // The common part of initWithDictionary:; false leaves the ad unusable.
    bool parse(const Value& adObject);
    // Every name of `assetsRequiredToBeDisplayed` has been read; otherwise the
    // line is logged for the publisher.
    bool requiredAssetsDisplayed(std::string_view logLine);
    void markRead(std::string_view asset);

    void performClickOnAsset(const Value& asset);
    void recordImpression();
    // Loads each (URL, key) whose URL exists; an ad that asks for nothing
    // finishes on the next main-queue turn.
    void loadImages(const std::vector<std::pair<NSURL*, const char*>>& images);
    void loadImageWithURL(NSURL* url, const Value& key);
    void loadContentAtURL(NSURL* url, const Value& key, std::function<void(Value, Ref<Object>)> handler);
    void finishedLoadingAssetWithName(const Value& name);
    void failedToLoadAssetWithName(const Value& name);

    bool hasRecordedImpression_ = false;
    bool failedToLoadRequiredAssets_ = false;
    Value impressionTrackingURLs_;
    Value thirdPartyClickTrackingURLs_;
    Value orvaneClickTrackingURLString_;
    Value clickActions_;
    WeakRef<Object> delegate_;
    WeakRef<Object> rootViewController_;
    Value adUnitID_;
    Value adConfiguration_;
    Ref<Object> slot_;
    // The hidden banner that delivered the ad: its slot and web view serve clicks.
    Ref<Object> bannerView_;
    WeakRef<Object> loadingDelegate_;
    Value readAssets_;
    Value completedAssets_;
    Value requestedAssets_;
    Value adAssetActions_;

private:
    // Tells the loading delegate once that every requested asset is done.
    void finishIfAllAssetsCompleted();
    bool loadEnded_ = false;
};

class YBXNativeAppInstallAd : public YBXNativeAd {
public:
    Ref<NSURL> imageURL_;
    Ref<NSURL> iconURL_;
    Ref<NSURL> attributionIconURL_;
    Value headline_;
    Value callToAction_;
    Ref<Object> icon_;
    Ref<Object> attributionIcon_;
    Value attributionText_;
    Value body_;
    Value store_;
    Value price_;
    Ref<Object> image_;
    Value starRating_;
};

class YBXNativeContentAd : public YBXNativeAd {
public:
    Ref<NSURL> imageURL_;
    Ref<NSURL> logoURL_;
    Ref<NSURL> attributionIconURL_;
    Value headline_;
    Value body_;
    Ref<Object> attributionIcon_;
    Value attributionText_;
    Ref<Object> image_;
    Ref<Object> logo_;
    Value callToAction_;
    Value advertiser_;
};

// The native ad class of an ad loader's type text ("1" content, "2" app
// install); null for any other.
Class* YBXNativeAdClassForAdType(const Value& type);

void registerNativeAdClasses();

}  // namespace adlib
