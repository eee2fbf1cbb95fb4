// YBXWebView: the view in which the library shows its pages. It wraps an
// inner UIWebView, whose delegate it is, and hands the inner view's load
// events to its own delegate (weak, every method optional) with itself in
// place of the inner view. Main thread only; the viewability flag may be read
// from any thread.
#pragma once

#include <atomic>

#include "adlib/foundation/selectors.h"
#include "platform/uikit/view.h"
#include "platform/webkit/web_view.h"

namespace adlib {

class YBXWebView : public UIView {
public:
    ~YBXWebView() override;

    // The inner view: made with the frame, filling the view.
    void setUpInnerView();
    bool shouldStartLoad(NSURLRequest* request, long long navigationType);

    Ref<UIWebView> webView_;
    WeakRef<Object> delegate_;
    // The user touched the page since the last ad was loaded; clicks count only then.
    bool touched_ = false;
    // Set by the viewability monitor once its page has said goodbye; walked by
    // the SDK-core controller on its own queue.
    std::atomic<bool> optoraUnloadPingReceived_{false};
};

void registerWebViewClass();

}  // namespace adlib
