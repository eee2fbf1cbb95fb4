#include "platform/preferences/specifier.h"

#include "platform/foundation/process.h"
#include "platform/preferences/list_controller.h"
#include "platform/preferences/settings_app.h"
#include "platform/preferences/table_cell.h"

namespace platform {

std::string titleKey(const Value& value) { return value.description(); }

long long PSSpecifier::cellTypeNamed(std::string_view name) {
    static const std::pair<std::string_view, long long> kinds[] = {
        {"PSGroupCell", PSGroupCell},         {"PSLinkCell", PSLinkCell},       {"PSLinkListCell", PSLinkListCell},
        {"PSListItemCell", PSListItemCell},   {"PSTitleValueCell", PSTitleValueCell}, {"PSSliderCell", PSSliderCell},
        {"PSSwitchCell", PSSwitchCell},       {"PSStaticTextCell", PSStaticTextCell}, {"PSEditTextCell", PSEditTextCell},
        {"PSButtonCell", PSButtonCell},
    };
    for (const auto& [n, kind] : kinds)
        if (n == name) return kind;
    return PSStaticTextCell;
}

namespace {
Value titlesFor(const Value& values, const Value& titles) {
    if (!values.isArray() || !titles.isArray()) return Value();
    Value out = Value(Value::Dictionary{});
    for (std::size_t i = 0; i < values.count() && i < titles.count(); ++i) out.mutableDictionary()[titleKey(values.at(i))] = titles.at(i);
    return out;
}
}  // namespace

Ref<PSSpecifier> PSSpecifier::fromDescription(const Value& entry, id target, const std::string& bundlePath) {
    auto s = as<PSSpecifier>(alloc("PSSpecifier"));
    if (!s || !entry.isDictionary()) return nullptr;
    s->properties = entry;
    s->name = entry["label"];
    s->cellType = cellTypeNamed(entry["cell"].stringOr(""));
    s->target = target;
    s->bundlePath = bundlePath;
    bool stores = entry["key"].isString();
    s->setter = entry["set"].stringOr(stores ? "setPreferenceValue:specifier:" : "");
    s->getter = entry["get"].stringOr(stores ? "readPreferenceValue:" : "");
    s->action = entry["action"].stringOr("");
    s->detailControllerClass = entry["detail"].stringOr(s->cellType == PSLinkListCell ? "PSListItemsController" : "");
    s->values = entry["validValues"];
    s->titleDictionary = titlesFor(s->values, entry["validTitles"]);
    s->shortTitleDictionary = titlesFor(s->values, entry["shortTitles"]);
    return s;
}

Value PSSpecifier::titleOfValue(const Value& value, bool preferShort) const {
    if (value.isNil()) return Value();
    std::string k = titleKey(value);
    if (preferShort)
        if (const Value& t = shortTitleDictionary[k]; !t.isNil()) return t;
    return titleDictionary[k];
}

namespace preferences {

void registerClasses() {
    if (!process::isSettingsApp()) return;
    ClassBuilder<PSSpecifier>("PSSpecifier", "NSObject")
        .property<&PSSpecifier::name>(sel::name, sel::setName_)
        .method(sel::propertyForKey_, [](id self, Value key) { return as<PSSpecifier>(self)->properties[key.string()]; })
        .method(sel::setProperty_forKey_,
                [](id self, Value value, Value key) {
                    if (!key.isString()) return;
                    auto& props = as<PSSpecifier>(self)->properties.mutableDictionary();
                    if (value.isNil()) props.erase(key.string());
                    else props[key.string()] = value;
                })
        .property<&PSSpecifier::titleDictionary>(sel::titleDictionary, sel::setTitleDictionary_)
        .property<&PSSpecifier::shortTitleDictionary>(sel::shortTitleDictionary, sel::setShortTitleDictionary_)
        .method(sel::description, [](id self) {
            auto* s = as<PSSpecifier>(self);
            return Value("<PSSpecifier " + s->name.stringOr("") + " key " + s->properties["key"].stringOr("") + ">");
        });
    registerTableCellClasses();
    registerListControllerClasses();
    registerSettingsAppClasses();
}

}  // namespace preferences
}  // namespace platform
