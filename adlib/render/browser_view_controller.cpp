#include "adlib/render/browser_view_controller.h"

#include "adlib/foundation/device.h"
#include "adlib/foundation/intrinsic_images.h"
#include "adlib/foundation/statistic_dictionary.h"
#include "adlib/render/web_app_web_view_delegate.h"
#include "platform/network/request.h"
#include "platform/uikit/color.h"
#include "platform/uikit/navigation.h"
#include "platform/webkit/selectors.h"

namespace adlib {

namespace {

YBXBrowserViewController* controllerOf(id self) { return as<YBXBrowserViewController>(self); }

Class* controllerClass() { return objc_getClass("YBXBrowserViewController"); }

constexpr double kButtonWidth = 27;
constexpr long long kSystemItemDone = 0;
constexpr long long kSystemItemFlexibleSpace = 5;
constexpr long long kSystemItemAction = 9;
constexpr long long kSystemItemRefresh = 13;
constexpr long long kBarButtonItemStylePlain = 0;
constexpr unsigned long long kDataDetectorTypeAll = ~0ull;

void label(id item, const char* name) {
    sel::setAccessibilityLabel_(item, Value(name));
    sel::setIsAccessibilityElement_(item, true);
}

Ref<Object> systemItem(long long kind, id target, const char* action) {
    return sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), kind, target,
                                                          action ? sel_registerName(action) : SEL());
}

}  // namespace

YBXBrowserViewController::~YBXBrowserViewController() {
    if (webView_ && webViewDelegate_ && sel::delegate(webView_.get()).get() == webViewDelegate_.get()) sel::setDelegate_(webView_.get(), nullptr);
}

void YBXBrowserViewController::load(NSURL* url, NSURL* referringURL) {
    if (!url) return;
    if (!webView_) {
        URLToLoad_ = Ref<NSURL>(url);
        referringURLToLoad_ = Ref<NSURL>(referringURL);
        return;
    }
    Ref<NSMutableURLRequest> request = NSMutableURLRequest::requestWithURL(url);
    if (referringURL) request->setValueForHTTPHeaderField(referringURL->host(), "Referer");
    sel::loadRequest_(webView_.get(), request.get());
}

void YBXBrowserViewController::construct() {
    id view = sel::view(this).get();
    const Rect bounds = sel::bounds(view);
    YBXDevice* device = YBXDevice::currentDevice();
    double toolbarHeight = 44;
    unsigned long long webViewMask = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;
    if (device->userInterfaceIdiomIsPhone() && device->isOrientationLandscape()) {
        toolbarHeight = 30;
        webViewMask |= UIViewAutoresizingFlexibleBottomMargin;
    }
    webView_ = sel::initWithFrame_(alloc("YBXBrowserWebView"), Rect(0, 0, bounds.width(), bounds.height() - toolbarHeight + 1));
    id webView = webView_.get();
    sel::setViewController_(webView, this);
    sel::setShowDebug_(webView, false);
    sel::setAutoresizingMask_(webView, webViewMask);
    sel::setDataDetectorTypes_(webView, kDataDetectorTypeAll);
    webViewDelegate_ = newObject("YBXBrowserWebViewDelegate");
    sel::setDelegate_(webView, webViewDelegate_.get());
    sel::addSubview_(view, webView);
    if (URLToLoad_) {
        Ref<NSURL> url = std::move(URLToLoad_);
        Ref<NSURL> referrer = std::move(referringURLToLoad_);
        load(url.get(), referrer.get());
    }

    const double webViewHeight = sel::frame(webView).height();
    toolbar_ = sel::initWithFrame_(alloc("UIToolbar"), Rect(0, webViewHeight, bounds.width(), toolbarHeight));
    id toolbar = toolbar_.get();
    sel::setAutoresizingMask_(toolbar, UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin |
                                           UIViewAutoresizingFlexibleBottomMargin);
    sel::setAutoresizesSubviews_(toolbar, true);
    sel::setTintColor_(toolbar, sel::blackColor(objc_getClass("UIColor")).get());
    sel::addSubview_(view, toolbar);

    flexibleSpaceButton_ = systemItem(kSystemItemFlexibleSpace, nullptr, nullptr);
    Ref<Object> images = YBXIntrinsicImagesSharedInstance();
    backButton_ = sel::buttonWithImage_name_width_enabled_action_(this, sel::browserBackButton(images.get()).get(), Value("Back"),
                                                                  kButtonWidth, false, sel_registerName(sel::back.name));
    forwardButton_ = sel::buttonWithImage_name_width_enabled_action_(this, sel::browserForwardButton(images.get()).get(),
                                                                     Value("Forward"), kButtonWidth, false, sel_registerName(sel::forward.name));
    spinner_ = sel::initWithActivityIndicatorStyle_(alloc("UIActivityIndicatorView"), 1);
    sel::setFrame_(spinner_.get(), Rect(0, 0, 20, 20));
    sel::setAutoresizingMask_(spinner_.get(), UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleRightMargin);
    spinnerContainingButton_ = sel::initWithCustomView_(alloc("UIBarButtonItem"), spinner_.get());
    sel::setWidth_(spinnerContainingButton_.get(), 20);
    sel::setEnabled_(spinnerContainingButton_.get(), true);
    label(spinnerContainingButton_.get(), "Spinner");
    reloadButton_ = systemItem(kSystemItemRefresh, this, sel::reload.name);
    sel::setWidth_(reloadButton_.get(), kButtonWidth);
    label(reloadButton_.get(), "Reload");
    safariButton_ = systemItem(kSystemItemAction, this, sel::openInSafari.name);
    sel::setWidth_(safariButton_.get(), kButtonWidth);
    sel::setEnabled_(safariButton_.get(), false);
    label(safariButton_.get(), "View in Safari");
    doneButton_ = systemItem(kSystemItemDone, this, sel::relinquishScreen.name);
    as<UIBarButtonItem>(doneButton_.get())->style_ = UIBarButtonItemStyleDone;
    label(doneButton_.get(), "Done");
    refreshToolbar();
}

void YBXBrowserViewController::refreshToolbar() {
    id webView = webView_.get();
    if (!webView || !toolbar_) return;
    sel::setEnabled_(backButton_.get(), sel::canGoBack(webView));
    sel::setEnabled_(forwardButton_.get(), sel::canGoForward(webView));
    const bool loading = sel::isLoading(webView);
    if (loading) {
        sel::startAnimating(spinner_.get());
    } else {
        sel::stopAnimating(spinner_.get());
    }
    sel::setEnabled_(safariButton_.get(), !loading);
    const Value space(flexibleSpaceButton_);
    sel::setItems_(toolbar_.get(), Value::array({Value(backButton_), space, Value(forwardButton_), space,
                                                 Value(loading ? spinnerContainingButton_ : reloadButton_), space, Value(safariButton_),
                                                 space, Value(doneButton_)}));
}

void YBXBrowserViewController::openInSafari() {
    Ref<Object> slot = slot_.lock();
    Ref<Object> opener = newObject("YBXOpener");
    sel::setViewController_(opener.get(), this);
    sel::setSlot_(opener.get(), slot.get());
    Ref<Object> request = sel::request(webView_.get());
    auto* current = as<NSURLRequest>(request.get());
    sel::openApp_(opener.get(), current ? current->URL() : nullptr);
    if (auto* statistics = as<YBXStatisticDictionary>(adStatisticsOf(slot.get()).get()))
        statistics->setObject(Value(true), kYBXBrowserSafariOpenedStat, true);
}

void registerBrowserViewControllerClass() {
    ClassBuilder<YBXBrowserViewController>("YBXBrowserViewController", "YBXViewController")
        .method(sel::viewWillAppear_,
                [](id self, bool animated) {
                    sel::viewWillAppear_.super(controllerClass(), self, animated);
                    YBXBrowserViewController* c = controllerOf(self);
                    if (!c->webView_) c->construct();
                })
        .method(sel::viewDidLoad,
                [](id self) {
                    sel::viewDidLoad.super(controllerClass(), self);
                    sel::setBackgroundColor_(sel::view(self).get(), sel::whiteColor(objc_getClass("UIColor")).get());
                })
        .method(sel::load_,
                [](id self, NSURL* url) { controllerOf(self)->load(url, nullptr); })
        .method(sel::load_referringURL_, [](id self, NSURL* url, NSURL* referrer) { controllerOf(self)->load(url, referrer); })
        .method(sel::back,
                [](id self) {
                    id webView = controllerOf(self)->webView_.get();
                    if (sel::canGoBack(webView)) sel::goBack(webView);
                })
        .method(sel::forward,
                [](id self) {
                    id webView = controllerOf(self)->webView_.get();
                    if (sel::canGoForward(webView)) sel::goForward(webView);
                })
        .method(sel::stopLoading, [](id self) { sel::stopLoading(controllerOf(self)->webView_.get()); })
        .method(sel::reload, [](id self) { sel::reload(controllerOf(self)->webView_.get()); })
        .method(sel::openInSafari, [](id self) { controllerOf(self)->openInSafari(); })
        .method(sel::refreshToolbar, [](id self) { controllerOf(self)->refreshToolbar(); })
        .method(sel::buttonWithImage_name_width_enabled_action_,
                [](id self, id image, Value name, double width, bool enabled, SEL action) {
                    Ref<Object> item = sel::initWithImage_style_target_action_(alloc("UIBarButtonItem"), image, kBarButtonItemStylePlain, self, action);
                    sel::setWidth_(item.get(), width);
                    sel::setEnabled_(item.get(), enabled);
                    sel::setAccessibilityLabel_(item.get(), name);
                    sel::setIsAccessibilityElement_(item.get(), true);
                    return item;
                })
        .method(sel::didRotateFromInterfaceOrientation_,
                [](id self, long long from) {
                    sel::didRotateFromInterfaceOrientation_.super(controllerClass(), self, from);
                    sel::didRotateToOrientation_(controllerOf(self)->webView_.get(), sel::interfaceOrientation(self));
                })
        .method(sel::webView, [](id self) { return controllerOf(self)->webView_; })
        .method(sel::webViewDelegate, [](id self) { return controllerOf(self)->webViewDelegate_; })
        .method(sel::toolbar, [](id self) { return controllerOf(self)->toolbar_; })
        .method(sel::spinner, [](id self) { return controllerOf(self)->spinner_; })
        .method(sel::URLToLoad, [](id self) { return Ref<Object>(controllerOf(self)->URLToLoad_.get()); });
}

}  // namespace adlib
