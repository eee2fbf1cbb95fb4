#include "platform/foundation/error.h"

namespace platform {

Ref<NSError> NSError::errorWithDomain(std::string_view domain, long long code, Value userInfo, std::string_view className) {
    Ref<Object> made = alloc(className);
    if (!made || !as<NSError>(made.get())) return nullptr;
    return as<NSError>(sel::initWithDomain_code_userInfo_(made.get(), std::string(domain), code, std::move(userInfo)));
}

void NSError::initialize(std::string domain, long long code, Value userInfo) {
    domain_ = std::move(domain);
    code_ = code;
    userInfo_ = userInfo.isDictionary() ? std::move(userInfo) : Value();
}

std::string NSError::localizedDescription() const {
    const Value& text = userInfo_[NSLocalizedDescriptionKey];
    if (text.isString()) return text.string();
    // The platform's own sentence, with its typographic apostrophe.
    std::string sentence = "The operation couldn\u2019t be completed.";
    Value reason = localizedFailureReason();
    if (reason.isString()) return sentence + " " + reason.string();
    std::string domain = domain_ == NSCocoaErrorDomain ? "Cocoa" : domain_;
    return sentence + " (" + domain + " error " + std::to_string(code_) + ".)";
}

Value NSError::localizedFailureReason() const {
    const Value& reason = userInfo_[NSLocalizedFailureReasonErrorKey];
    return reason.isString() ? reason : Value();
}

NSError* NSError::underlyingError() const { return userInfo_[NSUnderlyingErrorKey].objectAs<NSError>(); }

std::string NSError::description() const {
    std::string out = "Error Domain=" + domain_ + " Code=" + std::to_string(code_) + " \"" +
                      sel::localizedDescription(const_cast<NSError*>(this)) + "\"";
    if (userInfo_.count() == 0) return out;
    out += " UserInfo={";
    bool first = true;
    for (const auto* entry : userInfo_.dictionary().sortedEntries()) {
        const auto& [key, value] = *entry;
        if (!first) out += ", ";
        first = false;
        out += key + "=" + value.description();
    }
    return out + "}";
}

namespace foundation {

void registerError() {
    ClassBuilder<NSError>("NSError", "NSObject")
        .method(sel::initWithDomain_code_userInfo_,
                [](id self, std::string domain, long long code, Value userInfo) {
                    as<NSError>(self)->initialize(std::move(domain), code, std::move(userInfo));
                    return Ref<Object>(self);
                })
        .method(sel::domain, [](id self) { return as<NSError>(self)->domain(); })
        .method(sel::code, [](id self) { return as<NSError>(self)->code(); })
        .method(sel::userInfo, [](id self) { return as<NSError>(self)->userInfo(); })
        .method(sel::localizedDescription, [](id self) { return as<NSError>(self)->localizedDescription(); })
        .method(sel::localizedFailureReason, [](id self) { return as<NSError>(self)->localizedFailureReason(); })
        .method(sel::description, [](id self) { return Value(as<NSError>(self)->description()); })
        .method(sel::isEqual_, [](id self, id other) {
            auto* a = as<NSError>(self);
            auto* b = as<NSError>(other);
            return a == b || (a && b && a->domain() == b->domain() && a->code() == b->code() && a->userInfo() == b->userInfo());
        });
}

}  // namespace foundation
}  // namespace platform
