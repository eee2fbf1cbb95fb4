// NSURLResponse, NSHTTPURLResponse and NSCachedURLResponse.
#pragma once

#include <string>

#include "platform/network/request.h"

namespace platform {

inline constexpr long long NSURLResponseUnknownLength = -1;

class NSURLResponse : public NSObject {
public:
    // initWithURL:MIMEType:expectedContentLength:textEncodingName:
    static Ref<NSURLResponse> make(NSURL* url, std::string MIMEType, long long expectedContentLength,
                                   std::string textEncodingName);

    NSURL* URL() const { return url_.get(); }
    const std::string& MIMEType() const { return mimeType_; }
    long long expectedContentLength() const { return expectedLength_; }
    const std::string& textEncodingName() const { return encoding_; }

protected:
    Ref<NSURL> url_;
    std::string mimeType_;
    long long expectedLength_ = NSURLResponseUnknownLength;
    std::string encoding_;
};

class NSHTTPURLResponse : public NSURLResponse {
public:
    // initWithURL:statusCode:HTTPVersion:headerFields: the MIME type, text
    // encoding and expected length come from the header fields.
    static Ref<NSHTTPURLResponse> make(NSURL* url, long statusCode, const HeaderFields& headers);

    long statusCode() const { return status_; }
    Value allHeaderFields() const { return headers_.dictionary(); }
    const std::string* valueForHTTPHeaderField(std::string_view name) const { return headers_.find(name); }
    static std::string localizedStringForStatusCode(long statusCode);

private:
    long status_ = 0;
    HeaderFields headers_;
};

class NSCachedURLResponse : public NSObject {
public:
    static Ref<NSCachedURLResponse> make(NSURLResponse* response, Data data);
    NSURLResponse* response() const { return response_.get(); }
    const Data& data() const { return data_; }

private:
    Ref<NSURLResponse> response_;
    Data data_;
};

namespace network {
void registerResponses();
}  // namespace network

}  // namespace platform
