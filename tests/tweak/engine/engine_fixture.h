// A booted process with the engine's classes, and helpers to plant preference
// files.
#pragma once

#include <gtest/gtest.h>

#include "platform/foundation/plist.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "tweak/engine/alarm_record.h"
#include "tweak/engine/store.h"

namespace rousa::testing {

inline host::BootOptions bootFor(std::string host, std::string version) {
    host::BootOptions o;
    o.bundleIdentifier = std::move(host);
    o.systemVersion = std::move(version);
    return o;
}

class EngineTest : public ::testing::Test {
protected:
    explicit EngineTest(host::BootOptions options = bootFor(host::kSpringBoard, "9.3")) : env(std::move(options)) {
        registerAlarmRecordClasses();
    }
    static void writePrefs(const Value& prefs) { ASSERT_TRUE(plist::writeFile(kRousaPrefsPath, prefs)); }
    static Value readPrefs() { return plist::readFile(kRousaPrefsPath); }
    static Value record(const std::string& alarmId, long long snoozeTime = 5) {
        return Value(Value::Dictionary{{"alarmId", Value(alarmId)}, {"enabled", Value(true)}, {"snoozeTime", Value(snoozeTime)}});
    }

    platform::testing::TestEnvironment env;
};

}  // namespace rousa::testing
