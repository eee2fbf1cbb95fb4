// YBXSlot: the controller behind every banner view and interstitial. It drives
// one request at a time through its numbered states (idle, asking the SDK-core
// page for the ad URL, fetching, rendering, valid, failed, invalidated),
// schedules the one-shot refresh, decorates click URLs and reports to its
// delegates. Main thread only (checked in debug builds); the SDK-core
// controller's calls from its request queue hop there.
#pragma once

#include <string_view>

#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/selectors.h"
#include "platform/foundation/timer.h"

namespace adlib {

// Slot states; only setState: writes them.
enum YBXSlotState : long long {
    YBXSlotStateIdle = 0,
    YBXSlotStateSDKCoreFailed = 1,
    YBXSlotStateRequestingAdURL = 2,
    YBXSlotStateAdURLReceived = 3,
    YBXSlotStateFetching = 4,
    YBXSlotStateRendering = 5,
    YBXSlotStateValidAd = 6,
    YBXSlotStateFailed = 7,
    YBXSlotStateInvalidated = 8,
};

// The ad-server hosts whose click URLs get the click signal when the SDK
// constants name none: the hosts of the configured ad-server base URLs.
Value YBXBuiltInAdServerDomains();

class YBXSlot : public NSObject {
public:
    ~YBXSlot() override;

    void setUp(Rect frame);

    void setState(long long state);
    bool shouldMakeRequest() const;
    bool isMakingRequest() const;
    // The request road; YES when the request was started (not refused).
    bool loadRequest(id request, bool autoRefresh);
    bool reloadCurrentRequest();
    void setAdType(id adType, bool reload);
    void cancelPendingActions();
    void cancelPendingAndFutureActions();

    void scheduleReloadTimer(double interval);
    void deactivateReloadTimer();

    void didFailToReceiveAdWithError(id error, bool shouldReloadTimer, bool shouldCancelPendingActions);
    void adFailedToReceiveContentWithError(id error);
    // Response processing (slot_response.cpp).
    void loadAd(id ad, const Value& headers);
    void resetRequestState();
    void didFetchAd(id fetcher, id ad);
    void didFailToFetchAd(id error);
    bool didReceiveAd(id ad);
    void processAdResponse(id ad);
    void processCustomRenderingAdResponse(id ad);
    void processMediationAdResponse(id ad);
    void setViewForAdUsingView(id view);
    static bool validateAdResponseWithAdSize(const YBXAdSize& size, const Value& validSizes);
    bool isInterstitialType() const;
    bool isMediating() const;
    // The ad's statistics (a YBXStatisticDictionary) or null.
    Ref<Object> statisticsOf(id ad) const;

    Ref<NSURL> spamClickURLWithURL(NSURL* url);
    static bool isOrvaneAdURL(const NSURL* url);

    // The SDK-core answers (YBXSDKCoreControllerDelegate).
    Value requestParameters();
    Value requestParametersOnMainThread();
    void loadAdURLWithParameters(const Value& parameters);
    // An answer of the page counts only while this slot waits for it.
    bool isWaitingForSDKCore() const;
    // Hands the pending ad statistics back to the application, once.
    void handBackPendingAdStatistics();

    // YBXSlot(MRAID): the events sent into an MRAID creative.
    void willLoadMRAIDAd();
    void didLoadMRAIDAd();
    void notifyMRAIDCreativeWithVisibility(bool visible);
    void notifyOrientationToMRAIDCreative();
    void notifyDeviceFeatures();
    void SDKDidBecomeReady();
    // YBXSlot(DeviceOrientation): the creative's window rectangle, watched
    // while an MRAID ad is shown.
    void beginListeningToDeviceOrientationChangeEvent();
    void endListeningToDeviceOrientationChangeEvent();
    void addCreativeOrientationChangeObserver(id observer, SEL selector);
    void didChangeDeviceOrientation();
    // YBXSlot(OptoraMonitor): the viewability reports (slot_optora.cpp).
    void resetOptoraReporting();
    void finishOptoraReporting();
    // The same from the slot's destructor, which may run on another thread.
    void finishOptoraReportingOnTeardown();
    void optoraMonitorWillUnload();
    void didRefreshOptoraMonitor(id monitor);
    static Value optoraJSCommandWithParams(const Value& parameters);
    Value optoraParameters(id monitor, bool unloaded);
    Value adFormat();
    static Value dictionaryForBounds(Rect bounds);
    bool canEnableOptoraMonitoring();
    bool monitoredViewIsSubviewOfDeviceScreen();
    void webViewDidChangeOptoraVisibility(id webView);
    // What a report unit reads of the slot, taken on the slot's thread.
    struct OptoraUnitSource {
        Ref<Object> view;
        Value configuration;
        unsigned long long sequenceNumber = 0;
        Value format;
    };
    OptoraUnitSource optoraUnitSource() const;
    static Value optoraReport(id monitor, const OptoraUnitSource& source, bool unloaded);
    static void endOptoraReporting(Ref<Object> monitor, Ref<Object> page, const OptoraUnitSource& source);
    static void sendOptoraReport(id page, const Value& parameters);

    long long state_ = YBXSlotStateIdle;
    bool hasAutoRefreshed_ = false;
    bool manualImpressionsEnabled_ = false;
    bool calledLoadAndDisplayRequest_ = false;
    bool reloadable_ = true;
    bool isListeningToDeviceOrientationChangeEvent_ = false;
    // The web view's bounds in window coordinates when last looked at.
    Rect creativeViewBounds_{};
    bool swipeToViewControllerEnabled_ = false;
    bool swipeToViewControllerAnimationControllerInitialized_ = false;
    // Whether the current request is counted by the MRAID interceptor.
    bool countedByInterceptor_ = false;
    WeakRef<Object> slotDelegate_;
    WeakRef<Object> adEventDelegate_;
    WeakRef<Object> adResponseDelegate_;
    Value adUnitID_;
    Ref<Object> ad_;
    Ref<Object> adType_;
    Ref<Object> request_;
    double timeLastLoaded_ = 0;
    Ref<Object> webView_;
    Ref<Object> slotStats_;
    Ref<Object> webViewDelegate_;
    Ref<Object> loadingAd_;
    Ref<Object> adFetcher_;
    Value applicationStatistics_;
    // YBXStatisticDictionary objects taken for the request in flight.
    Value pendingAdStatistics_;
    double reloadInterval_ = 0;
    Ref<NSTimer> reloadTimer_;
    Value requestID_;
    WeakRef<Object> interstitial_;
    Size newAdSize_{};
    Ref<Object> adMediationGlue_;
    Ref<Object> optoraMonitor_;
    unsigned long long optoraMonitorSequenceNumber_ = 0;
    WeakRef<Object> optoraMonitoredView_;
    // The SDK-core page (YBXSDKCoreWebView) that receives this ad's reports.
    Ref<Object> SDKCoreWebView_;
};

void registerSlotClass();
// The slot's YBXSDKCoreControllerDelegate category.
void registerSlotSDKCoreCategory(Class* slotClass);
// Its response processing, as fetcher delegate and as its own response delegate.
void registerSlotResponseCategory(Class* slotClass);
// The slot's MRAID and DeviceOrientation categories.
void registerSlotMRAIDCategories(Class* slotClass);
// The slot's OptoraMonitor category.
void registerSlotOptoraCategory(Class* slotClass);

// Posted on the default centre, with the slot as object, when its creative's
// window rectangle changed.
inline constexpr const char* kYBXSlotCreativeOrientationChanged = "ybx_slot_creative_orientation_changed";

}  // namespace adlib
