// NSURLRequest / NSMutableURLRequest and the HTTP header fields they share with
// responses: names compare without regard to case, the first spelling is kept.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/network/url.h"
#include "platform/runtime/value.h"

namespace platform {

class HeaderFields {
public:
    // Null when absent.
    const std::string* find(std::string_view name) const;
    // Replaces a field of that name whatever its case; null removes it.
    void set(std::string_view name, const std::string* value);
    Value dictionary() const;
    bool empty() const { return fields_.empty(); }

private:
    std::vector<std::pair<std::string, std::string>> fields_;
};

enum NSURLRequestCachePolicy : unsigned long {
    NSURLRequestUseProtocolCachePolicy = 0,
    NSURLRequestReloadIgnoringLocalCacheData = 1,
};

inline constexpr double NSURLRequestDefaultTimeoutInterval = 60;

class NSURLRequest : public NSObject {
public:
    static Ref<NSURLRequest> requestWithURL(NSURL* url, NSURLRequestCachePolicy policy = NSURLRequestUseProtocolCachePolicy,
                                            double timeout = NSURLRequestDefaultTimeoutInterval);

    NSURL* URL() const { return url_.get(); }
    const std::string& HTTPMethod() const { return method_; }
    const Data& HTTPBody() const { return body_; }
    const std::string* valueForHTTPHeaderField(std::string_view name) const { return headers_.find(name); }
    Value allHTTPHeaderFields() const { return headers_.dictionary(); }
    NSURLRequestCachePolicy cachePolicy() const { return cachePolicy_; }
    double timeoutInterval() const { return timeout_; }
    bool HTTPShouldHandleCookies() const { return handleCookies_; }
    // Set by web views: the page a subresource belongs to, and whether the
    // request loads a main frame.
    NSURL* mainDocumentURL() const { return mainDocumentURL_.get(); }
    bool isMainFrame() const { return mainFrame_; }

    // mutableCopy: an NSMutableURLRequest with the same fields.
    Ref<NSURLRequest> mutableCopy() const;

protected:
    template <class T>
    static Ref<T> make(std::string_view className, NSURL* url, NSURLRequestCachePolicy policy, double timeout);

    Ref<NSURL> url_;
    std::string method_ = "GET";
    Data body_;
    HeaderFields headers_;
    NSURLRequestCachePolicy cachePolicy_ = NSURLRequestUseProtocolCachePolicy;
    double timeout_ = NSURLRequestDefaultTimeoutInterval;
    bool handleCookies_ = true;
    Ref<NSURL> mainDocumentURL_;
    bool mainFrame_ = false;
};

class NSMutableURLRequest : public NSURLRequest {
public:
    static Ref<NSMutableURLRequest> requestWithURL(NSURL* url, NSURLRequestCachePolicy policy = NSURLRequestUseProtocolCachePolicy,
                                                   double timeout = NSURLRequestDefaultTimeoutInterval);

    void setURL(NSURL* url) { url_ = url; }
    void setHTTPMethod(std::string method) { method_ = std::move(method); }
    void setHTTPBody(Data body) { body_ = std::move(body); }
    void setValueForHTTPHeaderField(const std::string* value, std::string_view name) { headers_.set(name, value); }
    void setValueForHTTPHeaderField(const std::string& value, std::string_view name) { headers_.set(name, &value); }
    void setCachePolicy(NSURLRequestCachePolicy policy) { cachePolicy_ = policy; }
    void setTimeoutInterval(double seconds) { timeout_ = seconds; }
    void setHTTPShouldHandleCookies(bool handle) { handleCookies_ = handle; }
    void setMainDocumentURL(NSURL* url) { mainDocumentURL_ = url; }
    void setMainFrame(bool mainFrame) { mainFrame_ = mainFrame; }
};

namespace network {
void registerRequests();
}  // namespace network

}  // namespace platform
