#include "platform/frameworks/coretelephony.h"

#include <mutex>
#include <thread>

#include "platform/foundation/notification_center.h"

namespace platform::coretelephony {

namespace {
std::mutex mutex;
Value& current() {
    static auto* v = new Value(CTRadioAccessTechnologyLTE);
    return *v;
}
}  // namespace

void setRadioAccessTechnology(Value technology) {
    std::lock_guard lock(mutex);
    current() = std::move(technology);
}

void changeRadioAccessTechnologyFromWorker(Value technology) {
    setRadioAccessTechnology(std::move(technology));
    std::thread worker([] { NSNotificationCenter::defaultCenter()->postNotificationName(CTRadioAccessTechnologyDidChangeNotification, Value()); });
    worker.join();
}

void registerClasses() {
    ClassBuilder<CTTelephonyNetworkInfo>("CTTelephonyNetworkInfo", "NSObject").method(sel::currentRadioAccessTechnology, [](id) {
        std::lock_guard lock(mutex);
        return current();
    });
}

}  // namespace platform::coretelephony
