#include "platform/frameworks/adsupport.h"

#include <mutex>

#include "platform/foundation/uuid.h"

namespace platform::adsupport {

namespace {
struct State {
    std::mutex mutex;
    bool tracking = true;
    std::string identifier = "1E2DFA89-496A-47FD-9941-DF1FC4E6484A";
};
State& state() {
    static auto* s = new State();
    return *s;
}
}  // namespace

void setAdvertising(bool trackingEnabled, std::string identifier) {
    std::lock_guard lock(state().mutex);
    state().tracking = trackingEnabled;
    state().identifier = std::move(identifier);
}

void registerClasses() {
    ClassBuilder<ASIdentifierManager>("ASIdentifierManager", "NSObject")
        .classMethod(sel::sharedManager,
                     [](id) -> Ref<Object> {
                         static auto* manager = new Ref<Object>(alloc("ASIdentifierManager"));
                         return *manager;
                     })
        .method(sel::isAdvertisingTrackingEnabled,
                [](id) {
                    std::lock_guard lock(state().mutex);
                    return state().tracking;
                })
        .method(sel::advertisingIdentifier, [](id) -> Ref<Object> {
            std::string text;
            {
                std::lock_guard lock(state().mutex);
                text = state().identifier;
            }
            // The platform answers all zeros when tracking is off; a test may also give none.
            if (text.empty()) return nullptr;
            return NSUUID::initWithUUIDString(text);
        });
}

}  // namespace platform::adsupport
