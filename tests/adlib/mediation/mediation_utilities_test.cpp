#include "adlib/mediation/mediation_utilities.h"

#include <gtest/gtest.h>

#include "adlib/foundation/configuration.h"
#include "platform/foundation/format.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class MediationPings : public ::testing::Test {
protected:
    MediationPings() { network::setTransport(transport); }

    struct Arguments {
        Value adLocationID = "unit-7";
        bool refresh = false;
        Value allocationID = "alloc-1";
        Value networkID = "n1";
        Value qData = "q";
        Value sessionID = "77";
        Value sequenceNumber = "5";
        Value exitCodes = "4,3,1";
        Value durations = "120,35";
    };
    static std::string expanded(const Value& templ, const Arguments& a) {
        Ref<Object> url = sel::mediationURLFrom_adLocationID_adNetworkRefresh_allocationID_adNetworkID_qData_sessionID_sequenceNumber_exitCodes_durations_(
            objc_getClass("YBXMUtilities"), templ, a.adLocationID, a.refresh, a.allocationID, a.networkID, a.qData, a.sessionID, a.sequenceNumber,
            a.exitCodes, a.durations);
        return url ? as<NSURL>(url.get())->absoluteString() : std::string("(no URL)");
    }
    void track(const Value& templates, const Value& defaultTemplate, const Value& qData) {
        sel::trackMediationURLsFromTemplates_defaultTemplate_networkID_allocationID_qData_appKey_refresh_durations_exitCodes_(
            objc_getClass("YBXClickTrackerCollection"), templates, defaultTemplate, Value("n1"), Value("alloc-1"), qData, Value("unit-7"), true,
            Value("120,35"), Value("4,3,1"));
        RunLoop::main().advance(1);
    }
    static std::string sdkVersion() { return sel::sdkVersion(objc_getClass("YBXRequest")).string(); }
    static std::string sessionID() {
        return sel::sessionIDAsString(sel::currentSession(sel::sharedApplication(objc_getClass("YBXApplication"))));
    }

    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
};

TEST_F(MediationPings, ExpansionFillsTheElevenMacros) {
    const std::string js = sdkVersion();
    const char* every = "http://h/p?a=@gw_adlocid@&q=@gw_qdata@&js=@gw_sdkver@&s=@gw_sessid@&n=@gw_seqnum@&d=@gw_devid@&r=@gw_adnetrefresh@"
                        "&id=@gw_adnetid@&al=@gw_allocid@&aec=@gw_aec@&adt=@gw_adt@";
    Arguments plain;
    Arguments refreshed;
    refreshed.refresh = true;
    Arguments missing;
    missing.networkID = Value();
    missing.allocationID = Value();
    missing.qData = Value();
    Arguments awkward;
    awkward.qData = "a@b&c=d #e+f";
    Arguments dictionary;
    dictionary.qData = Value(Value::Dictionary{{"request_id", Value("r 1")}, {"slot", Value("s/t")}});
    Arguments preEscaped;
    preEscaped.qData = "r%3D1%26s%3D2";
    Arguments noLocation;
    noLocation.adLocationID = Value();
    struct Case {
        const char* name;
        Value templ;
        Arguments arguments;
        std::string expected;
    } cases[] = {
        {"every macro in its place", every, plain, "http://h/p?a=unit-7&q=q&js=" + js + "&s=77&n=5&d=&r=0&id=n1&al=alloc-1&aec=4,3,1&adt=120,35"},
        {"a refreshed network", "http://h/p?r=@gw_adnetrefresh@", refreshed, "http://h/p?r=1"},
        {"missing values are empty", "http://h/p?q=@gw_qdata@&id=@gw_adnetid@&al=@gw_allocid@", missing, "http://h/p?q=&id=&al="},
        {"an unknown macro is removed", "http://h/p?a=@gw_adlocid@&x=@gw_other@", plain, "http://h/p?a=unit-7&x="},
        {"an escaped at-sign", "http://h/p?m=a@@b&a=@gw_adlocid@", plain, "http://h/p?m=a@b&a=unit-7"},
        {"values with '@', '&', blanks, '#' and '+'", "http://h/p?q=@gw_qdata@&a=@gw_adlocid@", awkward,
         "http://h/p?q=a@b%26c=d%20%23e%2Bf&a=unit-7"},
        {"a dictionary qdata as compact JSON", "http://h/p?q=@gw_qdata@", dictionary,
         "http://h/p?q=%7B%22request_id%22:%22r%201%22,%22slot%22:%22s%5C/t%22%7D"},
        {"a pre-escaped qdata and exit codes go unchanged", "http://h/p?q=@gw_qdata@&aec=@gw_aec@", preEscaped,
         "http://h/p?q=r%3D1%26s%3D2&aec=4,3,1"},
        {"an empty result is no URL", "@gw_adlocid@", noLocation, "(no URL)"},
        {"an empty template is no URL", "", plain, "(no URL)"},
        {"a template that is no string", Value(5), plain, "(no URL)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(expanded(c.templ, c.arguments), c.expected);
    }
}

TEST_F(MediationPings, DefaultTemplatesOnTheMediationPingHost) {
    Arguments a;
    a.refresh = true;
    const std::string js = sdkVersion();
    const std::string base = YBXAdServerBaseURL();
    EXPECT_EQ(expanded(YBXMNoFillTemplate(), a),
              base + "/nofill?ad_loc=unit-7&qdata=q&js=" + js + "&session_id=77&seq_num=5&aec=4,3,1&adt=120,35");
    EXPECT_EQ(expanded(YBXMImpressionTemplate(), a),
              base + "/imp?ad_loc=unit-7&qdata=q&ad_network_id=n1&js=" + js + "&session_id=77&seq_num=5&nr=1&adt=120,35&aec=4,3,1");
    EXPECT_EQ(expanded(YBXMClickTemplate(), a), base + "/clk?ad_loc=unit-7&qdata=q&ad_network_id=n1&js=" + js + "&session_id=77&seq_num=5&nr=1");
}

TEST_F(MediationPings, EachTemplateGetsItsOwnSequenceNumber) {
    track(Value::array({Value("http://t.example/a?s=@gw_sessid@&n=@gw_seqnum@&id=@gw_adnetid@&al=@gw_allocid@&r=@gw_adnetrefresh@"), Value(7),
                        Value("http://t.example/b?n=@gw_seqnum@&q=@gw_qdata@")}),
          Value("http://t.example/default"), Value());
    std::vector<std::string> log = transport->log();
    ASSERT_EQ(log.size(), 2u);  // the element that is no string is skipped
    const std::string session = sessionID();
    EXPECT_FALSE(session.empty());
    std::string first = "GET http://t.example/a?s=" + session + "&n=";
    ASSERT_EQ(log[0].rfind(first, 0), 0u) << log[0];
    std::string firstNumber = log[0].substr(first.size(), log[0].find('&', first.size()) - first.size());
    EXPECT_EQ(log[0].substr(first.size() + firstNumber.size()), "&id=n1&al=alloc-1&r=1");
    ASSERT_EQ(log[1].rfind("GET http://t.example/b?n=", 0), 0u) << log[1];
    std::string secondNumber = log[1].substr(log[1].find("n=") + 2, log[1].find('&') - log[1].find("n=") - 2);
    EXPECT_FALSE(firstNumber.empty());
    EXPECT_NE(firstNumber, secondNumber);
    EXPECT_EQ(std::stoll(secondNumber), std::stoll(firstNumber) + 1);
    EXPECT_EQ(log[1].substr(log[1].find('&')), "&q=");  // a missing qdata is empty
}

TEST_F(MediationPings, TheDefaultTemplateOnlyWhenNoListIsGiven) {
    track(Value(Value::Array{}), Value("http://t.example/default"), Value("q"));
    EXPECT_TRUE(transport->log().empty());  // an empty list sends nothing

    track(Value(), Value("http://t.example/default?q=@gw_qdata@"), Value("q"));
    EXPECT_EQ(transport->log(), (std::vector<std::string>{"GET http://t.example/default?q=q"}));
}

}  // namespace
}  // namespace adlib
