#include "platform/network/response.h"

#include <cctype>

namespace platform {

Ref<NSURLResponse> NSURLResponse::make(NSURL* url, std::string MIMEType, long long expectedContentLength,
                                       std::string textEncodingName) {
    Ref<NSURLResponse> response = as<NSURLResponse>(alloc("NSURLResponse").get());
    if (!response) return nullptr;
    response->url_ = url;
    response->mimeType_ = std::move(MIMEType);
    response->expectedLength_ = expectedContentLength;
    response->encoding_ = std::move(textEncodingName);
    return response;
}

Ref<NSHTTPURLResponse> NSHTTPURLResponse::make(NSURL* url, long statusCode, const HeaderFields& headers) {
    Ref<NSHTTPURLResponse> response = as<NSHTTPURLResponse>(alloc("NSHTTPURLResponse").get());
    if (!response) return nullptr;
    response->url_ = url;
    response->status_ = statusCode;
    response->headers_ = headers;
    // "text/html; charset=UTF-8": the type in lower case, the charset as given.
    if (const std::string* type = headers.find("Content-Type")) {
        std::string mime = type->substr(0, type->find(';'));
        while (!mime.empty() && mime.back() == ' ') mime.pop_back();
        for (char& c : mime) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        response->mimeType_ = mime;
        std::size_t charset = type->find("charset=");
        if (charset != std::string::npos) response->encoding_ = type->substr(charset + 8);
    }
    if (const std::string* length = headers.find("Content-Length")) {
        char* end = nullptr;
        long long n = std::strtoll(length->c_str(), &end, 10);
        if (end && *end == '\0' && !length->empty() && n >= 0) response->expectedLength_ = n;
    }
    return response;
}

std::string NSHTTPURLResponse::localizedStringForStatusCode(long statusCode) {
    switch (statusCode) {
        case 200: return "no error";
        case 201: return "created";
        case 204: return "no content";
        case 301: return "moved permanently";
        case 302: return "found";
        case 303: return "see other";
        case 304: return "not modified";
        case 307: return "temporarily redirected";
        case 400: return "bad request";
        case 401: return "unauthorized";
        case 403: return "forbidden";
        case 404: return "not found";
        case 408: return "request timed out";
        case 500: return "internal server error";
        case 502: return "bad gateway";
        case 503: return "service unavailable";
        case 504: return "gateway timed out";
        default: break;
    }
    if (statusCode >= 100 && statusCode < 200) return "informational";
    if (statusCode >= 200 && statusCode < 300) return "success";
    if (statusCode >= 300 && statusCode < 400) return "redirected";
    if (statusCode >= 400 && statusCode < 500) return "client error";
    if (statusCode >= 500 && statusCode < 600) return "server error";
    return "unknown";
}

Ref<NSCachedURLResponse> NSCachedURLResponse::make(NSURLResponse* response, Data data) {
    Ref<NSCachedURLResponse> cached = as<NSCachedURLResponse>(alloc("NSCachedURLResponse").get());
    if (!cached) return nullptr;
    cached->response_ = response;
    cached->data_ = std::move(data);
    return cached;
}

namespace network {

void registerResponses() {
    ClassBuilder<NSURLResponse>("NSURLResponse", "NSObject");
    ClassBuilder<NSHTTPURLResponse>("NSHTTPURLResponse", "NSURLResponse");
    ClassBuilder<NSCachedURLResponse>("NSCachedURLResponse", "NSObject");
}

}  // namespace network
}  // namespace platform
