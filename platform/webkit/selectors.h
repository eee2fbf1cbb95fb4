// The selectors of UIWebView and its delegate protocol, each declared once
// with its signature. Strings are Values (NSString); requests, URLs, errors
// and the scroll view are objects.
#pragma once

#include "platform/network/url_protocol.h"
#include "platform/uikit/selectors.h"

namespace platform::sel {

// --- UIWebViewDelegate (all optional) ----------------------------------------------------
inline constexpr Sel<bool(id, id, id, long long)> webView_shouldStartLoadWithRequest_navigationType_{
    "webView:shouldStartLoadWithRequest:navigationType:"};
inline constexpr Sel<void(id, id)> webViewDidStartLoad_{"webViewDidStartLoad:"};
inline constexpr Sel<void(id, id)> webViewDidFinishLoad_{"webViewDidFinishLoad:"};
inline constexpr Sel<void(id, id, id)> webView_didFailLoadWithError_{"webView:didFailLoadWithError:"};

// --- UIWebView ------------------------------------------------------------------------------
inline constexpr Sel<void(id, id)> loadRequest_{"loadRequest:"};
inline constexpr Sel<void(id, Value, id)> loadHTMLString_baseURL_{"loadHTMLString:baseURL:"};
inline constexpr Sel<void(id, Value, Value, Value, id)> loadData_MIMEType_textEncodingName_baseURL_{
    "loadData:MIMEType:textEncodingName:baseURL:"};
inline constexpr Sel<Value(id, Value)> stringByEvaluatingJavaScriptFromString_{"stringByEvaluatingJavaScriptFromString:"};
// stopLoading: the URL protocols' selector of that name (one selector, one declaration).
inline constexpr Sel<void(id)> reload{"reload"};
inline constexpr Sel<void(id)> goBack{"goBack"};
inline constexpr Sel<void(id)> goForward{"goForward"};
inline constexpr Sel<bool(id)> canGoBack{"canGoBack"};
inline constexpr Sel<bool(id)> canGoForward{"canGoForward"};
inline constexpr Sel<bool(id)> isLoading{"isLoading"};
inline constexpr Sel<Ref<Object>(id)> request{"request"};
inline constexpr Sel<Ref<Object>(id)> scrollView{"scrollView"};
inline constexpr Sel<bool(id)> scalesPageToFit{"scalesPageToFit"};
inline constexpr Sel<void(id, bool)> setScalesPageToFit_{"setScalesPageToFit:"};
inline constexpr Sel<unsigned long long(id)> dataDetectorTypes{"dataDetectorTypes"};
inline constexpr Sel<void(id, unsigned long long)> setDataDetectorTypes_{"setDataDetectorTypes:"};
inline constexpr Sel<bool(id)> allowsInlineMediaPlayback{"allowsInlineMediaPlayback"};
inline constexpr Sel<void(id, bool)> setAllowsInlineMediaPlayback_{"setAllowsInlineMediaPlayback:"};
inline constexpr Sel<bool(id)> mediaPlaybackRequiresUserAction{"mediaPlaybackRequiresUserAction"};
inline constexpr Sel<void(id, bool)> setMediaPlaybackRequiresUserAction_{"setMediaPlaybackRequiresUserAction:"};
inline constexpr Sel<bool(id)> mediaPlaybackAllowsAirPlay{"mediaPlaybackAllowsAirPlay"};
inline constexpr Sel<void(id, bool)> setMediaPlaybackAllowsAirPlay_{"setMediaPlaybackAllowsAirPlay:"};

}  // namespace platform::sel
