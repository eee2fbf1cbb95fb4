// YBXOpener: carries out every destination a creative or a click leads to:
// the App Store sheet (at once or once the product has loaded), an in-app
// purchase, the in-app browser, a web app from a URL or from HTML, expansion
// of the creative's own web view, the mail and SMS composers, a calendar
// event, another app or Safari, and the publisher toolbar. Every opening
// passes the auto-click gate: when the server marked the ad as protected,
// nothing opens unless the user touched the ad's web view. Each web view
// delegate owns one; everything it points at is held weakly. It delegates
// for the sheets it shows. Main thread only.
#pragma once

#include <map>
#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/network/url.h"

namespace adlib {

// How long a composer waits for its full-screen controller to appear before it asks again.
inline constexpr double kYBXComposerRetryDelay = 0.25;

class YBXOpener : public NSObject {
public:
    // Hands the preloaded sheets that were never shown to the process's store-sheet cache.
    ~YBXOpener() override;

    bool shouldPerformOpenAction();
    bool checkStateWithParamter(const Value& object);
    void didOpen();
    void didOpenInApp();
    void didOpenExternalApp();

    void openApp(NSURL* url);
    void openInAppStore(const Value& productID, NSURL* fallbackURL);
    void openInAppStoreWithProductID(const Value& productID, NSURL* fallbackURL, bool shouldWaitForFetch);
    Ref<Object> fetchInAppStoreForProductID(const Value& productID);
    void openInAppPurchase(const Value& productID, long long quantity, const Value& reportingURLStringFormats);
    void openBrowserToURL(NSURL* url, long long orientations);
    Ref<Object> overlayWithWebView(id webView, long long orientations, bool useCustomClose);
    // The MRAID resize: the creative takes the size at the offset from where
    // it shows, lifted over the presenter's view; its banner takes it back
    // with its next ad.
    void resizeWebView(Size size, Point offset);
    void openWebApp(NSURL* url, long long orientations, bool useCustomClose);
    void openWebAppWithHTML(const Value& html, long long orientations, bool useCustomClose);
    void expandToWebApp(long long orientations, bool useCustomClose);
    void openEmailComposer(NSURL* url);
    void openSmsComposer(NSURL* url);
    void presentComposerController(id composer);
    void openPublisherToolbar(const Value& adUnitID, const Value& adContent);
    void openCalendarWithDictionary(const Value& dictionary);

    WeakRef<Object> slot_;
    WeakRef<Object> delegate_;
    WeakRef<Object> viewController_;
    WeakRef<Object> webView_;
    Ref<NSURL> referringURL_;
    Value navigationURL_;
    bool autoClickProtected_ = false;
    bool didOpenAnotherApplication_ = false;
    // Store sheets this opener preloaded, by product ID.
    std::map<std::string, Ref<Object>> cachedStoreProductViewController_;
};

void registerOpenerClass();

}  // namespace adlib
