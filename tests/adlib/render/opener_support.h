// What the handler and opener tests share: one log of the calls that reached
// the recording neighbours, a slot that records what the opener and handlers
// tell it, an opener that records every destination it is asked for, and
// hooks on the click tracker and the SDK-core controller.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/foundation/notification_center.h"
#include "adlib/foundation/selectors.h"
#include "adlib/pipeline/click_tracker.h"
#include "adlib/pipeline/sdk_core_controller.h"
#include "adlib/render/opener.h"
#include "platform/foundation/json.h"
#include "platform/network/url.h"
#include "platform/webkit/web_view.h"
#include "platform/webkit/scripted_page_engine.h"

namespace adlib::testing {

inline std::vector<std::string>& calls() {
    static std::vector<std::string> log;
    return log;
}

inline std::string text(NSURL* url) { return url ? url->absoluteString() : "nil"; }
inline std::string text(const Value& value) { return value.isString() ? value.string() : value.isNil() ? "nil" : value.description(); }
inline std::string flag(bool b) { return b ? "YES" : "NO"; }

// A slot as the opener and the handlers see it.
class RecordingSlot : public NSObject {
public:
    Value adUnitID = "unit-1";
    WeakRef<Object> slotDelegate;
    std::vector<Ref<Object>> purchases;
};

// An opener whose every destination is recorded instead of opened.
class RecordingOpener : public YBXOpener {
public:
    bool storeSupported = true;
    bool gate = true;
};

// The slot's click URL for a destination.
inline std::string clickURLFor(const std::string& destination) { return "http://click.test/c?u=" + destination; }

inline void registerRecorders() {
    ClassBuilder<RecordingSlot>("TestRecordingSlot", "NSObject")
        .method(sel::adWasClicked, [](id) { calls().push_back("slot adWasClicked"); })
        .method(sel::adWillPresentScreen, [](id) {})
        .method(sel::pingClickURLs, [](id) { calls().push_back("slot pingClickURLs"); })
        .method(sel::adWillLeaveApplication, [](id) { calls().push_back("slot adWillLeaveApplication"); })
        .method(sel::willLeaveAppDueToClick, [](id) { calls().push_back("slot willLeaveAppDueToClick"); })
        .method(sel::didReceiveInAppPurchase_,
                [](id self, id purchase) {
                    as<RecordingSlot>(self)->purchases.emplace_back(purchase);
                    calls().push_back("slot didReceiveInAppPurchase:");
                })
        .method(sel::adUnitID, [](id self) { return as<RecordingSlot>(self)->adUnitID; })
        .method(sel::isMRAIDEnabled, [](id) { return false; })
        .method(sel::ad, [](id) { return Ref<Object>(); })
        .method(sel::slotDelegate, [](id self) { return as<RecordingSlot>(self)->slotDelegate.lock(); })
        .method(sel::spamClickURLWithURL_, [](id, NSURL* url) -> Ref<Object> {
            return url ? NSURL::URLWithString(clickURLFor(url->absoluteString())) : nullptr;
        });
    ClassBuilder<RecordingOpener>("TestRecordingOpener", "YBXOpener")
        .method(sel::isInAppStoreSupported, [](id self) { return as<RecordingOpener>(self)->storeSupported; })
        .method(sel::shouldPerformOpenAction, [](id self) {
            calls().push_back("gate");
            return as<RecordingOpener>(self)->gate;
        })
        .method(sel::openApp_, [](id, NSURL* url) { calls().push_back("openApp: " + text(url)); })
        .method(sel::openInAppStoreWithProductID_fallbackURLString_shouldWaitForFetch_,
                [](id, Value product, NSURL* fallback, bool wait) {
                    calls().push_back("store " + text(product) + " " + text(fallback) + " wait " + flag(wait));
                })
        .method(sel::fetchInAppStoreForProductID_, [](id, Value product) -> Ref<Object> {
            calls().push_back("fetch " + text(product));
            return nullptr;
        })
        .method(sel::openInAppPurchase_quantity_reportingURLStringFormats_,
                [](id, Value product, long long quantity, Value reports) {
                    std::string line = "purchase " + text(product) + " " + std::to_string(quantity);
                    for (const Value& r : reports.array()) line += " [" + text(r) + "]";
                    calls().push_back(line);
                })
        .method(sel::openBrowserToURL_supportedOrientations_,
                [](id, NSURL* url, long long o) { calls().push_back("browser " + text(url) + " " + std::to_string(o)); })
        .method(sel::openWebApp_supportedOrientations_usingCustomClose_,
                [](id, NSURL* url, long long o, bool cc) { calls().push_back("webapp " + text(url) + " " + std::to_string(o) + " " + flag(cc)); })
        .method(sel::openWebAppWithHTML_supportedOrientations_usingCustomClose_,
                [](id, Value html, long long o, bool cc) { calls().push_back("webapp html " + text(html) + " " + std::to_string(o) + " " + flag(cc)); })
        .method(sel::expandToWebAppWithSupportedOrientations_usingCustomClose_,
                [](id, long long o, bool cc) { calls().push_back("expand " + std::to_string(o) + " " + flag(cc)); });
}

namespace detail {
inline void (*previousTrackURL)(id, NSURL*) = nullptr;
inline Ref<Object> (*previousActivePage)(id) = nullptr;
inline Ref<Object>& sdkCorePage() {
    static Ref<Object> page;
    return page;
}
}  // namespace detail

// Every ping the click tracker collection is asked for, as "track <url>"; no ping leaves.
inline void hookClickTracker() {
    MSHookMessageEx(objc_getClass("YBXClickTrackerCollection"), sel::trackURL_,
                    +[](id, NSURL* url) { calls().push_back("track " + text(url)); }, &detail::previousTrackURL);
}

// The SDK-core controller's active page: a plain web view whose scripts the scripted engine records.
inline UIWebView* installSDKCorePage() {
    if (!detail::sdkCorePage()) {
        detail::sdkCorePage() = UIView::make<UIWebView>("UIWebView", Rect(0, 0, 1, 1));
        MSHookMessageEx(objc_getClass("YBXSDKCoreController"), sel::activeSDKCoreWebView,
                        +[](id) { return detail::sdkCorePage(); }, &detail::previousActivePage);
    }
    return as<UIWebView>(detail::sdkCorePage().get());
}

// The library events evaluated since `from` whose name is `name`, each with its
// data parsed (nil for an event without data).
inline std::vector<Value> eventsNamed(std::string_view name, std::size_t from = 0) {
    std::vector<Value> found;
    const std::string head = std::string(kYBXJSReceiveMessageFunction) + "('" + std::string(name) + "'";
    const auto& evaluated = webkit::ScriptedPages::shared().evaluated();
    for (std::size_t i = from; i < evaluated.size(); ++i) {
        const std::string& script = evaluated[i];
        if (script.rfind(head, 0) != 0) continue;
        std::string rest = script.substr(head.size());
        if (rest == ");") {
            found.emplace_back();
            continue;
        }
        // ", {...});"
        found.push_back(NSJSONSerialization::JSONObjectWithText(rest.substr(2, rest.size() - 4), 0));
    }
    return found;
}

}  // namespace adlib::testing
