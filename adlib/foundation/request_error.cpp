#include "adlib/foundation/request_error.h"

#include <array>
#include <atomic>
#include <mutex>

#include "adlib/foundation/device.h"
#include "platform/foundation/format.h"
#include "platform/network/response.h"

namespace adlib {

namespace {

constexpr std::array<const char*, 14> kStandardTexts{
    "Invalid ad request parameter(s). Check the Xcode console for details.",
    "No ad to show.",
    "A network error occurred.",
    "Server error processing the request.",
    nullptr,  // made once from the OS version
    "The Orvane Ad request was unable to be fulfilled before a timeout occurred.",
    "Will not send request because interstitial object has been used.",
    "The mediation response was invalid.",
    "Cannot find an ad network adapter for mediation.",
    "No ad to show from all configured ad networks.",
    "Incompatible ad type requested.",
    "Internal error.",
    "Invalid argument.",
    "Received invalid response.",
};

std::atomic<const std::string*> osUnsupportedText{nullptr};

const std::string* makeOSUnsupportedText() {
    if (const std::string* text = osUnsupportedText.load(std::memory_order_acquire)) return text;
    // The OS version may need the main thread: it is read before the guard is
    // entered, so no thread holds the guard while it waits for the main thread.
    long long major = 0, minor = 0, bugFix = 0;
    sel::getOSMajor_minor_bugFix_(YBXDevice::currentDevice(), &major, &minor, &bugFix);
    static std::once_flag once;
    std::call_once(once, [&] {
        osUnsupportedText.store(new std::string(format("This device's OS is %ld.%ld.%ld.It is below the minimum of %ld.%ld.", major,
                                                       minor, bugFix, 5L, 0L)),
                                std::memory_order_release);
    });
    return osUnsupportedText.load(std::memory_order_acquire);
}

std::string standardText(long long code) {
    if (code == YBXErrorCodeOSUnsupported) {
        if (const std::string* text = makeOSUnsupportedText(); text && !text->empty()) return *text;
        return kStandardTexts[YBXErrorCodeInvalidRequest];
    }
    if (code < 0 || code >= static_cast<long long>(kStandardTexts.size())) code = YBXErrorCodeInvalidRequest;
    return kStandardTexts[static_cast<std::size_t>(code)];
}

std::string localizedStringForErrorCode(long long code) { return format("Request Error: %@", standardText(code)); }

Ref<Object> initWithCode(id self, long long code, id request, long long status, Value customMessage, id underlying) {
    auto* error = as<NSError>(self);
    if (!error) return nullptr;
    std::string message = customMessage.isString() ? customMessage.string() : localizedStringForErrorCode(code);
    Value::Dictionary info;
    // The request's parameters go in first, so that none of them can replace
    // one of the error's own keys.
    if (code == YBXErrorCodeInvalidRequest && request && respondsToSelector(request, sel::parameters.name)) {
        Value parameters = sel::parameters(request);
        for (const auto& [key, value] : parameters.dictionary()) info[key] = value;
    }
    info[std::string(NSLocalizedDescriptionKey)] = message;
    info[std::string(NSLocalizedFailureReasonErrorKey)] = message;
    if (as<NSError>(underlying)) info[std::string(NSUnderlyingErrorKey)] = Value(underlying);
    if (status >= 1)
        info[std::string(kYBXHttpStatusKey)] =
            format("HTTP status %ld: %@", status, NSHTTPURLResponse::localizedStringForStatusCode(static_cast<long>(status)));
    error->initialize(std::string(kYBXErrorDomain), code, Value(std::move(info)));
    return Ref<Object>(self);
}

Ref<Object> makeError(id cls, long long code, id request, long long status, Value customMessage, id underlying) {
    return sel::initWithCode_request_HTTPStatusCode_customMessage_underlyingError_(alloc(static_cast<Class*>(cls)), code, request, status,
                                                                                    std::move(customMessage), underlying);
}

Value internalText(long long code) {
    switch (code) {
        case YBXInternalErrorCodeFileNotRead: return Value("File could not be read.");
        case YBXInternalErrorCodeInternal: return Value("Internal error.");
        case YBXInternalErrorCodeInvalidArgument: return Value("Invalid argument.");
        default: return Value();
    }
}

Ref<Object> internalError(std::string domain, long long code, const Value& description) {
    Value info;
    if (description.isString())
        info = Value::Dictionary{{std::string(NSLocalizedDescriptionKey), description},
                                 {std::string(NSLocalizedFailureReasonErrorKey), description}};
    return Ref<Object>(NSError::errorWithDomain(domain, code, info));
}

}  // namespace

Class* YBXRequestErrorClass() { return objc_getClass("YBXRequestError"); }

Ref<Object> YBXRedirectRefusedError() { return sel::ybx_errorWithCode_description_(NSErrorClass(), 0, Value("Redirects are refused.")); }

Class* NSErrorClass() { return objc_getClass("NSError"); }

void registerRequestErrorClasses() {
    ClassBuilder<NSError>::inheritingType("YBXRequestError", "NSError")
        .method(sel::initWithCode_request_HTTPStatusCode_customMessage_underlyingError_, &initWithCode)
        .classMethod(sel::errorWithCode_request_HTTPStatusCode_customMessage_underlyingError_, &makeError)
        .classMethod(sel::errorWithCode_request_HTTPStatusCode_customMessage_,
                     [](id cls, long long code, id request, long long status, Value message) {
                         return makeError(cls, code, request, status, std::move(message), nullptr);
                     })
        .classMethod(sel::errorWithCode_request_HTTPStatusCode_,
                     [](id cls, long long code, id request, long long status) { return makeError(cls, code, request, status, Value(), nullptr); })
        .classMethod(sel::errorWithCode_request_, [](id cls, long long code, id request) { return makeError(cls, code, request, 0, Value(), nullptr); })
        .classMethod(sel::errorWithCode_, [](id cls, long long code) { return sel::errorWithCode_customMessage_(cls, code, Value()); })
        .classMethod(sel::errorWithCode_customMessage_,
                     [](id cls, long long code, Value message) { return makeError(cls, code, nullptr, 0, std::move(message), nullptr); })
        .classMethod(sel::errorWithCode_underlyingError_,
                     [](id cls, long long code, id underlying) {
                         auto* error = as<NSError>(underlying);
                         Value message = error ? Value(error->localizedDescription()) : Value();
                         return makeError(cls, code, nullptr, 0, std::move(message), underlying);
                     })
        .classMethod(sel::localizedStringForErrorCode_, [](id, long long code) { return localizedStringForErrorCode(code); })
        .method(sel::error, [](id self) {
            auto* e = as<NSError>(self);
            return Ref<Object>(NSError::errorWithDomain(e->domain(), e->code(), e->userInfo()));
        });

    if (Class* error = NSErrorClass()) {
        Class* meta = error->metaclass();
        class_addMethod(meta, sel::ybx_errorWithDomain_code_description_,
                        [](id, std::string domain, long long code, Value description) { return internalError(std::move(domain), code, description); });
        class_addMethod(meta, sel::ybx_errorWithCode_description_, [](id, long long code, Value description) {
            return internalError(std::string(kYBXPrivateErrorDomain), code, description);
        });
        class_addMethod(meta, sel::ybx_localizedDescriptionForErrorCode_, [](id, long long code) { return internalText(code); });
    }
}

}  // namespace adlib
