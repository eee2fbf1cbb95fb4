#include "platform/corefoundation/corefoundation.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"

namespace platform {

CFAbsoluteTime CFAbsoluteTimeGetCurrent() { return clock::now().sinceReferenceDate; }

double kCFCoreFoundationVersionNumber = 1280.38;

// --- preferences --------------------------------------------------------------------

namespace {
struct Domains {
    std::mutex mutex;
    std::map<std::string, Value, std::less<>> cache;  // domain -> dictionary read from its file
};
Domains& domains() {
    static Domains* d = new Domains();
    return *d;
}

Value loadDomain(std::string_view applicationID) {
    Value v = plist::readFile(CFPreferencesPathForDomain(applicationID));
    return v.isDictionary() ? v : Value(Value::Dictionary{});
}
}  // namespace

std::string CFPreferencesPathForDomain(std::string_view applicationID) {
    return "/var/mobile/Library/Preferences/" + std::string(applicationID) + ".plist";
}

Value CFPreferencesCopyAppValue(std::string_view key, std::string_view applicationID) {
    auto& d = domains();
    std::lock_guard guard(d.mutex);
    auto it = d.cache.find(applicationID);
    if (it == d.cache.end()) it = d.cache.emplace(std::string(applicationID), loadDomain(applicationID)).first;
    return it->second[key];
}

void CFPreferencesSetAppValue(std::string_view key, const Value& value, std::string_view applicationID) {
    Value written;
    bool ok = plist::update(CFPreferencesPathForDomain(applicationID), [&](Value::Dictionary& dict) {
        if (value.isNil()) dict.erase(std::string(key));
        else dict[std::string(key)] = value;
        written = Value(dict);
        return true;
    });
    auto& d = domains();
    std::lock_guard guard(d.mutex);
    if (ok) {
        d.cache[std::string(applicationID)] = written;
    } else {
        // The file could not be written; the process still sees its own change.
        auto& mine = d.cache[std::string(applicationID)];
        if (value.isNil()) mine.mutableDictionary().erase(std::string(key));
        else mine.mutableDictionary()[std::string(key)] = value;
    }
}

bool CFPreferencesAppSynchronize(std::string_view applicationID) {
    Value fresh = loadDomain(applicationID);
    auto& d = domains();
    std::lock_guard guard(d.mutex);
    d.cache[std::string(applicationID)] = std::move(fresh);
    return true;
}

// --- Darwin notify centre ------------------------------------------------------------------

struct CFNotificationCenter {
    struct Observer {
        const void* observer;
        CFNotificationCallback callback;
        std::string name;  // empty: every name
        bool removed = false;
    };
    std::mutex mutex;
    std::vector<std::shared_ptr<Observer>> observers;

    void deliver(const std::string& name) {
        std::vector<std::shared_ptr<Observer>> snapshot;
        {
            std::lock_guard guard(mutex);
            snapshot = observers;
        }
        for (auto& o : snapshot)
            if (!o->removed && (o->name.empty() || o->name == name))
                o->callback(this, const_cast<void*>(o->observer), Value(name), nullptr, Value());
    }
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
    static CFNotificationCenter* center = new CFNotificationCenter();
    return center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer, CFNotificationCallback callback,
                                     const Value& name, const void*, CFNotificationSuspensionBehavior) {
    if (!center || !callback) return;
    auto o = std::make_shared<CFNotificationCenter::Observer>(CFNotificationCenter::Observer{observer, callback, name.string()});
    std::lock_guard guard(center->mutex);
    center->observers.push_back(std::move(o));
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, const Value& name, const void*) {
    if (!center) return;
    std::lock_guard guard(center->mutex);
    std::erase_if(center->observers, [&](const auto& o) {
        bool match = o->observer == observer && (name.isNil() || o->name == name.string());
        if (match) o->removed = true;
        return match;
    });
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
    CFNotificationCenterRemoveObserver(center, observer, Value(), nullptr);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const Value& name, const void*, const Value&, bool) {
    if (!center || !name.isString()) return;
    CFNotificationCenterDeliverFromOtherProcess(name.string());
    crossProcess::forward("darwin", name.string(), Value(), Value());
}

void CFNotificationCenterDeliverFromOtherProcess(std::string_view name) {
    std::string n(name);
    RunLoop::main().post([n] { CFNotificationCenterGetDarwinNotifyCenter()->deliver(n); });
}

}  // namespace platform
