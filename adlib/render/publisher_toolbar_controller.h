// YBXPublisherToolbarController: the full-screen page on which the
// publisher inspects the ad on show. It downloads the ad server's toolbar
// script, runs it in a hidden web view with the ad's HTML, ad unit ID and any
// stored credentials, and shows the sign-in page the script asks for; what
// the script answers through pmsg messages stores credentials and shows its
// page. Only the script's own page may send those messages. Main thread.
#pragma once

#include <string>

#include "adlib/foundation/cached_file.h"
#include "adlib/render/publisher_toolbar_credentials.h"
#include "adlib/render/view_controller.h"
#include "platform/uikit/activity_indicator.h"
#include "platform/webkit/web_view.h"

namespace adlib {

inline constexpr const char* kYBXToolbarScriptPath = "/toolbar/sdk-publisher-toolbar.js";
inline constexpr const char* kYBXToolbarInitializeFunction = "KESTRA_initializeToolbar";
inline constexpr const char* kYBXToolbarDecodeImpressionFunction = "KESTRA_decodeImpression";
inline constexpr double kYBXToolbarBarHeight = 30;

class YBXPublisherToolbarController : public YBXViewController {
public:
    ~YBXPublisherToolbarController() override;

    void setUp(const Value& adContent, const Value& adUnitID);
    void viewWillAppear();
    void configureWebView(UIWebView* webView);
    void configureSpinny();
    void createWebViewToolbar();
    void loadJavaScript();
    void scriptDownloaded();
    // method(argument); a wrapped argument goes between single quotes.
    void callJavaScriptMethod(const std::string& method, const Value& argument, bool wrapped);
    void launchToolbar();
    void loadAuthenticationUri(const Value& text);
    void decodeImpression(const Value& title);
    bool shouldStartLoad(id webView, NSURLRequest* request);
    void didFinishLoad(id webView);

    Value adContent_;
    Value adUnitID_;
    Ref<YBXPublisherToolbarCredentials> credentials_;
    Ref<YBXCachedFile> helperJS_;
    Ref<UIWebView> jsWebView_;
    Ref<UIWebView> oauthWebView_;
    Ref<UIActivityIndicatorView> spinnyWheel_;
};

void registerPublisherToolbarControllerClass();

}  // namespace adlib
