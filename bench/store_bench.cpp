// The alarm store and the preference loader on files of 10, 1,000 and 10,000
// records, beside floors measured on the same file: a bare read and libplist
// parse for the loader, and that plus one atomic write for the store's write.
// The loader reads a file it has not seen before at every iteration (two
// contents taken in turn), so no cache hides its parse.
#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include "bench/bench_files.h"
#include "platform/foundation/file_system.h"
#include "platform/testing/test_environment.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/store.h"

namespace {

using namespace platform;
using namespace rousa;
using namespace rousa::bench;

// One booted process for the whole run; each benchmark plants its own files.
PrefsFiles filesOf(benchmark::State& state) {
    static bool booted = [] {
        static std::string root = platform::testing::makeDeviceRoot();
        host::boot(host::BootOptions{.deviceRoot = root, .virtualClockStart = Date::fromUnix(platform::testing::kDefaultStart)});
        registerAlarmRecordClasses();
        return true;
    }();
    (void)booted;
    return PrefsFiles(static_cast<int>(state.range(0)));
}

void parseBare(const std::string& bytes) {
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    benchmark::DoNotOptimize(root);
    plist_free(root);
}

void BM_LoadPrefs(benchmark::State& state) {
    PrefsFiles files = filesOf(state);
    for (auto _ : state) {
        state.PauseTiming();
        files.plantNext();
        state.ResumeTiming();
        RousaLoadPrefs(false);
    }
}

void BM_LoadPrefsFloor(benchmark::State& state) {
    PrefsFiles files = filesOf(state);
    for (auto _ : state) {
        state.PauseTiming();
        files.plantNext();
        state.ResumeTiming();
        parseBare(*fs::readFile(kRousaPrefsPath));
    }
}

void BM_SetAlarm(benchmark::State& state) {
    PrefsFiles files = filesOf(state);
    files.plantNext();
    auto record = RousaGetAlarm(Value(files.lastId()));
    for (auto _ : state) {
        record->setSnoozeTime(record->snoozeTime() + 1);
        RousaSetAlarm(record);
    }
}

void BM_SetAlarmFloor(benchmark::State& state) {
    PrefsFiles files = filesOf(state);
    files.plantNext();
    std::string bytes = *fs::readFile(kRousaPrefsPath);
    for (auto _ : state) {
        plist_t root = nullptr;
        plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
        char* xml = nullptr;
        uint32_t len = 0;
        plist_to_xml(root, &xml, &len);
        fs::writeFileAtomically(kRousaPrefsPath, std::string_view(xml, len));
        plist_to_xml_free(xml);
        plist_free(root);
    }
}

void BM_GetAlarm(benchmark::State& state) {
    PrefsFiles files = filesOf(state);
    files.plantNext();
    Value id(files.lastId());
    for (auto _ : state) benchmark::DoNotOptimize(RousaGetAlarm(id));
}

}  // namespace

BENCHMARK(BM_LoadPrefs)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_LoadPrefsFloor)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_SetAlarm)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_SetAlarmFloor)->Arg(10)->Arg(1000)->Arg(10000);
BENCHMARK(BM_GetAlarm)->Arg(10)->Arg(1000)->Arg(10000);
