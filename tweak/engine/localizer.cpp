#include "tweak/engine/localizer.h"

#include <mutex>

#include "platform/preferences/specifier.h"

namespace rousa {

RS2Localizer* RS2Localizer::sharedLocalizer() { return as<RS2Localizer>(sel::sharedLocalizer(objc_getClass("RS2Localizer")).get()); }

Ref<NSBundle> RS2Localizer::localizationBundle() const { return NSBundle::bundleWithPath(kRousaBundlePath); }

std::string RS2Localizer::localizedStringForKey(std::string_view key, const Value& table) const {
    auto bundle = localizationBundle();
    return bundle ? bundle->localizedStringForKey(key, Value(""), table) : std::string(key);
}

namespace {
Value localizedValues(const RS2Localizer& l, const Value& dict, const Value& table) {
    Value out = Value(Value::Dictionary{});
    for (const auto& [key, value] : dict.dictionary())
        out.mutableDictionary()[key] = value.isString() ? Value(l.localizedStringForKey(value.string(), table)) : value;
    return out;
}
}  // namespace

Value RS2Localizer::localizedSpecifiersForSpecifiers(const Value& specifiers, const Value& table) const {
    for (const Value& item : specifiers.array()) {
        id s = item.object();
        if (Value name = sel::name(s); !name.isNil()) sel::setName_(s, Value(localizedStringForKey(name.string(), table)));
        if (Value footer = sel::propertyForKey_(s, Value("footerText")); !footer.isNil())
            sel::setProperty_forKey_(s, Value(localizedStringForKey(footer.string(), table)), Value("footerText"));
        if (Value titles = sel::titleDictionary(s); !titles.isNil()) sel::setTitleDictionary_(s, localizedValues(*this, titles, table));
        if (Value titles = sel::shortTitleDictionary(s); !titles.isNil())
            sel::setShortTitleDictionary_(s, localizedValues(*this, titles, table));
    }
    return specifiers;
}

void RS2Localizer::loadLocalizedSpecifiersForSpecifiers(const Value& specifiers, Value* out) const {
    if (out) *out = localizedSpecifiersForSpecifiers(specifiers);
}

std::string localizedText(std::string_view key) {
    RS2Localizer* localizer = RS2Localizer::sharedLocalizer();
    return localizer ? localizer->localizedStringForKey(key) : std::string();
}

void registerLocalizerClass() {
    ClassBuilder<RS2Localizer>("RS2Localizer", "NSObject").classMethod(sel::sharedLocalizer, [](id cls) {
        static std::once_flag once;
        static Ref<Object>* shared = nullptr;
        std::call_once(once, [cls] { shared = new Ref<Object>(alloc(static_cast<Class*>(cls))); });
        return *shared;
    });
}

}  // namespace rousa
