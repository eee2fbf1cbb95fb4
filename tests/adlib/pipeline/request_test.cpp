#include "adlib/pipeline/request.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>

#include "adlib/foundation/device.h"
#include "adlib/foundation/signals.h"
#include "adlib/pipeline/extras.h"
#include "adlib/pipeline/location.h"
#include "adlib/pipeline/network.h"
#include "platform/foundation/codecs.h"
#include "platform/foundation/format.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/adsupport.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;
using testing::appOptions;

constexpr const char* kAdvertisingID = "1E2DFA89-496A-47FD-9941-DF1FC4E6484A";

Class* requestClass() { return objc_getClass("YBXRequest"); }
Ref<YBXRequest> newRequest() { return as<YBXRequest>(sel::request(requestClass())); }

Ref<Object> extras(const char* cls, Value additional, Value ppid = Value()) {
    Ref<Object> e = newObject(cls);
    sel::setAdditionalParameters_(e.get(), std::move(additional));
    if (!ppid.isNil()) sel::setPublisherProvidedID_(e.get(), std::move(ppid));
    return e;
}

// The request's own keys: those a bare request does not send.
const char* const kRequestKeys[] = {"testing", "adtest", "extras", "mediation_extras", "cust_gender", "cust_age", "kw",
                                    "tag_for_child_directed_treatment", "url", "uule", "analytics_join_id", "ppid",
                                    "native_templates", "native_version"};

struct ParameterCase {
    const char* name;
    std::function<void(YBXRequest*)> setUp;
    std::map<std::string, Value> expected;  // of kRequestKeys; the others must be absent
};

class Requests : public ::testing::Test {
protected:
    AdLibEnvironment env;
};

TEST_F(Requests, ABareRequestSendsTheDeviceVersionNetworkAndSignal) {
    Value device = YBXDevice::currentDevice()->parameters();
    ASSERT_TRUE(RunLoop::main().runUntil([] { return sel::networkTypeString(sel::network(YBXDevice::currentDevice())).isString(); }, 10));
    Value p = sel::parameters(newRequest().get());
    for (const auto& [key, value] : device.dictionary()) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(p.dictionary().contains(key));
    }
    EXPECT_EQ(p["js"], Value("kestra-sdk-i-v6.12.2"));
    EXPECT_EQ(p["net"], Value("wi"));
    EXPECT_EQ(p["net_last"], Value("wi"));
    EXPECT_TRUE(p[kYBXRequestSignalName].isString());
    EXPECT_FALSE(p[kYBXRequestSignalName].string().empty());
    EXPECT_TRUE(signals::initialised());
    EXPECT_EQ(signals::sdkVersion(), "kestra-sdk-i-v6.12.2");
    for (const char* key : kRequestKeys) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(p.dictionary().contains(key));
    }
    std::size_t known = device.dictionary().size() + 4 + (p.dictionary().contains("adapters") ? 1 : 0);
    EXPECT_EQ(p.dictionary().size(), known);
}

TEST_F(Requests, ParametersFollowEachSetting) {
    const std::string identifier = md5Hex(kAdvertisingID);
    ParameterCase cases[] = {
        {"testing", [](YBXRequest* r) { sel::setTesting_(r, true); }, {{"testing", Value("1")}}},
        {"a matching test device", [&](YBXRequest* r) { sel::setTestDevices_(r, Value::array({Value("other"), Value(identifier)})); },
         {{"adtest", Value("on")}}},
        {"no matching test device", [](YBXRequest* r) { sel::setTestDevices_(r, Value::array({Value("other")})); }, {}},
        {"an empty identifier matches no empty entry",
         [](YBXRequest* r) {
             adsupport::setAdvertising(false, kAdvertisingID);
             sel::setTestDevices_(r, Value::array({Value("")}));
         },
         {}},
        {"male", [](YBXRequest* r) { sel::setGender_(r, 1); }, {{"cust_gender", Value("1")}}},
        {"female", [](YBXRequest* r) { sel::setGender_(r, 2); }, {{"cust_gender", Value("2")}}},
        {"unknown gender", [](YBXRequest* r) { sel::setGender_(r, 3); }, {}},
        {"birthday", [](YBXRequest* r) { sel::setBirthdayWithMonth_day_year_(r, 3, 7, 1985); }, {{"cust_age", Value("19850307")}}},
        {"month 13 rolls over", [](YBXRequest* r) { sel::setBirthdayWithMonth_day_year_(r, 13, 1, 1985); }, {{"cust_age", Value("19860101")}}},
        {"a blank keyword", [](YBXRequest* r) { sel::addKeyword_(r, Value("")); }, {}},
        {"keywords", [](YBXRequest* r) {
             sel::addKeyword_(r, Value("golf"));
             sel::addKeyword_(r, Value());
             sel::addKeyword_(r, Value("tennis"));
         }, {{"kw", Value::array({Value("golf"), Value("tennis")})}}},
        {"child-directed YES", [](YBXRequest* r) { sel::tagForChildDirectedTreatment_(r, true); }, {{"tag_for_child_directed_treatment", Value("1")}}},
        {"child-directed NO", [](YBXRequest* r) { sel::tagForChildDirectedTreatment_(r, false); }, {{"tag_for_child_directed_treatment", Value("0")}}},
        {"a blank content URL", [](YBXRequest* r) { sel::setContentURL_(r, Value(" \t\n ")); }, {}},
        {"a content URL", [](YBXRequest* r) { sel::setContentURL_(r, Value("  http://news.example/a\n")); }, {{"url", Value("http://news.example/a")}}},
        {"a description-only location", [](YBXRequest* r) { sel::setLocationWithDescription_(r, Value("Portland, OR")); }, {}},
        {"a precise location", [](YBXRequest* r) { sel::setLocationWithLatitude_longitude_accuracy_(r, 45.5, 10.25, 20); },
         {{"uule", Value()}}},  // checked below
        {"mediation extras", [](YBXRequest* r) { sel::setMediationExtras_(r, Value{{"net", Value("x")}}); },
         {{"mediation_extras", Value{{"net", Value("x")}}}}},
        {"formats without a response type", [](YBXRequest* r) {
             sel::setFormatParameters_(r, Value::array({Value{{"format", Value(1LL)}}, Value{{"format", Value(2LL)}}}));
         }, {}},
        {"formats with response type 1", [](YBXRequest* r) {
             sel::setFormatParameters_(r, Value::array({Value{{"format", Value(1LL)}}, Value(Value::Dictionary{}), Value{{"format", Value(2LL)}}}));
             sel::setResponseType_(r, 1);
         }, {{"native_templates", Value("1,2")}, {"native_version", Value(1LL)}}},
        {"a response type without formats", [](YBXRequest* r) { sel::setResponseType_(r, 1); }, {}},
        {"additional parameters", [](YBXRequest* r) { sel::setAdditionalParameters_(r, Value{{"k", Value("v")}}); },
         {{"extras", Value{{"k", Value("v")}}}}},
        {"QRT over Marlex, ppid trimmed", [](YBXRequest* r) {
             sel::setAdditionalParameters_(r, Value{{"m", Value("1")}});
             sel::registerAdNetworkExtras_(r, extras("QRTExtras", Value{{"q", Value("1")}}, Value(" pub-7\n")).get());
         }, {{"extras", Value{{"q", Value("1")}}}, {"ppid", Value("pub-7")}}},
        {"a blank ppid", [](YBXRequest* r) {
             sel::registerAdNetworkExtras_(r, extras("QRTExtras", Value(), Value(" \n")).get());
         }, {}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        adsupport::setAdvertising(true, kAdvertisingID);
        Ref<YBXRequest> request = newRequest();
        c.setUp(request.get());
        Value p = sel::parameters(request.get());
        for (const char* key : kRequestKeys) {
            SCOPED_TRACE(key);
            auto want = c.expected.find(key);
            if (want == c.expected.end()) {
                EXPECT_FALSE(p.dictionary().contains(key)) << p[key].description();
            } else if (std::string(key) == "uule") {
                EXPECT_EQ(p[key]["lat"], Value(455000000LL));
                EXPECT_EQ(p[key]["long"], Value(102500000LL));
                EXPECT_EQ(p[key]["radius"], Value(20000.0));
                EXPECT_TRUE(p[key]["time"].kind() == Value::Kind::Real);
            } else {
                EXPECT_EQ(p[key], want->second);
            }
        }
    }
}

TEST_F(Requests, UseOnceExtrasAreSentOnceAndOnlyTheParametersUseThemUp) {
    Ref<YBXRequest> request = newRequest();
    const Value extrasValue{{"_useOnce", Value(true)}, {"k", Value("v")}};
    sel::setAdditionalParameters_(request.get(), extrasValue);
    // The slot reads these before it builds the parameters.
    EXPECT_EQ(sel::additionalParameters(request.get()), extrasValue);
    EXPECT_EQ(sel::networkExtrasAdditionalParameters(request.get()), extrasValue);
    EXPECT_NE(sel::description(request.get()).string().find("additionalParameters:"), std::string::npos);
    EXPECT_EQ(sel::parameters(request.get())["extras"], extrasValue);
    EXPECT_FALSE(sel::parameters(request.get()).dictionary().contains("extras"));
    EXPECT_TRUE(sel::additionalParameters(request.get()).isNil());

    // Without the flag, or with it false, the extras stay.
    for (const Value& flag : {Value(false), Value("0")}) {
        SCOPED_TRACE(flag.description());
        sel::setAdditionalParameters_(request.get(), Value{{"_useOnce", flag}});
        EXPECT_TRUE(sel::parameters(request.get()).dictionary().contains("extras"));
        EXPECT_TRUE(sel::parameters(request.get()).dictionary().contains("extras"));
    }
}

TEST_F(Requests, ExtrasAreKeptByTheNameOfTheirClass) {
    Ref<YBXRequest> request = newRequest();
    Class* marlex = objc_getClass("YBXMarlexExtras");
    Class* qrt = objc_getClass("QRTExtras");
    log::clear();
    sel::registerAdNetworkExtras_(request.get(), nullptr);
    EXPECT_TRUE(log::contains("<Orvane> Must specify extras for registerAdNetworkExtras:."));
    EXPECT_FALSE(sel::networkExtras(request.get()));

    sel::setAdditionalParameters_(request.get(), Value{{"a", Value("1")}});
    Ref<Object> first = sel::adNetworkExtrasFor_(request.get(), marlex);
    ASSERT_TRUE(as<YBXMarlexExtras>(first.get()));
    EXPECT_EQ(sel::networkExtras(request.get()).get(), first.get());
    sel::setAdditionalParameters_(request.get(), Value{{"b", Value("2")}});  // replaces it
    EXPECT_NE(sel::adNetworkExtrasFor_(request.get(), marlex).get(), first.get());
    EXPECT_EQ(sel::additionalParameters(request.get()), (Value{{"b", Value("2")}}));

    Ref<Object> q = extras("QRTExtras", Value{{"q", Value("1")}});
    sel::registerAdNetworkExtras_(request.get(), q.get());
    EXPECT_EQ(sel::networkExtras(request.get()).get(), q.get());
    EXPECT_EQ(sel::networkExtrasMap(request.get()).dictionary().size(), 2u);
    sel::removeAdNetworkExtrasFor_(request.get(), qrt);
    EXPECT_FALSE(sel::adNetworkExtrasFor_(request.get(), qrt));
    EXPECT_EQ(sel::additionalParameters(request.get()), (Value{{"b", Value("2")}}));
}

TEST_F(Requests, ACopySharesTheExtrasObjectsAndCopiesTheRest) {
    Ref<YBXRequest> request = newRequest();
    sel::setTestDevices_(request.get(), Value::array({Value("a")}));
    sel::setTesting_(request.get(), true);
    sel::setGender_(request.get(), 2);
    sel::setBirthdayWithMonth_day_year_(request.get(), 1, 2, 1990);
    sel::setLocationWithLatitude_longitude_accuracy_(request.get(), 45.5, -122.3, 10);
    sel::addKeyword_(request.get(), Value("golf"));
    sel::tagForChildDirectedTreatment_(request.get(), false);
    sel::setContentURL_(request.get(), Value("http://news.example/"));
    sel::setResponseType_(request.get(), 1);
    sel::setFormatParameters_(request.get(), Value::array({Value{{"format", Value(3LL)}}}));
    sel::setMediationExtras_(request.get(), Value{{"m", Value(1LL)}});
    sel::setPrivateMediationExtras_(request.get(), Value{{"p", Value(1LL)}});
    sel::setAdditionalParameters_(request.get(), Value{{"k", Value("v")}});

    Ref<YBXRequest> copy = as<YBXRequest>(sel::copy(request.get()));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), request.get());
    EXPECT_EQ(sel::parameters(copy.get())["kw"], sel::parameters(request.get())["kw"]);
    EXPECT_EQ(sel::adNetworkExtrasFor_(copy.get(), objc_getClass("YBXMarlexExtras")).get(),
              sel::adNetworkExtrasFor_(request.get(), objc_getClass("YBXMarlexExtras")).get());
    EXPECT_EQ(sel::description(copy.get()).string().substr(sel::description(copy.get()).string().find(':')),
              sel::description(request.get()).string().substr(sel::description(request.get()).string().find(':')));
    EXPECT_EQ(sel::testDevices(copy.get()), sel::testDevices(request.get()));
    EXPECT_TRUE(sel::isTesting(copy.get()));
    EXPECT_EQ(sel::childDirectedTreatment(copy.get()), Value(false));
    EXPECT_EQ(sel::contentURL(copy.get()), Value("http://news.example/"));
    EXPECT_EQ(sel::responseType(copy.get()), 1u);
    EXPECT_EQ(sel::formatParameters(copy.get()), sel::formatParameters(request.get()));
    EXPECT_EQ(sel::mediationExtras(copy.get()), sel::mediationExtras(request.get()));
    EXPECT_EQ(sel::privateMediationExtras(copy.get()), sel::privateMediationExtras(request.get()));

    // The map and the keywords are the copy's own.
    sel::removeAdNetworkExtrasFor_(copy.get(), objc_getClass("YBXMarlexExtras"));
    sel::addKeyword_(copy.get(), Value("tennis"));
    EXPECT_TRUE(sel::adNetworkExtrasFor_(request.get(), objc_getClass("YBXMarlexExtras")));
    EXPECT_EQ(sel::keywords(request.get()).array().size(), 1u);
}

TEST_F(Requests, TheDescriptionNamesWhatIsSet) {
    Ref<YBXRequest> request = newRequest();
    const std::string head = format("<YBXRequest %p: ", request.get());
    EXPECT_EQ(sel::description(request.get()), Value(head + ">"));
    sel::setGender_(request.get(), 1);
    sel::addKeyword_(request.get(), Value("golf"));
    std::string text = sel::description(request.get()).string();
    EXPECT_EQ(text, head + "\ngender:Male" + format("\nkeywords:%@", sel::keywords(request.get())) + ">");
    sel::setGender_(request.get(), 2);
    EXPECT_NE(sel::description(request.get()).string().find("\ngender:Female\nkeywords:"), std::string::npos);
}

TEST_F(Requests, SmallOperations) {
    struct Type {
        Value text;
        long long type;
    } types[] = {{Value("quorrel"), 1}, {Value("marlex"), 2}, {Value("hnv"), 3}, {Value("Marlex"), 0}, {Value(""), 0}, {Value(), 0}};
    for (const auto& t : types) {
        SCOPED_TRACE(t.text.description());
        EXPECT_EQ(sel::requestTypeFromString_(requestClass(), t.text), t.type);
    }
    EXPECT_EQ(sel::sdkVersion(requestClass()), "kestra-sdk-i-v6.12.2");
    EXPECT_EQ(sel::sdkVersionMetadata(requestClass()), "+6074");
    EXPECT_EQ(sel::sdkVersionIdentifiers(requestClass()), "-rc.1");
    EXPECT_EQ(sel::extendedSDKVersionNumber(requestClass()), "kestra-sdk-i-v6.12.2-rc.1+6074");

    Ref<YBXRequest> request = newRequest();
    EXPECT_TRUE(sel::birthdayString(request.get()).isNil());
    EXPECT_TRUE(sel::genderString(request.get()).isNil());
    EXPECT_TRUE(sel::keywords(request.get()).isNil());
    sel::addKeyword_(request.get(), Value(""));
    EXPECT_TRUE(sel::keywords(request.get()).isNil());
    EXPECT_TRUE(sel::childDirectedTreatment(request.get()).isNil());
    sel::setLocationWithLatitude_longitude_accuracy_(request.get(), 45.5, -122.3, 10);
    EXPECT_TRUE(sel::location(request.get()));
    sel::setLocationWithLatitude_longitude_accuracy_(request.get(), 0, 10, 5);  // clears it
    EXPECT_FALSE(sel::location(request.get()));
    sel::setLocationWithDescription_(request.get(), Value(""));
    EXPECT_FALSE(sel::location(request.get()));
    sel::setLocationWithDescription_(request.get(), Value("Portland"));
    EXPECT_EQ(sel::locationDescription(sel::location(request.get()).get()), Value("Portland"));
}

class MarlexInfo : public NSObject {};

TEST_F(Requests, AnalyticsIDsComeFromTheAnalyticsClassWhenPresent) {
    EXPECT_TRUE(sel::analyticsIDs(newRequest().get()).isNil());
    static Value answer;
    ClassBuilder<MarlexInfo>("WUVMarlexInfo", "NSObject").classMethod(Sel<Value(id)>{"marlexInfo"}, [](id) { return answer; });
    answer = Value("not a dictionary");
    EXPECT_TRUE(sel::analyticsIDs(newRequest().get()).isNil());
    answer = Value{{"join", Value("abc")}};
    EXPECT_EQ(sel::analyticsIDs(newRequest().get()), answer);
    EXPECT_EQ(sel::parameters(newRequest().get())["analytics_join_id"], answer);
}

TEST(RequestClass, InitialisationLogsOneLineOnce) {
    struct Case {
        const char* version;
        bool tracking;
        std::string line;
    } cases[] = {
        {"9.3", true, format("<Orvane> To get test ads on this device, call: request.testDevices = @[ @\"%@\" ];", md5Hex(kAdvertisingID))},
        {"9.3", false, "<Orvane> Advertising tracking may be disabled. To get test ads on this device, enable advertising tracking."},
        {"5.1", true, "<Orvane> Test ads are only available on iOS 6+."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version + std::string(c.tracking ? " tracking" : " no tracking"));
        std::string out = platform::testing::runInChild(appOptions(c.version), [&] {
            registerClasses();
            adsupport::setAdvertising(c.tracking, kAdvertisingID);
            log::clear();
            newRequest();
            Ref<YBXRequest> second = newRequest();
            sel::copy(second.get());
            std::string logged;
            for (const std::string& line : log::lines())
                if (line.find("<Orvane>") != std::string::npos) logged += line + "|";
            return logged;
        });
        EXPECT_EQ(out, c.line + "|");
    }
}

TEST(Locations, OnlyPrecisePointsAndNonEmptyTextsMakeALocation) {
    AdLibEnvironment env;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double latitude, longitude, accuracy;
        bool made;
    } cases[] = {
        {0, 10, 5, false}, {10, 0, 5, false}, {nan, 10, 5, false}, {10, nan, 5, false}, {90.5, 10, 5, false},
        {10, 180.5, 5, false}, {1e-8, 10, 5, false}, {45.5, -122.3, 10, true}, {-90, 180, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(format("%g %g", c.latitude, c.longitude));
        Ref<YBXLocation> l = YBXLocation::make(c.latitude, c.longitude, c.accuracy);
        EXPECT_EQ(bool(l), c.made);
    }
    EXPECT_FALSE(YBXLocation::make(Value("")));
    EXPECT_FALSE(YBXLocation::make(Value()));

    Ref<YBXLocation> precise = YBXLocation::make(45.5, -122.3, 10);
    EXPECT_EQ(sel::locationDescription(precise.get()), Value("45.500000,-122.300000"));
    EXPECT_DOUBLE_EQ(sel::timestamp(precise.get()), NSDate::date().unix());
    Value d = sel::dictionaryRepresentation(precise.get());
    EXPECT_EQ(d["lat"], Value(455000000LL));
    EXPECT_EQ(d["long"], Value(static_cast<long long>(-122.3 * 10000000.0)));
    EXPECT_EQ(d["radius"], Value(10000.0));
    EXPECT_EQ(d["time"], Value(NSDate::date().unix() * 1000000.0));
    RunLoop::main().advance(5);
    EXPECT_EQ(sel::dictionaryRepresentation(precise.get()), d);  // cached

    Ref<YBXLocation> described = YBXLocation::make(Value("uule"));
    EXPECT_EQ(sel::locationDescription(described.get()), Value("uule"));
    EXPECT_FALSE(sel::isPreciseLocation(described.get()));
    EXPECT_TRUE(sel::dictionaryRepresentation(described.get()).isNil());
}

TEST(Locations, EqualLocationsHashAlike) {
    AdLibEnvironment env;
    Ref<YBXLocation> a = YBXLocation::make(45.5, -122.3, 10);
    RunLoop::main().advance(60);
    Ref<YBXLocation> later = YBXLocation::make(45.5 + 5e-8, -122.3, 10);  // within the tolerance
    Ref<YBXLocation> moved = YBXLocation::make(45.6, -122.3, 10);
    Ref<YBXLocation> text = YBXLocation::make(Value("Portland"));
    Ref<YBXLocation> sameText = YBXLocation::make(Value("Portland"));
    Ref<YBXLocation> otherText = YBXLocation::make(Value("Salem"));
    Ref<YBXLocation> copy = as<YBXLocation>(sel::copy(a.get()));
    struct Case {
        const char* name;
        YBXLocation* x;
        YBXLocation* y;
        bool equal;
    } cases[] = {
        {"itself", a.get(), a.get(), true},
        {"made later within the tolerance", a.get(), later.get(), true},
        {"moved", a.get(), moved.get(), false},
        {"same text", text.get(), sameText.get(), true},
        {"other text", text.get(), otherText.get(), false},
        {"precise and description", a.get(), text.get(), false},
        {"a copy", a.get(), copy.get(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sel::isEqual_(c.x, c.y), c.equal);
        EXPECT_EQ(sel::isEqual_(c.y, c.x), c.equal);
        if (c.equal) {
            EXPECT_EQ(sel::hash(c.x), sel::hash(c.y));
        }
    }
    EXPECT_FALSE(sel::isEqual_(a.get(), newObject("NSObject").get()));
    EXPECT_DOUBLE_EQ(sel::timestamp(copy.get()), sel::timestamp(a.get()));
    EXPECT_EQ(sel::dictionaryRepresentation(copy.get()), sel::dictionaryRepresentation(a.get()));
}

}  // namespace
}  // namespace adlib
