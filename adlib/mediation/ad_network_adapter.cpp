#include "adlib/mediation/ad_network_adapter.h"

#include <set>
#include <string>

namespace adlib {

bool YBXMClassIsAdapterClass(const Class* cls) {
    // The class or any of its superclasses adopting the protocol.
    return cls && class_conformsToProtocol(cls, objc_getProtocol(kYBXMAdNetworkAdapterProtocol));
}

Value YBXMAvailableAdapterNames() {
    static const Value* names = [] {
        std::set<std::string> found;
        for (Class* cls : objc_getClassList())
            if (YBXMClassIsAdapterClass(cls)) found.insert(cls->name());
        return new Value(found.empty() ? Value() : Value(Value::Array(found.begin(), found.end())));
    }();
    return *names;
}

void registerAdNetworkAdapterClass() {
    // The protocol exists before any adapter class names it.
    if (!objc_getProtocol(kYBXMAdNetworkAdapterProtocol)) objc_registerProtocol(objc_allocateProtocol(kYBXMAdNetworkAdapterProtocol));
    ClassBuilder<NSObject>("YBXMAdNetworkAdapter", "NSObject")
        .classMethod(sel::availableAdapterNames, [](id) { return YBXMAvailableAdapterNames(); })
        .classMethod(sel::classIsAdapterClass_, [](id, Class* cls) { return YBXMClassIsAdapterClass(cls); });
}

}  // namespace adlib
