// Whether a web view shows anything yet: a snapshot of its layer compared
// with its background colour. Ad-network scripts and HTML network snippets may
// finish loading without drawing, so their owners poll this every 0.2 s until
// something other than the background is visible.
//
// YBXRenderedContentChecker is the shared half of the two checkers
// (YBXWebViewRenderedChecker here, YBXMWebViewRenderedChecker of the HTML
// adapter): it holds web view and delegate weakly, snapshots, and hands the
// answer to the checker's own delegate call. Main thread.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/foundation/timer.h"

namespace adlib {

namespace sel {
inline constexpr Sel<void(id, id)> webViewDidRenderContent_{"webViewDidRenderContent:"};
inline constexpr Sel<void(id, id)> webViewDidFailToRenderContent_{"webViewDidFailToRenderContent:"};
}  // namespace sel

inline constexpr double kYBXRenderingCheckInterval = 0.2;
// Content counts as drawn when less than this share of the pixels is the background.
inline constexpr double kYBXRenderedBackgroundShare = 0.9;

// The view's snapshot has less than 90 % of its pixels in its background colour.
bool YBXIsContentRenderedInView(id view);

class YBXRenderedContentChecker : public NSObject {
public:
    // Checks once, only while both web view and delegate are there.
    void checkIsContentRenderedInWebView();
    // The checker lets go of both (polling that still fires does nothing).
    void detach();

    WeakRef<Object> webView;
    WeakRef<Object> delegate;

protected:
    virtual void report(id delegate, id webView, bool rendered) = 0;
};

// A new checker of the class for the web view and delegate, and the repeating
// 0.2 s timer that makes it check; made on the main thread, synchronously.
// The run loop keeps the timer, which keeps the checker.
struct YBXRenderingPoll {
    Ref<Object> checker;
    Ref<NSTimer> timer;
};
YBXRenderingPoll YBXStartRenderingPoll(const char* checkerClass, id webView, id delegate);
// Invalidates the timer and detaches the checker, on the main thread, synchronously.
void YBXStopRenderingPoll(id checker, NSTimer* timer);

// Registers a checker class: initWithWebView:delegate:, webView, delegate and
// checkIsContentRenderedInWebView.
template <class Checker>
void registerRenderedCheckerClass(const char* name) {
    ClassBuilder<Checker>(name, "NSObject")
        .method(sel::initWithWebView_delegate_,
                [](id self, id webView, id delegate) {
                    auto* checker = as<YBXRenderedContentChecker>(self);
                    checker->webView = WeakRef<Object>(webView);
                    checker->delegate = WeakRef<Object>(delegate);
                    return Ref<Object>(self);
                })
        .method(sel::webView, [](id self) { return as<YBXRenderedContentChecker>(self)->webView.lock(); })
        .method(sel::delegate, [](id self) { return as<YBXRenderedContentChecker>(self)->delegate.lock(); })
        .method(sel::checkIsContentRenderedInWebView, [](id self) { as<YBXRenderedContentChecker>(self)->checkIsContentRenderedInWebView(); });
}

class YBXWebViewRenderedChecker : public YBXRenderedContentChecker {
protected:
    void report(id delegate, id webView, bool rendered) override;
};

void registerWebViewRenderedCheckerClasses();

}  // namespace adlib
