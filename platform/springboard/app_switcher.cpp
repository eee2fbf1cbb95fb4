#include "platform/springboard/app_switcher.h"

#include "platform/foundation/process.h"
#include "platform/runtime/call_log.h"
#include "platform/springboard/selectors.h"

namespace platform {
namespace springboard {

namespace {
std::vector<std::string>& order() {
    static auto* o = new std::vector<std::string>();
    return *o;
}
Value orderValue() {
    Value list = Value(Value::Array{});
    for (const auto& id : order()) list.mutableArray().push_back(Value(id));
    return list;
}
}  // namespace

void setAppSwitcherOrder(std::vector<std::string> bundleIdentifiers) { order() = std::move(bundleIdentifiers); }
const std::vector<std::string>& appSwitcherOrder() { return order(); }

void registerAppSwitcher() {
    double cf = process::info().coreFoundationVersion;
    ClassBuilder<SBAppSwitcherModel> model("SBAppSwitcherModel", "NSObject");
    model.classMethod(sel::sharedInstance, [](id) {
        static Ref<Object>* shared = new Ref<Object>(alloc("SBAppSwitcherModel"));
        return *shared;
    });
    // iOS 7 answers identifiers; iOS 8 the flattened snapshot.
    if (cf < 1140.1) {
        model.method(sel::identifiers, [](id) {
            callLog::record("SBAppSwitcherModel", "identifiers");
            return orderValue();
        });
    } else {
        model.method(sel::snapshotOfFlattenedArrayOfAppIdentifiersWhichIsOnlyTemporary, [](id) {
            callLog::record("SBAppSwitcherModel", "snapshotOfFlattenedArrayOfAppIdentifiersWhichIsOnlyTemporary");
            return orderValue();
        });
    }
}

}  // namespace springboard
}  // namespace platform
