// YBXJSContainer: a hidden web view holding one remote page. It loads the
// page (with fixed HTML in its place when that load fails), keeps the scripts
// it is asked to run until a page has loaded, then runs them in the order they
// came, and tells its delegate (weak, YBXJSContainerDelegate, every method
// optional) about later loads and navigations.
//
// Any thread. Flags, pending scripts and delegate live on the lock queue, held
// only to decide; every script and every use of the web view runs on the main
// thread, which never waits on the lock queue for anything but a decision.
#pragma once

#include <string>
#include <vector>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/dispatch.h"
#include "platform/webkit/web_view.h"

namespace adlib {

// How long the remote page may take before its fallback is loaded.
inline constexpr double kYBXJSContainerLoadTimeout = 5.0;

class YBXJSContainer : public NSObject {
public:
    ~YBXJSContainer() override;

    // Main thread or not: the web view is made and loaded on the main thread.
    void setUp(NSURL* url, const Value& fallbackData, UIWebView* webView);

    // Runs the script once a page has loaded; false when it had to wait.
    bool invokeJavaScriptFromString(const std::string& script);
    // Runs the script now, whatever has loaded, and answers its result.
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);

    Ref<Object> delegate();
    void setDelegate(id delegate);
    Value pendingExpressions();
    bool initialLoadSequence();
    bool failureLoadSequence();
    bool loaded();

    // The web view's delegate, on the main thread.
    bool shouldStartLoad(NSURLRequest* request, long long navigationType);
    void didStartLoad();
    void didFinishLoad();
    void didFailLoad();

    dispatch_queue_t lockQueue() const { return lockQueue_; }
    NSURL* remoteURL() const { return remoteURL_.get(); }
    const Value& fallbackData() const { return fallbackData_; }
    UIWebView* webView() const { return webView_.get(); }

private:
    void loadFallback();
    // The delegate, asked only about loads other than the container's own page and its fallback.
    Ref<Object> delegateOutsideLoadSequences();

    // Set in setUp, then only read.
    dispatch_queue_t lockQueue_ = nullptr;
    Ref<NSURL> remoteURL_;
    Value fallbackData_;
    Ref<UIWebView> webView_;
    // Only on lockQueue_.
    std::vector<std::string> pendingExpressions_;
    bool initialLoadSequence_ = false;
    bool failureLoadSequence_ = false;
    bool loaded_ = false;
    WeakRef<Object> delegate_;
};

void registerJSContainerClass();

}  // namespace adlib
