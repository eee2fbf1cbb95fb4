// The slot's viewability reports: when an ad gets a monitor and a report page,
// what each report holds, the last report and the page's hand-back when the
// ad goes, and the script's answers through the viewability handler.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "adlib/foundation/absolute_time.h"
#include "adlib/foundation/ad_size.h"
#include "adlib/foundation/device.h"
#include "adlib/foundation/notification_center.h"
#include "adlib/pipeline/request.h"
#include "adlib/pipeline/sdk_core_controller.h"
#include "adlib/render/optora_monitor.h"
#include "platform/foundation/json.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/window.h"
#include "platform/webkit/selectors.h"
#include "tests/adlib/pipeline/slot_support.h"

namespace adlib {
namespace {

// What reached the report pages and the controller.
struct PageLog {
    std::vector<std::pair<Object*, std::string>> commands;
    std::vector<Object*> handedBack;
    std::vector<std::pair<Object*, std::string>> creativeScripts;
};
PageLog& pageLog() {
    static PageLog log;
    return log;
}
void (*previousExecute)(id, std::string) = nullptr;
void (*previousFinished)(id, id) = nullptr;
Value (*previousEvaluate)(id, Value) = nullptr;

constexpr const char* kPrefix = "KESTRA_updateOptora(";

// The reports sent into a page, parsed back.
std::vector<Value> reportsTo(Object* page) {
    std::vector<Value> reports;
    for (const auto& [target, command] : pageLog().commands) {
        if (target != page || command.rfind(kPrefix, 0) != 0 || command.back() != ')') continue;
        const std::string json = command.substr(std::string(kPrefix).size(), command.size() - std::string(kPrefix).size() - 1);
        reports.push_back(NSJSONSerialization::JSONObjectWithText(json, 0));
    }
    return reports;
}

const Value& unitOf(const Value& report) {
    static const Value none;
    const Value& units = report["units"];
    return units.isArray() && units.array().size() == 1 ? units.array()[0] : none;
}

Value numbers(std::initializer_list<double> list) {
    Value::Array out;
    for (double n : list) out.emplace_back(n);
    return Value(std::move(out));
}

Value box(double left, double top, double width, double height) {
    return Value{{"top", Value(top)}, {"bottom", Value(top + height)}, {"left", Value(left)}, {"right", Value(left + width)}};
}

enum class Kind { configured, mraid, swipe, plain };

class SlotOptora : public testing::SlotTest {
protected:
    SlotOptora() {
        MSHookMessageEx(objc_getClass("YBXSDKCoreWebView"), sel::executeJavaScriptCommand_, +[](id self, std::string command) {
            pageLog().commands.emplace_back(self, command);
            previousExecute(self, command);
        }, &previousExecute);
        MSHookMessageEx(objc_getClass("YBXSDKCoreController"), sel::finishedUsingSDKCoreWebView_, +[](id self, id page) {
            pageLog().handedBack.push_back(page);
            previousFinished(self, page);
        }, &previousFinished);
        MSHookMessageEx(objc_getClass("YBXWebView"), sel::stringByEvaluatingJavaScriptFromString_, +[](id self, Value script) {
            pageLog().creativeScripts.emplace_back(self, script.stringOr(""));
            return previousEvaluate(self, script);
        }, &previousEvaluate);
        setIntervals(numbers({1}));
        window = UIView::make<UIWindow>("UIWindow", Rect(0, 0, 320, 568));
        sel::makeKeyAndVisible(window.get());
    }
    static void setIntervals(const Value& intervals) {
        sel::setOptoraMonitorRefreshIntervals_(YBXSDKCoreController::sharedInstance(), intervals);
    }
    // A slot whose current ad of that kind has loaded into its web view, shown at (0, 100).
    Ref<YBXSlot> loadedSlot(Kind kind, bool interstitial = false) {
        Ref<YBXSlot> slot = interstitial ? testing::makeSlot() : testing::makeBannerSlot(kYBXAdSizeBanner);
        Ref<Object> ad = newObject("YBXAd");
        if (kind == Kind::configured) sel::setOptoraConfigurations_(ad.get(), configuration);
        if (kind == Kind::mraid) sel::setMRAIDEnabled_(ad.get(), true);
        if (kind == Kind::swipe)
            sel::setSwipeToViewControllerConfigurations_(ad.get(), sel::initWithSwipeConfigurations_(alloc("YBXSwipeToViewControllerConfigurations"), Value{{"pid", "1"}}).get());
        slot->loadingAd_ = ad;
        sel::finishedLoadingAdResponse_(slot.get(), ad.get());
        Ref<Object> webView = sel::webView(slot.get());
        sel::setFrame_(webView.get(), Rect(0, 100, 320, 50));
        sel::addSubview_(window.get(), webView.get());
        return slot;
    }
    // What the web view delegate does when the ad has loaded.
    static void finishLoad(YBXSlot* slot) {
        sel::resetOptoraReporting(slot);
        Ref<Object> monitor = sel::optoraMonitor(slot);
        sel::sample(monitor.get());
        if (sel::monitoredViewIsSubviewOfDeviceScreen(slot)) sel::startMonitoring(monitor.get());
    }

    Value configuration{{"viewable", Value(50)}, {"vendor", Value("acme")}};
    Ref<UIWindow> window;
};

TEST_F(SlotOptora, EachSampleIsReportedAsOneUnit) {
    Ref<YBXSlot> slot = loadedSlot(Kind::configured);
    finishLoad(slot.get());
    Ref<Object> page = sel::SDKCoreWebView(slot.get());
    ASSERT_TRUE(page);
    std::vector<Value> reports = reportsTo(page.get());
    ASSERT_EQ(reports.size(), 1u);
    ASSERT_EQ(reports[0]["units"].array().size(), 1u);
    const Value& unit = unitOf(reports[0]);
    const Rect frame = YBXDevice::currentDevice()->standardizedApplicationFrame();
    EXPECT_EQ(unit["adBox"], box(0, 100, 320, 50));
    EXPECT_EQ(unit["globalVisibleBox"], box(0, 100, 320, 50));
    EXPECT_EQ(unit["viewBox"], box(frame.x(), frame.y(), frame.width(), frame.height()));
    EXPECT_EQ(unit["isSubViewOfVisibleWindow"], Value("1"));
    EXPECT_EQ(unit["isVisible"], Value("1"));
    EXPECT_EQ(unit["kestraVersion"], Value(YBXRequest::sdkVersion()));
    EXPECT_EQ(unit["adFormat"], Value("banner_mb"));
    EXPECT_EQ(unit["optoraJSON"], configuration);
    EXPECT_EQ(unit["timestamp"].doubleValue(), static_cast<double>(YBXAbsoluteTimeInMilliseconds()));
    EXPECT_EQ(unit["hashCode"], Value(1));
    EXPECT_TRUE(unit["doneReasonCode"].isNil());

    // The schedule goes on while the banner is shown; hidden, it reports so.
    sel::setHidden_(sel::webView(slot.get()).get(), true);
    platform::testing::advance(1);
    reports = reportsTo(page.get());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(unitOf(reports[1])["isVisible"], Value("0"));
    EXPECT_EQ(unitOf(reports[1])["isSubViewOfVisibleWindow"], Value("1"));
}

TEST_F(SlotOptora, OnlyAdsThatAskForItAreMonitored) {
    struct Case {
        const char* name;
        Kind kind;
        bool interstitial;
        bool monitored;
        const char* format;
    };
    const Case cases[] = {
        {"configured banner", Kind::configured, false, true, "banner_mb"},
        {"configured interstitial", Kind::configured, true, true, "interstitial_mb"},
        {"MRAID", Kind::mraid, false, true, "banner_mb"},
        {"swipe to view", Kind::swipe, false, true, "banner_mb"},
        {"plain", Kind::plain, false, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pageLog() = {};
        Ref<YBXSlot> slot = loadedSlot(c.kind, c.interstitial);
        finishLoad(slot.get());
        Ref<Object> page = sel::SDKCoreWebView(slot.get());
        EXPECT_EQ(bool(sel::optoraMonitor(slot.get())), c.monitored);
        ASSERT_EQ(bool(page), c.monitored);
        if (!c.monitored) {
            EXPECT_TRUE(pageLog().commands.empty());
            continue;
        }
        const std::vector<Value> reports = reportsTo(page.get());
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(unitOf(reports[0])["adFormat"], Value(c.format));
        EXPECT_EQ(unitOf(reports[0])["optoraJSON"].isNil(), c.kind != Kind::configured);
        // Only an MRAID ad's page tells the slot of visibility changes.
        Ref<Object> observer = sel::optoraObserver(sel::webView(page.get()).get());
        EXPECT_EQ(observer.get(), c.kind == Kind::mraid ? static_cast<Object*>(slot.get()) : nullptr);
    }
}

TEST_F(SlotOptora, WithoutIntervalsThereIsNoMonitorAndNoPage) {
    setIntervals(Value());
    Ref<YBXSlot> slot = loadedSlot(Kind::configured);
    finishLoad(slot.get());
    EXPECT_FALSE(sel::optoraMonitor(slot.get()));
    EXPECT_FALSE(sel::SDKCoreWebView(slot.get()));
    EXPECT_EQ(sel::optoraMonitorSequenceNumber(slot.get()), 0u);
    EXPECT_TRUE(pageLog().commands.empty());
}

TEST_F(SlotOptora, TheNextAdSendsTheLastReportAndHandsThePageBack) {
    Ref<YBXSlot> slot = loadedSlot(Kind::mraid);
    finishLoad(slot.get());
    Ref<Object> first = sel::SDKCoreWebView(slot.get());
    Ref<Object> firstMonitor = sel::optoraMonitor(slot.get());
    platform::testing::advance(1);

    // The next answer's loading ends the reports of the ad before it.
    sel::resetRequestState(slot.get());
    EXPECT_FALSE(sel::optoraMonitor(slot.get()));
    EXPECT_FALSE(sel::SDKCoreWebView(slot.get()));
    EXPECT_EQ(pageLog().handedBack, std::vector<Object*>{first.get()});
    EXPECT_FALSE(sel::optoraObserver(sel::webView(first.get()).get()));
    EXPECT_FALSE(sel::delegate(firstMonitor.get()));
    std::vector<Value> reports = reportsTo(first.get());
    ASSERT_EQ(reports.size(), 3u);
    for (std::size_t i = 0; i < reports.size(); ++i)
        EXPECT_EQ(unitOf(reports[i])["doneReasonCode"], i + 1 == reports.size() ? Value("u") : Value()) << i;
    // The monitor of the ad that went samples no more.
    platform::testing::advance(5);
    EXPECT_EQ(reportsTo(first.get()).size(), 3u);

    // The next ad reports under the next number, into a page of its own.
    Ref<YBXSlot> again = slot;
    sel::finishedLoadingAdResponse_(again.get(), newObject("YBXAd").get());
    sel::setMRAIDEnabled_(again->ad_.get(), true);
    finishLoad(again.get());
    Ref<Object> second = sel::SDKCoreWebView(again.get());
    ASSERT_TRUE(second);
    EXPECT_NE(second.get(), first.get());
    ASSERT_EQ(reportsTo(second.get()).size(), 1u);
    EXPECT_EQ(unitOf(reportsTo(second.get())[0])["hashCode"], Value(2));
}

TEST_F(SlotOptora, ReportCommandsAreScriptSafeJSONOrNothing) {
    Ref<YBXSlot> slot = testing::makeBannerSlot(kYBXAdSizeBanner);
    EXPECT_TRUE(sel::optoraJSCommandWithParams_(slot.get(), Value()).isNil());
    EXPECT_TRUE(sel::optoraJSCommandWithParams_(slot.get(), Value{{"units", Value(slot.get())}}).isNil());
    EXPECT_EQ(sel::optoraJSCommandWithParams_(slot.get(), Value{{"units", Value::array({Value("</script>\u2028")})}}),
              Value("KESTRA_updateOptora({\"units\":[\"<\\/script>\\u2028\"]})"));
}

TEST_F(SlotOptora, TheScriptsAnswersReachThePageAndTheMRAIDCreative) {
    Ref<YBXSlot> slot = loadedSlot(Kind::mraid);
    finishLoad(slot.get());
    Ref<Object> pageView = sel::webView(sel::SDKCoreWebView(slot.get()).get());
    Ref<Object> handler = newObject("YBXOptoraPMSGHandler");
    auto send = [&](const char* url) {
        Ref<NSURLRequest> request = NSURLRequest::requestWithURL(NSURL::URLWithString(url).get());
        return sel::handleRequest_webView_(handler.get(), request.get(), pageView.get());
    };
    auto creativeEvents = [&] {
        platform::testing::advance(0);
        std::vector<std::string> events;
        for (const auto& [view, script] : pageLog().creativeScripts)
            if (view == sel::webView(slot.get()).get() && script.find("onAdVisibilityChanged") != std::string::npos) events.push_back(script);
        return events;
    };
    const std::string prefix = std::string(kYBXJSReceiveMessageFunction) + "('onAdVisibilityChanged', ";

    ASSERT_TRUE(send("pmsg://optora/visibilityChanged?isVisible=1"));
    EXPECT_TRUE(sel::optoraVisibility(pageView.get()));
    ASSERT_TRUE(send("pmsg://optora/visibilityChanged?isVisible=0"));
    EXPECT_FALSE(sel::optoraVisibility(pageView.get()));
    const std::vector<std::string> events = creativeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].rfind(prefix, 0), 0u);
    EXPECT_NE(events[0].find("{\"visible\":\"1\"}"), std::string::npos) << events[0];
    EXPECT_NE(events[1].find("{\"visible\":\"0\"}"), std::string::npos) << events[1];

    EXPECT_FALSE(sel::optoraUnloadPingReceived(pageView.get()));
    ASSERT_TRUE(send("pmsg://optora/untrackOptoraUnit"));
    EXPECT_TRUE(sel::optoraUnloadPingReceived(pageView.get()));
}

TEST_F(SlotOptora, ASlotWhoseOwnerGoesWithoutEndingTheReportsIsFreed) {
    Ref<YBXSlot> slot = loadedSlot(Kind::configured);
    finishLoad(slot.get());
    Ref<Object> page = sel::SDKCoreWebView(slot.get());
    WeakRef<Object> weakSlot(slot.get());
    WeakRef<Object> weakMonitor(sel::optoraMonitor(slot.get()).get());
    slot = nullptr;
    EXPECT_FALSE(weakSlot.lock());
    EXPECT_FALSE(weakMonitor.lock());
    // It said goodbye on its way out.
    const std::vector<Value> reports = reportsTo(page.get());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(unitOf(reports[1])["doneReasonCode"], Value("u"));
    EXPECT_EQ(pageLog().handedBack, std::vector<Object*>{page.get()});
    platform::testing::advance(3);
    EXPECT_EQ(reportsTo(page.get()).size(), 2u);
}

TEST_F(SlotOptora, ASlotLetGoOnAnotherThreadReportsOnTheMainThread) {
    Ref<YBXSlot> slot = loadedSlot(Kind::configured);
    finishLoad(slot.get());
    Ref<Object> page = sel::SDKCoreWebView(slot.get());
    std::atomic<bool> released{false};
    auto held = std::make_shared<Ref<YBXSlot>>(std::move(slot));
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [held, &released] {
        *held = nullptr;
        released = true;
    });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return released.load() && pageLog().handedBack.size() == 1; }, 10));
    EXPECT_EQ(pageLog().handedBack[0], page.get());
    const std::vector<Value> reports = reportsTo(page.get());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(unitOf(reports[1])["doneReasonCode"], Value("u"));
    EXPECT_EQ(unitOf(reports[1])["hashCode"], Value(1));
}

}  // namespace
}  // namespace adlib
