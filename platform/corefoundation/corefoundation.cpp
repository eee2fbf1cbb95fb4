#include "platform/corefoundation/corefoundation.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/preference_file.h"
#include "platform/foundation/run_loop.h"

namespace platform {

CFAbsoluteTime CFAbsoluteTimeGetCurrent() { return clock::now().sinceReferenceDate; }

double kCFCoreFoundationVersionNumber = 1280.38;

// --- preferences --------------------------------------------------------------------

namespace {
struct Domains {
    std::mutex mutex;
    std::map<std::string, std::unique_ptr<PreferenceFile>, std::less<>> files;
};
PreferenceFile& domainFile(std::string_view applicationID) {
    static Domains* d = new Domains();
    std::lock_guard guard(d->mutex);
    auto it = d->files.find(applicationID);
    if (it == d->files.end())
        it = d->files.emplace(std::string(applicationID), std::make_unique<PreferenceFile>(CFPreferencesPathForDomain(applicationID))).first;
    return *it->second;
}
}  // namespace

std::string CFPreferencesPathForDomain(std::string_view applicationID) {
    return "/var/mobile/Library/Preferences/" + std::string(applicationID) + ".plist";
}

Value CFPreferencesCopyAppValue(std::string_view key, std::string_view applicationID) { return domainFile(applicationID).get(key); }

void CFPreferencesSetAppValue(std::string_view key, const Value& value, std::string_view applicationID) {
    domainFile(applicationID).set(key, value);
}

bool CFPreferencesAppSynchronize(std::string_view applicationID) {
    domainFile(applicationID).reload();
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
