// YBXWebAppWebViewDelegate: the delegate of a full-screen web app, expanded
// banner or transparent interstitial. It sends the page "onshow" once, when
// both the page has loaded and the controller asked for it, and times the
// landing page. Keeps its controller weakly. Main thread.
#pragma once

#include "adlib/render/web_view_delegate.h"

namespace adlib {

inline constexpr const char* kYBXLandingPageLoadStart = "tlanding_page_load_start";
inline constexpr const char* kYBXLandingPageLoadEnd = "tlanding_page_load_end";

class YBXWebAppWebViewDelegate : public YBXWebViewDelegate {
public:
    bool isTwoPieceExpandable();
    void postOnShowEvent();

    WeakRef<Object> webAppViewController_;
    bool pendingOnShow_ = false;
    bool calledOnShow_ = false;
};

// The ad statistics of a slot's ad, or null.
Ref<Object> adStatisticsOf(id slot);
// Marks the landing page's load start in the statistics, once.
void markLandingPageLoadStart(id slot);
void markLandingPageLoadEnd(id slot);

void registerWebAppWebViewDelegateClass();

}  // namespace adlib
