#include "adlib/pipeline/request.h"

#include <atomic>
#include <cassert>

#include "adlib/foundation/device.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/signals.h"
#include "adlib/pipeline/extras.h"
#include "adlib/pipeline/location.h"
#include "adlib/pipeline/network.h"
#include "platform/foundation/calendar.h"
#include "platform/foundation/date_formatter.h"
#include "platform/foundation/format.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/run_loop.h"
#include "platform/webkit/selectors.h"  // the `request` selector

namespace adlib {

namespace {

constexpr int kMajor = kYBXSDKVersionMajor, kMinor = kYBXSDKVersionMinor, kPatch = kYBXSDKVersionPatch;
constexpr const char* kBuildNumber = "6074";
constexpr const char* kPreReleaseTag = "rc.1";

YBXRequest* requestOf(id self) { return as<YBXRequest>(self); }

void checkMainThread() { assert(NSThread::isMainThread() && "YBXRequest is used on the main thread only"); }

// A send to a class that another part of the library provides, when it is there.
Value sendIfAnswered(id target, std::string_view selector) {
    if (!target || !respondsToSelector(target, selector)) return Value();
    return invoke(target, selector, {});
}

Value arrayOrNil(const Value& v) { return v.kind() == Value::Kind::Array ? v : Value(); }
Value dictionaryOrNil(const Value& v) { return v.kind() == Value::Kind::Dictionary ? v : Value(); }
Value stringOrNil(const Value& v) { return v.isString() ? v : Value(); }

Value trimmedOrNil(const Value& v) {
    if (!v.isString()) return Value();
    std::string text = trimWhitespaceAndNewlines(v.string());
    return text.empty() ? Value() : Value(std::move(text));
}

}  // namespace

void YBXRequest::initializeClass() {
    static std::atomic<bool> done{false};
    if (done.exchange(true)) return;
    Ref<Object> application = as<Object>(sendIfAnswered(objc_getClass("YBXApplication"), "sharedApplication").object());
    sendIfAnswered(application.get(), "runEarlyActivities");
    YBXDevice* device = YBXDevice::currentDevice();
    if (!device) return;
    if (!device->isOSAtLeast(6, 0, 0)) {
        pubLog("Test ads are only available on iOS 6+.");
        return;
    }
    const std::string identifier = device->deviceIdentifier();
    if (identifier.empty())
        pubLog("Advertising tracking may be disabled. To get test ads on this device, enable advertising tracking.");
    else
        pubLog(format("To get test ads on this device, call: request.testDevices = @[ %@ ];", format("@\"%@\"", identifier)));
}

long long YBXRequest::requestTypeFromString(const Value& text) {
    if (!text.isString()) return 0;
    if (text.string() == "quorrel") return 1;
    if (text.string() == "marlex") return 2;
    if (text.string() == "hnv") return 3;
    return 0;
}

const std::string& YBXRequest::sdkVersion() {
    static const std::string* version = new std::string(format("kestra-sdk-i-v%d.%d.%d", kMajor, kMinor, kPatch));
    return *version;
}

std::string YBXRequest::sdkVersionMetadata() {
    const std::string build = kBuildNumber;
    return build.empty() ? std::string() : format("+%@", build);
}

std::string YBXRequest::sdkVersionIdentifiers() {
    const std::string tag = kPreReleaseTag;
    return tag.empty() ? std::string() : format("-%@", tag);
}

const std::string& YBXRequest::extendedSDKVersionNumber() {
    static const std::string* version = new std::string(
        format("kestra-sdk-i-v%d.%d.%d%@%@", kMajor, kMinor, kPatch, sdkVersionIdentifiers(), sdkVersionMetadata()));
    return *version;
}

Ref<YBXRequest> YBXRequest::copy() const {
    Ref<YBXRequest> made = as<YBXRequest>(sel::init(alloc(object_getClass(const_cast<YBXRequest*>(this)))));
    if (!made) return nullptr;
    made->testDevices = testDevices;
    made->testing = testing;
    made->formatParameters = formatParameters;
    // The extras objects themselves are shared.
    made->networkExtrasMap = networkExtrasMap;
    made->mediationExtras = mediationExtras;
    made->privateMediationExtras = privateMediationExtras;
    made->gender = gender;
    made->birthday = birthday;
    made->location = location;
    made->keywords = keywords;
    made->childDirectedTreatment = childDirectedTreatment;
    made->contentURL = contentURL;
    made->responseType = responseType;
    return made;
}

std::string YBXRequest::description() const {
    auto* self = const_cast<YBXRequest*>(this);
    std::string genderText = gender == 1 ? "\ngender:Male" : gender == 2 ? "\ngender:Female" : "";
    std::string birthdayText = birthday.isNil() ? "" : format("\nbirthday:%@", birthday);
    std::string locationText = location ? format("\nlocation:%@", sel::description(location.get())) : "";
    std::string keywordsText = keywords.isNil() ? "" : format("\nkeywords:%@", keywords);
    Value extras = self->networkExtrasAdditionalParameters();
    std::string extrasText = extras.isNil() ? "" : format("\nadditionalParameters:%@", extras);
    return format("<%@ %p: %@%@%@%@%@>", NSStringFromClass(object_getClass(self)), this, genderText, birthdayText, locationText,
                  keywordsText, extrasText);
}

void YBXRequest::registerAdNetworkExtras(id extras) {
    if (!extras) {
        pubLog(format("Must specify extras for %@.", sel::registerAdNetworkExtras_.name));
        return;
    }
    networkExtrasMap[NSStringFromClass(object_getClass(extras))] = Value(extras);
}

Ref<Object> YBXRequest::adNetworkExtrasFor(const Class* cls) const {
    if (!cls) return nullptr;
    auto found = networkExtrasMap.find(cls->name());
    return found != networkExtrasMap.end() ? Ref<Object>(found->second.object()) : nullptr;
}

void YBXRequest::removeAdNetworkExtrasFor(const Class* cls) {
    if (cls) networkExtrasMap.erase(cls->name());
}

Ref<Object> YBXRequest::networkExtras() const {
    if (Ref<Object> qrt = adNetworkExtrasFor(objc_getClass("QRTExtras"))) return qrt;
    return adNetworkExtrasFor(objc_getClass("YBXMarlexExtras"));
}

void YBXRequest::setAdditionalParameters(const Value& parameters) { registerAdNetworkExtras(YBXMarlexExtras::make(parameters).get()); }

Value YBXRequest::networkExtrasAdditionalParameters(UseOnce use) {
    if (Ref<Object> qrt = adNetworkExtrasFor(objc_getClass("QRTExtras"))) return sel::additionalParameters(qrt.get());
    Ref<Object> marlex = adNetworkExtrasFor(objc_getClass("YBXMarlexExtras"));
    if (!marlex) return Value();
    Value parameters = sel::additionalParameters(marlex.get());
    if (use == UseOnce::consume && parameters["_useOnce"].boolValue()) removeAdNetworkExtrasFor(objc_getClass("YBXMarlexExtras"));
    return parameters;
}

Value YBXRequest::genderString() const {
    if (gender == 1) return Value("1");
    if (gender == 2) return Value("2");
    return Value();
}

void YBXRequest::setBirthday(long long month, long long day, long long year) {
    Ref<NSCalendar> gregorian = NSCalendar::calendarWithIdentifier("gregorian");
    Ref<NSDateComponents> components = NSDateComponents::make();
    if (!gregorian || !components) return;
    components->year = year;
    components->month = month;
    components->day = day;
    std::optional<Date> date = gregorian->dateFromComponents(*components);
    birthday = date ? Value(*date) : Value();
}

Value YBXRequest::birthdayString() const {
    if (birthday.kind() != Value::Kind::Date) return Value();
    Ref<Object> formatter = sel::init(alloc("NSDateFormatter"));
    if (!formatter) return Value();
    sel::setDateFormat_(formatter.get(), "yyyyMMdd");
    return sel::stringFromDate_(formatter.get(), birthday);
}

Value YBXRequest::contentURLString() const { return trimmedOrNil(contentURL); }

void YBXRequest::setLocation(double latitude, double longitude, double accuracy) {
    location = YBXLocation::make(latitude, longitude, accuracy);
}

void YBXRequest::setLocationDescription(const Value& description) { location = YBXLocation::make(description); }

void YBXRequest::addKeyword(const Value& keyword) {
    if (!keyword.isString() || keyword.string().empty()) return;
    if (keywords.kind() != Value::Kind::Array) keywords = Value(Value::Array{});
    keywords.mutableArray().push_back(keyword);
}

Value YBXRequest::analyticsIDs() const {
    // Asks whether the class has the class method: resolveClassMethod: would
    // answer NO for any method the class simply has.
    Value answer = sendIfAnswered(objc_getClass("WUVMarlexInfo"), "marlexInfo");
    return answer.kind() == Value::Kind::Dictionary ? answer : Value();
}

bool YBXRequest::isATestDevice() const {
    YBXDevice* device = YBXDevice::currentDevice();
    const std::string identifier = device && device->isOSAtLeast(6, 0, 0) ? device->deviceIdentifier() : std::string();
    for (const Value& entry : testDevices.array())
        if (entry.isString() && !entry.string().empty() && entry.string() == identifier) return true;
    return false;
}

void YBXRequest::addQRTParameters(Value::Dictionary& parameters) const {
    Ref<Object> qrt = adNetworkExtrasFor(objc_getClass("QRTExtras"));
    if (!qrt) return;
    Value ppid = trimmedOrNil(sel::publisherProvidedID(qrt.get()));
    if (!ppid.isNil()) parameters["ppid"] = ppid;
}

Value YBXRequest::parameters() {
    checkMainThread();
    Value::Dictionary p;
    auto set = [&p](const char* key, const Value& value) {
        if (!value.isNil()) p[key] = value;
    };
    YBXDevice* device = YBXDevice::currentDevice();
    if (device)
        for (const auto& [key, value] : device->parameters().dictionary()) p[key] = value;
    Value adapters = sendIfAnswered(objc_getClass("YBXMAdNetworkAdapter"), "availableAdapterNames");
    if (!adapters.array().empty()) p["adapters"] = Value(adapters.array());
    p["js"] = Value(sdkVersion());
    if (Ref<Object> network = device ? sel::network(device) : nullptr) {
        set("net", sel::networkTypeString(network.get()));
        set("net_last", sel::lastKnownNetworkTypeString(network.get()));
    }
    if (testing) p["testing"] = Value("1");
    if (isATestDevice()) p["adtest"] = Value("on");
    set("extras", networkExtrasAdditionalParameters(UseOnce::consume));
    set("mediation_extras", mediationExtras);
    set("cust_gender", genderString());
    set("cust_age", birthdayString());
    set("kw", keywords);
    if (!childDirectedTreatment.isNil()) p["tag_for_child_directed_treatment"] = Value(childDirectedTreatment.boolValue() ? "1" : "0");
    set("url", contentURLString());
    if (auto* l = as<YBXLocation>(location.get())) set("uule", l->dictionaryRepresentation());
    set("analytics_join_id", analyticsIDs());
    RunSynchronouslyOnMainThread([&p] {
        ybx_gig(sdkVersion());
        std::string pair;
        if (!YBXSignalsForRequest(sdkVersion(), &pair)) return;
        std::vector<std::string> parts = componentsSeparatedByString(pair, "=");
        if (parts.size() >= 2 && !parts[0].empty() && !parts[1].empty()) p[parts[0]] = Value(parts[1]);
    });
    addQRTParameters(p);
    std::string formats;
    for (const Value& entry : formatParameters.array()) {
        const Value& format = entry["format"];
        if (format.isNil()) continue;
        if (!formats.empty()) formats += ",";
        formats += format.description();
    }
    if (!formats.empty() && responseType != 0) {
        p["native_templates"] = Value(formats);
        p["native_version"] = Value(responseType);
    }
    return Value(std::move(p));
}

void registerRequestClass() {
    ClassBuilder<YBXRequest>("YBXRequest", "NSObject")
        .protocol("NSCopying")
        .method(sel::init,
                [](id self) -> Ref<Object> {
                    checkMainThread();
                    YBXRequest::initializeClass();
                    return Ref<Object>(self);
                })
        .classMethod(sel::request, [](id cls) { return sel::init(alloc(static_cast<Class*>(cls))); })
        .classMethod(sel::requestTypeFromString_, [](id, Value text) { return YBXRequest::requestTypeFromString(text); })
        .classMethod(sel::sdkVersion, [](id) { return YBXRequest::sdkVersion(); })
        .classMethod(sel::sdkVersionMetadata, [](id) { return YBXRequest::sdkVersionMetadata(); })
        .classMethod(sel::sdkVersionIdentifiers, [](id) { return YBXRequest::sdkVersionIdentifiers(); })
        .classMethod(sel::extendedSDKVersionNumber, [](id) { return YBXRequest::extendedSDKVersionNumber(); })
        .method(sel::copyWithZone_, [](id self, void*) { return Ref<Object>(requestOf(self)->copy()); })
        .method(sel::copy, [](id self) { return sel::copyWithZone_(self, nullptr); })
        .method(sel::description, [](id self) { return Value(requestOf(self)->description()); })
        .method(sel::registerAdNetworkExtras_, [](id self, id extras) { requestOf(self)->registerAdNetworkExtras(extras); })
        .method(sel::adNetworkExtrasFor_, [](id self, id cls) { return requestOf(self)->adNetworkExtrasFor(dynamic_cast<Class*>(cls)); })
        .method(sel::removeAdNetworkExtrasFor_, [](id self, id cls) { requestOf(self)->removeAdNetworkExtrasFor(dynamic_cast<Class*>(cls)); })
        .method(sel::networkExtras, [](id self) { return requestOf(self)->networkExtras(); })
        .method(sel::setAdditionalParameters_, [](id self, Value v) { requestOf(self)->setAdditionalParameters(v); })
        .method(sel::additionalParameters, [](id self) { return requestOf(self)->networkExtrasAdditionalParameters(); })
        .method(sel::networkExtrasAdditionalParameters, [](id self) { return requestOf(self)->networkExtrasAdditionalParameters(); })
        .method(sel::networkExtrasMap, [](id self) { return Value(requestOf(self)->networkExtrasMap); })
        .method(sel::genderString, [](id self) { return requestOf(self)->genderString(); })
        .method(sel::setBirthdayWithMonth_day_year_,
                [](id self, long long month, long long day, long long year) { requestOf(self)->setBirthday(month, day, year); })
        .method(sel::birthdayString, [](id self) { return requestOf(self)->birthdayString(); })
        .method(sel::contentURLString, [](id self) { return requestOf(self)->contentURLString(); })
        .method(sel::setLocationWithLatitude_longitude_accuracy_,
                [](id self, double latitude, double longitude, double accuracy) { requestOf(self)->setLocation(latitude, longitude, accuracy); })
        .method(sel::setLocationWithDescription_, [](id self, Value text) { requestOf(self)->setLocationDescription(text); })
        .method(sel::addKeyword_, [](id self, Value keyword) { requestOf(self)->addKeyword(keyword); })
        .method(sel::tagForChildDirectedTreatment_, [](id self, bool tag) { requestOf(self)->childDirectedTreatment = Value(tag); })
        .method(sel::analyticsIDs, [](id self) { return requestOf(self)->analyticsIDs(); })
        .method(sel::isATestDevice, [](id self) { return requestOf(self)->isATestDevice(); })
        .method(sel::parameters, [](id self) { return requestOf(self)->parameters(); })
        .method(sel::addQRTParameters_, [](id self, Value::Dictionary* p) {
            if (p) requestOf(self)->addQRTParameters(*p);
        })
        .method(sel::testDevices, [](id self) { return requestOf(self)->testDevices; })
        .method(sel::setTestDevices_, [](id self, Value v) { requestOf(self)->testDevices = arrayOrNil(v); })
        .method(sel::isTesting, [](id self) { return requestOf(self)->testing; })
        .method(sel::setTesting_, [](id self, bool v) { requestOf(self)->testing = v; })
        .method(sel::gender, [](id self) { return requestOf(self)->gender; })
        .method(sel::setGender_, [](id self, long long v) { requestOf(self)->gender = v; })
        .method(sel::birthday, [](id self) { return requestOf(self)->birthday; })
        .method(sel::setBirthday_, [](id self, Value v) { requestOf(self)->birthday = v.kind() == Value::Kind::Date ? v : Value(); })
        .method(sel::keywords, [](id self) { return requestOf(self)->keywords; })
        .method(sel::setKeywords_, [](id self, Value v) { requestOf(self)->keywords = arrayOrNil(v); })
        .method(sel::location, [](id self) { return requestOf(self)->location; })
        .method(sel::setLocation_, [](id self, id v) { requestOf(self)->location = as<YBXLocation>(v) ? Ref<Object>(v) : nullptr; })
        .method(sel::contentURL, [](id self) { return requestOf(self)->contentURL; })
        .method(sel::setContentURL_, [](id self, Value v) { requestOf(self)->contentURL = stringOrNil(v); })
        .method(sel::childDirectedTreatment, [](id self) { return requestOf(self)->childDirectedTreatment; })
        .method(sel::setChildDirectedTreatment_, [](id self, Value v) { requestOf(self)->childDirectedTreatment = v.isNil() ? Value() : Value(v.boolValue()); })
        .method(sel::mediationExtras, [](id self) { return requestOf(self)->mediationExtras; })
        .method(sel::setMediationExtras_, [](id self, Value v) { requestOf(self)->mediationExtras = dictionaryOrNil(v); })
        .method(sel::privateMediationExtras, [](id self) { return requestOf(self)->privateMediationExtras; })
        .method(sel::setPrivateMediationExtras_, [](id self, Value v) { requestOf(self)->privateMediationExtras = dictionaryOrNil(v); })
        .method(sel::formatParameters, [](id self) { return requestOf(self)->formatParameters; })
        .method(sel::setFormatParameters_, [](id self, Value v) { requestOf(self)->formatParameters = arrayOrNil(v); })
        .method(sel::responseType, [](id self) { return static_cast<unsigned long long>(requestOf(self)->responseType); })
        .method(sel::setResponseType_, [](id self, unsigned long long v) { requestOf(self)->responseType = static_cast<long long>(v); });
}

}  // namespace adlib
