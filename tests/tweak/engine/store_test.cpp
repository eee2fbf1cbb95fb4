#include "tweak/engine/store.h"

#include <cerrno>
#include <fstream>

#include "engine_fixture.h"
#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "tweak/engine/preferences.h"

namespace rousa {
namespace {

using testing::EngineTest;

Ref<KAlarm> recordFor(const std::string& alarmId, long long snoozeTime) {
    auto r = KAlarm::make();
    r->setAlarmId(Value(alarmId));
    r->setSnoozeTime(snoozeTime);
    return r;
}

TEST_F(EngineTest, SetAlarmOnAMissingFileCreatesItWithOnlyThatRecord) {
    EXPECT_TRUE(RousaSetAlarm(recordFor("A", 5)));
    Value prefs = readPrefs();
    EXPECT_EQ(prefs.count(), 1u);
    ASSERT_EQ(prefs["Alarms"].count(), 1u);
    EXPECT_EQ(prefs["Alarms"].at(0), recordFor("A", 5)->data());
}

TEST_F(EngineTest, SetAlarmTwiceKeepsOneElementAndTheOtherKeys) {
    writePrefs(Value(Value::Dictionary{{"sleepaction", Value(2)}, {"numRight", Value(4)}}));
    RousaSetAlarm(recordFor("A", 5));
    RousaSetAlarm(recordFor("B", 6));
    RousaSetAlarm(recordFor("A", 7));
    Value prefs = readPrefs();
    ASSERT_EQ(prefs["Alarms"].count(), 2u);
    EXPECT_EQ(prefs["Alarms"].at(0)["snoozeTime"].intValue(), 7);
    EXPECT_EQ(prefs["Alarms"].at(1)["alarmId"].string(), "B");
    EXPECT_EQ(prefs["sleepaction"].intValue(), 2);
    EXPECT_EQ(prefs["numRight"].intValue(), 4);
    EXPECT_EQ(RousaGetAlarm(Value("A"))->snoozeTime(), 7);
}

TEST_F(EngineTest, DuplicateRecordsUseTheFirstInTheStore) {
    writePrefs(Value(Value::Dictionary{{"Alarms", Value::array({record("A", 1), record("A", 2)})}}));
    EXPECT_EQ(RousaGetAlarm(Value("A"))->snoozeTime(), 1);
    RousaSetAlarm(recordFor("A", 9));
    Value alarms = readPrefs()["Alarms"];
    EXPECT_EQ(alarms.at(0)["snoozeTime"].intValue(), 9);
    EXPECT_EQ(alarms.at(1)["snoozeTime"].intValue(), 2);
}

// The readers answer from the file's last parse, yet each of them reads the
// file: a read fault reaches the next reader, and the one after reads again.
TEST_F(EngineTest, AReadFaultReachesEveryReaderOfAnUnchangedFile) {
    writePrefs(Value(Value::Dictionary{{"sleepaction", Value(3)}, {"Alarms", Value::array({record("A", 4)})}}));
    ASSERT_EQ(RousaGetAlarm(Value("A"))->snoozeTime(), 4);
    fs::testing::failNth(fs::testing::Op::Read, 1, EIO);
    EXPECT_FALSE(RousaGetAlarm(Value("A")));
    EXPECT_EQ(RousaGetAlarm(Value("A"))->snoozeTime(), 4);
    fs::testing::failNth(fs::testing::Op::Read, 1, EIO);
    EXPECT_TRUE(RousaGetPref("sleepaction").isNil());
    EXPECT_EQ(RousaGetPref("sleepaction").intValue(), 3);
    fs::testing::failNth(fs::testing::Op::Read, 1, EIO);
    RousaLoadPrefs(false);
    EXPECT_EQ(sleepaction, 1);
    RousaLoadPrefs(false);
    EXPECT_EQ(sleepaction, 3);
    fs::testing::reset();
}

TEST_F(EngineTest, RemoveTakesTheFirstRecordAndWritesNothingWithoutOne) {
    writePrefs(Value(Value::Dictionary{{"Alarms", Value::array({record("A", 1), record("B", 2), record("A", 3)})}}));
    EXPECT_TRUE(RousaRemoveAlarm(Value("A")));
    Value alarms = readPrefs()["Alarms"];
    ASSERT_EQ(alarms.count(), 2u);
    EXPECT_EQ(alarms.at(0)["alarmId"].string(), "B");
    EXPECT_EQ(alarms.at(1)["snoozeTime"].intValue(), 3);

    std::string before = *fs::readFile(kRousaPrefsPath);
    fs::testing::failNth(fs::testing::Op::Lock, 1, EIO);  // a write would fail loudly
    EXPECT_FALSE(RousaRemoveAlarm(Value("none")));
    EXPECT_EQ(*fs::readFile(kRousaPrefsPath), before);
    fs::testing::reset();
}

TEST_F(EngineTest, WrongKindsInTheFileAreNeverTrusted) {
    struct Case {
        const char* name;
        Value alarms;
    };
    const Case cases[] = {
        {"not an array", Value("A")},
        {"element not a dictionary", Value::array({Value("A"), Value(1)})},
        {"id not a string", Value::array({Value(Value::Dictionary{{"alarmId", Value(7)}})})},
        {"id missing", Value::array({Value(Value::Dictionary{{"enabled", Value(true)}})})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writePrefs(Value(Value::Dictionary{{"Alarms", c.alarms}, {"keep", Value(1)}}));
        EXPECT_FALSE(RousaGetAlarm(Value("A")));
        EXPECT_FALSE(RousaGetAlarm(Value("7")));
        EXPECT_FALSE(RousaRemoveAlarm(Value("A")));
        EXPECT_EQ(KAlarmCurrent::sharedInstance(Value("A"))->snoozeTime(), 0);
        EXPECT_TRUE(RousaSetAlarm(recordFor("A", 5)));
        EXPECT_EQ(RousaGetAlarm(Value("A"))->snoozeTime(), 5);
        EXPECT_EQ(readPrefs()["keep"].intValue(), 1);
    }
}

TEST_F(EngineTest, SetAlarmRefusesARecordWithoutAnId) {
    EXPECT_FALSE(RousaSetAlarm(KAlarm::make()));
    EXPECT_FALSE(RousaSetAlarm(recordFor("", 5)));
    EXPECT_FALSE(RousaSetAlarm(nullptr));
    EXPECT_FALSE(fs::exists(kRousaPrefsPath));
}

TEST_F(EngineTest, SetPrefSetsAndRemovesAKeyAndReloadsThisProcess) {
    writePrefs(Value(Value::Dictionary{{"Alarms", Value::array({record("A", 1)})}}));
    EXPECT_TRUE(RousaSetPref("sleepaction", Value(3)));
    EXPECT_EQ(sleepaction, 3);
    EXPECT_EQ(RousaGetPref("sleepaction").intValue(), 3);
    EXPECT_TRUE(RousaSetPref("sleepaction", Value()));
    EXPECT_TRUE(RousaGetPref("sleepaction").isNil());
    EXPECT_EQ(sleepaction, 1);
    EXPECT_EQ(readPrefs()["Alarms"].count(), 1u);
}

TEST_F(EngineTest, AFailedWriteIsReportedAndLeavesTheFile) {
    RousaSetAlarm(recordFor("A", 5));
    fs::testing::failNth(fs::testing::Op::Write, 1, ENOSPC);
    EXPECT_FALSE(RousaSetAlarm(recordFor("A", 6)));
    EXPECT_EQ(RousaGetAlarm(Value("A"))->snoozeTime(), 5);
    EXPECT_TRUE(log::contains("No space left on device"));
    fs::testing::reset();
}

TEST_F(EngineTest, AddIfMissingAddsDefaultsOnceAndAReadErrorKeepsTheRecord) {
    RousaAddAlarmIfMissing(Value("B"));
    ASSERT_EQ(readPrefs()["Alarms"].count(), 1u);
    EXPECT_EQ(readPrefs()["Alarms"].at(0), [] {
        auto r = KAlarm::initWithDefaultValues();
        r->setAlarmId(Value("B"));
        return r->data();
    }());

    RousaSetAlarm(recordFor("A", 7));
    std::string before = *fs::readFile(kRousaPrefsPath);
    fs::testing::failNth(fs::testing::Op::Open, 1, EMFILE);
    RousaAddAlarmIfMissing(Value("A"));
    EXPECT_EQ(*fs::readFile(kRousaPrefsPath), before);
    EXPECT_EQ(RousaGetAlarm(Value("A"))->snoozeTime(), 7);
    EXPECT_TRUE(log::contains("Too many open files"));

    RousaAddAlarmIfMissing(Value("A"));
    EXPECT_EQ(*fs::readFile(kRousaPrefsPath), before);
    fs::testing::reset();
}

TEST_F(EngineTest, AnUnreadableFileIsKeptAsideAndWritersStartEmpty) {
    std::ofstream(env.hostPath(kRousaPrefsPath)) << "garbage";
    EXPECT_TRUE(RousaGetPref("anything").isNil());
    EXPECT_TRUE(RousaSetAlarm(recordFor("A", 5)));
    EXPECT_EQ(*fs::readFile(std::string(kRousaPrefsPath) + ".corrupt"), "garbage");
    EXPECT_EQ(readPrefs()["Alarms"].count(), 1u);
}

TEST(StoreConcurrency, WritersInSeveralProcessesLoseNothing) {
    platform::testing::TestEnvironment env({}, false);
    constexpr int kWriters = 3, kEach = 15;
    std::vector<platform::testing::ChildProcess> children;
    for (int w = 0; w < kWriters; ++w) {
        children.emplace_back(host::BootOptions{.deviceRoot = env.root()}, [w] {
            registerAlarmRecordClasses();
            for (int i = 0; i < kEach; ++i) {
                if (!RousaSetAlarm(recordFor("W" + std::to_string(w) + "-" + std::to_string(i), i))) return std::string("failed");
                if (!plist::readFile(kRousaPrefsPath).isDictionary()) return std::string("torn");
            }
            return std::string("ok");
        });
    }
    children.emplace_back(host::BootOptions{.bundleIdentifier = host::kSettingsApp, .deviceRoot = env.root()}, [] {
        for (int i = 0; i < kEach; ++i) CFPreferencesSetAppValue("WKSLockScreenFontSize", Value(10 + i), kRousaDomain);
        return std::string("ok");
    });
    for (auto& c : children) EXPECT_EQ(c.wait(), "ok");
    env.boot();
    registerAlarmRecordClasses();
    Value prefs = plist::readFile(kRousaPrefsPath);
    EXPECT_EQ(prefs["Alarms"].count(), static_cast<std::size_t>(kWriters * kEach));
    EXPECT_EQ(prefs["WKSLockScreenFontSize"].intValue(), 10 + kEach - 1);
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kEach; ++i) EXPECT_TRUE(RousaGetAlarm(Value("W" + std::to_string(w) + "-" + std::to_string(i))));
}

}  // namespace
}  // namespace rousa
