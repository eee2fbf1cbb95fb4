// YBXWebViewDelegate: the library's standard delegate of its web views. It
// decides each navigation a page attempts, turns creative messages into
// calls on its handlers (every handler gets every message, on the main
// queue in the order the page sent them; one no handler took becomes a
// library notification), hands mail, SMS and other-app links to its opener
// and announces page loads. The banner, web-app and browser delegates build
// on it. Main thread only.
#pragma once

#include <vector>

#include "adlib/foundation/selectors.h"
#include "platform/network/request.h"

namespace adlib {

inline constexpr const char* kYBXDidReceiveWebAction = "didReceiveWebAction";
inline constexpr const char* kYBXWebViewDidFinishLoad = "webViewDidFinishLoad";
inline constexpr const char* kYBXWebViewDidFailLoad = "webViewDidFailLoad";

class YBXWebViewDelegate : public NSObject {
public:
    ~YBXWebViewDelegate() override;

    // What the navigation policy decided, before the URL is registered.
    struct Decision {
        bool allowed = false;
        // An http(s) main-frame page that this web view will show.
        bool registers = false;
    };

    void setUp();
    Decision decide(id webView, NSURLRequest* request, long long navigationType);
    // Registers the page of an allowed decision in the ad URL stash; answers whether it is allowed.
    static bool commit(const Decision& decision, id webView, NSURLRequest* request);
    void handlePMSGRequest(NSURLRequest* request, id webView);
    void didFinishLoad(id webView);
    void didFailLoad(id webView);

    Ref<Object> opener_;
    Ref<Object> openerPMSGHandler_;
    std::vector<Ref<Object>> pmsgHandlers_;
    bool hasLoadedAtLeastOnce_ = false;
    bool fileAccessAllowed_ = false;
};

// Whether a lower-case scheme begins with "http" (http, https and their kin).
bool beginsWithHTTP(const std::string& scheme);

void registerWebViewDelegateClass();

}  // namespace adlib
