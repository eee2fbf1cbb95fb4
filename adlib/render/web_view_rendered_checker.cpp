#include "adlib/render/web_view_rendered_checker.h"

#include "adlib/foundation/macros.h"
#include "adlib/foundation/view_utilities.h"

namespace adlib {

bool YBXIsContentRenderedInView(id view) {
    Ref<Object> snapshot = sel::ybx_render(view);
    Ref<Object> background = sel::backgroundColor(view);
    return percentOfImageOfColor(snapshot.get(), background.get()) < kYBXRenderedBackgroundShare;
}

void YBXRenderedContentChecker::checkIsContentRenderedInWebView() {
    Ref<Object> view = webView.lock();
    Ref<Object> told = delegate.lock();
    if (!view || !told) return;
    Ref<Object> protector(this);
    report(told.get(), view.get(), YBXIsContentRenderedInView(view.get()));
}

void YBXRenderedContentChecker::detach() {
    webView = nullptr;
    delegate = nullptr;
}

YBXRenderingPoll YBXStartRenderingPoll(const char* checkerClass, id webView, id delegate) {
    YBXRenderingPoll poll;
    RunSynchronouslyOnMainThread([&] {
        poll.checker = sel::initWithWebView_delegate_(alloc(checkerClass), webView, delegate);
        poll.timer = NSTimer::scheduledTimerWithTimeInterval(kYBXRenderingCheckInterval, poll.checker.get(),
                                                             sel_registerName(sel::checkIsContentRenderedInWebView.name), Value(), true);
    });
    return poll;
}

void YBXStopRenderingPoll(id checker, NSTimer* timer) {
    if (!checker && !timer) return;
    RunSynchronouslyOnMainThread([&] {
        if (auto* c = as<YBXRenderedContentChecker>(checker)) c->detach();
        if (timer) timer->invalidate();
    });
}

void YBXWebViewRenderedChecker::report(id delegate, id webView, bool rendered) {
    const auto& callback = rendered ? sel::webViewDidRenderContent_ : sel::webViewDidFailToRenderContent_;
    if (respondsToSelector(delegate, callback.name)) callback(delegate, webView);
}

void registerWebViewRenderedCheckerClasses() {
    if (!objc_getProtocol("YBXWebViewRenderedCheckerDelegate"))
        objc_registerProtocol(objc_allocateProtocol("YBXWebViewRenderedCheckerDelegate"));
    registerRenderedCheckerClass<YBXWebViewRenderedChecker>("YBXWebViewRenderedChecker");
}

}  // namespace adlib
