#include "adlib/render/pmsg_handlers.h"

#include <cstdint>

#include "adlib/foundation/device.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/signals.h"
#include "adlib/foundation/utilities.h"
#include "adlib/pipeline/click_tracker.h"
#include "adlib/pipeline/slot.h"
#include "adlib/render/swipe_configurations.h"
#include "platform/foundation/log.h"
#include "platform/foundation/ns_string.h"
#include "platform/frameworks/audio_toolbox.h"
#include "platform/network/url.h"

namespace adlib {

namespace {

YBXBoundPMSGHandler* handlerOf(id self) { return as<YBXBoundPMSGHandler>(self); }

// The class's table, handed to the base initialiser.
Ref<Object> initWithClassTable(id self) {
    return sel::initWithActionSelectorDictionary_(self, sel::actionSelectorDictionary(object_getClass(self)));
}

// A handler class with its table.
template <class Handler>
ClassBuilder<Handler> handlerClass(const char* name, Value (*table)(id)) {
    ClassBuilder<Handler> builder(name, "YBXPMSGHandler");
    builder.classMethod(sel::actionSelectorDictionary, table);
    return builder;
}

// --- the argument dictionary {"webView", "note"} ---

const Value& parametersOf(const Value& argument) {
    static const Value none = Value::Dictionary{};
    auto* note = as<YBXNotification>(argument["note"].object());
    return note ? note->parameters() : none;
}

Object* webViewOf(const Value& argument) { return argument["webView"].object(); }

// A parameter's text; nil when absent or no string.
Value stringParameter(const Value& parameters, const char* key) {
    const Value& value = parameters[key];
    return value.isString() ? value : Value();
}

Ref<NSURL> URLFromParameters(const Value& parameters) {
    const Value text = stringParameter(parameters, "u");
    return text.isNil() ? nullptr : NSURL::URLWithString(text.string());
}

bool parameterEquals(const Value& parameters, const char* key, const char* text) {
    const Value value = stringParameter(parameters, key);
    return !value.isNil() && value.string() == text;
}

long long orientationFromParameters(const Value& parameters) {
    const Value o = stringParameter(parameters, "o");
    if (o.isNil()) return 1;
    if (o.string() == "p") return 2;
    if (o.string() == "l") return 3;
    return 1;
}

long long integerForKey(const Value& key, const Value& dictionary, long long fallback) {
    if (!key.isString() || !dictionary.isDictionary()) return fallback;
    const Value& value = dictionary[key.string()];
    return value.isString() || value.isNumber() ? value.integerValue(fallback) : fallback;
}

// Pieces of the text between white space and line breaks, empty ones dropped.
Value splitAtWhitespace(const std::string& text) {
    Value::Array pieces;
    std::string piece;
    auto flush = [&] {
        if (!piece.empty()) pieces.emplace_back(piece);
        piece.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')
            flush();
        else
            piece += c;
    }
    flush();
    return Value(std::move(pieces));
}

// --- YBXDefaultPMSGHandler ---

Value defaultTable(id) {
    static const Value table{{"httpTrack", "didReceiveTrackHTTPNotification:"},
                             {"log", "didReceiveLogNotification:"},
                             {"touch", "didReceiveTouchNotification:"},
                             {"vibrate", "didReceiveVibrateNotification:"},
                             {"canOpenURLs", "didReceiveCanOpenURLsNotification:"},
                             {"close", "didReceiveCloseNotification:"}};
    return table;
}

void trackHTTP(id, Value argument) {
    // A ping without a URL would never end and never be removed.
    Ref<NSURL> url = URLFromParameters(parametersOf(argument));
    if (url) sel::trackURL_(YBXClickTrackerCollection::sharedInstance(), url.get());
}

void logMessage(id, Value argument) { NSLog("%@", parametersOf(argument)["string"]); }

void touch(id self, Value argument) {
    const Value& parameters = parametersOf(argument);
    Class* cls = object_getClass(self);
    const long long x = sel::integerForKey_fromDictionary_withDefaultValue_(cls, Value("tx"), parameters, -1);
    const long long y = sel::integerForKey_fromDictionary_withDefaultValue_(cls, Value("ty"), parameters, -1);
    const long long duration = sel::integerForKey_fromDictionary_withDefaultValue_(cls, Value("td"), parameters, -1);
    RunSynchronouslyOnMainThread([&] {
        ybx_htg(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), static_cast<std::uint32_t>(duration));
    });
}

void vibrate(id, Value) { AudioServicesPlaySystemSound(kSystemSoundID_Vibrate); }

void canOpenURLs(id, Value argument) {
    const Value urls = stringParameter(parametersOf(argument), "urls");
    Value::Array list;
    if (!urls.isNil())
        for (const std::string& text : componentsSeparatedByString(urls.string(), ",")) list.emplace_back(text);
    const Value answers = YBXDevice::currentDevice()->canOpenURLs(Value(std::move(list)));
    YBXNotificationCenter::postJSNotification("openableURLs", answers, webViewOf(argument));
}

void close(id, Value argument) {
    Ref<Object> controller = sel::viewController(webViewOf(argument));
    if (isKindOfClass(controller.get(), "YBXViewController")) sel::relinquishScreen(controller.get());
}

// --- YBXOpenerPMSGHandler ---

YBXOpenerPMSGHandler* openerHandlerOf(id self) { return as<YBXOpenerPMSGHandler>(self); }
id openerOf(id self) { return openerHandlerOf(self)->opener_.get(); }

Value openerTable(id) {
    static const Value table{{"click", "didReceiveClickNotification:"}, {"open", "didReceiveOpenNotification:"}, {"fetchAppStore", "fetchInAppStore:"}};
    return table;
}

Value subActionTable(id) {
    static const Value table{{"in_app_store", "actionOpenInAppStore:"}, {"in_app_purchase", "actionOpenInAppPurchase:"},
                             {"browser", "actionOpenBrowser:"},         {"webapp", "actionOpenWebApp:"},
                             {"expand", "actionExpand:"},               {"video", "actionOpenBrowser:"},
                             {"call", "actionOpenApp:"},                {"app", "actionOpenApp:"}};
    return table;
}

// The slot's click URL for a destination.
Ref<NSURL> clickURLFor(id opener, NSURL* url) {
    Ref<Object> clickURL = sel::spamClickURLWithURL_(sel::slot(opener).get(), url);
    return Ref<NSURL>(as<NSURL>(clickURL.get()));
}

void click(id self, Value argument) {
    Ref<NSURL> url = as<NSURL>(sel::URLFromParams_(self, parametersOf(argument)));
    if (!url) return;
    Ref<NSURL> clickURL = clickURLFor(openerOf(self), url.get());
    if (clickURL) sel::trackURL_(YBXClickTrackerCollection::sharedInstance(), clickURL.get());
}

void open(id self, Value argument) {
    const Value action = stringParameter(parametersOf(argument), "a");
    const Value operation = action.isNil() ? Value() : sel::subActionSelectorDictionary(object_getClass(self))[action.string()];
    Ref<Object> protector(self);
    if (operation.isString() && InvokeSelectorWithObject(self, sel_registerName(operation.string()), argument)) return;
    sel::actionOpenApp_(self, argument);
}

void fetchInAppStore(id self, Value argument) {
    id opener = openerOf(self);
    const Value productID = stringParameter(parametersOf(argument), "product_id");
    // Without a product there is nothing to keep a sheet under.
    if (productID.isNil() || productID.string().empty() || !sel::isInAppStoreSupported(opener)) return;
    sel::fetchInAppStoreForProductID_(opener, productID);
}

void openInAppStore(id self, Value argument) {
    id opener = openerOf(self);
    const Value& parameters = parametersOf(argument);
    const Value productID = stringParameter(parameters, "product_id");
    Ref<NSURL> url = as<NSURL>(sel::URLFromParams_(self, parameters));
    const Value& wait = parameters["wait_for_fetch"];
    const bool shouldWait = wait.isNil() || (wait.isString() && wait.string() == "true");
    if (!productID.isNil() && !productID.string().empty() && sel::isInAppStoreSupported(opener))
        sel::openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_(opener, productID, url.get(), shouldWait);
    else
        sel::openApp_(opener, url.get());
}

void openInAppPurchase(id self, Value argument) {
    const Value& parameters = parametersOf(argument);
    const Value productID = stringParameter(parameters, "product_id");
    if (productID.isNil()) return;
    const long long quantity =
        sel::integerForKey_fromDictionary_withDefaultValue_(objc_getClass("YBXDefaultPMSGHandler"), Value("quantity"), parameters, 0);
    if (!sel::quantityIsValid_(objc_getClass("YBXInAppPurchase"), quantity)) return;
    const Value reports = stringParameter(parameters, "report_urls");
    const Value templates = reports.isNil() ? Value(Value::Array{}) : splitAtWhitespace(reports.string());
    sel::openInAppPurchase_quantity_reportingURLStringFormats_(openerOf(self), productID, quantity, templates);
}

void openBrowser(id self, Value argument) {
    const Value& parameters = parametersOf(argument);
    Ref<NSURL> url = as<NSURL>(sel::URLFromParams_(self, parameters));
    if (url) sel::openBrowserToURL_supportedOrientations_(openerOf(self), url.get(), sel::orientationFromParams_(self, parameters));
}

void openWebApp(id self, Value argument) {
    const Value& parameters = parametersOf(argument);
    const long long orientation = sel::orientationFromParams_(self, parameters);
    const bool customClose = sel::shouldUseCustomClose_(self, parameters);
    if (Ref<NSURL> url = as<NSURL>(sel::URLFromParams_(self, parameters))) {
        sel::openWebApp_supportedOrientations_usingCustomClose_(openerOf(self), url.get(), orientation, customClose);
        return;
    }
    const Value html = stringParameter(parameters, "html");
    if (!html.isNil()) sel::openWebAppWithHTML_supportedOrientations_usingCustomClose_(openerOf(self), html, orientation, customClose);
}

void expand(id self, Value argument) {
    const Value& parameters = parametersOf(argument);
    sel::expandToWebAppWithSupportedOrientations_usingCustomClose_(openerOf(self), sel::orientationFromParams_(self, parameters),
                                                                   sel::shouldUseCustomClose_(self, parameters));
}

void openApp(id self, Value argument) {
    Ref<NSURL> url = as<NSURL>(sel::URLFromParams_(self, parametersOf(argument)));
    if (!url) return;
    id opener = openerOf(self);
    // A blocked click is no click: the gate runs before it is counted.
    if (!sel::shouldPerformOpenAction(opener)) return;
    sel::adWasClicked(sel::slot(opener).get());
    Ref<NSURL> clickURL = clickURLFor(opener, url.get());
    sel::openApp_(opener, clickURL.get());
}

// --- YBXAppEventPMSGHandler ---

Value appEventTable(id) {
    static const Value table{{"appEvent", "didReceiveAppEventNotification:"}};
    return table;
}

void appEvent(id self, Value argument) {
    const Value& parameters = parametersOf(argument);
    const Value name = stringParameter(parameters, "name");
    if (name.isNil()) return;
    Ref<Object> slot = as<YBXAppEventPMSGHandler>(self)->slot_.lock();
    Ref<Object> delegate = sel::slotDelegate(slot.get());
    if (delegate && respondsToSelector(delegate.get(), sel::slot_didReceiveAppEvent_withInfo_.name))
        sel::slot_didReceiveAppEvent_withInfo_(delegate.get(), slot.get(), name, stringParameter(parameters, "info"));
}

// --- YBXWebAppPMSGHandler ---

Value webAppTable(id) {
    static const Value table{{"customClose", "configureCustomCloseButtonWithArguments:"},
                             {"setInterstitialProperties", "updateInterstitialPropertiesWithArguments:"}};
    return table;
}

Ref<Object> webAppControllerOf(const Value& argument) {
    Ref<Object> controller = sel::viewController(webViewOf(argument));
    return isKindOfClass(controller.get(), "YBXWebAppViewController") ? controller : nullptr;
}

void configureCustomClose(id, Value argument) {
    if (Ref<Object> controller = webAppControllerOf(argument))
        sel::setUseCustomClose_(controller.get(), parameterEquals(parametersOf(argument), "custom_close", "1"));
}

void updateInterstitialProperties(id, Value argument) {
    Ref<Object> controller = webAppControllerOf(argument);
    const Value& parameters = parametersOf(argument);
    if (!controller || parameters["transparentBackground"].isNil()) return;
    // Once shown, the interstitial keeps how it is shown.
    if (sel::superview(sel::view(controller.get()).get())) return;
    sel::setTransparentInterstitial_(controller.get(), parameterEquals(parameters, "transparentBackground", "1"));
}

// --- YBXSwipeToViewControllerPMSGHandler ---

Value swipeTable(id) {
    static const Value table{{"enableSwipeToViewController", "enableSwipeToViewController:"},
                             {"disableSwipeToViewController", "disableSwipeToViewController:"}};
    return table;
}

Ref<Object> swipeConfigurationsOf(id slot) {
    auto* typed = as<YBXSlot>(slot);
    return typed ? typed->swipeConfigurations() : nullptr;
}

void enableSwipe(id self, Value argument) {
    Ref<Object> slot = handlerOf(self)->slot_.lock();
    Ref<Object> configurations = swipeConfigurationsOf(slot.get());
    if (!configurations) return;
    const Value& parameters = parametersOf(argument);
    long long direction = YBXSwipeDirectionNone;
    if (parameterEquals(parameters, "swipe_direction", "top_to_bottom")) direction = YBXSwipeDirectionTopToBottom;
    if (parameterEquals(parameters, "swipe_direction", "bottom_to_top")) direction = YBXSwipeDirectionBottomToTop;
    sel::setSwipeDirection_(configurations.get(), direction);
    sel::setIsAdDraggable_(configurations.get(), parameterEquals(parameters, "ad_draggable", "1"));
    sel::enableSwipeToViewController(slot.get());
}

void disableSwipe(id self, Value) {
    Ref<Object> slot = handlerOf(self)->slot_.lock();
    sel::disableSwipeToViewController(slot.get());
    if (Ref<Object> configurations = swipeConfigurationsOf(slot.get())) {
        sel::setSwipeDirection_(configurations.get(), YBXSwipeDirectionNone);
        sel::setIsAdDraggable_(configurations.get(), false);
    }
}

}  // namespace

void registerPMSGHandlerClasses() {
    handlerClass<YBXPMSGHandler>("YBXDefaultPMSGHandler", &defaultTable)
        .classMethod(sel::integerForKey_fromDictionary_withDefaultValue_,
                     [](id, Value key, Value dictionary, long long fallback) { return integerForKey(key, dictionary, fallback); })
        .method(sel::init, [](id self) { return initWithClassTable(self); })
        .method(sel::didReceiveTrackHTTPNotification_, &trackHTTP)
        .method(sel::didReceiveLogNotification_, &logMessage)
        .method(sel::didReceiveTouchNotification_, &touch)
        .method(sel::didReceiveVibrateNotification_, &vibrate)
        .method(sel::didReceiveCanOpenURLsNotification_, &canOpenURLs)
        .method(sel::didReceiveCloseNotification_, &close);
    handlerClass<YBXOpenerPMSGHandler>("YBXOpenerPMSGHandler", &openerTable)
        .classMethod(sel::subActionSelectorDictionary, &subActionTable)
        .method(sel::initWithOpener_,
                [](id self, id opener) {
                    Ref<Object> made = initWithClassTable(self);
                    if (YBXOpenerPMSGHandler* handler = openerHandlerOf(made.get())) handler->opener_ = Ref<Object>(opener);
                    return made;
                })
        .method(sel::opener, [](id self) { return openerHandlerOf(self)->opener_; })
        .method(sel::didReceiveClickNotification_, &click)
        .method(sel::didReceiveOpenNotification_, &open)
        .method(sel::fetchInAppStore_, &fetchInAppStore)
        .method(sel::actionOpenInAppStore_, &openInAppStore)
        .method(sel::actionOpenInAppPurchase_, &openInAppPurchase)
        .method(sel::actionOpenBrowser_, &openBrowser)
        .method(sel::actionOpenWebApp_, &openWebApp)
        .method(sel::actionExpand_, &expand)
        .method(sel::actionOpenApp_, &openApp)
        .method(sel::URLFromParams_, [](id, Value parameters) { return Ref<Object>(URLFromParameters(parameters)); })
        .method(sel::orientationFromParams_, [](id, Value parameters) { return orientationFromParameters(parameters); })
        .method(sel::shouldUseCustomClose_, [](id, Value parameters) { return parameterEquals(parameters, "custom_close", "1"); });
    handlerClass<YBXAppEventPMSGHandler>("YBXAppEventPMSGHandler", &appEventTable)
        .method(sel::initWithSlot_,
                [](id self, id slot) {
                    Ref<Object> made = initWithClassTable(self);
                    if (auto* handler = as<YBXAppEventPMSGHandler>(made.get())) handler->slot_ = WeakRef<Object>(slot);
                    return made;
                })
        .method(sel::slot, [](id self) { return as<YBXAppEventPMSGHandler>(self)->slot_.lock(); })
        .method(sel::didReceiveAppEventNotification_, &appEvent);
    handlerClass<YBXPMSGHandler>("YBXWebAppPMSGHandler", &webAppTable)
        .method(sel::init, [](id self) { return initWithClassTable(self); })
        .method(sel::configureCustomCloseButtonWithArguments_, &configureCustomClose)
        .method(sel::updateInterstitialPropertiesWithArguments_, &updateInterstitialProperties);

    handlerClass<YBXBoundPMSGHandler>("YBXSwipeToViewControllerPMSGHandler", &swipeTable)
        .method(sel::initWithSlot_,
                [](id self, id slot) {
                    Ref<Object> made = initWithClassTable(self);
                    if (YBXBoundPMSGHandler* handler = handlerOf(made.get())) handler->slot_ = WeakRef<Object>(slot);
                    return made;
                })
        .method(sel::slot, [](id self) { return handlerOf(self)->slot_.lock(); })
        .method(sel::enableSwipeToViewController_, &enableSwipe)
        .method(sel::disableSwipeToViewController_, &disableSwipe);
}

}  // namespace adlib
