#include "platform/network/request.h"

#include <strings.h>

namespace platform {
namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

template <class T>
Ref<T> NSURLRequest::make(std::string_view className, NSURL* url, NSURLRequestCachePolicy policy, double timeout) {
    Ref<T> request = as<T>(alloc(className).get());
    if (!request) return nullptr;
    request->url_ = url;
    request->cachePolicy_ = policy;
    request->timeout_ = timeout;
    return request;
}

const std::string* HeaderFields::find(std::string_view name) const {
    for (const auto& [key, value] : fields_)
        if (sameName(key, name)) return &value;
    return nullptr;
}

void HeaderFields::set(std::string_view name, const std::string* value) {
    for (auto it = fields_.begin(); it != fields_.end(); ++it) {
        if (!sameName(it->first, name)) continue;
        if (value) it->second = *value;
        else fields_.erase(it);
        return;
    }
    if (value) fields_.emplace_back(std::string(name), *value);
}

Value HeaderFields::dictionary() const {
    Value::Dictionary out;
    for (const auto& [key, value] : fields_) out.emplace(key, Value(value));
    return Value(std::move(out));
}

Ref<NSURLRequest> NSURLRequest::requestWithURL(NSURL* url, NSURLRequestCachePolicy policy, double timeout) {
    return make<NSURLRequest>("NSURLRequest", url, policy, timeout);
}

Ref<NSMutableURLRequest> NSMutableURLRequest::requestWithURL(NSURL* url, NSURLRequestCachePolicy policy, double timeout) {
    return make<NSMutableURLRequest>("NSMutableURLRequest", url, policy, timeout);
}

Ref<NSURLRequest> NSURLRequest::mutableCopy() const {
    Ref<NSMutableURLRequest> copy = make<NSMutableURLRequest>("NSMutableURLRequest", url_.get(), cachePolicy_, timeout_);
    if (!copy) return nullptr;
    copy->method_ = method_;
    copy->body_ = body_;
    copy->headers_ = headers_;
    copy->handleCookies_ = handleCookies_;
    copy->mainDocumentURL_ = mainDocumentURL_;
    copy->mainFrame_ = mainFrame_;
    return copy;
}

namespace network {

void registerRequests() {
    ClassBuilder<NSURLRequest>("NSURLRequest", "NSObject");
    ClassBuilder<NSMutableURLRequest>("NSMutableURLRequest", "NSURLRequest");
}

}  // namespace network
}  // namespace platform
