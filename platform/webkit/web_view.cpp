#include "platform/webkit/web_view.h"

#include <limits>

#include "platform/foundation/process.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/connection.h"
#include "platform/uikit/graphics.h"
#include "platform/uikit/screen.h"
#include "platform/webkit/page_painter.h"

namespace platform {

namespace webkit {

// One load through URL loading on behalf of a web view: it gathers the
// response and the body and answers once, unless cancelled first.
class ResourceLoader : public NSObject {
public:
    using Done = std::function<void(const LoadResult&)>;
    // Whether a redirect to the request may go on; null: every one may.
    using Redirect = std::function<bool(NSURLRequest*)>;

    static Ref<ResourceLoader> start(NSURLRequest* request, Done done, Redirect redirect = {}) {
        Ref<ResourceLoader> loader(as<ResourceLoader>(alloc("WebResourceLoader").get()));
        loader->done_ = std::move(done);
        loader->redirect_ = std::move(redirect);
        loader->connection_ = NSURLConnection::connectionWithRequest(request, loader.get());
        return loader;
    }
    Ref<Object> willSend(NSURLRequest* request, NSURLResponse* redirectResponse) {
        if (!redirectResponse || !redirect_ || redirect_(request)) return Ref<Object>(request);
        // A refused hop interrupts the load, which fails as the platform's does.
        Ref<ResourceLoader> keep(this);
        Done done = std::move(done_);
        cancel();
        result_.error = NSError::errorWithDomain(
            "WebKitErrorDomain", 102, Value(Value::Dictionary{{std::string(NSLocalizedDescriptionKey), Value("Frame load interrupted")}}));
        if (done) done(result_);
        return nullptr;
    }
    // Nothing is answered after it.
    void cancel() {
        done_ = nullptr;
        if (Ref<NSURLConnection> connection = std::move(connection_)) connection->cancel();
    }

    void received(NSURLResponse* response) { result_.response = response; }
    void receivedData(const Data& data) { result_.body.insert(result_.body.end(), data.begin(), data.end()); }
    void ended(NSError* error) {
        Ref<ResourceLoader> keep(this);
        result_.error = error;
        connection_ = nullptr;
        if (Done done = std::move(done_)) done(result_);
    }

private:
    Ref<NSURLConnection> connection_;
    LoadResult result_;
    Done done_;
    Redirect redirect_;
};

std::string userAgent() {
    struct Build {
        const char* version;
        const char* webKit;
        const char* mobile;
    };
    // The platform's WebKit and build for each release; a later point release
    // keeps its release's.
    static constexpr Build kBuilds[] = {
        {"7.0", "537.51.1", "11A465"}, {"7.1", "537.51.2", "11D167"}, {"8.0", "600.1.4", "12A365"},
        {"8.1", "600.1.4", "12B411"},  {"8.2", "600.1.4", "12D508"},  {"8.3", "600.1.4", "12F70"},
        {"8.4", "600.1.4", "12H143"},  {"9.0", "601.1.46", "13A344"}, {"9.1", "601.1.46", "13B143"},
        {"9.2", "601.1.46", "13C75"},  {"9.3", "601.1.46", "13E233"},
    };
    std::string version = process::info().systemVersion;
    const Build* build = &kBuilds[std::size(kBuilds) - 1];
    for (const Build& b : kBuilds) {
        std::string release = b.version;
        if (version == release || version.compare(0, release.size() + 1, release + ".") == 0) build = &b;
    }
    std::string os = version;
    for (char& c : os)
        if (c == '.') c = '_';
    bool pad = uikit::deviceTraits().interfaceIdiom == UIUserInterfaceIdiomPad;
    return std::string("Mozilla/5.0 (") + (pad ? "iPad; CPU OS " : "iPhone; CPU iPhone OS ") + os +
           " like Mac OS X) AppleWebKit/" + build->webKit + " (KHTML, like Gecko) Mobile/" + build->mobile;
}

}  // namespace webkit

namespace {

bool isAbout(NSURL* url) { return url && url->scheme() == "about"; }

std::string text(const Data& body) { return std::string(body.begin(), body.end()); }

Ref<NSURL> aboutBlank() { return NSURL::URLWithString("about:blank"); }

}  // namespace

UIWebView::UIWebView() : engine_(webkit::makePageEngine(*this)) {}

UIWebView::~UIWebView() {
    RunLoop::main().cancelOwner(this);
    if (mainLoader_) mainLoader_->cancel();
    for (auto& [id, loader] : frameLoaders_) loader->cancel();
    for (auto& [id, loader] : subresources_) loader->cancel();
    engine_.reset();
}

// --- loading ------------------------------------------------------------------------------

Ref<NSURLRequest> UIWebView::prepare(NSURLRequest* request, bool mainFrame) const {
    Ref<NSURLRequest> copy = request->mutableCopy();
    auto* r = as<NSMutableURLRequest>(copy.get());
    if (!r->valueForHTTPHeaderField("User-Agent")) r->setValueForHTTPHeaderField(userAgent(), "User-Agent");
    r->setMainFrame(mainFrame);
    NSURL* page = mainFrame || !request_ ? request->URL() : request_->URL();
    r->setMainDocumentURL(page);
    return copy;
}

bool UIWebView::shouldStart(NSURLRequest* request, long long type) {
    Ref<Object> delegate = delegate_.lock();
    if (!delegate || !respondsToSelector(delegate.get(), sel::webView_shouldStartLoadWithRequest_navigationType_.name)) return true;
    Ref<UIWebView> keep(this);
    return sel::webView_shouldStartLoadWithRequest_navigationType_(delegate.get(), this, request, type);
}

void UIWebView::tellStart() {
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::webViewDidStartLoad_.name)) sel::webViewDidStartLoad_(delegate.get(), this);
}

void UIWebView::tellFinish() {
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::webViewDidFinishLoad_.name)) sel::webViewDidFinishLoad_(delegate.get(), this);
}

void UIWebView::tellFailure(NSError* error, NSURL* url) {
    Ref<NSError> reported(error);
    // The failing URL's text under NSURLErrorKey, which the delegates compare.
    if (url && error && !error->userInfo()[NSURLErrorKey].isString()) {
        Value::Dictionary info = error->userInfo().isDictionary() ? error->userInfo().dictionary() : Value::Dictionary{};
        info[std::string(NSURLErrorKey)] = Value(url->absoluteString());
        reported = NSError::errorWithDomain(error->domain(), error->code(), Value(std::move(info)));
    }
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::webView_didFailLoadWithError_.name))
        sel::webView_didFailLoadWithError_(delegate.get(), this, reported.get());
}

Ref<webkit::ResourceLoader> UIWebView::startLoad(NSURLRequest* request, std::function<void(const webkit::LoadResult&)> done,
                                                 std::function<bool(NSURLRequest*)> redirect) {
    return webkit::ResourceLoader::start(request, std::move(done), std::move(redirect));
}

bool UIWebView::navigateMain(NSURLRequest* request, long long type, std::optional<std::string> html, History history, long target) {
    if (!request || !request->URL()) return false;
    Ref<UIWebView> keep(this);
    Ref<NSURLRequest> prepared = prepare(request, true);
    if (!shouldStart(prepared.get(), type)) return false;
    if (history == History::Push) {
        history_.resize(static_cast<std::size_t>(index_ + 1));
        history_.push_back(Item{prepared, html});
        // The back list keeps a hundred pages, as WebKit's does: an ad view
        // reloaded all day must not keep every creative it showed.
        if (history_.size() > kHistoryCapacity) history_.erase(history_.begin());
        index_ = static_cast<long>(history_.size()) - 1;
    } else if (target >= 0) {
        index_ = target;
    }
    beginMain(prepared, std::move(html));
    return true;
}

// The previous load ends silently; its document stays until the new one
// arrives (the page may be navigating from inside its own script).
void UIWebView::beginMain(Ref<NSURLRequest> request, std::optional<std::string> html) {
    RunLoop::main().cancelOwner(this, "load");
    if (mainLoader_) mainLoader_->cancel();
    mainLoader_ = nullptr;
    request_ = request;
    mainLoading_ = true;
    documentCurrent_ = false;
    RunLoop::main().schedule(0, [this, request, html] {
        Ref<UIWebView> keep(this);
        tellStart();
        if (request_ != request || !mainLoading_) return;  // the delegate stopped it or loaded something else
        NSURL* url = request->URL();
        if (html || isAbout(url)) {
            deliverDocument(html.value_or(""), url);
            return;
        }
        mainLoader_ = startLoad(request.get(), [this, request](const webkit::LoadResult& result) {
            Ref<UIWebView> keep(this);
            mainLoader_ = nullptr;
            if (result.error) {
                mainLoading_ = false;
                tellFailure(result.error.get(), request->URL());
                return;
            }
            NSURL* documentURL = result.response && result.response->URL() ? result.response->URL() : request->URL();
            deliverDocument(text(result.body), documentURL);
        }, [this](NSURLRequest* next) {
            // A server's redirect of the page is a navigation the delegate is asked about.
            if (!shouldStart(next, UIWebViewNavigationTypeOther)) return false;
            request_ = next;
            return true;
        });
    }, this, "load");
}

void UIWebView::deliverDocument(const std::string& html, NSURL* url) {
    endDocumentWork(true);
    documentCurrent_ = true;
    Ref<UIWebView> keep(this);
    Ref<NSURL> documentURL(url);
    engine_->loadDocument(html, documentURL.get());
}

void UIWebView::endDocumentWork(bool timers) {
    RunLoop::main().cancelOwner(this, "frame");
    for (auto& [id, loader] : frameLoaders_) loader->cancel();
    frameLoaders_.clear();
    frameLoads_ = 0;
    for (auto& [id, loader] : subresources_) loader->cancel();
    subresources_.clear();
    if (timers) {
        RunLoop::main().cancelOwner(this, "timer");
        timers_.clear();
    }
}

void UIWebView::loadRequest(NSURLRequest* request) { navigateMain(request, UIWebViewNavigationTypeOther, std::nullopt, History::Push, -1); }

void UIWebView::loadHTMLString(const std::string& html, NSURL* baseURL) {
    Ref<NSURL> url = baseURL ? Ref<NSURL>(baseURL) : aboutBlank();
    Ref<NSURLRequest> request = NSURLRequest::requestWithURL(url.get());
    navigateMain(request.get(), UIWebViewNavigationTypeOther, html, History::Push, -1);
}

std::string UIWebView::evaluate(const std::string& script) {
    Ref<UIWebView> keep(this);
    webkit::ScriptResult result = engine_->evaluateScript(script);
    return result.error ? std::string() : result.text;
}

void UIWebView::stopLoading() {
    RunLoop::main().cancelOwner(this, "load");
    if (mainLoader_) mainLoader_->cancel();
    mainLoader_ = nullptr;
    endDocumentWork(false);
    engine_->stop();
    mainLoading_ = false;
}

void UIWebView::reload() {
    if (index_ < 0) return;
    Item item = history_[static_cast<std::size_t>(index_)];
    navigateMain(item.request.get(), UIWebViewNavigationTypeReload, item.html, History::Keep, -1);
}

void UIWebView::goBack() {
    if (!canGoBack()) return;
    Item item = history_[static_cast<std::size_t>(index_ - 1)];
    navigateMain(item.request.get(), UIWebViewNavigationTypeBackForward, item.html, History::Keep, index_ - 1);
}

void UIWebView::goForward() {
    if (!canGoForward()) return;
    Item item = history_[static_cast<std::size_t>(index_ + 1)];
    navigateMain(item.request.get(), UIWebViewNavigationTypeBackForward, item.html, History::Keep, index_ + 1);
}

// --- the page's host ----------------------------------------------------------------------------

bool UIWebView::navigate(const webkit::Navigation& navigation, std::function<void(const webkit::LoadResult&)> frameLoaded) {
    if (!navigation.request || !navigation.request->URL()) return false;
    if (navigation.mainFrame)
        return navigateMain(navigation.request.get(), navigation.type, std::nullopt, History::Push, -1);
    Ref<UIWebView> keep(this);
    Ref<NSURLRequest> prepared = prepare(navigation.request.get(), false);
    if (!shouldStart(prepared.get(), navigation.type)) return false;
    ++frameLoads_;
    std::uint64_t id = nextId_++;
    RunLoop::main().schedule(0, [this, id, prepared, frameLoaded] {
        Ref<UIWebView> keep(this);
        auto ended = [this, id, prepared, frameLoaded](const webkit::LoadResult& result) {
            Ref<UIWebView> keep(this);
            frameLoaders_.erase(id);
            if (frameLoads_ > 0) --frameLoads_;
            if (result.error) tellFailure(result.error.get(), prepared->URL());
            else tellFinish();
            if (frameLoaded) frameLoaded(result);
        };
        tellStart();
        if (isAbout(prepared->URL())) ended(webkit::LoadResult{});
        else
            frameLoaders_[id] = startLoad(prepared.get(), ended,
                                          [this](NSURLRequest* next) { return shouldStart(next, UIWebViewNavigationTypeOther); });
    }, this, "frame");
    return true;
}

void UIWebView::pageFinishedLoading() {
    if (!mainLoading_ || !documentCurrent_) return;
    mainLoading_ = false;
    Ref<UIWebView> keep(this);
    tellFinish();
}

void UIWebView::pageFailedLoading(NSError* error) {
    if (!mainLoading_ || !documentCurrent_) return;
    mainLoading_ = false;
    Ref<UIWebView> keep(this);
    Ref<NSError> failure(error);
    tellFailure(failure.get(), request_ ? request_->URL() : nullptr);
}

webkit::PageHost::LoadId UIWebView::loadSubresource(NSURLRequest* request, std::function<void(const webkit::LoadResult&)> done) {
    if (!request || !request->URL()) return 0;
    Ref<NSURLRequest> prepared = prepare(request, false);
    if (request_ && request_->URL()) {
        const std::string& scheme = request_->URL()->scheme();
        auto* r = as<NSMutableURLRequest>(prepared.get());
        if ((scheme == "http" || scheme == "https") && !r->valueForHTTPHeaderField("Referer"))
            r->setValueForHTTPHeaderField(request_->URL()->absoluteString(), "Referer");
    }
    LoadId id = nextId_++;
    subresources_[id] = startLoad(prepared.get(), [this, id, done](const webkit::LoadResult& result) {
        Ref<UIWebView> keep(this);
        subresources_.erase(id);
        if (done) done(result);
    });
    return id;
}

void UIWebView::cancelSubresource(LoadId load) {
    auto it = subresources_.find(load);
    if (it == subresources_.end()) return;
    Ref<webkit::ResourceLoader> loader = it->second;
    subresources_.erase(it);
    loader->cancel();
}

webkit::PageHost::TimerId UIWebView::scheduleTimer(double seconds, std::function<void()> fire) {
    TimerId id = nextId_++;
    timers_[id] = RunLoop::main().schedule(seconds, [this, id, fire] {
        Ref<UIWebView> keep(this);
        timers_.erase(id);
        if (fire) fire();
    }, this, "timer");
    return id;
}

void UIWebView::cancelTimer(TimerId timer) {
    auto it = timers_.find(timer);
    if (it == timers_.end()) return;
    RunLoop::main().cancel(it->second);
    timers_.erase(it);
}

std::string UIWebView::userAgent() const { return webkit::userAgent(); }

// --- painting ------------------------------------------------------------------------------------

void UIWebView::drawContent(const std::shared_ptr<CGContext>& context) {
    webkit::PageContent page = engine_->visibleContent();
    CGContextSaveGState(context);
    CGContextClipToRect(context, bounds_);
    // An opaque web view without a colour of its own shows the page's white.
    if (!page.background && opaque_ && !backgroundColor_) {
        CGContextSetRGBFillColor(context, 1, 1, 1, 1);
        CGContextFillRect(context, bounds_);
    }
    Point offset = scrollView_ ? scrollView_->bounds_.origin : Point{};
    CGContextTranslateCTM(context, bounds_.origin.x - offset.x, bounds_.origin.y - offset.y);
    webkit::paintPage(page, context, bounds_.size);
    CGContextRestoreGState(context);
}

// --- registration ----------------------------------------------------------------------------------

namespace webkit {

namespace {

Class* webViewClass() {
    static Class* c = objc_getClass("UIWebView");
    return c;
}

UIWebView* web(id self) { return as<UIWebView>(self); }

}  // namespace

void registerClasses() {
    ClassBuilder<ResourceLoader>("WebResourceLoader", "NSObject")
        .method(sel::connection_willSendRequest_redirectResponse_,
                [](id self, id, id request, id redirect) {
                    return as<ResourceLoader>(self)->willSend(as<NSURLRequest>(request), as<NSURLResponse>(redirect));
                })
        .method(sel::connection_didReceiveResponse_, [](id self, id, id response) { as<ResourceLoader>(self)->received(as<NSURLResponse>(response)); })
        .method(sel::connection_didReceiveData_, [](id self, id, Value data) { as<ResourceLoader>(self)->receivedData(data.data()); })
        .method(sel::connectionDidFinishLoading_, [](id self, id) {
            if (ResourceLoader* loader = as<ResourceLoader>(self)) loader->ended(nullptr);
        })
        .method(sel::connection_didFailWithError_, [](id self, id, id error) {
            if (ResourceLoader* loader = as<ResourceLoader>(self)) loader->ended(as<NSError>(error));
        });

    ClassBuilder<UIWebView>("UIWebView", "UIView")
        .method(sel::initWithFrame_,
                [](id self, Rect frame) {
                    Ref<Object> base = sel::initWithFrame_.super(webViewClass(), self, frame);
                    auto* view = web(base.get());
                    if (!view) return base;
                    view->scrollView_ = UIView::make<UIScrollView>("UIScrollView", Rect({0, 0}, view->bounds_.size));
                    if (view->scrollView_) {
                        view->scrollView_->autoresizingMask_ = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;
                        insertSubview(view, view->scrollView_.get(), std::numeric_limits<long long>::max());
                    }
                    return base;
                })
        .method(sel::delegate, [](id self) -> Ref<Object> { return web(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { web(self)->delegate_ = delegate; })
        .method(sel::loadRequest_, [](id self, id request) { web(self)->loadRequest(as<NSURLRequest>(request)); })
        .method(sel::loadHTMLString_baseURL_,
                [](id self, Value html, id baseURL) { web(self)->loadHTMLString(html.stringOr(""), as<NSURL>(baseURL)); })
        .method(sel::loadData_MIMEType_textEncodingName_baseURL_,
                [](id self, Value data, Value, Value, id baseURL) {
                    std::string html = data.kind() == Value::Kind::Data ? text(data.data()) : std::string();
                    web(self)->loadHTMLString(html, as<NSURL>(baseURL));
                })
        .method(sel::stringByEvaluatingJavaScriptFromString_,
                [](id self, Value script) { return Value(web(self)->evaluate(script.stringOr(""))); })
        .method(sel::stopLoading, [](id self) { web(self)->stopLoading(); })
        .method(sel::reload, [](id self) { web(self)->reload(); })
        .method(sel::goBack, [](id self) { web(self)->goBack(); })
        .method(sel::goForward, [](id self) { web(self)->goForward(); })
        .method(sel::canGoBack, [](id self) { return web(self)->canGoBack(); })
        .method(sel::canGoForward, [](id self) { return web(self)->canGoForward(); })
        .method(sel::isLoading, [](id self) { return web(self)->isLoading(); })
        .method(sel::request, [](id self) -> Ref<Object> { return Ref<Object>(web(self)->request()); })
        .method(sel::scrollView, [](id self) -> Ref<Object> { return web(self)->scrollView_; })
        .property<&UIWebView::scalesPageToFit_>(sel::scalesPageToFit, sel::setScalesPageToFit_)
        .property<&UIWebView::dataDetectorTypes_>(sel::dataDetectorTypes, sel::setDataDetectorTypes_)
        .property<&UIWebView::allowsInlineMediaPlayback_>(sel::allowsInlineMediaPlayback, sel::setAllowsInlineMediaPlayback_)
        .property<&UIWebView::mediaPlaybackRequiresUserAction_>(sel::mediaPlaybackRequiresUserAction,
                                                                sel::setMediaPlaybackRequiresUserAction_)
        .property<&UIWebView::mediaPlaybackAllowsAirPlay_>(sel::mediaPlaybackAllowsAirPlay, sel::setMediaPlaybackAllowsAirPlay_);
}

}  // namespace webkit
}  // namespace platform
