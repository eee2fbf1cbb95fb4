// The alarm store on files of 10, 100 and 1,000 records, beside floors measured
// on the same file: a bare libplist parse for the reads, and a bare parse plus
// one atomic write for the writes.
#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"
#include "platform/testing/test_environment.h"
#include "tweak/engine/preferences.h"
#include "tweak/engine/store.h"

namespace {

using namespace platform;
using namespace rousa;

// One booted process for the whole run; each benchmark plants its own file.
void bootOnce() {
    static bool booted = [] {
        static std::string root = testing::makeDeviceRoot();
        host::boot(host::BootOptions{.deviceRoot = root, .virtualClockStart = Date::fromUnix(testing::kDefaultStart)});
        registerAlarmRecordClasses();
        return true;
    }();
    (void)booted;
}

void plantRecords(int n) {
    bootOnce();
    Value::Array alarms;
    for (int i = 0; i < n; ++i) {
        auto r = KAlarm::initWithDefaultValues();
        r->setAlarmId(Value("ALARM-" + std::to_string(i)));
        alarms.push_back(r->data());
    }
    plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{{"Alarms", Value(alarms)}, {"sleepaction", Value(2)}}));
}

std::string lastId(int n) { return "ALARM-" + std::to_string(n - 1); }

void BM_RousaLoadPrefs(benchmark::State& state) {
    plantRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) RousaLoadPrefs(false);
}

void BM_RousaGetAlarm(benchmark::State& state) {
    int n = static_cast<int>(state.range(0));
    plantRecords(n);
    Value id(lastId(n));
    for (auto _ : state) benchmark::DoNotOptimize(RousaGetAlarm(id));
}

void BM_RousaSetAlarm(benchmark::State& state) {
    int n = static_cast<int>(state.range(0));
    plantRecords(n);
    auto record = RousaGetAlarm(Value(lastId(n)));
    for (auto _ : state) {
        record->setSnoozeTime(record->snoozeTime() + 1);
        RousaSetAlarm(record);
    }
}

std::string fileBytes() { return *fs::readFile(kRousaPrefsPath); }

void BM_FloorParse(benchmark::State& state) {
    plantRecords(static_cast<int>(state.range(0)));
    std::string bytes = fileBytes();
    for (auto _ : state) {
        plist_t root = nullptr;
        plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
        benchmark::DoNotOptimize(root);
        plist_free(root);
    }
}

void BM_FloorParseAndAtomicWrite(benchmark::State& state) {
    plantRecords(static_cast<int>(state.range(0)));
    std::string bytes = fileBytes();
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

}  // namespace

BENCHMARK(BM_RousaLoadPrefs)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_RousaGetAlarm)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_FloorParse)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_RousaSetAlarm)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_FloorParseAndAtomicWrite)->Arg(10)->Arg(100)->Arg(1000);
