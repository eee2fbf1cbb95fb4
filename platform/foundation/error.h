// NSError: a domain, a code and user information, immutable once made and safe
// to hand between threads. It is a runtime class, so that a library can derive
// its own error classes from it; errors are values to pass around, never
// exceptions.
#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/selectors.h"
#include "platform/runtime/nsobject.h"

namespace platform {

inline constexpr std::string_view NSCocoaErrorDomain = "NSCocoaErrorDomain";
inline constexpr std::string_view NSURLErrorDomain = "NSURLErrorDomain";

// User-information keys, with the platform's texts.
inline constexpr std::string_view NSLocalizedDescriptionKey = "NSLocalizedDescription";
inline constexpr std::string_view NSLocalizedFailureReasonErrorKey = "NSLocalizedFailureReason";
inline constexpr std::string_view NSUnderlyingErrorKey = "NSUnderlyingError";
inline constexpr std::string_view NSURLErrorKey = "NSURL";
inline constexpr std::string_view NSURLErrorFailingURLErrorKey = "NSErrorFailingURLKey";
inline constexpr std::string_view NSURLErrorFailingURLStringErrorKey = "NSErrorFailingURLStringKey";

// NSCocoaErrorDomain codes.
inline constexpr long long NSFileNoSuchFileError = 4;
inline constexpr long long NSFileReadUnknownError = 256;
inline constexpr long long NSFileReadNoSuchFileError = 260;
inline constexpr long long NSFileReadCorruptFileError = 259;
inline constexpr long long NSFileWriteUnknownError = 512;
inline constexpr long long NSPropertyListReadCorruptError = 3840;  // also malformed JSON
inline constexpr long long NSPropertyListWriteInvalidError = 3851;  // also unwritable JSON

// NSURLErrorDomain codes.
inline constexpr long long NSURLErrorUnknown = -1;
inline constexpr long long NSURLErrorCancelled = -999;
inline constexpr long long NSURLErrorBadURL = -1000;
inline constexpr long long NSURLErrorTimedOut = -1001;
inline constexpr long long NSURLErrorUnsupportedURL = -1002;
inline constexpr long long NSURLErrorCannotFindHost = -1003;
inline constexpr long long NSURLErrorCannotConnectToHost = -1004;
inline constexpr long long NSURLErrorNetworkConnectionLost = -1005;
inline constexpr long long NSURLErrorHTTPTooManyRedirects = -1007;
inline constexpr long long NSURLErrorResourceUnavailable = -1008;
inline constexpr long long NSURLErrorNotConnectedToInternet = -1009;
inline constexpr long long NSURLErrorBadServerResponse = -1011;
inline constexpr long long NSURLErrorCannotDecodeContentData = -1016;
inline constexpr long long NSURLErrorCannotParseResponse = -1017;
inline constexpr long long NSURLErrorSecureConnectionFailed = -1200;
inline constexpr long long NSURLErrorServerCertificateUntrusted = -1202;

namespace sel {
inline constexpr Sel<Ref<Object>(id, std::string, long long, Value)> initWithDomain_code_userInfo_{"initWithDomain:code:userInfo:"};
inline constexpr Sel<std::string(id)> domain{"domain"};
inline constexpr Sel<long long(id)> code{"code"};
inline constexpr Sel<std::string(id)> localizedDescription{"localizedDescription"};
inline constexpr Sel<Value(id)> localizedFailureReason{"localizedFailureReason"};
}  // namespace sel

class NSError : public NSObject {
public:
    // errorWithDomain:code:userInfo: a nil or non-dictionary userInfo counts
    // as none. `className` names NSError or a class derived from it.
    static Ref<NSError> errorWithDomain(std::string_view domain, long long code, Value userInfo = Value(),
                                        std::string_view className = "NSError");

    const std::string& domain() const { return domain_; }
    long long code() const { return code_; }
    const Value& userInfo() const { return userInfo_; }
    // The description key when it is a string; else the platform's sentence,
    // followed by the failure reason when there is one.
    std::string localizedDescription() const;
    // Nil when absent or not a string.
    Value localizedFailureReason() const;
    // The error under NSUnderlyingErrorKey, or null.
    NSError* underlyingError() const;
    // Error Domain=<domain> Code=<code> "<localized description>" UserInfo={...}
    std::string description() const;

    // What initWithDomain:code:userInfo: does; an error is not changed after.
    void initialize(std::string domain, long long code, Value userInfo);

private:
    std::string domain_;
    long long code_ = 0;
    Value userInfo_;
};

namespace foundation {
// Registers NSError (foundation::registerClasses calls it).
void registerError();
}  // namespace foundation

}  // namespace platform
