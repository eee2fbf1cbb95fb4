#include "adlib/pipeline/extras.h"

namespace adlib {

namespace {
// Copied on set, as the properties are.
Value dictionaryOrNil(const Value& v) { return v.kind() == Value::Kind::Dictionary ? v : Value(); }
Value stringOrNil(const Value& v) { return v.isString() ? v : Value(); }
}  // namespace

Ref<YBXMarlexExtras> YBXMarlexExtras::make(const Value& additionalParameters) {
    Ref<YBXMarlexExtras> extras = as<YBXMarlexExtras>(newObject("YBXMarlexExtras"));
    if (extras) extras->additionalParameters = dictionaryOrNil(additionalParameters);
    return extras;
}

void registerExtrasClasses() {
    ClassBuilder<YBXMarlexExtras>("YBXMarlexExtras", "NSObject")
        .protocol("YBXAdNetworkExtras")
        .method(sel::additionalParameters, [](id self) { return as<YBXMarlexExtras>(self)->additionalParameters; })
        .method(sel::setAdditionalParameters_, [](id self, Value v) { as<YBXMarlexExtras>(self)->additionalParameters = dictionaryOrNil(v); });
    ClassBuilder<QRTExtras>("QRTExtras", "YBXMarlexExtras")
        .method(sel::publisherProvidedID, [](id self) { return as<QRTExtras>(self)->publisherProvidedID; })
        .method(sel::setPublisherProvidedID_, [](id self, Value v) { as<QRTExtras>(self)->publisherProvidedID = stringOrNil(v); });
}

}  // namespace adlib
