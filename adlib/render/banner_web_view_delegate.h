// YBXBannerWebViewDelegate: the delegate of a slot's ad web view. It tells a
// user's click from the page's own navigation (a touch, a moment after the
// load, the slot not busy), opens clicks through the opener with the slot's
// click URL, and reports the creative's load and failure to the slot. Keeps
// its slot weakly. Main thread.
#pragma once

#include "adlib/render/web_view_delegate.h"

namespace adlib {

// How long after an ad has loaded a navigation can be the user's click.
inline constexpr double kYBXClickDelayMilliseconds = 150.0;

class YBXBannerWebViewDelegate : public YBXWebViewDelegate {
public:
    bool isClick(long long navigationType);
    bool shouldStartLoad(id webView, NSURLRequest* request, long long navigationType);
    void didFinishLoad(id webView);
    void didFailLoad(id webView, id error);

    WeakRef<Object> slot_;
};

void registerBannerWebViewDelegateClass();

}  // namespace adlib
