// Activity reports end to end on 127.0.0.1 with the real page engine: the
// reporter's script runs in the ad server's controller page, whose own script
// sends each report to the activity endpoint; when that page is late or its
// connection is reset the fallback page loads once and reports go nowhere.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "adlib/pipeline/js_container.h"
#include "adlib/pipeline/qrt_activity_reporter.h"
#include "platform/foundation/run_loop.h"
#include "tests/adlib/pipeline/loopback_support.h"
#include "tools/ad-server/ad_server.h"

namespace adlib {
namespace {

using rousa::adserver::Fault;
using rousa::adserver::kActivityPath;
using rousa::adserver::kControllerPath;

// Counts the loads the container tells of.
class FinishCounter : public NSObject {
public:
    int finishes = 0;
};

class ActivityLoopback : public testing::LoopbackTest {
protected:
    void SetUp() override {
        testing::LoopbackTest::SetUp();
        if (HasFatalFailure()) return;
        ClassBuilder<FinishCounter>("TestContainerFinishCounter", "NSObject")
            .method(sel::didFinishLoadInJSContainer_, [](id self, id) { ++as<FinishCounter>(self)->finishes; });
        counter = as<FinishCounter>(newObject("TestContainerFinishCounter").get());
    }
    void TearDown() override {
        server.releaseDelayed();
        testing::LoopbackTest::TearDown();
    }

    YBXJSContainer* container() {
        Ref<Object> controller = sel::controller(sel::sharedInstance(objc_getClass("QRTActivityReporter")).get());
        return as<YBXJSContainer>(sel::container(controller.get()).get());
    }
    void report(const std::string& adUnitID) {
        sel::reportWithAdUnitID_customParameters_(sel::sharedInstance(objc_getClass("QRTActivityReporter")).get(), Value(adUnitID),
                                                  Value{{"value", Value(adUnitID + " done")}});
    }

    Ref<FinishCounter> counter;
};

TEST_F(ActivityLoopback, ReportsBeforeAndAfterThePageLoadsReachTheActivityEndpoint) {
    report("unit-early");
    container()->setDelegate(counter.get());
    ASSERT_TRUE(waitFor([&] { return counter->finishes == 1; }));
    report("unit-late");
    // The server logs a request as its answer goes out, after the report is kept.
    ASSERT_TRUE(waitFor([&] { return server.activityReports().size() == 2 && served(kActivityPath) == 2; }));
    const auto reports = server.activityReports();
    const char* units[] = {"unit-early", "unit-late"};
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(units[i]);
        auto request = nlohmann::json::parse(reports[i].request);
        EXPECT_EQ(request, (nlohmann::json{{"ad_unit_id", units[i]}, {"custom_parameters", {{"value", std::string(units[i]) + " done"}}}}));
        auto meta = nlohmann::json::parse(reports[i].meta);
        EXPECT_EQ(meta["sdk_version"], (nlohmann::json{{"major", 6}, {"minor", 12}, {"patch", 2}}));
        EXPECT_TRUE(meta["ybx_device"].is_object());
    }
    EXPECT_EQ(served(kControllerPath), 1u);
}

TEST_F(ActivityLoopback, ALateOrResetControllerPageFallsBackOnce) {
    struct Case {
        const char* name;
        Fault fault;
        bool held;
    };
    const std::vector<Case> cases = {
        {"page held past the time-out", Fault::delay(0), true},
        {"connection reset", Fault::drop(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.setPathFault(kControllerPath, c.fault);
        const size_t pageRequests = served(kControllerPath);
        // A controller of its own for each case; its page is the same.
        Ref<Object> controller = sel::init(alloc("QRTCoreController"));
        auto* page = as<YBXJSContainer>(sel::container(controller.get()).get());
        Ref<FinishCounter> finishes = as<FinishCounter>(newObject("TestContainerFinishCounter").get());
        page->setDelegate(finishes.get());
        sel::reportActivityWithMetadata_request_(controller.get(), newObject("QRTCoreMetadata").get(),
                                                 sel::requestWithAdUnitID_publisherProvidedID_customParameters_(
                                                     objc_getClass("QRTActivityRequest"), Value("unit-lost"), Value(), Value())
                                                     .get());
        if (c.held) {
            ASSERT_TRUE(waitFor([&] { return server.heldCount() == 1; }));
            platform::testing::advance(4.9);
            // Short of the time-out nothing has loaded.
            EXPECT_FALSE(RunLoop::main().runUntil([&] { return page->loaded(); }, 0.3));
            platform::testing::advance(0.2);
        }
        ASSERT_TRUE(waitFor([&] { return page->loaded(); }));
        EXPECT_EQ(finishes->finishes, 1);
        // The fallback defines no report function: the queued report ran without effect.
        EXPECT_EQ(page->stringByEvaluatingJavaScriptFromString("typeof orvane"), "undefined");
        server.clearFaults();
        server.releaseDelayed();
        platform::testing::advance(10);
        RunLoop::main().runUntil([] { return false; }, 0.3);
        EXPECT_EQ(finishes->finishes, 1);
        EXPECT_LE(served(kControllerPath), pageRequests + 1);
        EXPECT_TRUE(server.activityReports().empty());
        controller = nullptr;
    }
}

}  // namespace
}  // namespace adlib
