// The viewability monitor: its schedule, its ticks on the virtual clock, what
// one sample finds visible, and its thread and ownership rules.
#include "adlib/render/optora_monitor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// What the delegate saw at each refresh.
struct Refresh {
    double at = 0;  // seconds on the virtual clock since the test began
    Rect bounds;
    bool visible = false;
    bool onMainThread = false;
};

class RecordingDelegate : public NSObject {
public:
    std::vector<Refresh> refreshes;
    Date start = NSDate::date();
};

Ref<RecordingDelegate> makeDelegate() {
    if (!objc_getClass("OptoraTestDelegate"))
        ClassBuilder<RecordingDelegate>("OptoraTestDelegate", "NSObject").method(sel::didRefreshOptoraMonitor_, [](id self, id monitor) {
            auto* d = as<RecordingDelegate>(self);
            d->refreshes.push_back({NSDate::date().timeIntervalSinceDate(d->start), sel::monitoredViewVisibleBounds(monitor),
                                    sel::isMonitoredViewVisible(monitor), NSThread::isMainThread()});
        });
    return as<RecordingDelegate>(newObject("OptoraTestDelegate"));
}

Ref<YBXOptoraMonitor> makeMonitor(id view, const Value& intervals) {
    return as<YBXOptoraMonitor>(sel::initWithView_refreshIntervals_(alloc("YBXOptoraMonitor"), view, intervals));
}

Value numbers(std::initializer_list<double> list) {
    Value::Array out;
    for (double n : list) out.emplace_back(n);
    return Value(std::move(out));
}

std::vector<double> times(const RecordingDelegate& d) {
    std::vector<double> out;
    for (const Refresh& r : d.refreshes) out.push_back(r.at);
    return out;
}

class OptoraMonitorTest : public ::testing::Test {
public:
    explicit OptoraMonitorTest(host::BootOptions options = testing::appOptions()) : env_(std::move(options)) {}

    // A shown window of the screen's size with a 320x50 banner view near its top.
    void placeBanner(Rect windowFrame = Rect(0, 0, 320, 568), Rect bannerFrame = Rect(0, 100, 320, 50)) {
        window = UIView::make<UIWindow>("UIWindow", windowFrame);
        sel::makeKeyAndVisible(window.get());
        banner = UIView::make("UIView", bannerFrame);
        sel::addSubview_(window.get(), banner.get());
    }
    Ref<YBXOptoraMonitor> monitorOfBanner(const Value& intervals = numbers({1})) {
        Ref<YBXOptoraMonitor> monitor = makeMonitor(banner.get(), intervals);
        sel::setDelegate_(monitor.get(), delegate.get());
        return monitor;
    }

    AdLibEnvironment env_;
    Ref<UIWindow> window;
    Ref<UIView> banner;
    Ref<RecordingDelegate> delegate = makeDelegate();
};

// --- creation --------------------------------------------------------------------------------------

TEST_F(OptoraMonitorTest, AMonitorNeedsAViewAndIntervals) {
    Ref<UIView> view = UIView::make("UIView", Rect(0, 0, 10, 10));
    EXPECT_FALSE(makeMonitor(nullptr, numbers({1})));
    EXPECT_FALSE(makeMonitor(view.get(), Value()));
    EXPECT_FALSE(sel::init(alloc("YBXOptoraMonitor")));
    Ref<YBXOptoraMonitor> monitor = makeMonitor(view.get(), numbers({1}));
    ASSERT_TRUE(monitor);
    EXPECT_TRUE(monitor->isEnabled());
    EXPECT_EQ(std::string(dispatch_queue_get_label(monitor->lockQueue())), "com.orvane.marlex.optora-monitor");
}

TEST_F(OptoraMonitorTest, TheViewAndTheDelegateAreHeldWeakly) {
    Ref<UIView> view = UIView::make("UIView", Rect(0, 0, 10, 10));
    Ref<YBXOptoraMonitor> monitor = makeMonitor(view.get(), numbers({2, 3}));
    EXPECT_EQ(monitor->nextRefreshInterval(), 2);

    WeakRef<Object> weakView(view.get());
    WeakRef<Object> weakDelegate(delegate.get());
    sel::setDelegate_(monitor.get(), delegate.get());
    EXPECT_EQ(sel::delegate(monitor.get()).get(), delegate.get());
    view = nullptr;
    delegate = nullptr;
    EXPECT_FALSE(weakView.lock());
    EXPECT_FALSE(weakDelegate.lock());
    EXPECT_FALSE(sel::delegate(monitor.get()));
    // A sample of a view that is gone finds nothing visible.
    monitor->sample();
    EXPECT_EQ(monitor->monitoredViewVisibleBounds(), Rect{});
    EXPECT_FALSE(monitor->isMonitoredViewVisible());
}

// --- the schedule ------------------------------------------------------------------------------------

TEST_F(OptoraMonitorTest, TheScheduleRepeatsItsLastIntervalAndReadsOnlyNumbers) {
    struct Case {
        const char* name;
        Value intervals;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {"empty", Value(Value::Array{}), {0, 0, 0}},
        {"last repeats", numbers({1, 5}), {1, 5, 5, 5}},
        {"ends at zero", numbers({1, 0}), {1, 0, 0}},
        {"not a number", Value::array({Value("1"), Value(4)}), {0, 4, 4}},
        {"not an array", Value("1"), {0}},
    };
    Ref<UIView> view = UIView::make("UIView", Rect(0, 0, 10, 10));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXOptoraMonitor> monitor = makeMonitor(view.get(), c.intervals);
        ASSERT_TRUE(monitor);
        std::vector<double> got;
        for (std::size_t i = 0; i < c.expected.size(); ++i) got.push_back(monitor->nextRefreshInterval());
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(OptoraMonitorTest, TicksFollowTheScheduleOnTheVirtualClock) {
    struct Case {
        const char* name;
        Value intervals;
        std::vector<double> ticks;  // within the first 20 s
        bool enabledAfter;
    };
    const Case cases[] = {
        {"last repeats", numbers({1, 5}), {1, 6, 11, 16}, true},
        {"ends at zero", numbers({1, 0}), {1, 1.0001}, false},
        {"ends at once", numbers({-2}), {0.0001}, false},
        {"no number", Value::array({Value("x")}), {0.0001}, false},
    };
    placeBanner();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delegate = makeDelegate();
        Ref<YBXOptoraMonitor> monitor = monitorOfBanner(c.intervals);
        monitor->startMonitoring();
        monitor->startMonitoring();  // a pending tick is not doubled
        for (int i = 0; i < 200; ++i) platform::testing::advance(0.1);
        const std::vector<double> got = times(*delegate);
        ASSERT_EQ(got.size(), c.ticks.size());
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.ticks[i], 0.01) << i;
        EXPECT_EQ(monitor->isEnabled(), c.enabledAfter);
        // A disabled monitor neither samples nor starts again.
        monitor->sample();
        monitor->startMonitoring();
        platform::testing::advance(10);
        EXPECT_EQ(delegate->refreshes.size(), c.enabledAfter ? c.ticks.size() + 3 : c.ticks.size());
        monitor->stopMonitoring();
    }
}

TEST_F(OptoraMonitorTest, StoppingCancelsThePendingTickAndAGoneMonitorStopsItsTimer) {
    placeBanner();
    Ref<YBXOptoraMonitor> monitor = monitorOfBanner(numbers({1}));
    monitor->startMonitoring();
    platform::testing::advance(0.5);
    monitor->stopMonitoring();
    EXPECT_FALSE(monitor->hasPendingTick());
    platform::testing::advance(5);
    EXPECT_TRUE(delegate->refreshes.empty());
    // Started again, the schedule goes on; a monitor that goes cancels its tick.
    monitor->startMonitoring();
    monitor = nullptr;
    platform::testing::advance(5);
    EXPECT_TRUE(delegate->refreshes.empty());
}

// --- what one sample sees ----------------------------------------------------------------------------

// A banner at (0, 100) 320x50 in a portrait window; each case changes one thing.
TEST_F(OptoraMonitorTest, ASampleFindsTheVisiblePartOfTheView) {
    struct Case {
        const char* name;
        void (*change)(OptoraMonitorTest&);
        Rect bounds;
        bool visible;
    };
    const Case cases[] = {
        {"fully shown", [](OptoraMonitorTest&) {}, Rect(0, 100, 320, 50), true},
        {"hidden view", [](OptoraMonitorTest& t) { sel::setHidden_(t.banner.get(), true); }, Rect(0, 100, 320, 50), false},
        {"hidden ancestor",
         [](OptoraMonitorTest& t) {
             Ref<UIView> parent = UIView::make("UIView", Rect(0, 0, 320, 568));
             sel::addSubview_(t.window.get(), parent.get());
             sel::addSubview_(parent.get(), t.banner.get());
             sel::setHidden_(parent.get(), true);
         },
         Rect(0, 100, 320, 50), false},
        {"no window", [](OptoraMonitorTest& t) { sel::removeFromSuperview(t.banner.get()); }, Rect{}, false},
        {"hidden window", [](OptoraMonitorTest& t) { sel::setHidden_(t.window.get(), true); }, Rect(0, 100, 320, 50), false},
        {"inactive application", [](OptoraMonitorTest&) { lifecycle::resignActive(); }, Rect(0, 100, 320, 50), false},
        {"scrolled out of a clipping view",
         [](OptoraMonitorTest& t) {
             Ref<UIView> scroll = UIView::make("UIScrollView", Rect(0, 80, 320, 200));
             sel::setClipsToBounds_(scroll.get(), true);
             sel::addSubview_(t.window.get(), scroll.get());
             sel::setFrame_(t.banner.get(), Rect(0, 20, 320, 50));
             sel::addSubview_(scroll.get(), t.banner.get());
             sel::setBounds_(scroll.get(), Rect(0, 300, 320, 200));
         },
         Rect{}, false},
        {"partly clipped",
         [](OptoraMonitorTest& t) {
             Ref<UIView> clip = UIView::make("UIView", Rect(0, 120, 320, 200));
             sel::setClipsToBounds_(clip.get(), true);
             sel::addSubview_(t.window.get(), clip.get());
             sel::setFrame_(t.banner.get(), Rect(40, -20, 320, 50));
             sel::addSubview_(clip.get(), t.banner.get());
         },
         Rect(40, 120, 280, 30), true},
        {"at a clipping edge",
         [](OptoraMonitorTest& t) {
             Ref<UIView> clip = UIView::make("UIView", Rect(0, 150, 320, 200));
             sel::setClipsToBounds_(clip.get(), true);
             sel::addSubview_(t.window.get(), clip.get());
             sel::setFrame_(t.banner.get(), Rect(0, -50, 320, 50));
             sel::addSubview_(clip.get(), t.banner.get());
         },
         Rect{}, false},
        {"under the status bar", [](OptoraMonitorTest& t) { sel::setFrame_(t.banner.get(), Rect(0, 0, 320, 50)); }, Rect(0, 20, 320, 30), true},
        {"below the screen", [](OptoraMonitorTest& t) { sel::setFrame_(t.banner.get(), Rect(0, 600, 320, 50)); }, Rect{}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lifecycle::becomeActive();
        placeBanner();
        c.change(*this);
        delegate = makeDelegate();
        Ref<YBXOptoraMonitor> monitor = monitorOfBanner();
        // Seeded, so that a sample that stores nothing shows.
        sel::setMonitoredViewVisibleBounds_(monitor.get(), Rect(1, 2, 3, 4));
        monitor->sample();
        ASSERT_EQ(delegate->refreshes.size(), 1u);
        EXPECT_EQ(delegate->refreshes[0].bounds, c.bounds);
        EXPECT_EQ(delegate->refreshes[0].visible, c.visible);
        EXPECT_TRUE(delegate->refreshes[0].onMainThread);
    }
}

class OptoraMonitorLandscape : public OptoraMonitorTest {
protected:
    OptoraMonitorLandscape() : OptoraMonitorTest(testing::appOptions("8.4")) {}
};

TEST_F(OptoraMonitorLandscape, ABannerFullyOnALandscapeScreenIsVisible) {
    uikit::rotateDevice(UIInterfaceOrientationLandscapeLeft);
    const Rect screen = sel::bounds(UIScreen::mainScreen());
    ASSERT_EQ(screen.size, (Size{568, 320}));
    placeBanner(screen, Rect(200, 250, 320, 50));
    Ref<YBXOptoraMonitor> monitor = monitorOfBanner();
    monitor->sample();
    ASSERT_EQ(delegate->refreshes.size(), 1u);
    EXPECT_EQ(delegate->refreshes[0].bounds, Rect(200, 250, 320, 50));
    EXPECT_TRUE(delegate->refreshes[0].visible);
}

// --- threads -------------------------------------------------------------------------------------------

TEST_F(OptoraMonitorTest, CallsFromAnotherThreadSampleOnTheMainThread) {
    placeBanner();
    Ref<YBXOptoraMonitor> monitor = monitorOfBanner(numbers({1}));
    std::atomic<bool> done{false};
    dispatch_async(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0), [monitor, &done] {
        monitor->sample();
        monitor->startMonitoring();
        done = true;
    });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return done.load(); }, 10));
    ASSERT_EQ(delegate->refreshes.size(), 1u);
    EXPECT_TRUE(delegate->refreshes[0].onMainThread);
    EXPECT_TRUE(delegate->refreshes[0].visible);
    EXPECT_TRUE(monitor->hasPendingTick());
    platform::testing::advance(1);
    ASSERT_EQ(delegate->refreshes.size(), 2u);
    EXPECT_TRUE(delegate->refreshes[1].onMainThread);
}

}  // namespace
}  // namespace adlib
