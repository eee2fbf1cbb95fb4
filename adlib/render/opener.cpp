#include "adlib/render/opener.h"

#include "adlib/foundation/application.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/url_utilities.h"
#include "adlib/pipeline/sdk_core_controller.h"
#include "adlib/render/mraid_calendar_properties.h"
#include "platform/foundation/codecs.h"
#include "platform/foundation/dispatch.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/timer.h"
#include "platform/frameworks/eventkit.h"
#include "platform/frameworks/messageui.h"
#include "platform/frameworks/storekit.h"
#include "platform/uikit/application.h"

namespace adlib {

namespace {

YBXOpener* openerOf(id self) { return as<YBXOpener>(self); }

void present(id presenter, id controller, Block completion = {}) {
    if (presenter && controller) sel::presentViewController_animated_completion_(presenter, controller, true, std::move(completion));
}

// The sheet goes away through the controller that presented it: the opener's
// controller may have changed since.
void dismissPresented(id sheet, bool becomeFirstResponder) {
    Ref<Object> presenter = sel::presentingViewController(sheet);
    if (!presenter) return;
    sel::dismissViewControllerAnimated_completion_(presenter.get(), true, Block());
    if (becomeFirstResponder) sel::becomeFirstResponder(presenter.get());
}

// The text after a scheme's "name:" prefix, split at its first "?".
struct ComposerAddress {
    std::string recipients;
    Value parameters = Value::Dictionary{};
};

ComposerAddress composerAddress(NSURL* url, std::string_view prefix) {
    ComposerAddress address;
    const std::string absolute = url->absoluteString();
    const std::string rest = absolute.size() > prefix.size() ? absolute.substr(prefix.size()) : std::string();
    const std::size_t question = rest.find('?');
    if (question == std::string::npos) {
        address.recipients = rest;
        return address;
    }
    address.recipients = rest.substr(0, question);
    address.parameters = ybx_dictionaryFromQueryParametersAndConvertKeysToLowercase(url, true);
    return address;
}

// Addresses separated by ",", percent-decoded; empty pieces are no address.
Value recipientList(const std::string& text) {
    Value::Array list;
    for (const std::string& piece : componentsSeparatedByString(text, ",")) {
        std::optional<std::string> decoded = percentDecode(piece);
        if (decoded && !decoded->empty()) list.emplace_back(*decoded);
    }
    return Value(std::move(list));
}

// A parameter's text split at ","; nil when absent.
Value listParameter(const Value& parameters, const char* key) {
    const Value& value = parameters[key];
    if (!value.isString()) return Value();
    Value::Array list;
    for (const std::string& piece : componentsSeparatedByString(value.string(), ",")) list.emplace_back(piece);
    return Value(std::move(list));
}

Ref<Object> newStoreSheet(id delegate) {
    Ref<Object> sheet = newObject("SKStoreProductViewController");
    sel::setDelegate_(sheet.get(), delegate);
    return sheet;
}

Value productParameters(const Value& productID) {
    return Value{{SKStoreProductParameterITunesItemIdentifier, Value(productID.integerValue())}};
}

}  // namespace

YBXOpener::~YBXOpener() {
    YBXApplication* application = YBXApplication::sharedApplication();
    for (auto& [productID, sheet] : cachedStoreProductViewController_) {
        // One on screen belongs to its presenter; a later ad presenting it would raise.
        if (sel::presentingViewController(sheet.get())) continue;
        if (application) application->finishedUsingStoreProductViewController(sheet.get(), Value(productID));
    }
}

bool YBXOpener::shouldPerformOpenAction() {
    if (!autoClickProtected_) return true;
    Ref<Object> webView = webView_.lock();
    if (sel::touched(webView.get())) return true;
    Value::Dictionary info;
    const Value debugDialog = sel::adDebugDialog(webView.get());
    if (!debugDialog.isNil()) info["debugDialog"] = debugDialog;
    if (navigationURL_.isString()) info["navigationURL"] = navigationURL_;
    Ref<Object> page = sel::activeSDKCoreWebView(YBXSDKCoreController::sharedInstance());
    YBXNotificationCenter::postJSNotification("navigationBlocked", Value(std::move(info)), page.get());
    return false;
}

bool YBXOpener::checkStateWithParamter(const Value& object) { return !object.isNil() && viewController_.lock(); }

void YBXOpener::didOpen() { sel::pingClickURLs(slot_.lock().get()); }

void YBXOpener::didOpenInApp() {
    Ref<YBXOpener> protector(this);
    didOpen();
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::didOpenInApplication.name)) sel::didOpenInApplication(delegate.get());
}

void YBXOpener::didOpenExternalApp() {
    Ref<YBXOpener> protector(this);
    didOpen();
    Ref<Object> delegate = delegate_.lock();
    if (delegate && respondsToSelector(delegate.get(), sel::didLeaveApplication.name)) sel::didLeaveApplication(delegate.get());
}

void YBXOpener::openApp(NSURL* url) {
    if (!url || !shouldPerformOpenAction()) return;
    Ref<YBXOpener> protector(this);
    didOpenExternalApp();
    Ref<Object> slot = slot_.lock();
    sel::adWillLeaveApplication(slot.get());
    didOpenAnotherApplication_ = true;
    sel::willLeaveAppDueToClick(slot.get());
    // After the navigation decision under way has returned.
    Ref<NSURL> destination(url);
    NSOperationQueue::mainQueue()->addOperationWithBlock(
        [destination] { sel::openURL_(UIApplication::sharedApplication(), Value(destination.get())); });
}

void YBXOpener::openInAppStore(const Value& productID, NSURL* fallbackURL) {
    if (!shouldPerformOpenAction()) return;
    if (!sel::isInAppStoreSupported(this)) {
        openApp(fallbackURL);
        return;
    }
    Ref<Object> sheet = newStoreSheet(this);
    WeakRef<YBXOpener> weakSelf(this);
    Ref<NSURL> fallback(fallbackURL);
    // The completion keeps the sheet until the load has answered.
    sel::loadProductWithParameters_completionBlock_(sheet.get(), productParameters(productID), [weakSelf, fallback, sheet](bool loaded, id) {
        Ref<YBXOpener> self = weakSelf.lock();
        if (!self) return;
        if (!loaded) {
            self->openApp(fallback.get());
            return;
        }
        Ref<Object> controller = self->viewController_.lock();
        if (!controller || sel::isBeingDismissed(controller.get())) return;
        present(controller.get(), sheet.get());
        self->didOpenInApp();
    });
}

void YBXOpener::openInAppStoreWithProductID(const Value& productID, NSURL* fallbackURL, bool shouldWaitForFetch) {
    if (!shouldPerformOpenAction()) return;
    if (shouldWaitForFetch) {
        openInAppStore(productID, fallbackURL);
        return;
    }
    Ref<Object> sheet = fetchInAppStoreForProductID(productID);
    Ref<Object> controller = viewController_.lock();
    if (!sheet || !controller) return;
    sel::setDelegate_(sheet.get(), this);
    // Once on screen the sheet is its presenter's, no longer one to hand back.
    if (productID.isString()) cachedStoreProductViewController_.erase(productID.string());
    WeakRef<YBXOpener> weakSelf(this);
    present(controller.get(), sheet.get(), [weakSelf] {
        if (Ref<YBXOpener> self = weakSelf.lock()) self->didOpenInApp();
    });
}

Ref<Object> YBXOpener::fetchInAppStoreForProductID(const Value& productID) {
    if (!productID.isString() || productID.string().empty()) return nullptr;
    const std::string& key = productID.string();
    if (auto kept = cachedStoreProductViewController_.find(key); kept != cachedStoreProductViewController_.end()) return kept->second;
    YBXApplication* application = YBXApplication::sharedApplication();
    Ref<Object> sheet = application ? application->cachedStoreProductViewControllerForProductID(productID) : nullptr;
    if (!sheet) {
        sheet = newStoreSheet(this);
        sel::loadProductWithParameters_completionBlock_(sheet.get(), productParameters(productID), SKStoreProductLoadCompletion());
    }
    // Kept, so that one never shown goes back to the cache with this opener.
    if (sheet) cachedStoreProductViewController_[key] = sheet;
    return sheet;
}

void YBXOpener::openInAppPurchase(const Value& productID, long long quantity, const Value& reportingURLStringFormats) {
    if (!shouldPerformOpenAction()) return;
    Ref<YBXOpener> protector(this);
    Ref<Object> purchase =
        sel::initWithProductID_quantity_reportingURLStringFormats_(alloc("YBXInAppPurchase"), productID, quantity, reportingURLStringFormats);
    sel::didReceiveInAppPurchase_(slot_.lock().get(), purchase.get());
    didOpenInApp();
    Ref<Object> controller = viewController_.lock();
    if (isKindOfClass(controller.get(), "YBXViewController")) sel::relinquishScreen(controller.get());
}

void YBXOpener::openBrowserToURL(NSURL* url, long long orientations) {
    if (!shouldPerformOpenAction() || !checkStateWithParamter(Value(url))) return;
    Ref<YBXOpener> protector(this);
    Ref<Object> browser = newObject("YBXBrowserViewController");
    sel::setSupportedOrientations_(browser.get(), orientations);
    sel::setSlot_(browser.get(), slot_.lock().get());
    sel::load_referringURL_(browser.get(), url, referringURL_.get());
    sel::presentFromViewController_(browser.get(), viewController_.lock().get());
    didOpenInApp();
}

Ref<Object> YBXOpener::overlayWithWebView(id webView, long long orientations, bool useCustomClose) {
    Ref<Object> controller = sel::initWithWebView_(alloc("YBXWebAppViewController"), webView);
    sel::setSupportedOrientations_(controller.get(), orientations);
    sel::setSlot_(controller.get(), slot_.lock().get());
    sel::setUseCustomClose_(controller.get(), useCustomClose);
    return controller;
}

void YBXOpener::openWebApp(NSURL* url, long long orientations, bool useCustomClose) {
    if (!shouldPerformOpenAction() || !checkStateWithParamter(Value(url))) return;
    Ref<YBXOpener> protector(this);
    Ref<Object> controller = overlayWithWebView(nullptr, orientations, useCustomClose);
    sel::load_(controller.get(), url);
    sel::presentFromViewController_(controller.get(), viewController_.lock().get());
    didOpenInApp();
}

void YBXOpener::openWebAppWithHTML(const Value& html, long long orientations, bool useCustomClose) {
    if (!shouldPerformOpenAction() || !checkStateWithParamter(html)) return;
    Ref<YBXOpener> protector(this);
    Ref<Object> controller = overlayWithWebView(nullptr, orientations, useCustomClose);
    sel::loadHTML_baseURL_(controller.get(), html, nullptr);
    sel::presentFromViewController_(controller.get(), viewController_.lock().get());
    didOpenInApp();
}

void YBXOpener::expandToWebApp(long long orientations, bool useCustomClose) {
    Ref<Object> webView = webView_.lock();
    if (!shouldPerformOpenAction() || !checkStateWithParamter(Value(webView.get()))) return;
    Ref<Object> presenter = viewController_.lock();
    // Already full screen: the creative has nowhere further to expand.
    if (isKindOfClass(presenter.get(), "YBXViewController")) return;
    Ref<YBXOpener> protector(this);
    Ref<Object> controller = overlayWithWebView(webView.get(), orientations, useCustomClose);
    sel::presentFromViewController_(controller.get(), presenter.get());
    didOpenInApp();
}

void YBXOpener::resizeWebView(Size size, Point offset) {
    if (!shouldPerformOpenAction()) return;
    Ref<Object> webView = webView_.lock();
    Ref<Object> presenter = viewController_.lock();
    // Malformed geometry, or a creative that already fills the screen: nothing to resize.
    if (!webView || !presenter || !(size.width > 0) || !(size.height > 0) || isKindOfClass(presenter.get(), "YBXViewController")) return;
    Ref<Object> from = sel::superview(webView.get());
    Ref<Object> over = sel::view(presenter.get());
    if (!from || !over) return;
    // Over the presenter's view, from where the creative shows now: inside its
    // banner, the part outside the banner would take no touch.
    const Rect shown = sel::convertRect_toView_(from.get(), sel::frame(webView.get()), over.get());
    Ref<YBXOpener> protector(this);
    sel::addSubview_(over.get(), webView.get());
    sel::setFrame_(webView.get(), Rect(shown.x() + offset.x, shown.y() + offset.y, size.width, size.height));
}

void YBXOpener::openEmailComposer(NSURL* url) {
    if (!shouldPerformOpenAction() || !checkStateWithParamter(Value(url))) return;
    // Without a mail account no sheet would show: nothing is pinged or reported.
    if (!sel::canSendMail(objc_getClass("MFMailComposeViewController"))) return;
    Ref<YBXOpener> protector(this);
    const ComposerAddress address = composerAddress(url, "mailto:");
    const Value& parameters = address.parameters;
    Ref<Object> composer = newObject("MFMailComposeViewController");
    sel::setMailComposeDelegate_(composer.get(), this);
    sel::setToRecipients_(composer.get(), recipientList(address.recipients));
    if (Value cc = listParameter(parameters, "cc"); !cc.isNil()) sel::setCcRecipients_(composer.get(), cc);
    if (Value bcc = listParameter(parameters, "bcc"); !bcc.isNil()) sel::setBccRecipients_(composer.get(), bcc);
    if (parameters["subject"].isString()) sel::setSubject_(composer.get(), parameters["subject"]);
    if (parameters["body"].isString()) sel::setMessageBody_isHTML_(composer.get(), parameters["body"], false);
    sel::setModalTransitionStyle_(composer.get(), 0);
    sel::presentComposerController_(this, composer.get());
    didOpenExternalApp();
}

void YBXOpener::openSmsComposer(NSURL* url) {
    if (!shouldPerformOpenAction() || !checkStateWithParamter(Value(url))) return;
    if (!sel::canSendText(objc_getClass("MFMessageComposeViewController"))) return;
    Ref<YBXOpener> protector(this);
    const ComposerAddress address = composerAddress(url, "sms:");
    Ref<Object> composer = newObject("MFMessageComposeViewController");
    sel::setRecipients_(composer.get(), recipientList(address.recipients));
    if (address.parameters["body"].isString()) sel::setBody_(composer.get(), address.parameters["body"]);
    sel::setMessageComposeDelegate_(composer.get(), this);
    sel::setModalTransitionStyle_(composer.get(), 0);
    sel::presentComposerController_(this, composer.get());
    didOpenExternalApp();
}

void YBXOpener::presentComposerController(id composer) {
    if (!composer || !shouldPerformOpenAction()) return;
    Ref<Object> controller = viewController_.lock();
    if (!controller) return;
    if (isKindOfClass(controller.get(), "YBXViewController") && !sel::viewDidAppear(controller.get())) {
        // A controller that went away first will never appear: the composer is dropped.
        if (!sel::presentingViewController(controller.get())) return;
        performSelectorAfterDelay(this, sel::presentComposerController_, Value(composer), kYBXComposerRetryDelay);
        return;
    }
    UIApplication* application = UIApplication::sharedApplication();
    const bool statusBarHidden = sel::isStatusBarHidden(application);
    present(controller.get(), composer);
    // The composer may have shown the bar.
    if (statusBarHidden) sel::setStatusBarHidden_(application, true);
}

void YBXOpener::openPublisherToolbar(const Value& adUnitID, const Value& adContent) {
    if (!shouldPerformOpenAction()) return;
    const Value unit = adUnitID.isString() ? adUnitID : sel::adUnitID(slot_.lock().get());
    Ref<Object> toolbar = sel::initWithAdContent_adUnitID_(alloc("YBXPublisherToolbarController"), adContent, unit);
    Ref<Object> controller = viewController_.lock();
    if (controller && sel::presentedViewController(controller.get())) {
        WeakRef<Object> weakController(controller.get());
        sel::dismissViewControllerAnimated_completion_(controller.get(), true, [toolbar, weakController] {
            sel::presentFromViewController_(toolbar.get(), weakController.lock().get());
        });
        return;
    }
    sel::presentFromViewController_(toolbar.get(), controller.get());
}

void YBXOpener::openCalendarWithDictionary(const Value& dictionary) {
    // An untouched creative opens no editor either.
    if (!shouldPerformOpenAction()) return;
    Ref<YBXMRAIDCalendarProperties> properties = YBXMRAIDCalendarProperties::fromDictionary(dictionary);
    if (!properties) return;
    Ref<Object> editor = newObject("EKEventEditViewController");
    Ref<Object> store = newObject("EKEventStore");
    if (!editor || !store) return;
    sel::setEventStore_(editor.get(), store.get());
    Ref<Object> event = sel::eventWithEventStore_(objc_getClass("EKEvent"), store.get());
    sel::setTitle_(event.get(), properties->eventDescription_);
    sel::setNotes_(event.get(), properties->summary_);
    sel::setEventLocation_(event.get(), properties->location_);
    sel::setStartDate_(event.get(), properties->startTime_);
    sel::setEndDate_(event.get(), properties->endTime_);
    sel::setEvent_(editor.get(), event.get());
    sel::setEditViewDelegate_(editor.get(), this);
    if (respondsToSelector(store.get(), sel::requestAccessToEntityType_completion_.name)) {
        WeakRef<YBXOpener> weakSelf(this);
        sel::requestAccessToEntityType_completion_(store.get(), EKEntityTypeEvent, [weakSelf](bool granted, id) {
            if (granted) return;
            // The answer comes on another thread; the opener's fields are the main thread's.
            dispatch_async(dispatch_get_main_queue(), [weakSelf] {
                Ref<YBXOpener> self = weakSelf.lock();
                if (!self) return;
                YBXNotificationCenter::postJSNotification("onCalendarEventCanceled", Value(), self->webView_.lock().get());
            });
        });
    }
    present(viewController_.lock().get(), editor.get());
}

void registerOpenerClass() {
    ClassBuilder<YBXOpener>("YBXOpener", "NSObject")
        .protocol("MFMailComposeViewControllerDelegate")
        .protocol("MFMessageComposeViewControllerDelegate")
        .protocol("SKStoreProductViewControllerDelegate")
        .protocol("EKEventEditViewDelegate")
        .method(sel::slot, [](id self) { return openerOf(self)->slot_.lock(); })
        .method(sel::setSlot_, [](id self, id slot) { openerOf(self)->slot_ = WeakRef<Object>(slot); })
        .method(sel::delegate, [](id self) { return openerOf(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { openerOf(self)->delegate_ = WeakRef<Object>(delegate); })
        .method(sel::viewController, [](id self) { return openerOf(self)->viewController_.lock(); })
        .method(sel::setViewController_, [](id self, id controller) { openerOf(self)->viewController_ = WeakRef<Object>(controller); })
        .method(sel::webView, [](id self) { return openerOf(self)->webView_.lock(); })
        .method(sel::setWebView_, [](id self, id view) { openerOf(self)->webView_ = WeakRef<Object>(view); })
        .method(sel::referringURL, [](id self) -> Ref<Object> { return openerOf(self)->referringURL_; })
        .method(sel::setReferringURL_, [](id self, NSURL* url) { openerOf(self)->referringURL_ = Ref<NSURL>(url); })
        .method(sel::navigationURL, [](id self) { return openerOf(self)->navigationURL_; })
        .method(sel::setNavigationURL_, [](id self, Value url) { openerOf(self)->navigationURL_ = url.isString() ? url : Value(); })
        .property<&YBXOpener::autoClickProtected_>(sel::autoClickProtected, sel::setAutoClickProtected_)
        .property<&YBXOpener::didOpenAnotherApplication_>(sel::didOpenAnotherApplication, sel::setDidOpenAnotherApplication_)
        .method(sel::cachedStoreProductViewController,
                [](id self) {
                    Value::Dictionary sheets;
                    for (const auto& [productID, sheet] : openerOf(self)->cachedStoreProductViewController_) sheets[productID] = Value(sheet.get());
                    return Value(std::move(sheets));
                })
        .method(sel::shouldPerformOpenAction, [](id self) { return openerOf(self)->shouldPerformOpenAction(); })
        .method(sel::checkStateWithParamter_, [](id self, Value object) { return openerOf(self)->checkStateWithParamter(object); })
        .method(sel::didOpen, [](id self) { openerOf(self)->didOpen(); })
        .method(sel::didOpenInApp, [](id self) { openerOf(self)->didOpenInApp(); })
        .method(sel::didOpenExternalApp, [](id self) { openerOf(self)->didOpenExternalApp(); })
        .method(sel::isInAppStoreSupported, [](id) { return objc_getClass("SKStoreProductViewController") != nullptr; })
        .method(sel::openApp_, [](id self, NSURL* url) { openerOf(self)->openApp(url); })
        .method(sel::openInAppStore_fallbackURLString_,
                [](id self, Value productID, NSURL* fallback) { openerOf(self)->openInAppStore(productID, fallback); })
        .method(sel::openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_,
                [](id self, Value productID, NSURL* fallback, bool wait) { openerOf(self)->openInAppStoreWithProductID(productID, fallback, wait); })
        .method(sel::fetchInAppStoreForProductID_, [](id self, Value productID) { return openerOf(self)->fetchInAppStoreForProductID(productID); })
        .method(sel::openInAppPurchase_quantity_reportingURLStringFormats_,
                [](id self, Value productID, long long quantity, Value templates) { openerOf(self)->openInAppPurchase(productID, quantity, templates); })
        .method(sel::openBrowserToURL_supportedOrientations_, [](id self, NSURL* url, long long o) { openerOf(self)->openBrowserToURL(url, o); })
        .method(sel::overlayWithWebView_orientations_usingCustomClose_,
                [](id self, id webView, long long o, bool customClose) { return openerOf(self)->overlayWithWebView(webView, o, customClose); })
        .method(sel::openWebApp_supportedOrientations_usingCustomClose_,
                [](id self, NSURL* url, long long o, bool customClose) { openerOf(self)->openWebApp(url, o, customClose); })
        .method(sel::openWebAppWithHTML_supportedOrientations_usingCustomClose_,
                [](id self, Value html, long long o, bool customClose) { openerOf(self)->openWebAppWithHTML(html, o, customClose); })
        .method(sel::expandToWebAppWithSupportedOrientations_usingCustomClose_,
                [](id self, long long o, bool customClose) { openerOf(self)->expandToWebApp(o, customClose); })
        .method(sel::openWebAppWithSize_offset_, [](id self, Size size, Point offset) { openerOf(self)->resizeWebView(size, offset); })
        .method(sel::openEmailComposer_, [](id self, NSURL* url) { openerOf(self)->openEmailComposer(url); })
        .method(sel::openSmsComposer_, [](id self, NSURL* url) { openerOf(self)->openSmsComposer(url); })
        .method(sel::presentComposerController_, [](id self, id composer) { openerOf(self)->presentComposerController(composer); })
        .method(sel::openPublisherToolbar_withAdContent_,
                [](id self, Value adUnitID, Value content) { openerOf(self)->openPublisherToolbar(adUnitID, content); })
        .method(sel::openCalendarWithDictionary_, [](id self, Value dictionary) { openerOf(self)->openCalendarWithDictionary(dictionary); })
        .method(sel::mailComposeController_didFinishWithResult_error_,
                [](id, id composer, long long, Value) { dismissPresented(composer, true); })
        .method(sel::messageComposeViewController_didFinishWithResult_, [](id, id composer, long long) { dismissPresented(composer, true); })
        .method(sel::productViewControllerDidFinish_, [](id, id sheet) { dismissPresented(sheet, true); })
        .method(sel::eventEditViewController_didCompleteWithAction_, [](id, id editor, long long) { dismissPresented(editor, false); });
}

}  // namespace adlib
