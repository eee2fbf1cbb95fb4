#include "adlib/render/publisher_toolbar_credentials.h"

#include "platform/foundation/user_defaults.h"

namespace adlib {

namespace {

YBXPublisherToolbarCredentials* credentialsOf(id self) { return as<YBXPublisherToolbarCredentials>(self); }

}  // namespace

bool YBXHasToolbarCredentials() {
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    return defaults && defaults->objectForKey(kYBXToolbarCredentialsKey).isDictionary();
}

NSLock* YBXPublisherToolbarCredentials::credentialsLock() {
    static NSLock* lock = NSLock::make().leak();
    return lock;
}

void YBXPublisherToolbarCredentials::setUp() {
    Value stored = NSUserDefaults::standardUserDefaults()->dictionaryForKey(kYBXToolbarCredentialsKey);
    std::lock_guard guard(mutex_);
    credentials_ = stored;
}

Value YBXPublisherToolbarCredentials::credentials() const {
    std::lock_guard guard(mutex_);
    return credentials_;
}

void YBXPublisherToolbarCredentials::storeCredentials(const Value& credentials) {
    if (!credentials.isDictionary()) return;
    std::lock_guard writers(*credentialsLock());
    {
        std::lock_guard guard(mutex_);
        credentials_ = credentials;
    }
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(credentials, kYBXToolbarCredentialsKey);
    defaults->synchronize();
}

void YBXPublisherToolbarCredentials::clearCredentials() {
    std::lock_guard writers(*credentialsLock());
    NSUserDefaults* defaults = NSUserDefaults::standardUserDefaults();
    defaults->removeObjectForKey(kYBXToolbarCredentialsKey);
    defaults->synchronize();
    std::lock_guard guard(mutex_);
    credentials_ = Value();
}

void registerPublisherToolbarCredentialsClass() {
    ClassBuilder<YBXPublisherToolbarCredentials>("YBXPublisherToolbarCredentials", "NSObject")
        .classMethod(sel::hasToolbarCredentials, [](id) { return YBXHasToolbarCredentials(); })
        .classMethod(sel::credentialsLock, [](id) { return Ref<Object>(YBXPublisherToolbarCredentials::credentialsLock()); })
        .method(sel::init,
                [](id self) {
                    Ref<Object> made = sel::init.super(objc_getClass("YBXPublisherToolbarCredentials"), self);
                    if (auto* credentials = credentialsOf(made.get())) credentials->setUp();
                    return made;
                })
        .method(sel::credentials, [](id self) { return credentialsOf(self)->credentials(); })
        .method(sel::storeCredentials_, [](id self, Value credentials) { credentialsOf(self)->storeCredentials(credentials); })
        .method(sel::clearCredentials, [](id self) { credentialsOf(self)->clearCredentials(); });
}

}  // namespace adlib
