#include "adlib/render/mraid_calendar_properties.h"

#include "platform/foundation/locale.h"
#include "platform/frameworks/eventkit.h"

namespace adlib {

namespace {

YBXMRAIDCalendarProperties* propertiesOf(id self) { return as<YBXMRAIDCalendarProperties>(self); }

Value textOf(const Value& value) { return value.isString() ? value : Value(); }

Value dateOf(const Value& text) {
    return text.isString() ? sel::dateFromString_(YBXMRAIDCalendarProperties::dateFormatter(), text) : Value();
}

bool setUp(YBXMRAIDCalendarProperties* properties, const Value& dictionary) {
    if (!dictionary.isDictionary()) return false;
    for (const char* key : {"start", "end", "summary", "description", "location"})
        if (dictionary[key].isNil()) return false;
    properties->startTime_ = dateOf(dictionary["start"]);
    properties->endTime_ = dateOf(dictionary["end"]);
    properties->summary_ = textOf(dictionary["summary"]);
    properties->eventDescription_ = textOf(dictionary["description"]);
    properties->location_ = textOf(dictionary["location"]);
    return true;
}

}  // namespace

Ref<YBXMRAIDCalendarProperties> YBXMRAIDCalendarProperties::fromDictionary(const Value& dictionary) {
    return as<YBXMRAIDCalendarProperties>(sel::initWithDictionary_(alloc("YBXMRAIDCalendarProperties"), dictionary));
}

NSDateFormatter* YBXMRAIDCalendarProperties::dateFormatter() {
    static NSDateFormatter* formatter = [] {
        auto* made = as<NSDateFormatter>(sel::init(alloc("NSDateFormatter")).leak());
        sel::setLocale_(made, NSLocale::localeWithLocaleIdentifier("en_US_POSIX").get());
        sel::setDateFormat_(made, "yyyy-MM-dd'T'HH:mm:ssZZZZZ");
        return made;
    }();
    return formatter;
}

void registerMRAIDCalendarPropertiesClass() {
    ClassBuilder<YBXMRAIDCalendarProperties>("YBXMRAIDCalendarProperties", "NSObject")
        .classMethod(sel::dateFormatter, [](id) { return Ref<Object>(YBXMRAIDCalendarProperties::dateFormatter()); })
        .method(sel::initWithDictionary_,
                [](id self, Value dictionary) -> Ref<Object> {
                    Ref<Object> made = sel::init(self);
                    auto* properties = propertiesOf(made.get());
                    return properties && setUp(properties, dictionary) ? made : nullptr;
                })
        .getter<&YBXMRAIDCalendarProperties::startTime_>(sel::startTime)
        .getter<&YBXMRAIDCalendarProperties::endTime_>(sel::endTime)
        .getter<&YBXMRAIDCalendarProperties::summary_>(sel::summary)
        .getter<&YBXMRAIDCalendarProperties::eventDescription_>(sel::eventDescription)
        .getter<&YBXMRAIDCalendarProperties::location_>(sel::eventLocation);
}

}  // namespace adlib
