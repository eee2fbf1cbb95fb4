#include "adlib/render/publisher_toolbar_controller.h"

#include "adlib/foundation/configuration.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/request_error.h"
#include "platform/foundation/format.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/toolbar.h"

namespace adlib {

namespace {

YBXPublisherToolbarController* toolbarOf(id self) { return as<YBXPublisherToolbarController>(self); }

Class* toolbarClass() { return objc_getClass("YBXPublisherToolbarController"); }

Value textOf(const Value& value) { return value.isString() ? value : Value(); }

Ref<NSURL> scriptURL() { return NSURL::URLWithString(YBXAdServerBaseURL() + kYBXToolbarScriptPath); }

Ref<UIWebView> makeWebView(id delegate) {
    Ref<UIWebView> webView = UIView::make<UIWebView>("UIWebView", Rect(0, 0, 0, 0));
    sel::setDelegate_(webView.get(), delegate);
    return webView;
}

void releaseWebView(UIWebView* webView) {
    if (!webView) return;
    sel::setDelegate_(webView, nullptr);
    sel::stopLoading(webView);
}

}  // namespace

YBXPublisherToolbarController::~YBXPublisherToolbarController() {
    releaseWebView(jsWebView_.get());
    releaseWebView(oauthWebView_.get());
    if (helperJS_) {
        helperJS_->delegate_ = nullptr;
        helperJS_->cancel();
    }
}

void YBXPublisherToolbarController::setUp(const Value& adContent, const Value& adUnitID) {
    adContent_ = textOf(adContent);
    adUnitID_ = textOf(adUnitID);
    credentials_ = as<YBXPublisherToolbarCredentials>(sel::init(alloc("YBXPublisherToolbarCredentials")));
    if (Ref<NSURL> url = scriptURL()) {
        helperJS_ = YBXCachedFile::make(url.get());
        if (helperJS_) helperJS_->delegate_ = WeakRef<Object>(this);
    }
    jsWebView_ = makeWebView(this);
    spinnyWheel_ = as<UIActivityIndicatorView>(sel::initWithActivityIndicatorStyle_(alloc("UIActivityIndicatorView"), UIActivityIndicatorViewStyleGray));
}

void YBXPublisherToolbarController::viewWillAppear() {
    sel::setBackgroundColor_(sel::view(this).get(), sel::whiteColor(objc_getClass("UIColor")).get());
    configureWebView(jsWebView_.get());
    configureSpinny();
    createWebViewToolbar();
    loadJavaScript();
}

void YBXPublisherToolbarController::configureWebView(UIWebView* webView) {
    Ref<Object> view = sel::view(this);
    const Rect bounds = sel::bounds(view.get());
    sel::setFrame_(webView, Rect(0, 0, bounds.size.width, bounds.size.height - kYBXToolbarBarHeight));
    sel::setHidden_(webView, true);
    sel::setDelegate_(webView, this);
    sel::addSubview_(view.get(), webView);
}

void YBXPublisherToolbarController::configureSpinny() {
    Ref<Object> view = sel::view(this);
    const Rect bounds = sel::bounds(view.get());
    sel::setCenter_(spinnyWheel_.get(), Point{bounds.size.width / 2, bounds.size.height / 2});
    sel::addSubview_(view.get(), spinnyWheel_.get());
    sel::startAnimating(spinnyWheel_.get());
}

void YBXPublisherToolbarController::createWebViewToolbar() {
    Ref<Object> view = sel::view(this);
    const Rect bounds = sel::bounds(view.get());
    Ref<UIToolbar> bar = UIView::make<UIToolbar>("UIToolbar", Rect(0, bounds.size.height - kYBXToolbarBarHeight, bounds.size.width, kYBXToolbarBarHeight));
    sel::setTintColor_(bar.get(), sel::blackColor(objc_getClass("UIColor")).get());
    Ref<Object> done = sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemDone, this,
                                                                       sel_registerName(sel::relinquishScreen.name));
    as<UIBarButtonItem>(done.get())->style_ = UIBarButtonItemStyleDone;
    sel::setAccessibilityLabel_(done.get(), Value("Done"));
    sel::setItems_(bar.get(), Value::array({Value(done.get())}));
    sel::addSubview_(view.get(), bar.get());
}

void YBXPublisherToolbarController::loadJavaScript() {
    if (helperJS_) helperJS_->validate();
}

void YBXPublisherToolbarController::scriptDownloaded() {
    const Value script = helperJS_ ? helperJS_->contentAsString() : Value();
    const std::string html = "<html><head><script>" + (script.isString() ? script.string() : std::string()) + "</script>" +
                             "</head><body></body></html>";
    sel::loadHTMLString_baseURL_(jsWebView_.get(), Value(html), nullptr);
}

void YBXPublisherToolbarController::callJavaScriptMethod(const std::string& method, const Value& argument, bool wrapped) {
    std::string text;
    if (argument.isString()) {
        if (wrapped) {
            std::string quoted;
            for (char c : argument.string()) quoted += c == '\'' ? std::string("\\'") : std::string(1, c);
            text = format("'%@'", Value(quoted));
        } else {
            text = argument.string();
        }
    }
    sel::stringByEvaluatingJavaScriptFromString_(jsWebView_.get(), Value(method + "(" + text + ");"));
}

void YBXPublisherToolbarController::launchToolbar() {
    Value::Dictionary init;
    if (adUnitID_.isString()) init["adUnitID"] = adUnitID_;
    const Value stored = credentials_ ? credentials_->credentials() : Value();
    if (stored.isDictionary() && !stored.dictionary().empty()) init["credentials"] = stored;
    if (adContent_.isString()) init["adContent"] = adContent_;
    callJavaScriptMethod(kYBXToolbarInitializeFunction, Value(dictionaryToJSONString(Value(std::move(init)))), false);
}

void YBXPublisherToolbarController::loadAuthenticationUri(const Value& text) {
    if (!oauthWebView_) {
        oauthWebView_ = makeWebView(this);
        configureWebView(oauthWebView_.get());
    }
    sel::setHidden_(jsWebView_.get(), true);
    sel::setHidden_(oauthWebView_.get(), false);
    Ref<NSURL> url = text.isString() ? NSURL::URLWithString(text.string()) : nullptr;
    if (url) sel::loadRequest_(oauthWebView_.get(), NSURLRequest::requestWithURL(url.get()).get());
}

void YBXPublisherToolbarController::decodeImpression(const Value& title) {
    Value::Dictionary message;
    if (adContent_.isString()) message["adContent"] = adContent_;
    message["authenticationPageTitle"] = title;
    callJavaScriptMethod(kYBXToolbarDecodeImpressionFunction, Value(dictionaryToJSONString(Value(std::move(message)))), false);
}

bool YBXPublisherToolbarController::shouldStartLoad(id webView, NSURLRequest* request) {
    NSURL* url = request ? request->URL() : nullptr;
    if (!YBXNotification::isNotificationURL(url)) return true;
    // Only the toolbar's own script speaks to it: a sign-in page is someone else's.
    if (webView != jsWebView_.get()) return false;
    Ref<YBXNotification> message = YBXNotification::fromURL(url);
    if (!message) return false;
    const std::string& name = message->name();
    const Value& parameters = message->parameters();
    if (name == "loadAuthenticationUri") {
        loadAuthenticationUri(parameters["authenticationUri"]);
    } else if (name == "showJavaScriptWebView") {
        sel::stopAnimating(spinnyWheel_.get());
        sel::setHidden_(jsWebView_.get(), false);
    } else if (name == "clearCredentials") {
        credentials_->clearCredentials();
    } else if (name == "storeCredentials") {
        credentials_->storeCredentials(parameters);
    }
    return false;
}

void YBXPublisherToolbarController::didFinishLoad(id webView) {
    if (webView == jsWebView_.get()) {
        launchToolbar();
        return;
    }
    if (webView != oauthWebView_.get()) return;
    const Value title = sel::stringByEvaluatingJavaScriptFromString_(oauthWebView_.get(), Value("document.title"));
    if (!title.isString() || !title.string().starts_with("Success")) return;
    sel::setHidden_(oauthWebView_.get(), true);
    sel::startAnimating(spinnyWheel_.get());
    decodeImpression(title);
}

void registerPublisherToolbarControllerClass() {
    ClassBuilder<YBXPublisherToolbarController>("YBXPublisherToolbarController", "YBXViewController")
        .protocol("UIWebViewDelegate")
        .protocol("YBXCachedFileDelegate")
        .method(sel::initWithAdContent_adUnitID_,
                [](id self, Value content, Value adUnitID) {
                    Ref<Object> made = sel::init(self);
                    if (YBXPublisherToolbarController* toolbar = toolbarOf(made.get())) toolbar->setUp(content, adUnitID);
                    return made;
                })
        .getter<&YBXPublisherToolbarController::adContent_>(sel::adContent)
        .getter<&YBXPublisherToolbarController::adUnitID_>(sel::adUnitID)
        .method(sel::credentials, [](id self) { return Value(toolbarOf(self)->credentials_.get()); })
        .method(sel::jsWebView, [](id self) { return Ref<Object>(toolbarOf(self)->jsWebView_); })
        .method(sel::oauthWebView, [](id self) { return Ref<Object>(toolbarOf(self)->oauthWebView_); })
        .method(sel::spinnyWheel, [](id self) { return Ref<Object>(toolbarOf(self)->spinnyWheel_); })
        .method(sel::helperJS, [](id self) { return Ref<Object>(toolbarOf(self)->helperJS_); })
        .method(sel::viewWillAppear_,
                [](id self, bool animated) {
                    sel::viewWillAppear_.super(toolbarClass(), self, animated);
                    toolbarOf(self)->viewWillAppear();
                })
        .method(sel::loadJavaScript, [](id self) { toolbarOf(self)->loadJavaScript(); })
        .method(sel::launchToolbar, [](id self) { toolbarOf(self)->launchToolbar(); })
        .method(sel::loadAuthenticationUri_, [](id self, Value text) { toolbarOf(self)->loadAuthenticationUri(text); })
        .method(sel::decodeImpression_, [](id self, Value title) { toolbarOf(self)->decodeImpression(title); })
        .method(sel::callJavaScriptMethod_withArgument_wrappedAsString_,
                [](id self, Value method, Value argument, bool wrapped) {
                    if (method.isString()) toolbarOf(self)->callJavaScriptMethod(method.string(), argument, wrapped);
                })
        .method(sel::cachedFileDownloadDidEnd_, [](id self, id) { toolbarOf(self)->scriptDownloaded(); })
        .method(sel::cachedFile_downloadDidFail_, [](id self, id, id) { sel::relinquishScreen(self); })
        .method(sel::cachedFile_shouldRedirectToURL_,
                [](id, id, NSURL*) { return YBXRedirectRefusedError(); })
        .method(sel::webView_shouldStartLoadWithRequest_navigationType_,
                [](id self, id webView, id request, long long) { return toolbarOf(self)->shouldStartLoad(webView, as<NSURLRequest>(request)); })
        .method(sel::webViewDidFinishLoad_, [](id self, id webView) { toolbarOf(self)->didFinishLoad(webView); });
}

}  // namespace adlib
