#include "adlib/pipeline/location.h"

#include <cmath>
#include <functional>

#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"

namespace adlib {

namespace {

constexpr double kEpsilon = 1.1920928955078125e-7;  // single precision

YBXLocation* locationOf(id self) { return as<YBXLocation>(self); }

double now() { return NSDate::date().unix(); }

bool nearlyEqual(double a, double b) { return std::fabs(a - b) < kEpsilon; }

}  // namespace

bool YBXLocation::isPrecise(double latitude, double longitude) {
    return std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180 && std::fabs(latitude) > kEpsilon && std::fabs(longitude) > kEpsilon;
}

Ref<YBXLocation> YBXLocation::make(double latitude, double longitude, double accuracy) {
    return as<YBXLocation>(sel::initWithLatitude_longitude_accuracy_(alloc("YBXLocation"), latitude, longitude, accuracy));
}

Ref<YBXLocation> YBXLocation::make(const Value& description) {
    return as<YBXLocation>(sel::initWithLocationDescription_(alloc("YBXLocation"), description));
}

std::string YBXLocation::locationDescriptionText() const {
    if (locationDescription.isString()) return locationDescription.string();
    if (isPreciseLocation()) return format("%f,%f", latitude, longitude);
    return {};
}

Value YBXLocation::dictionaryRepresentation() {
    if (!dictionary_.isNil() || !isPreciseLocation()) return dictionary_;
    dictionary_ = Value(Value::Dictionary{
        {"time", Value(timestamp * 1000000.0)},
        {"lat", Value(static_cast<long long>(latitude * 10000000.0))},
        {"long", Value(static_cast<long long>(longitude * 10000000.0))},
        {"radius", Value(accuracy * 1000.0)},
    });
    return dictionary_;
}

bool YBXLocation::isEqual(const YBXLocation* other) const {
    if (other == this) return true;
    if (!other || other->isPreciseLocation() != isPreciseLocation()) return false;
    if (isPreciseLocation())
        return nearlyEqual(latitude, other->latitude) && nearlyEqual(longitude, other->longitude) && nearlyEqual(accuracy, other->accuracy);
    return locationDescriptionText() == other->locationDescriptionText();
}

unsigned long YBXLocation::hash() const {
    // Equality allows a tolerance and ignores the time, so equal precise
    // locations can only be sure to hash alike when they all hash alike.
    if (isPreciseLocation()) return 1;
    return static_cast<unsigned long>(std::hash<std::string>{}(locationDescriptionText()));
}

Ref<YBXLocation> YBXLocation::copy() const {
    Ref<YBXLocation> made = as<YBXLocation>(alloc(object_getClass(const_cast<YBXLocation*>(this))));
    if (!made) return nullptr;
    made->latitude = latitude;
    made->longitude = longitude;
    made->accuracy = accuracy;
    made->timestamp = timestamp;
    made->locationDescription = locationDescription;
    return made;
}

void registerLocationClass() {
    ClassBuilder<YBXLocation>("YBXLocation", "NSObject")
        .method(sel::initWithLatitude_longitude_accuracy_,
                [](id self, double latitude, double longitude, double accuracy) -> Ref<Object> {
                    YBXLocation* l = locationOf(self);
                    l->latitude = latitude;
                    l->longitude = longitude;
                    l->accuracy = accuracy;
                    l->timestamp = now();
                    if (!l->isPreciseLocation()) return nullptr;
                    return Ref<Object>(self);
                })
        .method(sel::initWithLocationDescription_,
                [](id self, Value description) -> Ref<Object> {
                    if (!description.isString() || description.string().empty()) return nullptr;
                    locationOf(self)->locationDescription = description;
                    locationOf(self)->timestamp = now();
                    return Ref<Object>(self);
                })
        .method(sel::latitude, [](id self) { return locationOf(self)->latitude; })
        .method(sel::longitude, [](id self) { return locationOf(self)->longitude; })
        .method(sel::accuracy, [](id self) { return locationOf(self)->accuracy; })
        .method(sel::timestamp, [](id self) { return locationOf(self)->timestamp; })
        .method(sel::locationDescription, [](id self) { return Value(locationOf(self)->locationDescriptionText()); })
        .method(sel::isPreciseLocation, [](id self) { return locationOf(self)->isPreciseLocation(); })
        .method(sel::dictionaryRepresentation, [](id self) { return locationOf(self)->dictionaryRepresentation(); })
        .method(sel::isEqual_, [](id self, id other) { return locationOf(self)->isEqual(as<YBXLocation>(other)); })
        .method(sel::hash, [](id self) { return locationOf(self)->hash(); })
        .method(sel::copyWithZone_, [](id self, void*) { return Ref<Object>(locationOf(self)->copy()); })
        .method(sel::copy, [](id self) { return sel::copyWithZone_(self, nullptr); });
}

}  // namespace adlib
