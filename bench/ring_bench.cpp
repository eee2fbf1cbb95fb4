// One ring on a locked iOS 9 SpringBoard with the tweak: from the alarm's
// firing until its alert window shows, with the alarm's record among 1,000
// others in a preference file no reader has parsed yet; beside one read and
// libplist parse of the same file.
#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <cmath>

#include "bench/bench_files.h"
#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/springboard/device.h"
#include "platform/springboard/selectors.h"
#include "platform/testing/test_environment.h"
#include "tweak/engine/installer.h"
#include "tweak/screens/alert_window.h"

namespace rousa {
namespace {

using namespace platform;
using namespace rousa::bench;

void bootSpringBoard() {
    static bool booted = [] {
        static std::string root = platform::testing::makeDeviceRoot();
        host::boot(host::BootOptions{.bundleIdentifier = host::kSpringBoard,
                                     .systemVersion = "9.3",
                                     .deviceRoot = root,
                                     .virtualClockStart = Date::fromUnix(platform::testing::kDefaultStart)});
        startTweakLibrary();
        device::setLocked(true);
        device::setScreenOn(false);
        return true;
    }();
    (void)booted;
}

bool windowShown() {
    RS2AlertWindow* w = RS2AlertWindow::sharedInstance();
    return !sel::isHidden(w) && sel::alpha(w) > 0.5;
}

// An alarm two minutes ahead (clock in UTC) and, in a new file, its record
// among `records` others: enabled, with the question, stopping itself after
// a second so the next iteration starts quiet.
struct NextRing {
    Ref<Object> alarm;
    PrefsFiles files;
    NextRing(int records, long long minuteOfDay)
        : alarm(makeAlarm(minuteOfDay)), files(records, {recordOf(alarm)}) {}

    static Ref<Object> makeAlarm(long long minuteOfDay) {
        Ref<Object> alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::setHour_(alarm, minuteOfDay / 60 % 24);
        sel::setMinute_(alarm, minuteOfDay % 60);
        sel::setTitle_(alarm, Value("Wake up"));
        sel::addAlarm_active_(sel::sharedManager(objc_getClass("AlarmManager")), alarm, true);
        return alarm;
    }
    static Value recordOf(const Ref<Object>& alarm) {
        auto r = KAlarm::make();
        r->setAlarmId(sel::alarmId(alarm));
        r->setEnabled(true);
        r->setCalcEnabled(true);
        r->setDismissInterval(1);
        r->setDismissMeasure(1);
        r->setDismissAction(1);
        return r->data();
    }
};

long long minuteOfDay() { return static_cast<long long>(NSDate::date().unix()) / 60 % (24 * 60); }

void BM_Ring(benchmark::State& state) {
    bootSpringBoard();
    int records = static_cast<int>(state.range(0));
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        long long at = minuteOfDay() + 2;
        NextRing next(records, at);
        // To just before the firing; the file is planted last, so that the
        // ring's own reads meet it first.
        double wait = static_cast<double>(at * 60) - std::fmod(NSDate::date().unix(), 24 * 3600.0);
        RunLoop::main().advance(wait - 0.5);
        next.files.plantNext();
        state.ResumeTiming();
        for (int step = 0; step < 100 && !windowShown(); ++step) RunLoop::main().advance(0.05);
        state.PauseTiming();
        shown += windowShown();
        // The record stops the ringing; the ringtone comes back a second later.
        RunLoop::main().advance(5);
        sel::removeAlarm_(sel::sharedManager(objc_getClass("AlarmManager")), next.alarm);
        state.ResumeTiming();
    }
    if (shown != state.iterations()) state.SkipWithError("the alert window did not show");
}

void BM_RingFloor(benchmark::State& state) {
    bootSpringBoard();
    PrefsFiles files(static_cast<int>(state.range(0)), {NextRing::recordOf(NextRing::makeAlarm(minuteOfDay() + 2))});
    for (auto _ : state) {
        state.PauseTiming();
        files.plantNext();
        state.ResumeTiming();
        std::string bytes = *fs::readFile(kRousaPrefsPath);
        plist_t root = nullptr;
        plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
        benchmark::DoNotOptimize(root);
        plist_free(root);
    }
}

}  // namespace
}  // namespace rousa

BENCHMARK(rousa::BM_Ring)->Arg(1000);
BENCHMARK(rousa::BM_RingFloor)->Arg(1000);
