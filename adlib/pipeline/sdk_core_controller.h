// YBXSDKCoreController: the one native side of the ad server's SDK-core page.
// It keeps the page fresh (reloaded when it was never loaded, failed, or is
// over an hour old), queues requesters (YBXSDKCoreControllerDelegate) until
// the page is ready, numbers their requests, sends "KESTRA_buildAdURL" and
// routes each answer back to the requester that asked, on the main queue. It
// applies the page's SDK constants, and keeps the viewability pages running
// until their unload ping.
//
// A process-wide singleton, made on the main thread on first use. Requesters
// are held weakly. Its fields live on the lock queue; requests are numbered
// and built on the request queue, where the requester's setRequestID: and
// requestParameters run. The main thread never waits on the request queue,
// and no block of the lock queue waits for the main thread.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "adlib/foundation/selectors.h"
#include "adlib/pipeline/sdk_core_web_view.h"
#include "platform/foundation/dispatch.h"

namespace adlib {

// A sent request that no answer reached in this many seconds is failed.
inline constexpr double kYBXSDKCoreRequestDeadline = 10.0;
// The page is reloaded once it is older than this many milliseconds.
inline constexpr std::uint64_t kYBXSDKCoreRefreshAge = 3'600'001;
// Viewability pages kept running at most.
inline constexpr std::size_t kYBXMaxRunningOptoraWebViews = 4;

class YBXSDKCoreController : public NSObject {
public:
    // Null when the class is not registered.
    static YBXSDKCoreController* sharedInstance();

    void setUp();
    void buildAdURL(id requester);
    void refreshActiveWebViewSDKCore();
    void asynchronouslyRequestURLForDelegate(id requester);
    static Value adRequestParameterJSONFromParameters(const Value& parameters);
    void didFinishLoadingSDKCoreInSDKCoreWebView(YBXSDKCoreWebView* page);
    void observeSDKCoreWebViewForSDKCoreLoadRequestCompleted();

    // The page's answers, on the main thread.
    void loadAdParameters(const Value& parameters, const Value& requestID);
    void loadAd(id ad, const Value& headers, const Value& requestID);
    void didReceiveInvalidAdParameters(const Value& parameters, const Value& requestID);
    void loadSDKConstants(const Value& constants);

    Value optoraMonitorRefreshIntervals();
    void setOptoraMonitorRefreshIntervals(const Value& intervals);
    YBXSDKCoreWebView* activeSDKCoreWebView() const { return activeSDKCoreWebView_.get(); }

    // Viewability pages.
    Ref<YBXSDKCoreWebView> nextSDKCoreWebView();
    void finishedUsingSDKCoreWebView(YBXSDKCoreWebView* page);
    void cacheRunningOptoraWebView(YBXSDKCoreWebView* page);
    void removeFinishedOptoraWebViews();

    // For tests that drain the queues themselves.
    dispatch_queue_t lockQueue() const { return lockQueue_; }
    dispatch_queue_t requestURLQueue() const { return requestURLQueue_; }

private:
    void requestURLForRequester(WeakRef<Object> requester);
    void sendRequest(id requester, const WeakRef<Object>& weakRequester);
    // On the lock queue.
    void refreshOnLockQueue();
    void appendWaitingRequester(const WeakRef<Object>& requester);
    // Takes the requester of an answer off the pending list, synchronously on the lock queue.
    WeakRef<Object> takeRequester(const Value& requestID);

    dispatch_queue_t lockQueue_ = nullptr;
    dispatch_queue_t requestURLQueue_ = nullptr;
    // Made in setUp, then only read.
    Ref<YBXSDKCoreWebView> activeSDKCoreWebView_;
    // Only on the request queue.
    std::uint64_t requestID_ = 1;
    // Only on the lock queue.
    std::vector<WeakRef<Object>> pendingActiveWebViewLoadDelegates_;
    std::map<std::string, WeakRef<Object>> pendingBuildAdURLDelegates_;
    bool SDKConstantsNeedReload_ = true;
    std::vector<Ref<YBXSDKCoreWebView>> optoraSDKCoreWebViews_;
    std::uint64_t lastWebViewRefreshTimestamp_ = 0;
    Value optoraMonitorRefreshIntervals_;
};

void registerSDKCoreControllerClass();

}  // namespace adlib
