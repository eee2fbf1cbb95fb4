// YBXBrowserViewController: the in-app browser. A browser web view over a
// bottom toolbar with back, forward, reload (a spinner while loading), open in
// Safari and Done. Its view is built on the first viewWillAppear:; a page asked
// for before that is kept and loaded then. Main thread only.
#pragma once

#include "adlib/render/view_controller.h"
#include "platform/network/url.h"

namespace adlib {

inline constexpr const char* kYBXBrowserSafariOpenedStat = "pcbo";

class YBXBrowserViewController : public YBXViewController {
public:
    ~YBXBrowserViewController() override;

    void load(NSURL* url, NSURL* referringURL);
    void construct();
    void refreshToolbar();
    void openInSafari();

    Ref<Object> webView_;
    Ref<Object> webViewDelegate_;
    Ref<NSURL> URLToLoad_;
    Ref<NSURL> referringURLToLoad_;
    Ref<Object> toolbar_;
    Ref<Object> flexibleSpaceButton_;
    Ref<Object> backButton_;
    Ref<Object> forwardButton_;
    Ref<Object> reloadButton_;
    Ref<Object> safariButton_;
    Ref<Object> doneButton_;
    Ref<Object> spinnerContainingButton_;
    Ref<Object> spinner_;
};

void registerBrowserViewControllerClass();

}  // namespace adlib
