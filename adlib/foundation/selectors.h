// The ad library's selectors: the platform's, and those of the library's own
// classes and of the ybx_ methods it adds to platform classes, each declared
// once with its signature. ':' is written '_'.
#pragma once

#include <functional>
#include <string>

#include "platform/foundation/dispatch.h"
#include "platform/foundation/error.h"
#include "platform/frameworks/selectors.h"
#include "platform/network/url.h"
#include "platform/uikit/selectors.h"

namespace adlib {
using namespace platform;

struct YBXAdSize;

namespace sel {
using namespace platform::sel;

// A request as the errors see it (YBXRequest): its URL parameters, a dictionary or nil.
inline constexpr Sel<Value(id)> parameters{"parameters"};

// --- YBXWebView: the wrapper around the inner UIWebView ---------------------------------------
inline constexpr Sel<Ref<Object>(id)> webView{"webView"};
inline constexpr Sel<bool(id)> optoraUnloadPingReceived{"optoraUnloadPingReceived"};
inline constexpr Sel<void(id, bool)> setOptoraUnloadPingReceived_{"setOptoraUnloadPingReceived:"};

// --- YBXPMSGHandler: creative message handlers --------------------------------------------------
// (class) message name -> operation name, the table of a handler class.
inline constexpr Sel<Value(id)> actionSelectorDictionary{"actionSelectorDictionary"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithActionSelectorDictionary_{"initWithActionSelectorDictionary:"};
inline constexpr Sel<Value(id)> actionSelectors{"actionSelectors"};
// (URL request, web view) whether the handler took the message.
inline constexpr Sel<bool(id, id, id)> handleRequest_webView_{"handleRequest:webView:"};

// --- YBXSDKCoreWebView: the hidden SDK-core page ---------------------------------------------------
// The page's "state" and "setState:" (a gesture recognizer's state is unsigned).
inline constexpr Sel<long long(id)> SDKCoreWebView_state{"state"};
inline constexpr Sel<void(id, long long)> SDKCoreWebView_setState_{"setState:"};
inline constexpr Sel<bool(id)> hasSDKCoreLoadedAtLeastOnce{"hasSDKCoreLoadedAtLeastOnce"};
inline constexpr Sel<void(id, bool)> setHasSDKCoreLoadedAtLeastOnce_{"setHasSDKCoreLoadedAtLeastOnce:"};
inline constexpr Sel<void(id)> refreshSDKCore{"refreshSDKCore"};
inline constexpr Sel<void(id, id)> addObserverForOneTimeNotification_{"addObserverForOneTimeNotification:"};
inline constexpr Sel<void(id, id)> removeObserver_{"removeObserver:"};
inline constexpr Sel<void(id)> notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished{
    "notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished"};
inline constexpr Sel<void(id, std::string)> executeJavaScriptCommand_{"executeJavaScriptCommand:"};
inline constexpr Sel<void(id)> executePendingJavaScriptCommands{"executePendingJavaScriptCommands"};
inline constexpr Sel<void(id)> dispatchPendingJavaScriptCommands{"dispatchPendingJavaScriptCommands"};
inline constexpr Sel<Ref<Object>(id)> SDKCorePMSGHandler{"SDKCorePMSGHandler"};
// YBXSDKCoreWebViewNotification: a load attempt of the page has ended.
inline constexpr Sel<void(id, id)> didFinishLoadingSDKCoreInSDKCoreWebView_{"didFinishLoadingSDKCoreInSDKCoreWebView:"};

// --- YBXSDKCorePMSGHandler and its delegate ------------------------------------------------------------
inline constexpr Sel<void(id, Value)> didReceiveloadAdURLAction_{"didReceiveloadAdURLAction:"};
inline constexpr Sel<void(id, Value)> didReceiveLoadAdAction_{"didReceiveLoadAdAction:"};
inline constexpr Sel<void(id, Value)> didReceiveInvalidAdRequestAction_{"didReceiveInvalidAdRequestAction:"};
inline constexpr Sel<void(id, Value)> didReceiveloadSDKConstantsAction_{"didReceiveloadSDKConstantsAction:"};
// (handler, parameters, request id)
inline constexpr Sel<void(id, id, Value, Value)> SDKCorePMSGHandler_loadAdParameters_requestID_{
    "SDKCorePMSGHandler:loadAdParameters:requestID:"};
// (handler, YBXAd, headers or nil, request id)
inline constexpr Sel<void(id, id, id, Value, Value)> SDKCorePMSGHandler_loadAd_headers_requestID_{
    "SDKCorePMSGHandler:loadAd:headers:requestID:"};
inline constexpr Sel<void(id, id, Value)> SDKCorePMSGHandler_loadSDKConstants_{"SDKCorePMSGHandler:loadSDKConstants:"};
inline constexpr Sel<void(id, id, Value, Value)> SDKCorePMSGHandler_didReceiveInvalidAdParameters_requestID_{
    "SDKCorePMSGHandler:didReceiveInvalidAdParameters:requestID:"};

// --- YBXSDKCoreController and its requesters (YBXSDKCoreControllerDelegate) ---------------------------
inline constexpr Sel<void(id, id)> buildAdURL_{"buildAdURL:"};
inline constexpr Sel<void(id)> refreshActiveWebViewSDKCore{"refreshActiveWebViewSDKCore"};
inline constexpr Sel<void(id, id)> asynchronouslyRequestURLForDelegate_{"asynchronouslyRequestURLForDelegate:"};
// (parameters) JSON text, or nil.
inline constexpr Sel<Value(id, Value)> adRequestParameterJSONFromParameters_{"adRequestParameterJSONFromParameters:"};
inline constexpr Sel<void(id)> observeSDKCoreWebViewForSDKCoreLoadRequestCompleted{"observeSDKCoreWebViewForSDKCoreLoadRequestCompleted"};
// Seconds between viewability samples, an array of numbers or nil.
inline constexpr Sel<Value(id)> optoraMonitorRefreshIntervals{"optoraMonitorRefreshIntervals"};
inline constexpr Sel<void(id, Value)> setOptoraMonitorRefreshIntervals_{"setOptoraMonitorRefreshIntervals:"};
inline constexpr Sel<Ref<Object>(id)> activeSDKCoreWebView{"activeSDKCoreWebView"};
inline constexpr Sel<Ref<Object>(id)> nextSDKCoreWebView{"nextSDKCoreWebView"};
inline constexpr Sel<void(id, id)> finishedUsingSDKCoreWebView_{"finishedUsingSDKCoreWebView:"};
inline constexpr Sel<void(id, id)> cacheRunningOptoraWebView_{"cacheRunningOptoraWebView:"};
inline constexpr Sel<void(id)> removeFinishedOptoraWebViews{"removeFinishedOptoraWebViews"};
// A requester's parameters (a dictionary), asked on the controller's request queue.
inline constexpr Sel<Value(id)> requestParameters{"requestParameters"};
// (request id text)
inline constexpr Sel<void(id, Value)> setRequestID_{"setRequestID:"};
inline constexpr Sel<void(id, Value)> loadAdURLWithParameters_{"loadAdURLWithParameters:"};
// (YBXAd, headers or nil)
inline constexpr Sel<void(id, id, Value)> loadAd_headers_{"loadAd:headers:"};
inline constexpr Sel<void(id)> invalidJavaScriptRequest{"invalidJavaScriptRequest"};
inline constexpr Sel<void(id)> failedJavaScriptFile{"failedJavaScriptFile"};

// --- What the server's SDK constants set elsewhere ------------------------------------------------------
// YBXMRAIDInterceptor (class): the three MRAID script locations, texts or nil.
inline constexpr Sel<void(id, Value)> setBannerImplementationPath_{"setBannerImplementationPath:"};
inline constexpr Sel<Value(id)> bannerImplementationPath{"bannerImplementationPath"};
inline constexpr Sel<void(id, Value)> setInterstitialImplementationPath_{"setInterstitialImplementationPath:"};
inline constexpr Sel<Value(id)> interstitialImplementationPath{"interstitialImplementationPath"};
inline constexpr Sel<void(id, Value)> setExpandedBannerImplementationPath_{"setExpandedBannerImplementationPath:"};
inline constexpr Sel<Value(id)> expandedBannerImplementationPath{"expandedBannerImplementationPath"};
inline constexpr Sel<void(id)> resetToDefaultPaths{"resetToDefaultPaths"};
// YBXApplication: the store-sheet cache's count limit.
inline constexpr Sel<void(id, long long)> setDiscardableStoreProductViewControllerAppCacheMaxSize_{
    "setDiscardableStoreProductViewControllerAppCacheMaxSize:"};

// YBXAd and its kinds (its "size" is in adlib/pipeline/ad.h). URL collections
// are arrays of NSURL objects kept as sets in insertion order.
inline constexpr Sel<Ref<Object>(id, Value)> initWithDictionary_{"initWithDictionary:"};
inline constexpr Sel<void(id, Value)> addClickURLsFromArray_{"addClickURLsFromArray:"};
inline constexpr Sel<void(id, Value)> addImpressionURLsFromArray_{"addImpressionURLsFromArray:"};
inline constexpr Sel<void(id, Value)> addManualImpressionURLsFromArray_{"addManualImpressionURLsFromArray:"};
inline constexpr Sel<Value(id)> clickURLs{"clickURLs"};
inline constexpr Sel<Value(id)> impressionURLs{"impressionURLs"};
inline constexpr Sel<Value(id)> manualImpressionURLs{"manualImpressionURLs"};
inline constexpr Sel<bool(id)> isMRAIDEnabled{"isMRAIDEnabled"};
inline constexpr Sel<void(id, bool)> setMRAIDEnabled_{"setMRAIDEnabled:"};
inline constexpr Sel<bool(id)> hasAdNetworkJavaScript{"hasAdNetworkJavaScript"};
inline constexpr Sel<void(id, bool)> setHasAdNetworkJavaScript_{"setHasAdNetworkJavaScript:"};
inline constexpr Sel<Ref<Object>(id)> statistics{"statistics"};
inline constexpr Sel<Ref<Object>(id)> adBaseURL{"adBaseURL"};
inline constexpr Sel<void(id, NSURL*)> setAdBaseURL_{"setAdBaseURL:"};
inline constexpr Sel<Value(id)> adHTML{"adHTML"};
inline constexpr Sel<void(id, Value)> setAdHTML_{"setAdHTML:"};
inline constexpr Sel<Ref<Object>(id)> adURL{"adURL"};
inline constexpr Sel<void(id, NSURL*)> setAdURL_{"setAdURL:"};
inline constexpr Sel<Value(id)> optoraConfigurations{"optoraConfigurations"};
inline constexpr Sel<void(id, Value)> setOptoraConfigurations_{"setOptoraConfigurations:"};
inline constexpr Sel<Ref<Object>(id)> swipeToViewControllerConfigurations{"swipeToViewControllerConfigurations"};
inline constexpr Sel<void(id, id)> setSwipeToViewControllerConfigurations_{"setSwipeToViewControllerConfigurations:"};
inline constexpr Sel<unsigned long long(id)> responseType{"responseType"};
inline constexpr Sel<void(id, unsigned long long)> setResponseType_{"setResponseType:"};
inline constexpr Sel<double(id)> reloadInterval{"reloadInterval"};
inline constexpr Sel<void(id, double)> setReloadInterval_{"setReloadInterval:"};
inline constexpr Sel<long long(id)> supportedOrientations{"supportedOrientations"};
inline constexpr Sel<void(id, long long)> setSupportedOrientations_{"setSupportedOrientations:"};
inline constexpr Sel<Value(id)> debugDialog{"debugDialog"};
inline constexpr Sel<void(id, Value)> setDebugDialog_{"setDebugDialog:"};
inline constexpr Sel<Value(id)> customAdSizeString{"customAdSizeString"};
inline constexpr Sel<void(id, Value)> setCustomAdSizeString_{"setCustomAdSizeString:"};
inline constexpr Sel<Ref<Object>(id)> adNetworkPassbackURL{"adNetworkPassbackURL"};
inline constexpr Sel<void(id, NSURL*)> setAdNetworkPassbackURL_{"setAdNetworkPassbackURL:"};
inline constexpr Sel<double(id)> refreshInterval{"refreshInterval"};
inline constexpr Sel<void(id, double)> setRefreshInterval_{"setRefreshInterval:"};
inline constexpr Sel<double(id)> interstitialTimeout{"interstitialTimeout"};
inline constexpr Sel<void(id, double)> setInterstitialTimeout_{"setInterstitialTimeout:"};

// YBXSwipeToViewControllerConfigurations; plain init answers nil.
inline constexpr Sel<Ref<Object>(id, Value)> initWithSwipeConfigurations_{"initWithSwipeConfigurations:"};
inline constexpr Sel<Value(id)> swipeableInAppStoreProductID{"swipeableInAppStoreProductID"};
// An array of rectangles, or nil.
inline constexpr Sel<Value(id)> swipeableRectangles{"swipeableRectangles"};
inline constexpr Sel<Value(id)> swipeEventCreativeMetadata{"swipeEventCreativeMetadata"};
inline constexpr Sel<double(id)> swipeAnimationTransitionDuration{"swipeAnimationTransitionDuration"};
inline constexpr Sel<long long(id)> swipeDirection{"swipeDirection"};
inline constexpr Sel<void(id, long long)> setSwipeDirection_{"setSwipeDirection:"};
inline constexpr Sel<bool(id)> isAdDraggable{"isAdDraggable"};
inline constexpr Sel<void(id, bool)> setIsAdDraggable_{"setIsAdDraggable:"};

// YBXClickTrackerCollection and YBXClickTracker; the delegate methods
// (tracker, final URL) and (tracker, error) are optional.
inline constexpr Sel<void(id, Value, bool)> trackURLs_cacheEnabled_{"trackURLs:cacheEnabled:"};
inline constexpr Sel<void(id, NSURL*, bool)> trackURL_cacheEnabled_{"trackURL:cacheEnabled:"};
inline constexpr Sel<void(id, NSURL*)> trackURL_{"trackURL:"};
inline constexpr Sel<void(id)> cleanupTrackers{"cleanupTrackers"};
inline constexpr Sel<Value(id)> trackers{"trackers"};
inline constexpr Sel<void(id, id, NSURL*)> tracker_didRedirect_{"tracker:didRedirect:"};
inline constexpr Sel<void(id, id, id)> tracker_didFailWithError_{"tracker:didFailWithError:"};
inline constexpr Sel<void(id)> beginBackgroundTask{"beginBackgroundTask"};
inline constexpr Sel<void(id)> endBackgroundTask{"endBackgroundTask"};
inline constexpr Sel<bool(id)> hasTracked{"hasTracked"};
inline constexpr Sel<void(id, bool)> setHasTracked_{"setHasTracked:"};
inline constexpr Sel<bool(id)> cacheEnabled{"cacheEnabled"};
inline constexpr Sel<void(id, bool)> setCacheEnabled_{"setCacheEnabled:"};
inline constexpr Sel<unsigned long long(id)> backgroundTaskID{"backgroundTaskID"};

// Loads (YBXCachedFile, YBXURLConnection).
inline constexpr Sel<void(id)> stop{"stop"};
inline constexpr Sel<Ref<Object>(id)> sourceURL{"sourceURL"};
inline constexpr Sel<Ref<Object>(id)> destinationURL{"destinationURL"};
inline constexpr Sel<Ref<Object>(id)> response{"response"};
inline constexpr Sel<Value(id)> data{"data"};

// YBXURLConnectionDelegate, every method required. (connection, new URL): an
// error stops the load, nil lets it go on.
inline constexpr Sel<Ref<Object>(id, id, NSURL*)> connection_shouldRedirectToURL_{"connection:shouldRedirectToURL:"};
inline constexpr Sel<void(id, id, id)> connection_loadDidReceiveRedirectResponse_{"connection:loadDidReceiveRedirectResponse:"};
inline constexpr Sel<bool(id, id, id)> connection_loadShouldUseCachedResponse_{"connection:loadShouldUseCachedResponse:"};
inline constexpr Sel<void(id, id, id)> connection_loadDidReceiveCachedResponse_{"connection:loadDidReceiveCachedResponse:"};
// (connection, body text or nil when it is no UTF-8, final URL)
inline constexpr Sel<void(id, id, Value, NSURL*)> connection_loadDidFinish_baseURL_{"connection:loadDidFinish:baseURL:"};
// (connection, error or nil, HTTP status or -1)
inline constexpr Sel<void(id, id, id, long long)> connection_loadDidFail_httpStatusCode_{"connection:loadDidFail:httpStatusCode:"};

// YBXURLConnection. Body bytes and content type are nil when absent; the
// error out-parameter may be null.
inline constexpr Sel<bool(id, NSURL*, Value, Value, id, Ref<Object>*)> startWithURL_withData_andType_forDelegate_error_{
    "startWithURL:withData:andType:forDelegate:error:"};
inline constexpr Sel<bool(id, NSURL*, Value, Value, id)> startWithURL_withData_andType_forDelegate_{
    "startWithURL:withData:andType:forDelegate:"};
inline constexpr Sel<bool(id, NSURL*, id, Ref<Object>*)> startWithURL_forDelegate_error_{"startWithURL:forDelegate:error:"};
inline constexpr Sel<bool(id, NSURL*, id)> startWithURL_forDelegate_{"startWithURL:forDelegate:"};
inline constexpr Sel<Ref<Object>(id, NSURL*, Value, Value)> requestForURL_withData_andType_{"requestForURL:withData:andType:"};
inline constexpr Sel<Ref<Object>(id, NSURL*)> cachedResponseForURL_{"cachedResponseForURL:"};
inline constexpr Sel<bool(id)> tryToStoreResponseAndData{"tryToStoreResponseAndData"};
inline constexpr Sel<Ref<Object>(id)> connectionFactory{"connectionFactory"};
inline constexpr Sel<Ref<Object>(id)> memoryCache{"memoryCache"};
inline constexpr Sel<void(id)> clearCache{"clearCache"};
inline constexpr Sel<std::string(id, NSURL*)> cacheKeyForURL_{"cacheKeyForURL:"};
inline constexpr Sel<Value(id)> defaultCachePath{"defaultCachePath"};
inline constexpr Sel<bool(id)> isInProgress{"isInProgress"};
inline constexpr Sel<bool(id)> allowCache{"allowCache"};
inline constexpr Sel<void(id, bool)> setAllowCache_{"setAllowCache:"};
inline constexpr Sel<Ref<Object>(id)> connection{"connection"};
inline constexpr Sel<Value(id)> receivedData{"receivedData"};

// YBXCachedURLResponse: (response, data, expiration date, destination URL).
inline constexpr Sel<Ref<Object>(id, id, Value, Value, NSURL*)> initWithResponse_data_expirationDate_destinationURL_{
    "initWithResponse:data:expirationDate:destinationURL:"};
inline constexpr Sel<Value(id)> expirationDate{"expirationDate"};

// YBXAdFetcher and YBXAdFetcherDelegate (fetcher, ad) and (fetcher, error).
// Error out-parameters receive a YBXRequestError.
inline constexpr Sel<bool(id, id, Value, id, id, Ref<Object>*)> fetchRemainingContentForAd_headers_delegate_request_error_{
    "fetchRemainingContentForAd:headers:delegate:request:error:"};
inline constexpr Sel<bool(id, NSURL*, Value, Ref<Object>*)> startFetchWithAdURL_headers_error_{"startFetchWithAdURL:headers:error:"};
inline constexpr Sel<void(id)> completedURLConnection{"completedURLConnection"};
inline constexpr Sel<void(id)> markFetchStart{"markFetchStart"};
inline constexpr Sel<void(id)> markFetchComplete{"markFetchComplete"};
inline constexpr Sel<void(id, id)> resourceFailedToLoadWithError_{"resourceFailedToLoadWithError:"};
inline constexpr Sel<void(id, Value)> processHTTPHeaders_{"processHTTPHeaders:"};
inline constexpr Sel<unsigned long long(id, Value, Ref<Object>*)> adResponseTypeFromHeaders_requestError_{"adResponseTypeFromHeaders:requestError:"};
inline constexpr Sel<void(id, id, id)> adFetcher_didFetchAd_{"adFetcher:didFetchAd:"};
inline constexpr Sel<void(id, id, id)> adFetcher_didFailToFetchAdWithError_{"adFetcher:didFailToFetchAdWithError:"};
inline constexpr Sel<bool(id)> hasStartedFetch{"hasStartedFetch"};
inline constexpr Sel<bool(id)> hasNotifiedDelegate{"hasNotifiedDelegate"};
inline constexpr Sel<bool(id)> adConnectionHasCompleted{"adConnectionHasCompleted"};
inline constexpr Sel<Ref<Object>(id)> ad{"ad"};
inline constexpr Sel<Ref<Object>(id)> timer{"timer"};
inline constexpr Sel<Ref<Object>(id)> adConnection{"adConnection"};

// --- mediation ---------------------------------------------------------------------------------
// YBXMConfig and YBXMAdNetworkConfig. Strings that may be missing are values (nil when absent).
inline constexpr Sel<Ref<Object>(id, Value, Value, Ref<NSError>*)> initWithAppKey_configDict_error_{"initWithAppKey:configDict:error:"};
inline constexpr Sel<Ref<Object>(id, Value)> peekAdTypeFromConfig_{"peekAdTypeFromConfig:"};  // class method
inline constexpr Sel<Ref<Object>(id, Value)> adTypeFromString_{"adTypeFromString:"};          // class method
inline constexpr Sel<Ref<Object>(id, Value, Ref<NSError>*)> initWithDictionary_error_{"initWithDictionary:error:"};
inline constexpr Sel<Value(id)> appKey{"appKey"};
inline constexpr Sel<Ref<Object>(id)> adType{"adType"};
inline constexpr Sel<Value(id)> qdata{"qdata"};
// refreshInterval, setRefreshInterval:, impressionURLs, clickURLs: with YBXAd's below.
inline constexpr Sel<double(id)> adNetworkTimeout{"adNetworkTimeout"};
inline constexpr Sel<long long(id)> bannerAnimationType{"bannerAnimationType"};
inline constexpr Sel<Value(id)> noFillURLs{"noFillURLs"};
inline constexpr Sel<Value(id)> adNetworkConfigs{"adNetworkConfigs"};  // an array of YBXMAdNetworkConfig objects
inline constexpr Sel<Value(id)> networkID{"networkID"};
inline constexpr Sel<Value(id)> credentials{"credentials"};
inline constexpr Sel<Value(id)> extras{"extras"};
// "ad" of a network configuration: a dictionary, where the fetcher's `ad` below is an object.
inline constexpr Sel<Value(id)> adDictionary{"ad"};
inline constexpr Sel<Value(id)> allocationID{"allocationID"};
inline constexpr Sel<Value(id)> adapterList{"adapterList"};
inline constexpr Sel<Class*(id)> adapterClass{"adapterClass"};
inline constexpr Sel<Value(id)> publisherID{"publisherID"};

// The adapter class's discovery (class methods of YBXMAdNetworkAdapter).
inline constexpr Sel<bool(id, Class*)> classIsAdapterClass_{"classIsAdapterClass:"};
inline constexpr Sel<bool(id, Class*)> classImplementsCurrentAdapterAPI_{"classImplementsCurrentAdapterAPI:"};

// The protocol YBXMAdNetworkAdapter, in its order.
inline constexpr Sel<Ref<Object>(id, id)> initWithYBXMAdNetworkConnector_{"initWithYBXMAdNetworkConnector:"};
inline constexpr Sel<void(id, YBXAdSize)> getBannerWithSize_{"getBannerWithSize:"};
inline constexpr Sel<void(id)> getInterstitial{"getInterstitial"};
inline constexpr Sel<void(id)> stopBeingDelegate{"stopBeingDelegate"};
inline constexpr Sel<bool(id, long long)> isBannerAnimationOK_{"isBannerAnimationOK:"};
inline constexpr Sel<void(id, id)> presentInterstitialFromRootViewController_{"presentInterstitialFromRootViewController:"};
inline constexpr Sel<Value(id)> adapterVersion{"adapterVersion"};         // class method
inline constexpr Sel<Class*(id)> networkExtrasClass{"networkExtrasClass"};  // class method
inline constexpr Sel<void(id, YBXAdSize)> changeAdSizeTo_{"changeAdSizeTo:"};  // optional

// The protocol YBXMAdNetworkConnector, in its order.
inline constexpr Sel<Value(id)> publisherId{"publisherId"};
// credentials: above.
inline constexpr Sel<bool(id)> testMode{"testMode"};
inline constexpr Sel<Ref<Object>(id)> networkExtras{"networkExtras"};
inline constexpr Sel<Ref<Object>(id)> viewControllerForPresentingModalView{"viewControllerForPresentingModalView"};
inline constexpr Sel<Value(id)> childDirectedTreatment{"childDirectedTreatment"};  // a bool number or nil
inline constexpr Sel<long long(id)> userGender{"userGender"};
inline constexpr Sel<Value(id)> userBirthday{"userBirthday"};
inline constexpr Sel<Value(id)> userKeywords{"userKeywords"};
inline constexpr Sel<bool(id)> userHasLocation{"userHasLocation"};
inline constexpr Sel<double(id)> userLatitude{"userLatitude"};
inline constexpr Sel<double(id)> userLongitude{"userLongitude"};
inline constexpr Sel<double(id)> userLocationAccuracyInMeters{"userLocationAccuracyInMeters"};
inline constexpr Sel<Value(id)> userLocationDescription{"userLocationDescription"};
// (connector, adapter, view / error / interstitial)
inline constexpr Sel<void(id, id, id)> adapter_didReceiveAdView_{"adapter:didReceiveAdView:"};
inline constexpr Sel<void(id, id, id)> adapter_didFailAd_{"adapter:didFailAd:"};
inline constexpr Sel<void(id, id, id)> adapter_didReceiveInterstitial_{"adapter:didReceiveInterstitial:"};
inline constexpr Sel<void(id, id, id)> adapter_didFailInterstitial_{"adapter:didFailInterstitial:"};
inline constexpr Sel<void(id, id, id)> adapter_clickDidOccurInBanner_{"adapter:clickDidOccurInBanner:"};
inline constexpr Sel<void(id, id)> adapterWillPresentFullScreenModal_{"adapterWillPresentFullScreenModal:"};
inline constexpr Sel<void(id, id)> adapterWillDismissFullScreenModal_{"adapterWillDismissFullScreenModal:"};
inline constexpr Sel<void(id, id)> adapterDidDismissFullScreenModal_{"adapterDidDismissFullScreenModal:"};
inline constexpr Sel<void(id, id)> adapterWillPresentInterstitial_{"adapterWillPresentInterstitial:"};
inline constexpr Sel<void(id, id)> adapterWillDismissInterstitial_{"adapterWillDismissInterstitial:"};
inline constexpr Sel<void(id, id)> adapterDidDismissInterstitial_{"adapterDidDismissInterstitial:"};
inline constexpr Sel<void(id, id)> adapterWillLeaveApplication_{"adapterWillLeaveApplication:"};

// The protocol YBXMDelegate, in its order (viewControllerForPresentingModalView,
// childDirectedTreatment: above).
inline constexpr Sel<void(id, id)> ybxmDidReceiveAd_{"ybxmDidReceiveAd:"};
inline constexpr Sel<void(id, id)> ybxmDidReceiveInterstitial_{"ybxmDidReceiveInterstitial:"};
inline constexpr Sel<void(id, id)> ybxmDidFailToReceiveAdWithError_{"ybxmDidFailToReceiveAdWithError:"};
inline constexpr Sel<void(id, id)> ybxmBannerAdRefreshFailedWithError_{"ybxmBannerAdRefreshFailedWithError:"};
inline constexpr Sel<void(id)> ybxmWillPresentFullScreenModal{"ybxmWillPresentFullScreenModal"};
inline constexpr Sel<void(id)> ybxmWillDismissFullScreenModal{"ybxmWillDismissFullScreenModal"};
inline constexpr Sel<void(id)> ybxmDidDismissFullScreenModal{"ybxmDidDismissFullScreenModal"};
inline constexpr Sel<void(id)> ybxmWillPresentInterstitial{"ybxmWillPresentInterstitial"};
inline constexpr Sel<void(id)> ybxmWillDismissInterstitial{"ybxmWillDismissInterstitial"};
inline constexpr Sel<void(id)> ybxmDidDismissInterstitial{"ybxmDidDismissInterstitial"};
inline constexpr Sel<void(id)> ybxmWillLeaveApplication{"ybxmWillLeaveApplication"};
inline constexpr Sel<bool(id)> ybxmTestMode{"ybxmTestMode"};
inline constexpr Sel<Ref<Object>(id, Class*)> networkExtrasFor_{"networkExtrasFor:"};
// userGender, userBirthday: above.
inline constexpr Sel<Ref<Object>(id)> userLocation{"userLocation"};  // a YBXLocation or nil
// userKeywords, childDirectedTreatment: above.
inline constexpr Sel<void(id)> startTimingAdapter{"startTimingAdapter"};
inline constexpr Sel<void(id)> resetTimingAdapters{"resetTimingAdapters"};
inline constexpr Sel<void(id, long long)> endTimingAdapterWithExitCode_{"endTimingAdapterWithExitCode:"};
inline constexpr Sel<Value(id)> adapterDurationsParameter{"adapterDurationsParameter"};
inline constexpr Sel<Value(id)> adapterExitCodesParameter{"adapterExitCodesParameter"};

// YBXMAdNetworkConnector toward the manager.
inline constexpr Sel<Ref<Object>(id, id, id)> initWithConfig_networkConfig_{"initWithConfig:networkConfig:"};
inline constexpr Sel<void(id, id)> getAdFromAdapterWithType_{"getAdFromAdapterWithType:"};
inline constexpr Sel<void(id)> askAdapterToStopBeingDelegate{"askAdapterToStopBeingDelegate"};
inline constexpr Sel<bool(id, long long)> askAdapterIsBannerAnimationOK_{"askAdapterIsBannerAnimationOK:"};
inline constexpr Sel<void(id)> reportClick{"reportClick"};
inline constexpr Sel<void(id)> reportImpression{"reportImpression"};
inline constexpr Sel<void(id, Value, Value, Value, Value)> pingMediationURLs_defaultURL_durations_exitCodes_{
    "pingMediationURLs:defaultURL:durations:exitCodes:"};
inline constexpr Sel<Ref<Object>(id)> ybxmDelegate{"ybxmDelegate"};
inline constexpr Sel<void(id, id)> setYbxmDelegate_{"setYbxmDelegate:"};
inline constexpr Sel<Ref<Object>(id)> adManager{"adManager"};
inline constexpr Sel<void(id, id)> setAdManager_{"setAdManager:"};
inline constexpr Sel<Ref<Object>(id)> mediationConfig{"mediationConfig"};
inline constexpr Sel<Ref<Object>(id)> networkConfig{"networkConfig"};
inline constexpr Sel<Ref<Object>(id)> adapter{"adapter"};
inline constexpr Sel<Value(id)> strippedCredentials{"strippedCredentials"};
inline constexpr Sel<bool(id)> shareLocation{"shareLocation"};
inline constexpr Sel<bool(id)> didNetworkRefresh{"didNetworkRefresh"};
inline constexpr Sel<bool(id)> clicked{"clicked"};

// YBXMAdManager's connector callbacks: (manager, connector, view / interstitial / error).
inline constexpr Sel<void(id, id, id)> adRequestReturnsFromConnector_withView_{"adRequestReturnsFromConnector:withView:"};
inline constexpr Sel<void(id, id, id)> adRequestReturnsFromConnector_withInterstitial_{"adRequestReturnsFromConnector:withInterstitial:"};
inline constexpr Sel<void(id, id, id)> adRequestFailedFromConnector_withError_{"adRequestFailedFromConnector:withError:"};

// YBXMAdManager (delegate, setDelegate:, adType, cancel: the platform's and above).
inline constexpr Sel<Ref<Object>(id)> config{"config"};
inline constexpr Sel<Ref<Object>(id)> requestingConnector{"requestingConnector"};
inline constexpr Sel<Ref<Object>(id)> receivedConnector{"receivedConnector"};
inline constexpr Sel<Value(id)> lastRequestTime{"lastRequestTime"};
inline constexpr Sel<bool(id)> requestInProgress{"requestInProgress"};
inline constexpr Sel<Ref<Object>(id)> adNetworkTimeoutTimer{"adNetworkTimeoutTimer"};
inline constexpr Sel<void(id, id, id)> mediateForAdType_config_{"mediateForAdType:config:"};
inline constexpr Sel<void(id)> makeAdRequest{"makeAdRequest"};
inline constexpr Sel<void(id)> requestNextAdNetwork{"requestNextAdNetwork"};
inline constexpr Sel<Ref<Object>(id)> dequeueAdNetworkConfig{"dequeueAdNetworkConfig"};
inline constexpr Sel<void(id)> reportNoFill{"reportNoFill"};
inline constexpr Sel<void(id, id)> notifyDelegateOfFailureToReceiveWithError_{"notifyDelegateOfFailureToReceiveWithError:"};
inline constexpr Sel<void(id)> resetRequestingState{"resetRequestingState"};
inline constexpr Sel<void(id, id)> adNetworkTimeoutHandler_{"adNetworkTimeoutHandler:"};
inline constexpr Sel<bool(id, id)> shouldProcessResponseFromConnector_{"shouldProcessResponseFromConnector:"};

// YBXMToYBXGlue (slot, mediatedInterstitial, mediationManager, changeAdTypeTo:: with the slot's seams).
inline constexpr Sel<void(id, id, id)> requestAdWithType_mediationConfig_{"requestAdWithType:mediationConfig:"};
inline constexpr Sel<bool(id, id)> hasConsistentMediationConfigForAdType_{"hasConsistentMediationConfigForAdType:"};
// The slot's answer to a mediated ad: the view to show.
inline constexpr Sel<void(id, id)> setViewForAdUsingView_{"setViewForAdUsingView:"};

// Mediation pings: YBXMUtilities (class method; a URL or nil) and
// YBXClickTrackerCollection(Mediation) (class method).
inline constexpr Sel<Ref<Object>(id, Value, Value, bool, Value, Value, Value, Value, Value, Value, Value)>
    mediationURLFrom_adLocationID_adNetworkRefresh_allocationID_adNetworkID_qData_sessionID_sequenceNumber_exitCodes_durations_{
        "mediationURLFrom:adLocationID:adNetworkRefresh:allocationID:adNetworkID:qData:sessionID:sequenceNumber:exitCodes:durations:"};
inline constexpr Sel<void(id, Value, Value, Value, Value, Value, Value, bool, Value, Value)>
    trackMediationURLsFromTemplates_defaultTemplate_networkID_allocationID_qData_appKey_refresh_durations_exitCodes_{
        "trackMediationURLsFromTemplates:defaultTemplate:networkID:allocationID:qData:appKey:refresh:durations:exitCodes:"};

// What mediation reads of its neighbours: the shared application and its
// session (YBXApplication, YBXSession), the request's
// version and a location (YBXLocation).
inline constexpr Sel<std::string(id)> nextSequenceNumberAsString{"nextSequenceNumberAsString"};
inline constexpr Sel<Ref<Object>(id)> currentSession{"currentSession"};
inline constexpr Sel<std::string(id)> sessionIDAsString{"sessionIDAsString"};
inline constexpr Sel<std::string(id)> sdkVersion{"sdkVersion"};  // class method of YBXRequest
inline constexpr Sel<bool(id)> isPreciseLocation{"isPreciseLocation"};
inline constexpr Sel<double(id)> latitude{"latitude"};
inline constexpr Sel<double(id)> longitude{"longitude"};
inline constexpr Sel<double(id)> accuracy{"accuracy"};
inline constexpr Sel<Value(id)> locationDescription{"locationDescription"};

// YBXURLConnection and YBXURLConnectionDelegate, as far as the fetcher uses them.

// --- slot --------------------------------------------------------------------------------------
// YBXSlot. Its state is signed (the platform's "state" of gesture recognizers is not).
inline constexpr Sel<long long(id)> YBXSlot_state{"state"};
inline constexpr Sel<void(id, long long)> YBXSlot_setState_{"setState:"};
inline constexpr Sel<Value(id)> adUnitID{"adUnitID"};
inline constexpr Sel<void(id, Value)> setAdUnitID_{"setAdUnitID:"};
inline constexpr Sel<void(id, id)> loadRequest_{"loadRequest:"};
inline constexpr Sel<void(id, id, bool)> loadRequest_autoRefresh_{"loadRequest:autoRefresh:"};
inline constexpr Sel<bool(id, id)> shouldMakeRequest_{"shouldMakeRequest:"};
inline constexpr Sel<bool(id)> isMakingRequest{"isMakingRequest"};
inline constexpr Sel<void(id)> reloadCurrentRequest{"reloadCurrentRequest"};
inline constexpr Sel<void(id, id)> reloadCurrentRequestWithTimer_{"reloadCurrentRequestWithTimer:"};
inline constexpr Sel<void(id, id)> setAdType_{"setAdType:"};
inline constexpr Sel<void(id, id, bool)> setAdType_andReloadRequest_{"setAdType:andReloadRequest:"};
inline constexpr Sel<void(id)> cancelPendingActions{"cancelPendingActions"};
inline constexpr Sel<void(id)> cancelPendingAndFutureActions{"cancelPendingAndFutureActions"};
inline constexpr Sel<void(id)> mediatedAdNetworkAutoRefreshed{"mediatedAdNetworkAutoRefreshed"};
inline constexpr Sel<Value(id)> adNetworkClassName{"adNetworkClassName"};
inline constexpr Sel<Ref<Object>(id)> mediatedInterstitial{"mediatedInterstitial"};
inline constexpr Sel<void(id, id)> presentMediatedInterstitialFromRootViewController_{"presentMediatedInterstitialFromRootViewController:"};
inline constexpr Sel<bool(id)> isMediating{"isMediating"};
inline constexpr Sel<Value(id)> jsBuildAdURL{"jsBuildAdURL"};
inline constexpr Sel<void(id)> adWasClicked{"adWasClicked"};
inline constexpr Sel<void(id)> adWillPresentScreen{"adWillPresentScreen"};
inline constexpr Sel<void(id)> adWillDismissScreen{"adWillDismissScreen"};
inline constexpr Sel<void(id)> adDidDismissScreen{"adDidDismissScreen"};
inline constexpr Sel<void(id)> adWillLeaveApplication{"adWillLeaveApplication"};
inline constexpr Sel<void(id, id)> adFailedToReceiveContentWithError_{"adFailedToReceiveContentWithError:"};
inline constexpr Sel<void(id)> adFinishedLoadingContent{"adFinishedLoadingContent"};
inline constexpr Sel<void(id)> pingClickURLs{"pingClickURLs"};
inline constexpr Sel<void(id)> pingImpressionURLs{"pingImpressionURLs"};
inline constexpr Sel<void(id)> pingManualTrackingURLs{"pingManualTrackingURLs"};
inline constexpr Sel<Ref<Object>(id)> inAppPurchaseDelegate{"inAppPurchaseDelegate"};
inline constexpr Sel<void(id, id)> didReceiveInAppPurchase_{"didReceiveInAppPurchase:"};
inline constexpr Sel<Ref<Object>(id, NSURL*)> spamClickURLWithURL_{"spamClickURLWithURL:"};
inline constexpr Sel<bool(id, NSURL*)> isOrvaneAdURL_{"isOrvaneAdURL:"};
// The State category.
inline constexpr Sel<void(id)> willRequestAdURL{"willRequestAdURL"};
inline constexpr Sel<void(id, id)> didFailToRetrieveSDKCoreWithError_{"didFailToRetrieveSDKCoreWithError:"};
inline constexpr Sel<void(id)> didReceiveAdURL{"didReceiveAdURL"};
inline constexpr Sel<void(id)> willFetchAdContent{"willFetchAdContent"};
inline constexpr Sel<void(id)> didFetchAdContent{"didFetchAdContent"};
inline constexpr Sel<void(id)> willProcessMediationResponse{"willProcessMediationResponse"};
inline constexpr Sel<void(id, id, bool, bool)> didFailToReceiveAdWithError_shouldReloadTimer_shouldCancelPendingActions_{
    "didFailToReceiveAdWithError:shouldReloadTimer:shouldCancelPendingActions:"};
inline constexpr Sel<void(id)> didReceiveValidAd{"didReceiveValidAd"};
inline constexpr Sel<void(id)> willStartAdRendering{"willStartAdRendering"};
inline constexpr Sel<void(id)> willLoadAdHTMLInWebView{"willLoadAdHTMLInWebView"};
inline constexpr Sel<void(id)> didLoadAdHTMLInWebView{"didLoadAdHTMLInWebView"};
inline constexpr Sel<void(id)> didMakeAdImpression{"didMakeAdImpression"};
inline constexpr Sel<void(id)> willLeaveAppDueToClick{"willLeaveAppDueToClick"};
inline constexpr Sel<void(id)> resetState{"resetState"};
inline constexpr Sel<void(id)> invalidateState{"invalidateState"};
// Refresh.
inline constexpr Sel<void(id, double)> scheduleReloadTimer_{"scheduleReloadTimer:"};
inline constexpr Sel<void(id)> scheduleAdReloadTimer{"scheduleAdReloadTimer"};
inline constexpr Sel<void(id)> deactivateReloadTimer{"deactivateReloadTimer"};
inline constexpr Sel<void(id, id)> appWillBecomeInactive_{"appWillBecomeInactive:"};
inline constexpr Sel<void(id, id)> appDidBecomeActive_{"appDidBecomeActive:"};
inline constexpr Sel<void(id, id)> adWillPresentFullScreen_{"adWillPresentFullScreen:"};
inline constexpr Sel<void(id, id)> adDidRelinquishFullScreen_{"adDidRelinquishFullScreen:"};
// Viewability hooks and the later features' entry points (empty until those exist).
inline constexpr Sel<void(id, id)> bannerDidMoveToWindow_{"bannerDidMoveToWindow:"};
inline constexpr Sel<void(id)> interstitialViewWillAppear{"interstitialViewWillAppear"};
inline constexpr Sel<void(id)> interstitialViewWillDisappear{"interstitialViewWillDisappear"};
// YBXSlot(MRAID) and YBXSlot(DeviceOrientation).
inline constexpr Sel<void(id)> willLoadMRAIDAd{"willLoadMRAIDAd"};
inline constexpr Sel<void(id)> didLoadMRAIDAd{"didLoadMRAIDAd"};
inline constexpr Sel<void(id)> didUnloadMRAIDAd{"didUnloadMRAIDAd"};
inline constexpr Sel<void(id, bool)> notifyMRAIDCreativeWithVisibility_{"notifyMRAIDCreativeWithVisibility:"};
inline constexpr Sel<void(id)> notifyOrientationToMRAIDCreative{"notifyOrientationToMRAIDCreative"};
inline constexpr Sel<void(id)> notifyDeviceFeatures{"notifyDeviceFeatures"};
inline constexpr Sel<void(id)> SDKDidBecomeReady{"SDKDidBecomeReady"};
inline constexpr Sel<void(id)> beginListeningToDeviceOrientationChangeEvent{"beginListeningToDeviceOrientationChangeEvent"};
inline constexpr Sel<void(id)> endListeningToDeviceOrientationChangeEvent{"endListeningToDeviceOrientationChangeEvent"};
inline constexpr Sel<void(id, id, SEL)> addCreativeOrientationChangeObserver_selector_{"addCreativeOrientationChangeObserver:selector:"};
inline constexpr Sel<void(id)> didChangeDeviceOrientation{"didChangeDeviceOrientation"};
inline constexpr Sel<bool(id)> isListeningToDeviceOrientationChangeEvent{"isListeningToDeviceOrientationChangeEvent"};
inline constexpr Sel<Rect(id)> creativeViewBounds{"creativeViewBounds"};
inline constexpr Sel<void(id)> finishOptoraReporting{"finishOptoraReporting"};
inline constexpr Sel<void(id)> resetOptoraReporting{"resetOptoraReporting"};
inline constexpr Sel<bool(id)> monitoredViewIsSubviewOfDeviceScreen{"monitoredViewIsSubviewOfDeviceScreen"};
inline constexpr Sel<void(id)> disableSwipeToViewController{"disableSwipeToViewController"};
inline constexpr Sel<void(id)> sample{"sample"};
inline constexpr Sel<void(id)> startMonitoring{"startMonitoring"};
inline constexpr Sel<void(id)> stopMonitoring{"stopMonitoring"};
// YBXOptoraMonitor: the viewability sampler of one view.
inline constexpr Sel<Ref<Object>(id, id, Value)> initWithView_refreshIntervals_{"initWithView:refreshIntervals:"};
inline constexpr Sel<double(id)> nextRefreshInterval{"nextRefreshInterval"};
inline constexpr Sel<void(id, id)> updateViewBoundsTimerCallback_{"updateViewBoundsTimerCallback:"};
inline constexpr Sel<void(id)> updateViewBounds{"updateViewBounds"};
inline constexpr Sel<Rect(id)> monitoredViewVisibleBounds{"monitoredViewVisibleBounds"};
inline constexpr Sel<void(id, Rect)> setMonitoredViewVisibleBounds_{"setMonitoredViewVisibleBounds:"};
inline constexpr Sel<bool(id)> isMonitoredViewVisible{"isMonitoredViewVisible"};
// YBXOptoraMonitorDelegate.
inline constexpr Sel<void(id, id)> didRefreshOptoraMonitor_{"didRefreshOptoraMonitor:"};
// YBXSlot(OptoraMonitor): the reports of the slot's samples.
inline constexpr Sel<void(id)> optoraMonitorWillUnload{"optoraMonitorWillUnload"};
inline constexpr Sel<Value(id, Value)> optoraJSCommandWithParams_{"optoraJSCommandWithParams:"};
inline constexpr Sel<Value(id, id, bool)> optoraParameters_optoraUnloaded_{"optoraParameters:optoraUnloaded:"};
inline constexpr Sel<Value(id)> adFormat{"adFormat"};
inline constexpr Sel<Value(id, Rect)> dictionaryForBounds_{"dictionaryForBounds:"};
inline constexpr Sel<bool(id)> canEnableOptoraMonitoring{"canEnableOptoraMonitoring"};
inline constexpr Sel<Ref<Object>(id)> SDKCoreWebView{"SDKCoreWebView"};
inline constexpr Sel<unsigned long long(id)> optoraMonitorSequenceNumber{"optoraMonitorSequenceNumber"};
// YBXWebViewOptoraMonitoring.
inline constexpr Sel<void(id, id)> webViewDidChangeOptoraVisibility_{"webViewDidChangeOptoraVisibility:"};
// YBXSlot(SwipeToViewController)'s check before each viewability report.
inline constexpr Sel<bool(id)> canEnableSwipeToViewController{"canEnableSwipeToViewController"};
// YBXSlot(SwipeToViewController): the pan on the ad that pulls up the store sheet.
inline constexpr Sel<void(id)> enableSwipeToViewController{"enableSwipeToViewController"};
// YBXSwipeToViewControllerPMSGHandler's: (argument dictionary).
inline constexpr Sel<void(id, Value)> enableSwipeToViewController_{"enableSwipeToViewController:"};
inline constexpr Sel<void(id, Value)> disableSwipeToViewController_{"disableSwipeToViewController:"};
inline constexpr Sel<void(id)> setUpAnimationController{"setUpAnimationController"};
// The slot's and the interaction controller's: (pan recognizer).
inline constexpr Sel<void(id, id)> handlePanGesture_{"handlePanGesture:"};
inline constexpr Sel<void(id)> loadStoreProductViewController{"loadStoreProductViewController"};
// (point in window coordinates, the swipe view)
inline constexpr Sel<bool(id, Point, id)> shouldProcessTouch_inView_{"shouldProcessTouch:inView:"};
inline constexpr Sel<bool(id)> swipeToViewControllerEnabled{"swipeToViewControllerEnabled"};
inline constexpr Sel<bool(id)> swipeToViewControllerAnimationControllerInitialized{"swipeToViewControllerAnimationControllerInitialized"};
inline constexpr Sel<Ref<Object>(id)> animation{"animation"};
inline constexpr Sel<Ref<Object>(id)> animationController{"animationController"};
inline constexpr Sel<Ref<Object>(id)> swipeGestureRecognizer{"swipeGestureRecognizer"};
inline constexpr Sel<Ref<Object>(id)> swipeableStoreProductViewController{"swipeableStoreProductViewController"};
inline constexpr Sel<Ref<Object>(id)> strongSlotForSwipeToViewController{"strongSlotForSwipeToViewController"};
inline constexpr Sel<Value(id)> savedParamsForCheckingSwipeToViewController{"savedParamsForCheckingSwipeToViewController"};
// The interaction controller's delegate: (interaction controller).
inline constexpr Sel<void(id, id)> animationControllerDidFinishAnimationTransition_{"animationControllerDidFinishAnimationTransition:"};
inline constexpr Sel<void(id, id)> animationControllerDidCancelAnimationTransition_{"animationControllerDidCancelAnimationTransition:"};
// YBXPercentDrivenUserInteractionAnimationController.
inline constexpr Sel<Ref<Object>(id)> transitionAnimation{"transitionAnimation"};
inline constexpr Sel<void(id, id)> setTransitionAnimation_{"setTransitionAnimation:"};
// YBXViewControllerFullScreenSwipeAnimation.
inline constexpr Sel<void(id)> willAnimatePresentation{"willAnimatePresentation"};
inline constexpr Sel<void(id)> willAnimateDismissal{"willAnimateDismissal"};
inline constexpr Sel<long long(id)> direction{"direction"};
inline constexpr Sel<void(id, long long)> setDirection_{"setDirection:"};
inline constexpr Sel<double(id)> startY{"startY"};
inline constexpr Sel<void(id, double)> setStartY_{"setStartY:"};
inline constexpr Sel<Ref<Object>(id)> draggableView{"draggableView"};
inline constexpr Sel<void(id, id)> setDraggableView_{"setDraggableView:"};
inline constexpr Sel<double(id)> transitionDuration{"transitionDuration"};
inline constexpr Sel<void(id, double)> setTransitionDuration_{"setTransitionDuration:"};
inline constexpr Sel<bool(id)> presenting{"presenting"};
inline constexpr Sel<Rect(id)> draggableViewEndFrameAfterAnimation{"draggableViewEndFrameAfterAnimation"};
inline constexpr Sel<Rect(id)> animatedViewFrameBeforeAnimation{"animatedViewFrameBeforeAnimation"};
inline constexpr Sel<bool(id)> draggableViewShownOnPresentation{"draggableViewShownOnPresentation"};
// YBXAnimationContext.
inline constexpr Sel<Ref<Object>(id)> animatedViewController{"animatedViewController"};
inline constexpr Sel<Rect(id)> animatedViewStartFrame{"animatedViewStartFrame"};
inline constexpr Sel<Rect(id)> animatedViewEndFrame{"animatedViewEndFrame"};
inline constexpr Sel<Rect(id)> draggableViewStartFrame{"draggableViewStartFrame"};
inline constexpr Sel<Rect(id)> draggableViewEndFrame{"draggableViewEndFrame"};
inline constexpr Sel<Ref<Object>(id)> draggableViewScreenshot{"draggableViewScreenshot"};
// YBXOptoraPMSGHandler.
inline constexpr Sel<void(id, Value)> didReceiveOptoraUntrackOptoraNotification_{"didReceiveOptoraUntrackOptoraNotification:"};
inline constexpr Sel<void(id, Value)> didReceiveOptoraVisibilityChangedNotification_{"didReceiveOptoraVisibilityChangedNotification:"};
// Response processing.
inline constexpr Sel<void(id)> resetRequestState{"resetRequestState"};
inline constexpr Sel<void(id, id)> finishedLoadingAdResponse_{"finishedLoadingAdResponse:"};
inline constexpr Sel<void(id, id)> processAdResponse_{"processAdResponse:"};
inline constexpr Sel<void(id, id)> processMediationAdResponse_{"processMediationAdResponse:"};
inline constexpr Sel<void(id, id)> processCustomRenderingAdResponse_{"processCustomRenderingAdResponse:"};
inline constexpr Sel<bool(id, YBXAdSize, Value)> validateAdResponseWithAdSize_andValidAdSizes_{"validateAdResponseWithAdSize:andValidAdSizes:"};
inline constexpr Sel<void(id, id)> loadAdNetworkJavaScriptRequest_{"loadAdNetworkJavaScriptRequest:"};
// Properties.
inline constexpr Sel<Ref<Object>(id)> slotDelegate{"slotDelegate"};
inline constexpr Sel<void(id, id)> setSlotDelegate_{"setSlotDelegate:"};
inline constexpr Sel<Ref<Object>(id)> adEventDelegate{"adEventDelegate"};
inline constexpr Sel<void(id, id)> setAdEventDelegate_{"setAdEventDelegate:"};
inline constexpr Sel<Ref<Object>(id)> adResponseDelegate{"adResponseDelegate"};
inline constexpr Sel<void(id, id)> setAdResponseDelegate_{"setAdResponseDelegate:"};
inline constexpr Sel<Ref<Object>(id)> loadingAd{"loadingAd"};
inline constexpr Sel<Ref<Object>(id)> webViewDelegate{"webViewDelegate"};
inline constexpr Sel<Ref<Object>(id)> slotStats{"slotStats"};
inline constexpr Sel<Ref<Object>(id)> adMediationGlue{"adMediationGlue"};
inline constexpr Sel<Ref<Object>(id)> optoraMonitor{"optoraMonitor"};
inline constexpr Sel<Ref<Object>(id)> interstitial{"interstitial"};
inline constexpr Sel<void(id, id)> setInterstitial_{"setInterstitial:"};
inline constexpr Sel<Value(id)> requestID{"requestID"};
inline constexpr Sel<bool(id)> isReloadable{"isReloadable"};
inline constexpr Sel<void(id, bool)> setReloadable_{"setReloadable:"};
inline constexpr Sel<bool(id)> hasAutoRefreshed{"hasAutoRefreshed"};
inline constexpr Sel<bool(id)> manualImpressionsEnabled{"manualImpressionsEnabled"};
inline constexpr Sel<void(id, bool)> setManualImpressionsEnabled_{"setManualImpressionsEnabled:"};
inline constexpr Sel<bool(id)> calledLoadAndDisplayRequest{"calledLoadAndDisplayRequest"};
inline constexpr Sel<void(id, bool)> setCalledLoadAndDisplayRequest_{"setCalledLoadAndDisplayRequest:"};
inline constexpr Sel<double(id)> timeLastLoaded{"timeLastLoaded"};
inline constexpr Sel<Size(id)> newAdSize{"newAdSize"};
// YBXSlotDelegate (all optional).
inline constexpr Sel<bool(id, id)> slotShouldReloadCurrentRequest_{"slotShouldReloadCurrentRequest:"};
inline constexpr Sel<Value(id, id)> coordinatesOfContentInScreen_{"coordinatesOfContentInScreen:"};
inline constexpr Sel<Ref<Object>(id)> swipeToViewControllerView{"swipeToViewControllerView"};
inline constexpr Sel<bool(id)> createdOnMediationRequest{"createdOnMediationRequest"};
inline constexpr Sel<void(id, id, id)> slot_didReceiveAdView_{"slot:didReceiveAdView:"};
inline constexpr Sel<void(id, YBXAdSize, bool)> setAdSize_andReload_{"setAdSize:andReload:"};
inline constexpr Sel<Value(id)> validAdSizes{"validAdSizes"};
inline constexpr Sel<void(id, id, YBXAdSize)> slot_willResizeToAdSize_{"slot:willResizeToAdSize:"};
inline constexpr Sel<void(id, id, Value, Value)> slot_didReceiveAppEvent_withInfo_{"slot:didReceiveAppEvent:withInfo:"};
inline constexpr Sel<bool(id, id, id)> slot_shouldUseCustomRenderingForAd_{"slot:shouldUseCustomRenderingForAd:"};
// YBXSlotAdEventDelegate (the first two required).
inline constexpr Sel<void(id, id)> slotFinishedLoadingAdContent_{"slotFinishedLoadingAdContent:"};
inline constexpr Sel<void(id, id, id)> slot_didFailToLoadAdContentWithError_{"slot:didFailToLoadAdContentWithError:"};
inline constexpr Sel<void(id, id)> slotWillPresentScreen_{"slotWillPresentScreen:"};
inline constexpr Sel<void(id, id)> slotWillDismissScreen_{"slotWillDismissScreen:"};
inline constexpr Sel<void(id, id)> slotDidDismissScreen_{"slotDidDismissScreen:"};
inline constexpr Sel<void(id, id)> slotWillLeaveApplication_{"slotWillLeaveApplication:"};
// YBXSlotAdResponseDelegate.
inline constexpr Sel<bool(id, id, id)> slot_didReceiveAd_{"slot:didReceiveAd:"};
inline constexpr Sel<void(id, id, id)> slot_didFailToReceiveAdWithError_{"slot:didFailToReceiveAdWithError:"};
// YBXSDKCoreControllerDelegate as the slot adopts it; requestParameters and
// setRequestID: may be sent from the controller's request queue.
inline constexpr Sel<Value(id, Value)> multipleAdSizeParameterFromSizes_{"multipleAdSizeParameterFromSizes:"};

// What the slot sends to its seams: the banner web view delegate and its
// opener, the mediation glue, the toolbar credentials, the purchase observer.
inline constexpr Sel<Ref<Object>(id, id)> initWithSlot_{"initWithSlot:"};
inline constexpr Sel<Ref<Object>(id)> opener{"opener"};
inline constexpr Sel<Ref<Object>(id)> slot{"slot"};
inline constexpr Sel<void(id, id)> setSlot_{"setSlot:"};
inline constexpr Sel<bool(id)> autoClickProtected{"autoClickProtected"};
inline constexpr Sel<void(id, bool)> setAutoClickProtected_{"setAutoClickProtected:"};
inline constexpr Sel<bool(id, id)> changeAdTypeTo_{"changeAdTypeTo:"};
inline constexpr Sel<Ref<Object>(id)> mediationManager{"mediationManager"};
// YBXWebView: touched by the user since the last load.
inline constexpr Sel<bool(id)> touched{"touched"};
inline constexpr Sel<void(id, bool)> setTouched_{"setTouched:"};
inline constexpr Sel<bool(id)> hasToolbarCredentials{"hasToolbarCredentials"};  // class method
inline constexpr Sel<Ref<Object>(id)> credentialsLock{"credentialsLock"};  // class method
inline constexpr Sel<void(id, Value)> storeCredentials_{"storeCredentials:"};
inline constexpr Sel<void(id)> clearCredentials{"clearCredentials"};
// YBXPublisherToolbarController
inline constexpr Sel<Ref<Object>(id)> jsWebView{"jsWebView"};
inline constexpr Sel<Ref<Object>(id)> oauthWebView{"oauthWebView"};
inline constexpr Sel<Ref<Object>(id)> spinnyWheel{"spinnyWheel"};
inline constexpr Sel<Ref<Object>(id)> helperJS{"helperJS"};
inline constexpr Sel<void(id)> loadJavaScript{"loadJavaScript"};
inline constexpr Sel<void(id)> launchToolbar{"launchToolbar"};
inline constexpr Sel<void(id, Value)> loadAuthenticationUri_{"loadAuthenticationUri:"};
inline constexpr Sel<void(id, Value)> decodeImpression_{"decodeImpression:"};
// (method name, argument or nil, wrapped as a string)
inline constexpr Sel<void(id, Value, Value, bool)> callJavaScriptMethod_withArgument_wrappedAsString_{
    "callJavaScriptMethod:withArgument:wrappedAsString:"};
inline constexpr Sel<bool(id)> isDefaultPurchaseFlowEnabled{"isDefaultPurchaseFlowEnabled"};
// A slot (YBXSlot): whether it is mediating the request being made.
// An ad (YBXAd): its own statistics, a YBXStatisticDictionary.
// YBXApplication's store metadata, a dictionary.
inline constexpr Sel<Value(id)> iTunesMetadata{"iTunesMetadata"};
// Class methods of later folders' classes that the application's early
// activities send by name: YBXMRAIDInterceptor's and YBXMAdNetworkAdapter's.
inline constexpr Sel<void(id)> allow{"allow"};
inline constexpr Sel<Value(id)> availableAdapterNames{"availableAdapterNames"};

// YBXAbsoluteTime
inline constexpr Sel<Value(id)> absoluteTimeInMilliseconds{"absoluteTimeInMilliseconds"};

// YBXTiming
inline constexpr Sel<double(id)> counter{"counter"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithCategory_{"initWithCategory:"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithDictionaryRepresentation_{"initWithDictionaryRepresentation:"};
inline constexpr Sel<Ref<Object>(id, void*)> copyWithZone_{"copyWithZone:"};
inline constexpr Sel<Value(id)> dictionaryRepresentation{"dictionaryRepresentation"};
inline constexpr Sel<Value(id)> category{"category"};
inline constexpr Sel<bool(id)> explicitEnd{"explicitEnd"};
inline constexpr Sel<void(id, bool)> setExplicitEnd_{"setExplicitEnd:"};
inline constexpr Sel<double(id)> startTimestamp{"startTimestamp"};
inline constexpr Sel<double(id)> endTimestamp{"endTimestamp"};
inline constexpr Sel<void(id)> end{"end"};
inline constexpr Sel<unsigned long(id)> elapsedMilliseconds{"elapsedMilliseconds"};
inline constexpr Sel<std::string(id)> elapsedMillisecondsString{"elapsedMillisecondsString"};
inline constexpr Sel<bool(id)> isActive{"isActive"};
inline constexpr Sel<void(id, Value, Value)> setValue_forKey_{"setValue:forKey:"};
inline constexpr Sel<Value(id, std::string)> valueForKey_{"valueForKey:"};
inline constexpr Sel<void(id, std::string)> removeValueForKey_{"removeValueForKey:"};
inline constexpr Sel<Value(id)> keysAndValues{"keysAndValues"};

// YBXTimingManager
inline constexpr Sel<Value(id)> timings{"timings"};
inline constexpr Sel<Value(id)> categories{"categories"};
inline constexpr Sel<void(id, id)> addTiming_{"addTiming:"};
inline constexpr Sel<Ref<Object>(id, Value)> addTimingWithCategory_{"addTimingWithCategory:"};
inline constexpr Sel<Ref<Object>(id, std::string)> timingForCategory_{"timingForCategory:"};
inline constexpr Sel<void(id, id)> removeTiming_{"removeTiming:"};
inline constexpr Sel<void(id, std::string)> removeTimingForCategory_{"removeTimingForCategory:"};
inline constexpr Sel<void(id, Value)> removeTimingsForCategories_{"removeTimingsForCategories:"};
inline constexpr Sel<void(id)> removeAllTimings{"removeAllTimings"};
inline constexpr Sel<void(id)> loadPersistentTimings{"loadPersistentTimings"};
inline constexpr Sel<void(id)> savePersistentTimings{"savePersistentTimings"};
// Shared with YBXStatisticsCore and YBXSlotStatistics.
inline constexpr Sel<Value(id)> identifier{"identifier"};
inline constexpr Sel<void(id, Value)> setIdentifier_{"setIdentifier:"};
inline constexpr Sel<void(id)> synchronize{"synchronize"};

// YBXStatisticsCore
inline constexpr Sel<void(id, Value, std::string)> setString_forKey_{"setString:forKey:"};
inline constexpr Sel<void(id, Value, std::string)> setNumber_forKey_{"setNumber:forKey:"};
inline constexpr Sel<void(id, Value, std::string)> setDate_forKey_{"setDate:forKey:"};
inline constexpr Sel<void(id, Value, std::string)> setArray_forKey_{"setArray:forKey:"};
inline constexpr Sel<void(id, Value, std::string)> setDictionary_forKey_{"setDictionary:forKey:"};
inline constexpr Sel<void(id, Value, std::string, std::string)> setObject_forKey_matchingClass_{"setObject:forKey:matchingClass:"};
inline constexpr Sel<Value(id, std::string)> stringForKey_{"stringForKey:"};
inline constexpr Sel<Value(id, std::string)> numberForKey_{"numberForKey:"};
inline constexpr Sel<Value(id, std::string)> dateForKey_{"dateForKey:"};
inline constexpr Sel<Value(id, std::string)> arrayForKey_{"arrayForKey:"};
inline constexpr Sel<Value(id, std::string)> dictionaryForKey_{"dictionaryForKey:"};
inline constexpr Sel<long long(id, long long, std::string)> addValue_numberForKey_{"addValue:numberForKey:"};
inline constexpr Sel<void(id, Value, std::string)> appendValue_arrayForKey_{"appendValue:arrayForKey:"};
inline constexpr Sel<void(id, std::string)> removeObjectForKey_{"removeObjectForKey:"};
inline constexpr Sel<void(id)> loadPersistentStatistics{"loadPersistentStatistics"};
inline constexpr Sel<void(id)> savePersistentStatistics{"savePersistentStatistics"};

// YBXStatistics (statistics, parameters: see the shared ones above)
inline constexpr Sel<Value(id)> allTimingNames{"allTimingNames"};
inline constexpr Sel<Value(id)> allCounterNames{"allCounterNames"};
inline constexpr Sel<Ref<Object>(id)> timingMgr{"timingMgr"};
inline constexpr Sel<Ref<Object>(id, std::string)> timingNamed_{"timingNamed:"};
inline constexpr Sel<void(id, std::string, bool)> startTimingNamed_withExplicitEnd_{"startTimingNamed:withExplicitEnd:"};
inline constexpr Sel<void(id, std::string)> endTimingNamed_{"endTimingNamed:"};
inline constexpr Sel<void(id, std::string)> removeTimingNamed_{"removeTimingNamed:"};
inline constexpr Sel<void(id, std::string)> incrementParameterCount_{"incrementParameterCount:"};
inline constexpr Sel<void(id, std::string)> resetParameterCount_{"resetParameterCount:"};
inline constexpr Sel<unsigned long long(id, std::string)> valueForParameter_{"valueForParameter:"};
inline constexpr Sel<void(id, std::string)> setFlagWithParameterName_{"setFlagWithParameterName:"};
inline constexpr Sel<void(id, std::string)> resetFlagWithParameterName_{"resetFlagWithParameterName:"};

// YBXSlotStatistics

// YBXStatisticDictionary and its delegate protocol
// YBXStatisticDictionaryDelegate: a nil queue means the delegate is never told.
inline constexpr Sel<dispatch_queue_t(id)> notificationQueue{"notificationQueue"};
inline constexpr Sel<void(id, id)> didUpdateStatisticDictionary_{"didUpdateStatisticDictionary:"};

inline constexpr Sel<Ref<Object>(id, std::string, id)> initWithQueueLabel_delegate_{"initWithQueueLabel:delegate:"};
inline constexpr Sel<Ref<Object>(id, id)> initWithDelegate_{"initWithDelegate:"};
inline constexpr Sel<void(id, Value, std::string, bool)> setObject_forKey_shouldNotifyDelegate_{"setObject:forKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, Value, std::string)> setObject_forKeyedSubscript_{"setObject:forKeyedSubscript:"};
inline constexpr Sel<Value(id, std::string)> objectForKey_{"objectForKey:"};
inline constexpr Sel<Value(id, std::string)> objectForKeyedSubscript_{"objectForKeyedSubscript:"};
inline constexpr Sel<void(id, Value, std::string, bool)> addDecimalNumber_toNumberForKey_shouldNotifyDelegate_{
    "addDecimalNumber:toNumberForKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, std::string, bool)> incrementNumberForKey_shouldNotifyDelegate_{"incrementNumberForKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, std::string, bool)> decrementNumberForKey_shouldNotifyDelegate_{"decrementNumberForKey:shouldNotifyDelegate:"};
inline constexpr Sel<void(id, Value, std::string, bool)> addObject_toArrayWithKey_shouldNotifyDelegate_{
    "addObject:toArrayWithKey:shouldNotifyDelegate:"};
inline constexpr Sel<Value(id)> dictionary{"dictionary"};
inline constexpr Sel<void(id)> didFinishModifying{"didFinishModifying"};

// YBXSession
inline constexpr Sel<unsigned long long(id)> sessionID{"sessionID"};

// YBXApplication and its YBXStatisticsAdditions
inline constexpr Sel<bool(id)> appFinishedLaunching{"appFinishedLaunching"};
inline constexpr Sel<bool(id)> isAppActive{"isAppActive"};
inline constexpr Sel<Value(id)> iTunesMetadataPath{"iTunesMetadataPath"};
inline constexpr Sel<Value(id, Value)> normalizedWebViewNavigationSchemes_{"normalizedWebViewNavigationSchemes:"};
inline constexpr Sel<dispatch_queue_t(id)> notificationSerialQueue{"notificationSerialQueue"};
inline constexpr Sel<dispatch_queue_t(id)> statisticsSerialQueue{"statisticsSerialQueue"};
inline constexpr Sel<dispatch_queue_t(id)> lockQueue{"lockQueue"};
inline constexpr Sel<Ref<Object>(id)> discardableStoreProductViewControllerAppCache{"discardableStoreProductViewControllerAppCache"};
inline constexpr Sel<Value(id)> pendingAdStatistics{"pendingAdStatistics"};
inline constexpr Sel<void(id, Value)> didNotSendAdStatistics_{"didNotSendAdStatistics:"};
inline constexpr Sel<bool(id)> verifyCategoryMethodAvailability{"verifyCategoryMethodAvailability"};
inline constexpr Sel<void(id)> runEarlyActivities{"runEarlyActivities"};
inline constexpr Sel<void(id)> load{"load"};
// YBXStatisticsAdditions
inline constexpr Sel<Ref<Object>(id, Value)> slotStatisticsForSlotID_{"slotStatisticsForSlotID:"};
inline constexpr Sel<Value(id)> slotStatisticsDictionary{"slotStatisticsDictionary"};
inline constexpr Sel<void(id, id)> willLeaveApplicationDueToClickOnAd_{"willLeaveApplicationDueToClickOnAd:"};
inline constexpr Sel<void(id)> didBecomeActive{"didBecomeActive"};
inline constexpr Sel<void(id)> incrementTotalAdRequestCount{"incrementTotalAdRequestCount"};
inline constexpr Sel<void(id)> decrementTotalAdRequestCount{"decrementTotalAdRequestCount"};
inline constexpr Sel<void(id)> incrementTotalAdClickCount{"incrementTotalAdClickCount"};
inline constexpr Sel<void(id)> incrementSequenceNumber{"incrementSequenceNumber"};
inline constexpr Sel<Value(id)> timeSinceFirstAdRequestInMilliseconds{"timeSinceFirstAdRequestInMilliseconds"};
inline constexpr Sel<Value(id, id)> nextRequestStatisticsDictionaryForSlot_{"nextRequestStatisticsDictionaryForSlot:"};

// YBXMRAIDInterceptor
inline constexpr Sel<void(id)> disallow{"disallow"};
inline constexpr Sel<void(id)> enableCanInitWithRequest{"enableCanInitWithRequest"};
inline constexpr Sel<void(id)> disableCanInitWithRequest{"disableCanInitWithRequest"};
inline constexpr Sel<void(id)> resetCanInitWithRequestCounter{"resetCanInitWithRequestCounter"};
inline constexpr Sel<bool(id)> canInitWithRequestIsEnabled{"canInitWithRequestIsEnabled"};
inline constexpr Sel<bool(id)> isAllowed{"isAllowed"};
inline constexpr Sel<bool(id, NSURL*)> urlIsAnImplementationPath_{"urlIsAnImplementationPath:"};
inline constexpr Sel<Ref<Object>(id, id)> refererURLFromRequest_{"refererURLFromRequest:"};
inline constexpr Sel<bool(id, id)> shouldRedirectForMRAID_{"shouldRedirectForMRAID:"};
inline constexpr Sel<Value(id)> mraidLocationToLoad{"mraidLocationToLoad"};

// The built-in adapters: YBXMAdapterOrvaneMarlexAds, YBXMAdapterHTML (and its
// YBXMWebViewRenderedChecker), YBXMAdapterCustomEvents and the custom-event
// protocols, YBXCustomEventExtras.
inline constexpr Sel<Ref<Object>(id)> banner{"banner"};
inline constexpr Sel<Value(id)> passbackUrl{"passbackUrl"};
inline constexpr Sel<Ref<Object>(id)> webViewRenderedChecker{"webViewRenderedChecker"};
inline constexpr Sel<Ref<Object>(id)> checkRenderingTimer{"checkRenderingTimer"};
inline constexpr Sel<unsigned long long(id)> checkRenderingCount{"checkRenderingCount"};
inline constexpr Sel<void(id, id)> checkRendering_{"checkRendering:"};  // the polling timer's firing
inline constexpr Sel<Ref<Object>(id, id, id)> initWithWebView_delegate_{"initWithWebView:delegate:"};
inline constexpr Sel<void(id)> checkIsContentRenderedInWebView{"checkIsContentRenderedInWebView"};
inline constexpr Sel<void(id, id, bool)> webView_isRendered_{"webView:isRendered:"};
inline constexpr Sel<double(id, id, id)> percentOfImage_ofColor_{"percentOfImage:ofColor:"};
inline constexpr Sel<Ref<Object>(id)> customEventBanner{"customEventBanner"};
inline constexpr Sel<Ref<Object>(id)> customEventInterstitial{"customEventInterstitial"};
inline constexpr Sel<void(id, YBXAdSize, Value, Value, id)> requestBannerAd_parameter_label_request_{"requestBannerAd:parameter:label:request:"};
inline constexpr Sel<void(id, Value, Value, id)> requestInterstitialAdWithParameter_label_request_{
    "requestInterstitialAdWithParameter:label:request:"};
// (custom event, view / error / nothing)
inline constexpr Sel<void(id, id, id)> customEventBanner_didReceiveAd_{"customEventBanner:didReceiveAd:"};
inline constexpr Sel<void(id, id, id)> customEventBanner_didFailAd_{"customEventBanner:didFailAd:"};
inline constexpr Sel<void(id, id, id)> customEventBanner_clickDidOccurInAd_{"customEventBanner:clickDidOccurInAd:"};
inline constexpr Sel<void(id, id)> customEventBannerWillPresentModal_{"customEventBannerWillPresentModal:"};
inline constexpr Sel<void(id, id)> customEventBannerWillDismissModal_{"customEventBannerWillDismissModal:"};
inline constexpr Sel<void(id, id)> customEventBannerDidDismissModal_{"customEventBannerDidDismissModal:"};
inline constexpr Sel<void(id, id)> customEventBannerWillLeaveApplication_{"customEventBannerWillLeaveApplication:"};
inline constexpr Sel<void(id, id, id)> customEventInterstitial_didReceiveAd_{"customEventInterstitial:didReceiveAd:"};
inline constexpr Sel<void(id, id, id)> customEventInterstitial_didFailAd_{"customEventInterstitial:didFailAd:"};
inline constexpr Sel<void(id, id)> customEventInterstitialWillPresent_{"customEventInterstitialWillPresent:"};
inline constexpr Sel<void(id, id)> customEventInterstitialWillDismiss_{"customEventInterstitialWillDismiss:"};
inline constexpr Sel<void(id, id)> customEventInterstitialDidDismiss_{"customEventInterstitialDidDismiss:"};
inline constexpr Sel<void(id, id)> customEventInterstitialWillLeaveApplication_{"customEventInterstitialWillLeaveApplication:"};
// YBXCustomEventRequest (userGender, userBirthday, userHasLocation, userLatitude, userLongitude,
// userLocationAccuracyInMeters, userLocationDescription, userKeywords, additionalParameters,
// isTesting: above and below).
inline constexpr Sel<void(id, Value, Value)> setExtras_forLabel_{"setExtras:forLabel:"};
inline constexpr Sel<Value(id, Value)> extrasForLabel_{"extrasForLabel:"};
inline constexpr Sel<void(id)> removeAllExtras{"removeAllExtras"};
inline constexpr Sel<Value(id)> allExtras{"allExtras"};

// YBXDevice's network monitor (YBXNetwork).
inline constexpr Sel<Ref<Object>(id)> network{"network"};

// YBXMarlexExtras (and its subclass QRTExtras).
inline constexpr Sel<Value(id)> additionalParameters{"additionalParameters"};
inline constexpr Sel<void(id, Value)> setAdditionalParameters_{"setAdditionalParameters:"};
inline constexpr Sel<Value(id)> publisherProvidedID{"publisherProvidedID"};
inline constexpr Sel<void(id, Value)> setPublisherProvidedID_{"setPublisherProvidedID:"};

// YBXLocation.
inline constexpr Sel<Ref<Object>(id, double, double, double)> initWithLatitude_longitude_accuracy_{"initWithLatitude:longitude:accuracy:"};
inline constexpr Sel<Ref<Object>(id, Value)> initWithLocationDescription_{"initWithLocationDescription:"};

// YBXRequest. The request class method is the platform's `request`.
inline constexpr Sel<long long(id, Value)> requestTypeFromString_{"requestTypeFromString:"};
inline constexpr Sel<void(id, id)> registerAdNetworkExtras_{"registerAdNetworkExtras:"};
inline constexpr Sel<Ref<Object>(id, id)> adNetworkExtrasFor_{"adNetworkExtrasFor:"};
inline constexpr Sel<void(id, id)> removeAdNetworkExtrasFor_{"removeAdNetworkExtrasFor:"};
inline constexpr Sel<Value(id)> networkExtrasAdditionalParameters{"networkExtrasAdditionalParameters"};
inline constexpr Sel<Value(id)> networkExtrasMap{"networkExtrasMap"};
inline constexpr Sel<Value(id)> genderString{"genderString"};
inline constexpr Sel<void(id, long long, long long, long long)> setBirthdayWithMonth_day_year_{"setBirthdayWithMonth:day:year:"};
inline constexpr Sel<Value(id)> birthdayString{"birthdayString"};
inline constexpr Sel<Value(id)> contentURLString{"contentURLString"};
inline constexpr Sel<void(id, double, double, double)> setLocationWithLatitude_longitude_accuracy_{"setLocationWithLatitude:longitude:accuracy:"};
inline constexpr Sel<void(id, Value)> setLocationWithDescription_{"setLocationWithDescription:"};
inline constexpr Sel<void(id, Value)> addKeyword_{"addKeyword:"};
inline constexpr Sel<void(id, bool)> tagForChildDirectedTreatment_{"tagForChildDirectedTreatment:"};
inline constexpr Sel<Value(id)> analyticsIDs{"analyticsIDs"};
inline constexpr Sel<bool(id)> isATestDevice{"isATestDevice"};
// (the parameters being built)
inline constexpr Sel<void(id, Value::Dictionary*)> addQRTParameters_{"addQRTParameters:"};
inline constexpr Sel<Value(id)> testDevices{"testDevices"};
inline constexpr Sel<void(id, Value)> setTestDevices_{"setTestDevices:"};
inline constexpr Sel<bool(id)> isTesting{"isTesting"};
inline constexpr Sel<void(id, bool)> setTesting_{"setTesting:"};
inline constexpr Sel<long long(id)> gender{"gender"};
inline constexpr Sel<void(id, long long)> setGender_{"setGender:"};
inline constexpr Sel<Value(id)> birthday{"birthday"};
inline constexpr Sel<void(id, Value)> setBirthday_{"setBirthday:"};
inline constexpr Sel<Value(id)> keywords{"keywords"};
inline constexpr Sel<void(id, Value)> setKeywords_{"setKeywords:"};
inline constexpr Sel<Ref<Object>(id)> location{"location"};
inline constexpr Sel<void(id, id)> setLocation_{"setLocation:"};
inline constexpr Sel<Value(id)> contentURL{"contentURL"};
inline constexpr Sel<void(id, Value)> setContentURL_{"setContentURL:"};
// A bool number, or nil until the publisher sets it.
inline constexpr Sel<void(id, Value)> setChildDirectedTreatment_{"setChildDirectedTreatment:"};
inline constexpr Sel<Value(id)> mediationExtras{"mediationExtras"};
inline constexpr Sel<void(id, Value)> setMediationExtras_{"setMediationExtras:"};
inline constexpr Sel<Value(id)> privateMediationExtras{"privateMediationExtras"};
inline constexpr Sel<void(id, Value)> setPrivateMediationExtras_{"setPrivateMediationExtras:"};
inline constexpr Sel<Value(id)> formatParameters{"formatParameters"};
inline constexpr Sel<void(id, Value)> setFormatParameters_{"setFormatParameters:"};
// YBXRequestVersionInfo (class methods of YBXRequest).
inline constexpr Sel<std::string(id)> sdkVersionMetadata{"sdkVersionMetadata"};
inline constexpr Sel<std::string(id)> sdkVersionIdentifiers{"sdkVersionIdentifiers"};
inline constexpr Sel<std::string(id)> extendedSDKVersionNumber{"extendedSDKVersionNumber"};

// YBXSearchRequest. Colours are UIColor objects or nil; setBackgroundColor:
// and setBorderColor: are UIKit's.
inline constexpr Sel<Value(id)> query{"query"};
inline constexpr Sel<void(id, Value)> setQuery_{"setQuery:"};
inline constexpr Sel<Ref<Object>(id)> gradientFrom{"gradientFrom"};
inline constexpr Sel<void(id, id)> setGradientFrom_{"setGradientFrom:"};
inline constexpr Sel<Ref<Object>(id)> gradientTo{"gradientTo"};
inline constexpr Sel<void(id, id)> setGradientTo_{"setGradientTo:"};
inline constexpr Sel<Ref<Object>(id)> headerColor{"headerColor"};
inline constexpr Sel<void(id, id)> setHeaderColor_{"setHeaderColor:"};
inline constexpr Sel<Ref<Object>(id)> descriptionTextColor{"descriptionTextColor"};
inline constexpr Sel<void(id, id)> setDescriptionTextColor_{"setDescriptionTextColor:"};
inline constexpr Sel<Ref<Object>(id)> anchorTextColor{"anchorTextColor"};
inline constexpr Sel<void(id, id)> setAnchorTextColor_{"setAnchorTextColor:"};
inline constexpr Sel<Value(id)> fontFamily{"fontFamily"};
inline constexpr Sel<void(id, Value)> setFontFamily_{"setFontFamily:"};
inline constexpr Sel<unsigned long long(id)> headerTextSize{"headerTextSize"};
inline constexpr Sel<void(id, unsigned long long)> setHeaderTextSize_{"setHeaderTextSize:"};
inline constexpr Sel<unsigned long long(id)> borderType{"borderType"};
inline constexpr Sel<void(id, unsigned long long)> setBorderType_{"setBorderType:"};
inline constexpr Sel<unsigned long long(id)> borderThickness{"borderThickness"};
inline constexpr Sel<void(id, unsigned long long)> setBorderThickness_{"setBorderThickness:"};
inline constexpr Sel<Value(id)> customChannels{"customChannels"};
inline constexpr Sel<void(id, Value)> setCustomChannels_{"setCustomChannels:"};
inline constexpr Sel<unsigned long long(id)> callButtonColor{"callButtonColor"};
inline constexpr Sel<void(id, unsigned long long)> setCallButtonColor_{"setCallButtonColor:"};
inline constexpr Sel<Value(id, id)> hexStringFromColor_{"hexStringFromColor:"};
inline constexpr Sel<std::string(id, unsigned long long)> getBorderTypeString_{"getBorderTypeString:"};
inline constexpr Sel<std::string(id, unsigned long long)> getCallButtonTypeString_{"getCallButtonTypeString:"};
inline constexpr Sel<void(id, id)> setBackgroundSolid_{"setBackgroundSolid:"};
inline constexpr Sel<void(id, id, id)> setBackgroundGradientFrom_toColor_{"setBackgroundGradientFrom:toColor:"};

// --- YBXWebView completed, its cache, gesture and dialog ---------------------------------------------
inline constexpr Sel<Ref<Object>(id)> webViewCache{"webViewCache"};    // class method
inline constexpr Sel<Ref<Object>(id)> cachedWebView{"cachedWebView"};  // class method
inline constexpr Sel<void(id, id)> cacheWebView_{"cacheWebView:"};      // class method
inline constexpr Sel<void(id)> createGestureRecognizer{"createGestureRecognizer"};
inline constexpr Sel<void(id)> configureAsBannerAdView{"configureAsBannerAdView"};
inline constexpr Sel<void(id)> configureAsInterstitialAdView{"configureAsInterstitialAdView"};
inline constexpr Sel<void(id, NSURL*, id)> setURL_forView_{"setURL:forView:"};
inline constexpr Sel<Ref<Object>(id)> URL{"URL"};
inline constexpr Sel<void(id, std::string)> notifyOfSdkEvent_{"notifyOfSdkEvent:"};
inline constexpr Sel<void(id, long long)> forceRotateToOrientation_{"forceRotateToOrientation:"};
inline constexpr Sel<void(id, long long)> didRotateToOrientation_{"didRotateToOrientation:"};
inline constexpr Sel<void(id, long long, bool)> setHTMLWindowOrientation_shouldDispatchOrientationChangeEvent_{
    "setHTMLWindowOrientation:shouldDispatchOrientationChangeEvent:"};
inline constexpr Sel<void(id)> saveState{"saveState"};
inline constexpr Sel<void(id)> restoreState{"restoreState"};
inline constexpr Sel<bool(id)> savedState{"savedState"};
inline constexpr Sel<void(id, Value)> reportBadAd_{"reportBadAd:"};
inline constexpr Sel<Ref<Object>(id)> viewController{"viewController"};
inline constexpr Sel<void(id, id)> setViewController_{"setViewController:"};
inline constexpr Sel<bool(id)> showDebug{"showDebug"};
inline constexpr Sel<void(id, bool)> setShowDebug_{"setShowDebug:"};
inline constexpr Sel<Value(id)> adDebugDialog{"adDebugDialog"};
inline constexpr Sel<void(id, Value)> setAdDebugDialog_{"setAdDebugDialog:"};
inline constexpr Sel<bool(id)> didReceiveLoadEvent{"didReceiveLoadEvent"};
inline constexpr Sel<void(id, bool)> setDidReceiveLoadEvent_{"setDidReceiveLoadEvent:"};
inline constexpr Sel<Ref<Object>(id)> gesture{"gesture"};
inline constexpr Sel<Ref<Object>(id)> gestureDelegate{"gestureDelegate"};
inline constexpr Sel<Ref<Object>(id)> alertView{"alertView"};
inline constexpr Sel<void(id, id)> handleGesture_{"handleGesture:"};
inline constexpr Sel<bool(id)> optoraVisibility{"optoraVisibility"};
inline constexpr Sel<void(id, bool)> setOptoraVisibility_{"setOptoraVisibility:"};
inline constexpr Sel<Ref<Object>(id)> optoraObserver{"optoraObserver"};
inline constexpr Sel<void(id, id)> setOptoraObserver_{"setOptoraObserver:"};
inline constexpr Sel<Ref<Object>(id)> browserViewController{"browserViewController"};
// YBXWebViewCacheSet
inline constexpr Sel<void(id, id)> clearWebView_{"clearWebView:"};
inline constexpr Sel<unsigned long long(id)> clearingWebViewCount{"clearingWebViewCount"};
// YBXImpressionTicketGestureRecognizer
inline constexpr Sel<long long(id)> gestureState{"gestureState"};
inline constexpr Sel<double(id)> distanceMoved{"distanceMoved"};

// --- YBXWebViewDelegate and its kinds ------------------------------------------------------------------
inline constexpr Sel<void(id, id)> addPMSGHandler_{"addPMSGHandler:"};
inline constexpr Sel<Value(id)> pmsgHandlers{"pmsgHandlers"};
inline constexpr Sel<Ref<Object>(id)> openerPMSGHandler{"openerPMSGHandler"};
inline constexpr Sel<bool(id)> hasLoadedAtLeastOnce{"hasLoadedAtLeastOnce"};
inline constexpr Sel<bool(id)> isFileAccessAllowed{"isFileAccessAllowed"};
inline constexpr Sel<void(id, bool)> setFileAccessAllowed_{"setFileAccessAllowed:"};
inline constexpr Sel<Ref<Object>(id, id)> viewControllerForPresentingFromWebView_{"viewControllerForPresentingFromWebView:"};
inline constexpr Sel<void(id, id, id)> handlePMSGRequest_webView_{"handlePMSGRequest:webView:"};
inline constexpr Sel<void(id, id)> loadedFirstPage_{"loadedFirstPage:"};
inline constexpr Sel<bool(id, long long)> isClick_{"isClick:"};
inline constexpr Sel<Ref<Object>(id, id)> initWithWebAppViewController_{"initWithWebAppViewController:"};
inline constexpr Sel<Ref<Object>(id)> webAppViewController{"webAppViewController"};
inline constexpr Sel<void(id, bool)> setPendingOnShow_{"setPendingOnShow:"};
inline constexpr Sel<bool(id)> pendingOnShow{"pendingOnShow"};
inline constexpr Sel<bool(id)> calledOnShow{"calledOnShow"};
inline constexpr Sel<void(id)> postOnShowEvent{"postOnShowEvent"};
inline constexpr Sel<bool(id)> isTwoPieceExpandable{"isTwoPieceExpandable"};
inline constexpr Sel<Ref<Object>(id, id)> browserControllerForWebView_{"browserControllerForWebView:"};
inline constexpr Sel<void(id)> refreshToolbar{"refreshToolbar"};

// --- YBXOpener: what the navigation policy sets and opens -------------------------------------------
inline constexpr Sel<Value(id)> navigationURL{"navigationURL"};
inline constexpr Sel<void(id, Value)> setNavigationURL_{"setNavigationURL:"};
inline constexpr Sel<Ref<Object>(id)> referringURL{"referringURL"};
inline constexpr Sel<void(id, NSURL*)> setReferringURL_{"setReferringURL:"};
inline constexpr Sel<void(id, id)> setWebView_{"setWebView:"};
inline constexpr Sel<void(id, NSURL*)> openApp_{"openApp:"};
inline constexpr Sel<void(id, NSURL*)> openEmailComposer_{"openEmailComposer:"};
inline constexpr Sel<void(id, NSURL*)> openSmsComposer_{"openSmsComposer:"};
inline constexpr Sel<void(id, NSURL*, long long)> openBrowserToURL_supportedOrientations_{"openBrowserToURL:supportedOrientations:"};
// (ad unit ID or nil, the page's HTML)
inline constexpr Sel<void(id, Value, Value)> openPublisherToolbar_withAdContent_{"openPublisherToolbar:withAdContent:"};

// --- YBXBannerView and YBXInterstitial, the public ads ------------------------------------------------
inline constexpr Sel<Ref<Object>(id, Rect, YBXAdSize)> initWithFrame_adSize_{"initWithFrame:adSize:"};
// initWithAdSize: is YBXAdType's.
inline constexpr Sel<Ref<Object>(id, YBXAdSize, Point)> initWithAdSize_origin_{"initWithAdSize:origin:"};
inline constexpr Sel<void(id, YBXAdSize)> commonInitWithAdSize_{"commonInitWithAdSize:"};
inline constexpr Sel<void(id, id)> setInAppPurchaseDelegate_{"setInAppPurchaseDelegate:"};
inline constexpr Sel<void(id, bool)> setCreatedOnMediationRequest_{"setCreatedOnMediationRequest:"};
inline constexpr Sel<Ref<Object>(id)> adView{"adView"};
inline constexpr Sel<void(id, id)> setAdView_{"setAdView:"};
inline constexpr Sel<Ref<Object>(id)> mediatedAdView{"mediatedAdView"};
inline constexpr Sel<bool(id)> isReady{"isReady"};
inline constexpr Sel<void(id, id)> presentFromRootViewController_{"presentFromRootViewController:"};
inline constexpr Sel<bool(id)> hasBeenUsed{"hasBeenUsed"};
inline constexpr Sel<bool(id)> canPresentFullScreen{"canPresentFullScreen"};
inline constexpr Sel<void(id)> hasPresentedFullScreen{"hasPresentedFullScreen"};
inline constexpr Sel<void(id)> sendInterstitialUsageError{"sendInterstitialUsageError"};
inline constexpr Sel<void(id, id)> sendInterstitialError_{"sendInterstitialError:"};
inline constexpr Sel<void(id, id)> webAction_{"webAction:"};
// YBXBannerViewDelegate (all optional).
inline constexpr Sel<void(id, id)> adViewDidReceiveAd_{"adViewDidReceiveAd:"};
inline constexpr Sel<void(id, id, id)> adView_didFailToReceiveAdWithError_{"adView:didFailToReceiveAdWithError:"};
inline constexpr Sel<void(id, id)> adViewWillPresentScreen_{"adViewWillPresentScreen:"};
inline constexpr Sel<void(id, id)> adViewWillDismissScreen_{"adViewWillDismissScreen:"};
inline constexpr Sel<void(id, id)> adViewDidDismissScreen_{"adViewDidDismissScreen:"};
inline constexpr Sel<void(id, id)> adViewWillLeaveApplication_{"adViewWillLeaveApplication:"};
// YBXInterstitialDelegate (all optional).
inline constexpr Sel<void(id, id)> interstitialDidReceiveAd_{"interstitialDidReceiveAd:"};
inline constexpr Sel<void(id, id, id)> interstitial_didFailToReceiveAdWithError_{"interstitial:didFailToReceiveAdWithError:"};
inline constexpr Sel<void(id, id)> interstitialWillPresentScreen_{"interstitialWillPresentScreen:"};
inline constexpr Sel<void(id, id)> interstitialWillDismissScreen_{"interstitialWillDismissScreen:"};
inline constexpr Sel<void(id, id)> interstitialDidDismissScreen_{"interstitialDidDismissScreen:"};
inline constexpr Sel<void(id, id)> interstitialWillLeaveApplication_{"interstitialWillLeaveApplication:"};

// --- Message handlers, controllers, the URL stash, the bad-ad reporter -----------------------------------
inline constexpr Sel<Ref<Object>(id, id)> initWithOpener_{"initWithOpener:"};
inline constexpr Sel<Ref<Object>(id)> hostViewController{"hostViewController"};
inline constexpr Sel<bool(id)> displayingAsTransparentInterstitial{"displayingAsTransparentInterstitial"};
inline constexpr Sel<bool(id)> viewDidAppear{"viewDidAppear"};
inline constexpr Sel<void(id)> relinquishScreen{"relinquishScreen"};
// YBXViewController
inline constexpr Sel<void(id, id)> presentFrom_{"presentFrom:"};
inline constexpr Sel<void(id)> dismiss{"dismiss"};
inline constexpr Sel<bool(id)> shouldDismissOnAppClose{"shouldDismissOnAppClose"};
inline constexpr Sel<void(id)> hideStatusBar{"hideStatusBar"};
inline constexpr Sel<void(id)> restoreStatusBar{"restoreStatusBar"};
inline constexpr Sel<void(id)> ensureStatusBarHidden{"ensureStatusBarHidden"};
inline constexpr Sel<void(id, id)> appDidEnterForeground_{"appDidEnterForeground:"};
inline constexpr Sel<bool(id)> isFirstYBXViewController{"isFirstYBXViewController"};
inline constexpr Sel<bool(id)> interactingWithParent{"interactingWithParent"};
inline constexpr Sel<Ref<Object>(id)> parent{"parent"};
inline constexpr Sel<Ref<Object>(id)> retainCycle{"retainCycle"};
// The 0.6 s stand-in for an appearance the platform does not report.
inline constexpr Sel<void(id)> viewDidAppearFallback{"viewDidAppearFallback"};
// YBXBrowserViewController
inline constexpr Sel<void(id)> back{"back"};
inline constexpr Sel<void(id)> forward{"forward"};
inline constexpr Sel<void(id)> openInSafari{"openInSafari"};
// (image, accessibility name, width, enabled, action)
inline constexpr Sel<Ref<Object>(id, id, Value, double, bool, SEL)> buttonWithImage_name_width_enabled_action_{
    "buttonWithImage:name:width:enabled:action:"};
inline constexpr Sel<Ref<Object>(id)> toolbar{"toolbar"};
inline constexpr Sel<Ref<Object>(id)> spinner{"spinner"};
inline constexpr Sel<Ref<Object>(id)> URLToLoad{"URLToLoad"};
// YBXWebAppViewController
inline constexpr Sel<bool(id)> useCustomClose{"useCustomClose"};
inline constexpr Sel<bool(id)> transparentInterstitial{"transparentInterstitial"};
inline constexpr Sel<void(id)> updateCloseButtonVisibilityAndImage{"updateCloseButtonVisibilityAndImage"};
inline constexpr Sel<Rect(id, Rect)> closeButtonFrameForContentFrame_{"closeButtonFrameForContentFrame:"};
inline constexpr Sel<Ref<Object>(id)> renderedBanner{"renderedBanner"};
inline constexpr Sel<bool(id)> isExpandable{"isExpandable"};
inline constexpr Sel<bool(id)> isCollapsing{"isCollapsing"};
inline constexpr Sel<bool(id)> viewHasAppeared{"viewHasAppeared"};
inline constexpr Sel<void(id)> configureView{"configureView"};
inline constexpr Sel<void(id)> animateTransparentInterstitialPresentation{"animateTransparentInterstitialPresentation"};
inline constexpr Sel<void(id)> updateTransparentInterstitialOrientation{"updateTransparentInterstitialOrientation"};
inline constexpr Sel<void(id, id)> transparentInterstitialOrientationChanged_{"transparentInterstitialOrientationChanged:"};
inline constexpr Sel<Ref<Object>(id, id)> initWithWebView_{"initWithWebView:"};
inline constexpr Sel<void(id, id)> presentFromViewController_{"presentFromViewController:"};
inline constexpr Sel<void(id, NSURL*, id)> add_forView_{"add:forView:"};   // class methods of YBXAdURLStash
inline constexpr Sel<void(id, NSURL*, id)> remove_forView_{"remove:forView:"};
inline constexpr Sel<Ref<Object>(id, NSURL*)> viewForURL_{"viewForURL:"};
inline constexpr Sel<bool(id)> hasStashedURLs{"hasStashedURLs"};
inline constexpr Sel<Ref<Object>(id, NSURL*)> canonicalURLForURL_{"canonicalURLForURL:"};

// --- MRAID: YBXMRAIDPMSGHandler, YBXMRAIDResizeProperties, YBXMRAIDPicture ------------------------------
inline constexpr Sel<void(id, Value)> didReceiveMRAIDNotification_{"didReceiveMRAIDNotification:"};
inline constexpr Sel<void(id, Value)> actionResize_{"actionResize:"};
inline constexpr Sel<void(id, Value)> actionStorePicture_{"actionStorePicture:"};
inline constexpr Sel<void(id, Value)> actionCreateCalendarEvent_{"actionCreateCalendarEvent:"};
// URL text -> YBXMRAIDPicture.
inline constexpr Sel<Value(id)> pendingPictureDownloads{"pendingPictureDownloads"};
inline constexpr Sel<long long(id, Value)> customClosePositionFromString_{"customClosePositionFromString:"};  // class method
inline constexpr Sel<Point(id)> offset{"offset"};
inline constexpr Sel<long long(id)> customClosePosition{"customClosePosition"};
inline constexpr Sel<bool(id)> allowOffscreen{"allowOffscreen"};
inline constexpr Sel<Ref<Object>(id, NSURL*)> initWithPictureURL_{"initWithPictureURL:"};
inline constexpr Sel<Ref<Object>(id)> pictureURL{"pictureURL"};
inline constexpr Sel<bool(id)> downloadStarted{"downloadStarted"};
inline constexpr Sel<void(id)> storeInPhotoAlbum{"storeInPhotoAlbum"};
inline constexpr Sel<void(id, NSURL*)> downloadImageWithURL_{"downloadImageWithURL:"};
// YBXMRAIDPictureDelegate, both optional: (picture, URL) and (picture, URL, message).
inline constexpr Sel<void(id, id, NSURL*)> MRAIDPicture_didStorePictureWithURL_{"MRAIDPicture:didStorePictureWithURL:"};
inline constexpr Sel<void(id, id, NSURL*, Value)> MRAIDPicture_failedToStorePictureWithURL_message_{
    "MRAIDPicture:failedToStorePictureWithURL:message:"};
// What the MRAID handler asks of YBXOpener: (size, offset) and the event's parameters.
inline constexpr Sel<void(id, Size, Point)> openWebAppWithSize_offset_{"openWebAppWithSize:offset:"};
inline constexpr Sel<void(id, Value)> openCalendarWithDictionary_{"openCalendarWithDictionary:"};

// --- The creative message handler families ------------------------------------------------------------
// Every operation takes the base handler's dictionary {"webView", "note"}.
inline constexpr Sel<void(id, Value)> didReceiveTrackHTTPNotification_{"didReceiveTrackHTTPNotification:"};
inline constexpr Sel<void(id, Value)> didReceiveLogNotification_{"didReceiveLogNotification:"};
inline constexpr Sel<void(id, Value)> didReceiveTouchNotification_{"didReceiveTouchNotification:"};
inline constexpr Sel<void(id, Value)> didReceiveVibrateNotification_{"didReceiveVibrateNotification:"};
inline constexpr Sel<void(id, Value)> didReceiveCanOpenURLsNotification_{"didReceiveCanOpenURLsNotification:"};
inline constexpr Sel<void(id, Value)> didReceiveCloseNotification_{"didReceiveCloseNotification:"};
// (class) (key, dictionary, default)
inline constexpr Sel<long long(id, Value, Value, long long)> integerForKey_fromDictionary_withDefaultValue_{
    "integerForKey:fromDictionary:withDefaultValue:"};
inline constexpr Sel<void(id, Value)> didReceiveClickNotification_{"didReceiveClickNotification:"};
inline constexpr Sel<void(id, Value)> didReceiveOpenNotification_{"didReceiveOpenNotification:"};
inline constexpr Sel<void(id, Value)> fetchInAppStore_{"fetchInAppStore:"};
// (class) the "a" parameter of "open" -> operation name.
inline constexpr Sel<Value(id)> subActionSelectorDictionary{"subActionSelectorDictionary"};
inline constexpr Sel<void(id, Value)> actionOpenInAppStore_{"actionOpenInAppStore:"};
inline constexpr Sel<void(id, Value)> actionOpenInAppPurchase_{"actionOpenInAppPurchase:"};
inline constexpr Sel<void(id, Value)> actionOpenBrowser_{"actionOpenBrowser:"};
inline constexpr Sel<void(id, Value)> actionOpenWebApp_{"actionOpenWebApp:"};
inline constexpr Sel<void(id, Value)> actionExpand_{"actionExpand:"};
inline constexpr Sel<void(id, Value)> actionOpenApp_{"actionOpenApp:"};
// (message parameters)
inline constexpr Sel<Ref<Object>(id, Value)> URLFromParams_{"URLFromParams:"};
inline constexpr Sel<long long(id, Value)> orientationFromParams_{"orientationFromParams:"};
inline constexpr Sel<bool(id, Value)> shouldUseCustomClose_{"shouldUseCustomClose:"};
inline constexpr Sel<void(id, Value)> didReceiveAppEventNotification_{"didReceiveAppEventNotification:"};
inline constexpr Sel<void(id, Value)> configureCustomCloseButtonWithArguments_{"configureCustomCloseButtonWithArguments:"};
inline constexpr Sel<void(id, Value)> updateInterstitialPropertiesWithArguments_{"updateInterstitialPropertiesWithArguments:"};

// --- YBXOpener: the gate and the destinations ----------------------------------------------------------
inline constexpr Sel<bool(id)> shouldPerformOpenAction{"shouldPerformOpenAction"};
// (URL, HTML text, web view, ...) YES when given and the opener has a controller to present from.
inline constexpr Sel<bool(id, Value)> checkStateWithParamter_{"checkStateWithParamter:"};
inline constexpr Sel<void(id)> didOpen{"didOpen"};
inline constexpr Sel<void(id)> didOpenInApp{"didOpenInApp"};
inline constexpr Sel<void(id)> didOpenExternalApp{"didOpenExternalApp"};
inline constexpr Sel<bool(id)> isInAppStoreSupported{"isInAppStoreSupported"};
inline constexpr Sel<bool(id)> didOpenAnotherApplication{"didOpenAnotherApplication"};
inline constexpr Sel<void(id, bool)> setDidOpenAnotherApplication_{"setDidOpenAnotherApplication:"};
// Product ID -> the store sheet this opener preloaded.
inline constexpr Sel<Value(id)> cachedStoreProductViewController{"cachedStoreProductViewController"};
// (product ID, fallback URL)
inline constexpr Sel<void(id, Value, NSURL*)> openInAppStore_fallbackURLString_{"openInAppStore:fallbackURLString:"};
// (product ID, fallback URL, wait for the product to load)
inline constexpr Sel<void(id, Value, NSURL*, bool)> openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_{
    "openInAppStoreWithProductID:fallbackURLString:shouldWaitForFetch:"};
inline constexpr Sel<Ref<Object>(id, Value)> fetchInAppStoreForProductID_{"fetchInAppStoreForProductID:"};
// (product ID, quantity, report URL templates)
inline constexpr Sel<void(id, Value, long long, Value)> openInAppPurchase_quantity_reportingURLStringFormats_{
    "openInAppPurchase:quantity:reportingURLStringFormats:"};
// (web view or nil, orientation code, custom close) -> YBXWebAppViewController
inline constexpr Sel<Ref<Object>(id, id, long long, bool)> overlayWithWebView_orientations_usingCustomClose_{
    "overlayWithWebView:orientations:usingCustomClose:"};
inline constexpr Sel<void(id, NSURL*, long long, bool)> openWebApp_supportedOrientations_usingCustomClose_{
    "openWebApp:supportedOrientations:usingCustomClose:"};
inline constexpr Sel<void(id, Value, long long, bool)> openWebAppWithHTML_supportedOrientations_usingCustomClose_{
    "openWebAppWithHTML:supportedOrientations:usingCustomClose:"};
inline constexpr Sel<void(id, long long, bool)> expandToWebAppWithSupportedOrientations_usingCustomClose_{
    "expandToWebAppWithSupportedOrientations:usingCustomClose:"};
inline constexpr Sel<void(id, id)> presentComposerController_{"presentComposerController:"};
// YBXOpenerDelegate
inline constexpr Sel<void(id)> didOpenInApplication{"didOpenInApplication"};
inline constexpr Sel<void(id)> didLeaveApplication{"didLeaveApplication"};

// --- What the opener opens: controllers, the purchase, calendar properties, the store-sheet cache -------------
inline constexpr Sel<void(id, NSURL*)> load_{"load:"};
inline constexpr Sel<void(id, NSURL*, NSURL*)> load_referringURL_{"load:referringURL:"};
inline constexpr Sel<void(id, Value, NSURL*)> loadHTML_baseURL_{"loadHTML:baseURL:"};
inline constexpr Sel<void(id, bool)> setUseCustomClose_{"setUseCustomClose:"};
inline constexpr Sel<void(id, bool)> setTransparentInterstitial_{"setTransparentInterstitial:"};
// (ad content HTML, ad unit ID)
inline constexpr Sel<Ref<Object>(id, Value, Value)> initWithAdContent_adUnitID_{"initWithAdContent:adUnitID:"};
inline constexpr Sel<Value(id)> adContent{"adContent"};
inline constexpr Sel<bool(id, long long)> quantityIsValid_{"quantityIsValid:"};  // class method
inline constexpr Sel<Ref<Object>(id, Value, long long, Value)> initWithProductID_quantity_reportingURLStringFormats_{
    "initWithProductID:quantity:reportingURLStringFormats:"};
inline constexpr Sel<Value(id)> productID{"productID"};
inline constexpr Sel<Value(id)> reportingURLStringFormats{"reportingURLStringFormats"};
inline constexpr Sel<long long(id)> purchaseStatus{"purchaseStatus"};
inline constexpr Sel<std::string(id, long long)> stringForStatus_{"stringForStatus:"};  // class method
inline constexpr Sel<void(id, long long)> reportPurchaseStatus_{"reportPurchaseStatus:"};
inline constexpr Sel<Value(id, Value)> expandedURLStringForURLStringFormat_{"expandedURLStringForURLStringFormat:"};
inline constexpr Sel<bool(id, Ref<NSError>*)> reportConversionWithError_{"reportConversionWithError:"};
// A conversion reporter the app may link: (product ID, value, repeatable).
inline constexpr Sel<Ref<Object>(id, Value, Value, bool)> initWithProductID_value_isRepeatable_{"initWithProductID:value:isRepeatable:"};
inline constexpr Sel<bool(id)> report{"report"};
// YBXBadAdUtil: (debug text) the report's body.
inline constexpr Sel<Value(id, Value)> jsonData_{"jsonData:"};  // class method
// YBXDefaultInAppPurchase and the default purchase flow.
inline constexpr Sel<void(id, id)> enableDefaultPurchaseFlowWithDelegate_{"enableDefaultPurchaseFlowWithDelegate:"};
inline constexpr Sel<void(id)> disableDefaultPurchaseFlow{"disableDefaultPurchaseFlow"};
inline constexpr Sel<Ref<Object>(id)> paymentTransaction{"paymentTransaction"};
inline constexpr Sel<Ref<Object>(id)> inAppPurchase{"inAppPurchase"};
inline constexpr Sel<void(id)> finishTransaction{"finishTransaction"};
inline constexpr Sel<Ref<Object>(id)> defaultInAppPurchaseDelegate{"defaultInAppPurchaseDelegate"};
inline constexpr Sel<Ref<Object>(id)> productsRequest{"productsRequest"};
// The publisher's default purchase delegate: (purchase); (product ID, quantity).
inline constexpr Sel<void(id, id)> userDidPayForPurchase_{"userDidPayForPurchase:"};
inline constexpr Sel<bool(id, Value, long long)> shouldStartPurchaseForProductID_quantity_{"shouldStartPurchaseForProductID:quantity:"};
inline constexpr Sel<Value(id)> startTime{"startTime"};
inline constexpr Sel<Value(id)> endTime{"endTime"};
inline constexpr Sel<Value(id)> summary{"summary"};
inline constexpr Sel<Value(id)> eventDescription{"eventDescription"};
// (class) the one formatter of the calendar dates.
inline constexpr Sel<Ref<Object>(id)> dateFormatter{"dateFormatter"};
// YBXApplication's store-sheet cache: (product ID) taken out; (sheet, product ID) given back.
inline constexpr Sel<Ref<Object>(id, Value)> cachedStoreProductViewControllerForProductID_{"cachedStoreProductViewControllerForProductID:"};
inline constexpr Sel<void(id, id, Value)> finishedUsingStoreProductViewController_forProductID_{
    "finishedUsingStoreProductViewController:forProductID:"};

// --- Native ads, their loaders and the native preprocessor ---------------------------------------------
inline constexpr Sel<Value(id)> headline{"headline"};
inline constexpr Sel<Value(id)> body{"body"};
inline constexpr Sel<Value(id)> callToAction{"callToAction"};
inline constexpr Sel<Value(id)> advertiser{"advertiser"};
inline constexpr Sel<Value(id)> store{"store"};
inline constexpr Sel<Value(id)> price{"price"};
inline constexpr Sel<Value(id)> attributionText{"attributionText"};
inline constexpr Sel<Value(id)> starRating{"starRating"};  // a decimal number
inline constexpr Sel<Ref<Object>(id)> icon{"icon"};
inline constexpr Sel<Ref<Object>(id)> logo{"logo"};
inline constexpr Sel<Ref<Object>(id)> attributionIcon{"attributionIcon"};
inline constexpr Sel<Ref<Object>(id)> imageURL{"imageURL"};
inline constexpr Sel<Ref<Object>(id)> iconURL{"iconURL"};
inline constexpr Sel<Ref<Object>(id)> logoURL{"logoURL"};
inline constexpr Sel<Ref<Object>(id)> attributionIconURL{"attributionIconURL"};
inline constexpr Sel<bool(id)> hasAttributionInformation{"hasAttributionInformation"};
inline constexpr Sel<bool(id)> hasRecordedImpression{"hasRecordedImpression"};
inline constexpr Sel<bool(id)> failedToLoadRequiredAssets{"failedToLoadRequiredAssets"};
inline constexpr Sel<Value(id)> impressionTrackingURLs{"impressionTrackingURLs"};
inline constexpr Sel<Value(id)> thirdPartyClickTrackingURLs{"thirdPartyClickTrackingURLs"};
inline constexpr Sel<Value(id)> orvaneClickTrackingURLString{"orvaneClickTrackingURLString"};
inline constexpr Sel<Value(id)> clickActions{"clickActions"};
inline constexpr Sel<Value(id)> adConfiguration{"adConfiguration"};
inline constexpr Sel<Ref<Object>(id)> loadingDelegate{"loadingDelegate"};
inline constexpr Sel<void(id, id)> setLoadingDelegate_{"setLoadingDelegate:"};
inline constexpr Sel<Value(id)> readAssets{"readAssets"};
inline constexpr Sel<Value(id)> completedAssets{"completedAssets"};
inline constexpr Sel<Value(id)> requestedAssets{"requestedAssets"};
inline constexpr Sel<Value(id)> adAssetActions{"adAssetActions"};
// (class) the ad object of an ad configuration, nil when there is none.
inline constexpr Sel<Value(id, Value)> firstAdObjectInAdConfigurationDictionary_{"firstAdObjectInAdConfigurationDictionary:"};
// (class) the native ad class for the ad object's format and template, null when none.
inline constexpr Sel<Class*(id, Value)> classFromAdConfigurationDictionary_{"classFromAdConfigurationDictionary:"};
inline constexpr Sel<Ref<Object>(id)> supportHTMLURL{"supportHTMLURL"};  // class method
inline constexpr Sel<Value(id)> clickActionTemplateID{"clickActionTemplateID"};
inline constexpr Sel<Value(id)> assetsRequiredToBeDisplayed{"assetsRequiredToBeDisplayed"};
inline constexpr Sel<Value(id)> requiredAssets{"requiredAssets"};
inline constexpr Sel<void(id, Value)> markAssetWithSelectorAsRead_{"markAssetWithSelectorAsRead:"};
inline constexpr Sel<void(id, Value)> performClickOnAsset_{"performClickOnAsset:"};
inline constexpr Sel<void(id)> recordImpression{"recordImpression"};
inline constexpr Sel<void(id)> loadAssets{"loadAssets"};
inline constexpr Sel<void(id, NSURL*, Value)> loadImageWithURL_forKey_{"loadImageWithURL:forKey:"};
// (URL, key, handler of the body: data or nil, and the error)
inline constexpr Sel<void(id, NSURL*, Value, std::function<void(Value, Ref<Object>)>)> loadContentAtURL_forKey_completionHandler_{
    "loadContentAtURL:forKey:completionHandler:"};
inline constexpr Sel<void(id, Value)> finishedLoadingAssetWithName_{"finishedLoadingAssetWithName:"};
inline constexpr Sel<void(id, Value)> failedToLoadAssetWithName_{"failedToLoadAssetWithName:"};
// YBXAdLoading (class methods but the last)
inline constexpr Sel<Value(id)> requiredDelegateProtocol{"requiredDelegateProtocol"};  // the protocol's name
inline constexpr Sel<Value(id, id)> requestParametersForAdLoader_{"requestParametersForAdLoader:"};
inline constexpr Sel<void(id, id)> didReceiveAdForAdLoader_{"didReceiveAdForAdLoader:"};
// YBXNativeAdDelegate
inline constexpr Sel<void(id, id)> nativeAdWillPresentScreen_{"nativeAdWillPresentScreen:"};
inline constexpr Sel<void(id, id)> nativeAdWillDismissScreen_{"nativeAdWillDismissScreen:"};
inline constexpr Sel<void(id, id)> nativeAdDidDismissScreen_{"nativeAdDidDismissScreen:"};
inline constexpr Sel<void(id, id)> nativeAdWillLeaveApplication_{"nativeAdWillLeaveApplication:"};
// YBXNativeAdLoadDelegate
inline constexpr Sel<void(id, id)> nativeAdDidFinishLoadingAssets_{"nativeAdDidFinishLoadingAssets:"};
inline constexpr Sel<void(id, id)> nativeAdDidFailToLoadRequiredAssets_{"nativeAdDidFailToLoadRequiredAssets:"};
// YBXAdLoaderDelegate and its per-format protocols
inline constexpr Sel<void(id, id, id)> adLoader_didFailToReceiveAdWithError_{"adLoader:didFailToReceiveAdWithError:"};
inline constexpr Sel<void(id, id, id)> adLoader_didReceiveNativeAppInstallAd_{"adLoader:didReceiveNativeAppInstallAd:"};
inline constexpr Sel<void(id, id, id)> adLoader_didReceiveNativeContentAd_{"adLoader:didReceiveNativeContentAd:"};
// YBXAdLoader; the types an array of ad type texts.
inline constexpr Sel<Ref<Object>(id, Value, id, Value)> initWithAdUnitID_rootViewController_adTypes_{"initWithAdUnitID:rootViewController:adTypes:"};
inline constexpr Sel<Value(id)> adTypes{"adTypes"};
// (delegate, class, error out) whether the delegate takes ads of the class.
inline constexpr Sel<bool(id, id, Class*, Ref<Object>*)> delegate_isValidForAdClass_error_{"delegate:isValidForAdClass:error:"};
inline constexpr Sel<Value(id)> appEventAdLoaders{"appEventAdLoaders"};
inline constexpr Sel<Value(id)> adPreprocessors{"adPreprocessors"};
inline constexpr Sel<Value(id)> nativeAds{"nativeAds"};
// YBXAppEventAdLoaderDelegate
inline constexpr Sel<void(id, id, id)> appEventAdLoader_didReceiveAd_{"appEventAdLoader:didReceiveAd:"};
inline constexpr Sel<void(id, id, id)> appEventAdLoader_didFailToReceiveAdWithError_{"appEventAdLoader:didFailToReceiveAdWithError:"};
inline constexpr Sel<Ref<Object>(id, id)> adLoaderForAppEventAdLoader_{"adLoaderForAppEventAdLoader:"};
// YBXAppEventAdLoader
inline constexpr Sel<Ref<Object>(id)> loadingBannerView{"loadingBannerView"};
inline constexpr Sel<Ref<Object>(id)> loadingNativeAd{"loadingNativeAd"};
inline constexpr Sel<void(id)> cancelBannerView{"cancelBannerView"};
inline constexpr Sel<void(id)> cancelNativeAd{"cancelNativeAd"};
inline constexpr Sel<void(id, Value, Value, id)> loadAssetsForAdConfiguration_adUnitID_slot_{"loadAssetsForAdConfiguration:adUnitID:slot:"};
inline constexpr Sel<void(id, id)> failedToLoadAdWithError_{"failedToLoadAdWithError:"};
// YBXAppEventDelegate and QRTBannerView
inline constexpr Sel<void(id, id, Value, Value)> adView_didReceiveAppEvent_withInfo_{"adView:didReceiveAppEvent:withInfo:"};
inline constexpr Sel<Ref<Object>(id)> appEventDelegate{"appEventDelegate"};
inline constexpr Sel<void(id, id)> setAppEventDelegate_{"setAppEventDelegate:"};
inline constexpr Sel<bool(id)> enableManualImpressions{"enableManualImpressions"};
inline constexpr Sel<void(id, bool)> setEnableManualImpressions_{"setEnableManualImpressions:"};
// YBXAdPreprocessor; the handler gets the configuration, the slot and the error.
using YBXPreprocessorCompletion = std::function<void(Value, Ref<Object>, Ref<Object>)>;
inline constexpr Sel<Ref<Object>(id, Value)> initWithAdUnitID_{"initWithAdUnitID:"};
inline constexpr Sel<void(id, Value, YBXPreprocessorCompletion)> preprocessNativeAdJSON_completionHandler_{
    "preprocessNativeAdJSON:completionHandler:"};
inline constexpr Sel<void(id, id)> handlePreprocessorNotification_{"handlePreprocessorNotification:"};
inline constexpr Sel<Value(id)> nativeAdJSON{"nativeAdJSON"};

// --- Publisher ad variants and custom rendering ------------------------------------------------------
// QRTBannerView: sizes, the size delegate (YBXAdSizeDelegate), the raw-HTML delegate.
inline constexpr Sel<Ref<Object>(id)> adSizeDelegate{"adSizeDelegate"};
inline constexpr Sel<void(id, id)> setAdSizeDelegate_{"setAdSizeDelegate:"};
inline constexpr Sel<void(id, id, YBXAdSize)> adView_willChangeAdSizeTo_{"adView:willChangeAdSizeTo:"};
inline constexpr Sel<void(id, Value)> setValidAdSizes_{"setValidAdSizes:"};
// (pointers to sizes, the last one null)
inline constexpr Sel<void(id, const YBXAdSize* const*)> setValidAdSizesWithSizes_{"setValidAdSizesWithSizes:"};
inline constexpr Sel<void(id, YBXAdSize)> resize_{"resize:"};
inline constexpr Sel<Ref<Object>(id)> rawHTMLBannerViewDelegate{"rawHTMLBannerViewDelegate"};
inline constexpr Sel<void(id, id)> setRawHTMLBannerViewDelegate_{"setRawHTMLBannerViewDelegate:"};
// QRTRawHTMLBannerViewDelegate: (banner, HTML, base URL) and (banner, raw ad).
inline constexpr Sel<bool(id, id, Value, id)> bannerView_shouldUseCustomRenderingForAdHTML_baseURL_{
    "bannerView:shouldUseCustomRenderingForAdHTML:baseURL:"};
inline constexpr Sel<void(id, id, id)> bannerView_renderRawHTMLAd_{"bannerView:renderRawHTMLAd:"};
// QRTSwipeableBannerView
inline constexpr Sel<Ref<Object>(id)> swipeDelegate{"swipeDelegate"};
inline constexpr Sel<void(id, id)> setSwipeDelegate_{"setSwipeDelegate:"};
// QRTInterstitial and QRTRawHTMLInterstitialViewDelegate
inline constexpr Sel<bool(id)> customAdRenderingEnabled{"customAdRenderingEnabled"};
inline constexpr Sel<void(id, bool)> setCustomAdRenderingEnabled_{"setCustomAdRenderingEnabled:"};
inline constexpr Sel<Ref<Object>(id)> rawHTMLInterstitialDelegate{"rawHTMLInterstitialDelegate"};
inline constexpr Sel<void(id, id)> setRawHTMLInterstitialDelegate_{"setRawHTMLInterstitialDelegate:"};
inline constexpr Sel<void(id, id, Value, Value)> interstitial_didReceiveAppEvent_withInfo_{"interstitial:didReceiveAppEvent:withInfo:"};
inline constexpr Sel<bool(id, id, Value, id)> interstitial_shouldUseCustomRenderingForAdHTML_baseURL_{
    "interstitial:shouldUseCustomRenderingForAdHTML:baseURL:"};
inline constexpr Sel<void(id, id, id)> interstitial_renderRawHTMLAd_{"interstitial:renderRawHTMLAd:"};
// QRTRawHTMLAd and QRTRawHTMLAdDelegate (the banner's and interstitial's RawHTMLAd category)
inline constexpr Sel<Ref<Object>(id, Value, id)> initWithAdHTML_adBaseURL_{"initWithAdHTML:adBaseURL:"};
inline constexpr Sel<void(id)> recordClick{"recordClick"};
inline constexpr Sel<void(id)> recordCustomAdImpression{"recordCustomAdImpression"};
inline constexpr Sel<void(id, id)> finishedRenderingAdView_{"finishedRenderingAdView:"};

// YBXJSContainer and its delegate (YBXJSContainerDelegate, every method optional)
inline constexpr Sel<Ref<Object>(id, id, Value)> initWithURL_fallbackData_{"initWithURL:fallbackData:"};
inline constexpr Sel<Ref<Object>(id, id, Value, id)> initWithURL_fallbackData_webView_{"initWithURL:fallbackData:webView:"};
inline constexpr Sel<bool(id, std::string)> invokeJavaScriptFromString_{"invokeJavaScriptFromString:"};
inline constexpr Sel<Ref<Object>(id)> remoteURL{"remoteURL"};
inline constexpr Sel<Value(id)> fallbackData{"fallbackData"};
inline constexpr Sel<Value(id)> pendingExpressions{"pendingExpressions"};
inline constexpr Sel<bool(id)> initialLoadSequence{"initialLoadSequence"};
inline constexpr Sel<bool(id)> failureLoadSequence{"failureLoadSequence"};
inline constexpr Sel<bool(id)> loaded{"loaded"};
inline constexpr Sel<void(id, id)> didStartLoadInJSContainer_{"didStartLoadInJSContainer:"};
inline constexpr Sel<void(id, id)> didFinishLoadInJSContainer_{"didFinishLoadInJSContainer:"};
inline constexpr Sel<bool(id, id, id, long long)> container_shouldStartLoadWithRequest_navigationType_{
    "container:shouldStartLoadWithRequest:navigationType:"};
// QRTCoreController
inline constexpr Sel<Ref<Object>(id, Value, Value)> initWithURLString_fallbackString_{"initWithURLString:fallbackString:"};
inline constexpr Sel<void(id, id, id)> reportActivityWithMetadata_request_{"reportActivityWithMetadata:request:"};
inline constexpr Sel<Ref<Object>(id)> container{"container"};
// QRTActivityReporter
inline constexpr Sel<Ref<Object>(id)> controller{"controller"};
inline constexpr Sel<void(id, Value, Value)> reportWithAdUnitID_customParameters_{"reportWithAdUnitID:customParameters:"};
inline constexpr Sel<void(id, id)> reportWithRequest_{"reportWithRequest:"};
// QRTActivityRequest and QRTCoreMetadata (YBXJSONSerializable)
inline constexpr Sel<Ref<Object>(id, Value, Value, Value)> requestWithAdUnitID_publisherProvidedID_customParameters_{
    "requestWithAdUnitID:publisherProvidedID:customParameters:"};
inline constexpr Sel<Ref<Object>(id, Value, Value, Value)> initWithAdUnitID_publisherProvidedID_customParameters_{
    "initWithAdUnitID:publisherProvidedID:customParameters:"};
inline constexpr Sel<Value(id)> customParameters{"customParameters"};
inline constexpr Sel<std::string(id)> JSONStringValue{"JSONStringValue"};
inline constexpr Sel<Value(id)> SDKVersion{"SDKVersion"};  // class method

}  // namespace sel
}  // namespace adlib
