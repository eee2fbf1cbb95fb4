// Test support of native ads: ad configurations of both formats, a PNG that
// makes an image, a stand-in slot whose web view records the scripts it runs,
// and recording delegates of the native ad and of its loading.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adlib/pipeline/native_ad.h"
#include "platform/network/transport.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/adlib_fixture.h"
#include "tests/platform/uikit/png_header.h"

namespace adlib::testing {

// The start of a PNG file: enough for an image.
inline std::string pngText(std::uint32_t width = 2, std::uint32_t height = 2) { return platform::testing::pngHeader(width, height); }

inline Value tracking(const Value& clickURL = Value("http://click.test/c")) {
    Value::Dictionary t{{"third_party_click_tracking_urls", Value::array({Value("http://third.test/1")})},
                        {"impression_tracking_urls", Value::array({Value("http://imp.test/1"), Value("http://imp.test/1"), Value("http://imp.test/2")})},
                        {"click_actions", Value::array({Value("open")})}};
    if (!clickURL.isNil()) t["orvane_click_tracking_url"] = clickURL;
    return Value(std::move(t));
}

// A valid app-install ad object: an image, an icon and, with attribution, an attribution icon.
inline Value appInstallObject(bool attribution = false) {
    Value::Dictionary ad{{"type", Value("native")},
                         {"template_id", Value(2LL)},
                         {"headline", Value("Hello app")},
                         {"body", Value("Body text")},
                         {"call_to_action", Value("Install")},
                         {"store", Value("App Store")},
                         {"price", Value("Free")},
                         {"rating", Value(4.5)},
                         {"image", Value(Value::Dictionary{{"url", Value("http://img.test/image.png")}})},
                         {"app_icon", Value(Value::Dictionary{{"url", Value("http://img.test/icon.png")}})},
                         {"tracking_urls_and_actions", tracking()}};
    if (attribution)
        ad["attribution"] = Value(Value::Dictionary{{"text", Value("Ad")}, {"image", Value(Value::Dictionary{{"url", Value("http://img.test/attr.png")}})}});
    return Value(std::move(ad));
}

// A valid content ad object without images.
inline Value contentObject() {
    return Value(Value::Dictionary{{"type", Value("native")},
                                   {"template_id", Value("1")},
                                   {"headline", Value("Read this")},
                                   {"body", Value("Content body")},
                                   {"advertiser", Value("Maker")},
                                   {"tracking_urls_and_actions", tracking()}});
}

inline Value configurationWith(const Value& adObject) { return Value(Value::Dictionary{{"ads", Value::array({adObject})}}); }

inline Ref<Object> makeNativeAd(const char* className, const Value& adObject) { return sel::initWithDictionary_(alloc(className), adObject); }

// What a native ad's delegates heard, in order.
class NativeRecorder : public NSObject {
public:
    std::vector<std::string> calls;
};

// A stand-in of the slot: its web view records touches and scripts.
class NativeFakeWebView : public NSObject {
public:
    std::vector<std::string> calls;
    bool touched = false;
};
class NativeFakeSlot : public NSObject {
public:
    Ref<NativeFakeWebView> webView;
};

inline void registerNativeSupportClasses() {
    if (objc_getClass("NativeTestRecorder")) return;
    auto note = [](id self, const char* what) { as<NativeRecorder>(self)->calls.emplace_back(what); };
    static auto recorder = note;
    ClassBuilder<NativeRecorder>("NativeTestRecorder", "NSObject")
        .method(sel::nativeAdDidFinishLoadingAssets_, [](id self, id) { recorder(self, "finished"); })
        .method(sel::nativeAdDidFailToLoadRequiredAssets_, [](id self, id) { recorder(self, "failed"); })
        .method(sel::nativeAdWillPresentScreen_, [](id self, id) { recorder(self, "nativeAdWillPresentScreen:"); })
        .method(sel::nativeAdWillDismissScreen_, [](id self, id) { recorder(self, "nativeAdWillDismissScreen:"); })
        .method(sel::nativeAdDidDismissScreen_, [](id self, id) { recorder(self, "nativeAdDidDismissScreen:"); })
        .method(sel::nativeAdWillLeaveApplication_, [](id self, id) { recorder(self, "nativeAdWillLeaveApplication:"); });
    ClassBuilder<NativeFakeWebView>("NativeTestWebView", "NSObject")
        .method(sel::setTouched_, [](id self, bool touched) { as<NativeFakeWebView>(self)->touched = touched; })
        .method(sel::stringByEvaluatingJavaScriptFromString_, [](id self, Value script) {
            auto* view = as<NativeFakeWebView>(self);
            view->calls.push_back((view->touched ? "touched: " : "untouched: ") + script.string());
            return Value("");
        });
    ClassBuilder<NativeFakeSlot>("NativeTestSlot", "NSObject").method(sel::webView, [](id self) { return Ref<Object>(as<NativeFakeSlot>(self)->webView); });
}

inline Ref<NativeRecorder> makeNativeRecorder() {
    registerNativeSupportClasses();
    return as<NativeRecorder>(sel::init(alloc("NativeTestRecorder")));
}

inline Ref<NativeFakeSlot> makeNativeFakeSlot() {
    registerNativeSupportClasses();
    Ref<NativeFakeSlot> slot = as<NativeFakeSlot>(sel::init(alloc("NativeTestSlot")));
    slot->webView = as<NativeFakeWebView>(sel::init(alloc("NativeTestWebView")));
    return slot;
}

}  // namespace adlib::testing
