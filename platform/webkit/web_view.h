// UIWebView: a view that shows web pages through a page engine
// (page_engine.h) and asks its delegate (weak, every method optional) about
// each navigation:
// - webView:shouldStartLoadWithRequest:navigationType: for every navigation,
//   before anything of it happens: loadRequest:, loadHTMLString:baseURL: and
//   loadData: (type other, with the base URL or "about:blank"), reload (3),
//   goBack/goForward (2), and what the page starts (location changes, link
//   clicks, form submissions, frames, "pmsg" messages). A refused navigation
//   loads nothing and changes nothing. The request asked about already
//   carries the web view's "User-Agent".
//   A server's redirect of a document is asked about too (type other); a
//   refused one fails the load ("WebKitErrorDomain" 102).
// - webViewDidStartLoad: on the next turn of the run loop, then
//   webViewDidFinishLoad: when the page has loaded, or
//   webView:didFailLoadWithError: when it could not (the error's user
//   information holds the failing URL's text under NSURLErrorKey). A frame's
//   load reports its own start and finish (or failure) too.
// The main document and frames load through URL loading (URL protocol
// classes, then the transport): any HTTP response is a page (a 404 too), a
// failed connection a failed load. A new load, or stopLoading, ends the
// previous one silently. The page is painted from the engine's visible content
// when the view's layer is rendered. Main thread only.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/uikit/table_view.h"
#include "platform/webkit/page_engine.h"
#include "platform/webkit/selectors.h"

namespace platform {

// UIDataDetectorTypes.
inline constexpr unsigned long long UIDataDetectorTypePhoneNumber = 1 << 0;
inline constexpr unsigned long long UIDataDetectorTypeLink = 1 << 1;
inline constexpr unsigned long long UIDataDetectorTypeAddress = 1 << 2;
inline constexpr unsigned long long UIDataDetectorTypeCalendarEvent = 1 << 3;
inline constexpr unsigned long long UIDataDetectorTypeNone = 0;
inline constexpr unsigned long long UIDataDetectorTypeAll = ~0ULL;

namespace webkit {
class ResourceLoader;
// The web view's user agent for the booted iOS version and device, as
// navigator.userAgent and the "User-Agent" of its requests.
std::string userAgent();
}  // namespace webkit

class UIWebView : public UIView, public webkit::PageHost {
public:
    UIWebView();
    ~UIWebView() override;

    // The stored state; change it through the selectors.
    WeakRef<Object> delegate_;
    Ref<UIScrollView> scrollView_;
    bool scalesPageToFit_ = false;
    unsigned long long dataDetectorTypes_ = UIDataDetectorTypePhoneNumber;
    bool allowsInlineMediaPlayback_ = false;
    bool mediaPlaybackRequiresUserAction_ = true;
    bool mediaPlaybackAllowsAirPlay_ = true;

    void loadRequest(NSURLRequest* request);
    void loadHTMLString(const std::string& html, NSURL* baseURL);
    std::string evaluate(const std::string& script);
    void stopLoading();
    void reload();
    void goBack();
    void goForward();
    bool canGoBack() const { return index_ > 0; }
    bool canGoForward() const { return index_ + 1 < static_cast<long>(history_.size()); }
    bool isLoading() const { return mainLoading_ || frameLoads_ > 0; }
    NSURLRequest* request() const { return request_.get(); }
    webkit::PageEngine* engine() const { return engine_.get(); }

    // The page over the background.
    void drawContent(const std::shared_ptr<CGContext>& context) override;

    // --- webkit::PageHost ----------------------------------------------------------------
    bool navigate(const webkit::Navigation& navigation, std::function<void(const webkit::LoadResult&)> frameLoaded) override;
    void pageFinishedLoading() override;
    void pageFailedLoading(NSError* error) override;
    LoadId loadSubresource(NSURLRequest* request, std::function<void(const webkit::LoadResult&)> done) override;
    void cancelSubresource(LoadId load) override;
    TimerId scheduleTimer(double seconds, std::function<void()> fire) override;
    void cancelTimer(TimerId timer) override;
    std::string userAgent() const override;
    Size viewSize() const override { return bounds_.size; }

private:
    // A main-frame page the history can go back to.
    struct Item {
        Ref<NSURLRequest> request;
        std::optional<std::string> html;  // a page given as text, not loaded
    };
    enum class History { Push, Keep };
    static constexpr std::size_t kHistoryCapacity = 100;

    Ref<NSURLRequest> prepare(NSURLRequest* request, bool mainFrame) const;
    bool shouldStart(NSURLRequest* request, long long type);
    // Asks the delegate, then loads on the next turn; false when refused.
    bool navigateMain(NSURLRequest* request, long long type, std::optional<std::string> html, History history, long target);
    void beginMain(Ref<NSURLRequest> request, std::optional<std::string> html);
    void deliverDocument(const std::string& html, NSURL* url);
    // Ends what the current document has going: frames, subresources, timers.
    void endDocumentWork(bool timers);
    void tellStart();
    void tellFinish();
    void tellFailure(NSError* error, NSURL* url);
    Ref<webkit::ResourceLoader> startLoad(NSURLRequest* request, std::function<void(const webkit::LoadResult&)> done,
                                          std::function<bool(NSURLRequest*)> redirect = {});

    std::unique_ptr<webkit::PageEngine> engine_;
    Ref<NSURLRequest> request_;
    std::vector<Item> history_;
    long index_ = -1;
    bool mainLoading_ = false;
    bool documentCurrent_ = false;  // the engine holds the current load's document
    int frameLoads_ = 0;
    Ref<webkit::ResourceLoader> mainLoader_;
    std::map<std::uint64_t, Ref<webkit::ResourceLoader>> frameLoaders_;
    std::map<LoadId, Ref<webkit::ResourceLoader>> subresources_;
    std::map<TimerId, std::uint64_t> timers_;  // to the run loop's task
    std::uint64_t nextId_ = 1;
};

namespace webkit {
// Registers UIWebView and its loader class; boot calls it after UIKit's.
void registerClasses();
}  // namespace webkit

}  // namespace platform
