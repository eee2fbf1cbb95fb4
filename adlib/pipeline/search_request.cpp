#include "adlib/pipeline/search_request.h"

#include <algorithm>

#include "platform/foundation/format.h"
#include "platform/uikit/graphics.h"
#include "platform/webkit/selectors.h"  // the `request` selector

namespace adlib {

namespace {

YBXSearchRequest* searchOf(id self) { return as<YBXSearchRequest>(self); }

Value stringOrNil(const Value& v) { return v.isString() ? v : Value(); }

int byte(double component) { return static_cast<int>(std::clamp(component, 0.0, 1.0) * 255); }

// Every allocation of the public class (or of a subclass outside the private
// one) makes the private class.
Class* searchRequestAllocationClass(Class* requested) {
    Class* privateClass = objc_getClass("YBXSearchRequestPrivate");
    return privateClass && !requested->isSubclassOf(privateClass) ? privateClass : requested;
}

template <Ref<Object> YBXSearchRequest::*Field>
void colourProperty(ClassBuilder<YBXSearchRequest>& builder, Sel<Ref<Object>(id)> get, Sel<void(id, id)> set) {
    builder.method(get, [](id self) { return searchOf(self)->*Field; })
        .method(set, [](id self, id colour) { searchOf(self)->*Field = Ref<Object>(colour); });
}

}  // namespace

Value YBXSearchRequest::hexStringFromColor(id color) {
    if (!color) return Value();
    Ref<Object> cg = sel::CGColor(color);
    std::vector<double> c = CGColorGetComponents(cg.get());
    switch (CGColorGetColorSpaceModel(cg.get())) {
        case kCGColorSpaceModelMonochrome:
            if (c.empty()) return Value();
            return Value(format("#%02x%02x%02x", byte(c[0]), byte(c[0]), byte(c[0])));
        case kCGColorSpaceModelRGB:
            if (c.size() < 3) return Value();
            return Value(format("#%02x%02x%02x", byte(c[0]), byte(c[1]), byte(c[2])));
        default:
            return Value();
    }
}

std::string YBXSearchRequest::borderTypeString(unsigned long long type) {
    static const char* const names[] = {"none", "dashed", "dotted", "solid"};
    return type < std::size(names) ? names[type] : "";
}

std::string YBXSearchRequest::callButtonTypeString(unsigned long long type) {
    static const char* const names[] = {"light", "medium", "dark"};
    return type < std::size(names) ? names[type] : "";
}

Value YBXSearchRequest::styleParameters() const {
    Value::Dictionary p;
    auto set = [&p](const char* key, const Value& value) {
        if (!value.isNil()) p[key] = value;
    };
    auto colour = [&set](const char* key, const Ref<Object>& c) { set(key, hexStringFromColor(c.get())); };
    set("q", query);
    colour("bgcolor", backgroundColor);
    colour("gradientfrom", gradientFrom);
    colour("gradientto", gradientTo);
    colour("hcolor", headerColor);
    colour("dcolor", descriptionTextColor);
    colour("acolor", anchorTextColor);
    set("font", fontFamily);
    p["headersize"] = Value(format("%lu", headerTextSize));
    colour("bcolor", borderColor);
    if (std::string type = borderTypeString(borderType); !type.empty()) p["btype"] = Value(type);
    p["bthick"] = Value(format("%lu", borderThickness));
    set("channel", customChannels);
    if (std::string button = callButtonTypeString(callButtonColor); !button.empty()) p["callbuttoncolor"] = Value(button);
    return Value(std::move(p));
}

Ref<Object> YBXSearchRequest::request() const {
    Ref<Object> made = sel::request(objc_getClass("YBXRequest"));
    if (made) sel::setAdditionalParameters_(made.get(), styleParameters());
    return made;
}

void registerSearchRequestClasses() {
    ClassBuilder<YBXSearchRequest> builder("YBXSearchRequest", "NSObject");
    if (!builder) return;
    builder.method(sel::request, [](id self) { return searchOf(self)->request(); })
        .method(sel::hexStringFromColor_, [](id, id color) { return YBXSearchRequest::hexStringFromColor(color); })
        .method(sel::getBorderTypeString_, [](id, unsigned long long type) { return YBXSearchRequest::borderTypeString(type); })
        .method(sel::getCallButtonTypeString_, [](id, unsigned long long type) { return YBXSearchRequest::callButtonTypeString(type); })
        // Only the private class sets backgrounds.
        .method(sel::setBackgroundSolid_, [](id, id) {})
        .method(sel::setBackgroundGradientFrom_toColor_, [](id, id, id) {})
        .method(sel::query, [](id self) { return searchOf(self)->query; })
        .method(sel::setQuery_, [](id self, Value v) { searchOf(self)->query = stringOrNil(v); })
        .method(sel::fontFamily, [](id self) { return searchOf(self)->fontFamily; })
        .method(sel::setFontFamily_, [](id self, Value v) { searchOf(self)->fontFamily = stringOrNil(v); })
        .method(sel::customChannels, [](id self) { return searchOf(self)->customChannels; })
        .method(sel::setCustomChannels_, [](id self, Value v) { searchOf(self)->customChannels = stringOrNil(v); })
        .method(sel::headerTextSize, [](id self) { return searchOf(self)->headerTextSize; })
        .method(sel::setHeaderTextSize_, [](id self, unsigned long long v) { searchOf(self)->headerTextSize = v; })
        .method(sel::borderType, [](id self) { return searchOf(self)->borderType; })
        .method(sel::setBorderType_, [](id self, unsigned long long v) { searchOf(self)->borderType = v; })
        .method(sel::borderThickness, [](id self) { return searchOf(self)->borderThickness; })
        .method(sel::setBorderThickness_, [](id self, unsigned long long v) { searchOf(self)->borderThickness = v; })
        .method(sel::callButtonColor, [](id self) { return searchOf(self)->callButtonColor; })
        .method(sel::setCallButtonColor_, [](id self, unsigned long long v) { searchOf(self)->callButtonColor = v; });
    colourProperty<&YBXSearchRequest::backgroundColor>(builder, sel::backgroundColor, sel::setBackgroundColor_);
    colourProperty<&YBXSearchRequest::gradientFrom>(builder, sel::gradientFrom, sel::setGradientFrom_);
    colourProperty<&YBXSearchRequest::gradientTo>(builder, sel::gradientTo, sel::setGradientTo_);
    colourProperty<&YBXSearchRequest::headerColor>(builder, sel::headerColor, sel::setHeaderColor_);
    colourProperty<&YBXSearchRequest::descriptionTextColor>(builder, sel::descriptionTextColor, sel::setDescriptionTextColor_);
    colourProperty<&YBXSearchRequest::anchorTextColor>(builder, sel::anchorTextColor, sel::setAnchorTextColor_);
    colourProperty<&YBXSearchRequest::borderColor>(builder, sel::borderColor, sel::setBorderColor_);
    builder.get()->setAllocationClass(&searchRequestAllocationClass);

    ClassBuilder<YBXSearchRequest>::inheritingType("YBXSearchRequestPrivate", "YBXSearchRequest")
        .method(sel::setBackgroundSolid_,
                [](id self, id colour) {
                    searchOf(self)->backgroundColor = Ref<Object>(colour);
                    searchOf(self)->gradientFrom = nullptr;
                    searchOf(self)->gradientTo = nullptr;
                })
        .method(sel::setBackgroundGradientFrom_toColor_, [](id self, id from, id to) {
            if (!from || !to) return;
            searchOf(self)->backgroundColor = nullptr;
            searchOf(self)->gradientFrom = Ref<Object>(from);
            searchOf(self)->gradientTo = Ref<Object>(to);
        });
}

}  // namespace adlib
