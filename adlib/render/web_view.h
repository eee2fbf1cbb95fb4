// YBXWebView: the view in which the library shows its pages. It wraps an
// inner UIWebView, whose delegate it is, and hands the inner view's load
// events to its own delegate (weak, every method optional) with itself in
// place of the inner view. It keeps its landing URL in the ad URL stash,
// tells the page its orientation, opens a debug dialog on a zig-zag of one
// finger, and gives its inner view back to the process-wide cache when it
// goes. YBXBrowserWebView is the in-app browser's kind. Main thread only; the
// viewability flag may be read from any thread.
#pragma once

#include <atomic>

#include "adlib/foundation/selectors.h"
#include "platform/uikit/view.h"
#include "platform/webkit/web_view.h"

namespace adlib {

// The request that opens the publisher toolbar from the debug dialog; the
// navigation policy recognises it.
inline constexpr const char* kYBXPublisherToolbarSentinelURL = "publisherToolbar://toolbar";
inline constexpr const char* kYBXWebViewCacheCapacityKey = "ybx_web_view_cache_max_capacity";

class YBXWebView : public UIView {
public:
    ~YBXWebView() override;

    void setUp();
    void reset();
    void createGestureRecognizer();
    void setURL(NSURL* url, id view);
    void notifyOfSdkEvent(const std::string& event);
    void setHTMLWindowOrientation(long long orientation, bool dispatchChangeEvent);
    void saveState();
    void restoreState();
    void showDebugDialog();
    void debugDialogClicked(long long index);
    bool shouldStartLoad(NSURLRequest* request, long long navigationType);

    Ref<UIWebView> webView_;
    WeakRef<Object> delegate_;
    WeakRef<Object> viewController_;
    // The user touched the page since the last ad was loaded; clicks count only then.
    bool touched_ = false;
    bool showDebug_ = true;
    Value adDebugDialog_;
    bool didReceiveLoadEvent_ = false;
    long long orientation_ = 0;
    Ref<Object> gestureDelegate_;
    Ref<Object> gesture_;
    Ref<Object> alertView_;
    Ref<NSURL> URL_;
    bool savedState_ = false;
    Rect savedFrame_;
    Ref<Object> savedSuperview_;
    WeakRef<Object> savedDelegate_;
    WeakRef<Object> viewControllerBeforeExpanded_;
    // Set by the viewability monitor once its page has said goodbye; walked by
    // the SDK-core controller on its own queue.
    std::atomic<bool> optoraUnloadPingReceived_{false};
    // Kept for the viewability monitor; the observer is a YBXWebViewOptoraMonitoring.
    bool optoraVisibility_ = false;
    WeakRef<Object> optoraObserver_;
};

// The one process-wide cache of inner views, made on first use.
Ref<Object> YBXWebViewCache();

void registerWebViewClass();

}  // namespace adlib
