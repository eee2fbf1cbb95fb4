#include "adlib/pipeline/qrt_activity_request.h"

#include "adlib/foundation/device.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/string_utilities.h"
#include "adlib/pipeline/request.h"

namespace adlib {

namespace {

QRTActivityRequest* requestOf(id self) { return as<QRTActivityRequest>(self); }

Value stringOrNil(const Value& v) { return v.isString() ? v : Value(); }
Value dictionaryOrNil(const Value& v) { return v.isDictionary() ? v : Value(); }

Ref<Object> initRequest(id self, Value adUnitID, Value publisherProvidedID, Value customParameters) {
    QRTActivityRequest* request = requestOf(self);
    request->adUnitID = stringOrNil(adUnitID);
    request->publisherProvidedID = stringOrNil(publisherProvidedID);
    request->customParameters = dictionaryOrNil(customParameters);
    return Ref<Object>(self);
}

}  // namespace

Ref<QRTActivityRequest> QRTActivityRequest::make(const Value& adUnitID, const Value& publisherProvidedID, const Value& customParameters) {
    Ref<Object> made = sel::initWithAdUnitID_publisherProvidedID_customParameters_(alloc("QRTActivityRequest"), adUnitID,
                                                                                    publisherProvidedID, customParameters);
    return Ref<QRTActivityRequest>(as<QRTActivityRequest>(made.get()));
}

std::string QRTActivityRequest::JSONStringValue() const {
    Value::Dictionary json;
    if (!adUnitID.isNil()) json["ad_unit_id"] = adUnitID;
    if (!publisherProvidedID.isNil()) json["publisher_provided"] = Value{{"id", publisherProvidedID}};
    // A value JSON cannot hold would make the whole text empty and the report lost.
    if (!customParameters.isNil()) json["custom_parameters"] = YBXJSONSafeDictionary(customParameters);
    return dictionaryToJSONString(Value(std::move(json)));
}

Value QRTCoreMetadata::SDKVersion() {
    return Value{{"major", Value(static_cast<long long>(kYBXSDKVersionMajor))},
                 {"minor", Value(static_cast<long long>(kYBXSDKVersionMinor))},
                 {"patch", Value(static_cast<long long>(kYBXSDKVersionPatch))}};
}

std::string QRTCoreMetadata::JSONStringValue() const {
    Value::Dictionary json;
    if (YBXDevice* device = YBXDevice::currentDevice()) {
        Value parameters = device->parameters();
        if (!parameters.isNil()) json["ybx_device"] = std::move(parameters);
    }
    json["sdk_version"] = SDKVersion();
    return dictionaryToJSONString(Value(std::move(json)));
}

void registerActivityRequestClasses() {
    ClassBuilder<QRTActivityRequest>("QRTActivityRequest", "NSObject")
        .protocol("NSCopying")
        .protocol("YBXJSONSerializable")
        .classMethod(sel::requestWithAdUnitID_publisherProvidedID_customParameters_,
                     [](id, Value adUnitID, Value publisherProvidedID, Value customParameters) {
                         return Ref<Object>(QRTActivityRequest::make(adUnitID, publisherProvidedID, customParameters));
                     })
        .method(sel::initWithAdUnitID_publisherProvidedID_customParameters_, initRequest)
        .method(sel::copyWithZone_,
                [](id self, void*) {
                    const QRTActivityRequest* request = requestOf(self);
                    return Ref<Object>(QRTActivityRequest::make(request->adUnitID, request->publisherProvidedID, request->customParameters));
                })
        .method(sel::adUnitID, [](id self) { return requestOf(self)->adUnitID; })
        .method(sel::publisherProvidedID, [](id self) { return requestOf(self)->publisherProvidedID; })
        .method(sel::customParameters, [](id self) { return requestOf(self)->customParameters; })
        .method(sel::JSONStringValue, [](id self) { return requestOf(self)->JSONStringValue(); });
    ClassBuilder<QRTCoreMetadata>("QRTCoreMetadata", "NSObject")
        .protocol("YBXJSONSerializable")
        .classMethod(sel::SDKVersion, [](id) { return QRTCoreMetadata::SDKVersion(); })
        .method(sel::JSONStringValue, [](id self) { return as<QRTCoreMetadata>(self)->JSONStringValue(); });
}

}  // namespace adlib
