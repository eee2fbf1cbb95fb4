// The seam between UIWebView and what runs its pages. A web view owns one
// engine (made by the process's engine factory) and is its host: the engine
// parses and runs documents the web view hands it, answers scripts, and tells
// the host what the page does (navigations it starts, the end of its load);
// everything that leaves the page goes through the host, so the web view asks
// its delegate about each navigation and every load passes through URL loading
// (URL protocol classes, then the transport) with the web view's user agent.
//
// The engine also keeps the page's visible content (PageContent below); the
// web view paints it with the one painting rule of page_painter.h, so an engine
// only has to say what is visible, never how it looks.
//
// Everything here runs on the main thread, and host calls may come from inside
// engine calls (a script that navigates, a load that finishes at once).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/network/response.h"
#include "platform/foundation/error.h"

namespace platform {

// UIWebViewNavigationType, with the platform's numbers.
enum UIWebViewNavigationType : long long {
    UIWebViewNavigationTypeLinkClicked = 0,
    UIWebViewNavigationTypeFormSubmitted = 1,
    UIWebViewNavigationTypeBackForward = 2,
    UIWebViewNavigationTypeReload = 3,
    UIWebViewNavigationTypeFormResubmitted = 4,
    UIWebViewNavigationTypeOther = 5,
};

namespace webkit {

// A colour with components from 0 to 255.
struct Rgba8 {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba8&, const Rgba8&) = default;
};

// One element of the page's body. Lengths are CSS pixels, which are the view's
// points. The engine reports the computed display:none and visibility:hidden;
// the painter leaves such elements out (a display:none one with what is inside
// it, taking no room; a visibility:hidden one keeps its room and its children
// paint unless they are hidden too, so the engine resolves inheritance).
// Elements that are not rendered at all (script, style, head) are not listed.
struct VisibleElement {
    std::string tag;                 // lower case: "div", "img", "p", ...
    bool displayNone = false;
    bool visibilityHidden = false;
    bool absolute = false;           // position absolute or fixed
    // The style's left/top/width/height, when given in pixels.
    std::optional<double> left, top, width, height;
    std::optional<Rgba8> background; // background-color, when not transparent
    std::optional<Rgba8> color;      // the text's colour; black when absent
    // An image element (or a background image) and its size in pixels: the
    // width/height attributes or style, else the decoded image's size.
    bool image = false;
    double imageWidth = 0, imageHeight = 0;
    // The element's own text (its text children, white space collapsed).
    std::string text;
    // Child elements, in document order.
    std::vector<VisibleElement> children;
};

struct PageContent {
    // The page's background (body or html background-color), when it has one;
    // else the view's background shows.
    std::optional<Rgba8> background;
    // The body's elements, in document order.
    std::vector<VisibleElement> elements;
    bool empty() const { return !background && elements.empty(); }
};

// What came of evaluating a script: the result as text (the platform's
// conversion of the script's value: strings as they are, numbers and booleans
// as JavaScript prints them, undefined, null and objects as ""), or an error.
struct ScriptResult {
    std::string text;
    bool error = false;
    std::string errorMessage;  // for the log; the web view answers "" on an error
};

// A navigation the page starts: a location change, a link click, a form
// submission, a frame's document, a "pmsg" creative message.
struct Navigation {
    Ref<NSURLRequest> request;
    UIWebViewNavigationType type = UIWebViewNavigationTypeOther;
    bool mainFrame = true;  // false: a frame's document
};

// The end of a load made through the host: a response and its body, or an
// error (NSURLErrorDomain). An HTTP error status is a response, not an error.
struct LoadResult {
    Ref<NSURLResponse> response;
    Data body;
    Ref<NSError> error;
};

class PageHost {
public:
    using LoadId = std::uint64_t;
    using TimerId = std::uint64_t;
    virtual ~PageHost() = default;

    // The page wants to navigate. The host asks its delegate and answers
    // whether the navigation goes ahead; a refused one must change nothing.
    // For the main frame, an allowed navigation is the host's to carry out: it
    // loads the URL and hands the engine the new document through
    // loadDocument later (never from inside this call); a "pmsg" or other URL
    // that is not loadable is simply refused by the delegate. For a frame the
    // host loads the document and calls `frameLoaded` with it (not from inside
    // this call); the host reports the frame's start and finish to its delegate.
    virtual bool navigate(const Navigation& navigation,
                          std::function<void(const LoadResult&)> frameLoaded = {}) = 0;

    // The document handed to loadDocument has loaded (its scripts ran, its
    // subresources and frames came in or failed): the host reports the finish.
    virtual void pageFinishedLoading() = 0;
    // The document could not load: the host reports the failure.
    virtual void pageFailedLoading(NSError* error) = 0;

    // Loads a subresource (script, image, style) through URL loading: the host
    // adds the user agent, the page's URL as main-document URL and "Referer",
    // and answers `done` on the main run loop (never from inside this call).
    // stopLoading, a new document and the web view going away cancel it
    // unanswered.
    virtual LoadId loadSubresource(NSURLRequest* request, std::function<void(const LoadResult&)> done) = 0;
    virtual void cancelSubresource(LoadId load) = 0;

    // setTimeout / setInterval: `fire` runs on the main run loop after
    // `seconds` (0 or less: on the next turn), once; an interval schedules
    // again. A new document and the web view going away cancel it (the
    // page's timers outlive stopLoading, as a browser's do).
    virtual TimerId scheduleTimer(double seconds, std::function<void()> fire) = 0;
    virtual void cancelTimer(TimerId timer) = 0;

    // navigator.userAgent.
    virtual std::string userAgent() const = 0;
    // The view's size in points (window.innerWidth / innerHeight).
    virtual Size viewSize() const = 0;
};

class PageEngine {
public:
    virtual ~PageEngine() = default;

    // Replaces the page with `html` (UTF-8), whose URL is `baseURL` (may be
    // null: "about:blank"), and runs it. The load ends with the host's
    // pageFinishedLoading or pageFailedLoading, which may come from inside
    // this call or later. The host has cancelled the previous document's
    // timers and subresource loads before it calls this.
    virtual void loadDocument(const std::string& html, NSURL* baseURL) = 0;

    // Runs `script` in the page now and answers its result.
    virtual ScriptResult evaluateScript(const std::string& script) = 0;

    // stopLoading: the page's pending loads end unanswered (the host cancels
    // its own), and no finish or failure of the current load follows.
    virtual void stop() = 0;

    // What the page shows now.
    virtual PageContent visibleContent() const = 0;
};

// Makes the engine for a new web view, the view being its host (which outlives
// the engine).
using PageEngineFactory = std::function<std::unique_ptr<PageEngine>(PageHost& host)>;

// The process's factory. Until one is set, web views run the scripted engine
// (scripted_page_engine.h); the real engine sets its own at boot.
void setPageEngineFactory(PageEngineFactory factory);
std::unique_ptr<PageEngine> makePageEngine(PageHost& host);

}  // namespace webkit
}  // namespace platform
