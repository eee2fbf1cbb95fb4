// YBXSDKCoreWebView: the ad server's SDK-core page in a hidden web view. It
// loads the page, keeps whether it is loading, loaded or failed, tells
// one-time observers (YBXSDKCoreWebViewNotification) on the main queue when a
// load attempt ends, and runs script commands in order once the page has
// loaded. The page's "pmsg" answers go to YBXSDKCorePMSGHandler, which calls
// its delegate (YBXSDKCorePMSGHandlerDelegate) on the main queue.
//
// Any thread. State, flag, commands and observers live on the lock queue
// (reads wait, writes do not); loads and command dispatch run on the command
// queue; the web view is touched on the main thread only, synchronously from
// the command queue, and the main thread never waits on the command queue.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "adlib/foundation/selectors.h"
#include "adlib/render/pmsg_handler.h"
#include "adlib/render/web_view.h"
#include "platform/foundation/dispatch.h"

namespace adlib {

enum YBXSDKCoreWebViewState : long long {
    YBXSDKCoreWebViewStateNotLoaded = 0,
    YBXSDKCoreWebViewStateLoading = 1,
    YBXSDKCoreWebViewStateLoaded = 2,
    YBXSDKCoreWebViewStateFailed = 3,
};

// Commands waiting for the loaded page; beyond this the oldest goes.
inline constexpr std::size_t kYBXSDKCoreMaxPendingJSCommands = 50;

class YBXSDKCorePMSGHandler : public YBXPMSGHandler {
public:
    static const Value& actionSelectorDictionary();
    WeakRef<Object> delegate_;
};

class YBXSDKCoreWebView : public NSObject {
public:
    ~YBXSDKCoreWebView() override;

    void setUp();
    long long state();
    bool hasSDKCoreLoadedAtLeastOnce();
    void setState(long long state);
    void setHasSDKCoreLoadedAtLeastOnce(bool loaded);
    void refreshSDKCore();
    void addObserverForOneTimeNotification(id observer);
    void removeObserver(id observer);
    void notifyAllObserversOnlyOnceThatSDKCoreRequestIsFinished();
    void executeJavaScriptCommand(const std::string& command);
    void executePendingJavaScriptCommands();
    void dispatchPendingJavaScriptCommands();

    // The web view's delegate, on the main thread.
    bool shouldStartLoad(NSURLRequest* request, long long navigationType);
    void didFinishLoad();
    void didFailLoad(NSError* error);

    YBXWebView* webView() const { return webView_.get(); }
    YBXSDKCorePMSGHandler* handler() const { return handler_.get(); }
    // For tests that drain the queues themselves.
    dispatch_queue_t lockQueue() const { return lockQueue_; }
    dispatch_queue_t commandQueue() const { return commandQueue_; }

private:
    dispatch_queue_t lockQueue_ = nullptr;
    dispatch_queue_t commandQueue_ = nullptr;
    // Made in setUp, then only read.
    Ref<YBXWebView> webView_;
    Ref<Object> webViewDelegate_;
    Ref<YBXSDKCorePMSGHandler> handler_;
    // Only on lockQueue_.
    long long state_ = YBXSDKCoreWebViewStateNotLoaded;
    bool hasSDKCoreLoadedAtLeastOnce_ = false;
    std::deque<std::string> pendingJSCommands_;
    std::vector<Ref<Object>> observers_;  // a set
};

void registerSDKCoreWebViewClasses();

}  // namespace adlib
