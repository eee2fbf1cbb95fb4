#include "tweak/engine/alarm_manager.h"

#include "engine_fixture.h"
#include "tweak/engine/hooking.h"
#include "tweak/engine/ringing_state.h"
#include "tweak/engine/volume.h"

namespace rousa {
namespace {

class AlarmManagerHooks : public ::testing::TestWithParam<std::string> {
protected:
    AlarmManagerHooks() : env(testing::bootFor(host::kClockApp, GetParam())) {
        registerAlarmRecordClasses();
        Class* manager = objc_getClass("AlarmManager");
        MSHookMessageEx(manager, sel::addAlarm_active_, &replaced_AlarmManager_addAlarm_active_, &original_AlarmManager_addAlarm_active_);
        MSHookMessageEx(manager, sel::updateAlarm_active_, &replaced_AlarmManager_updateAlarm_active_,
                        &original_AlarmManager_updateAlarm_active_);
        MSHookMessageEx(manager, sel::removeAlarm_, &replaced_AlarmManager_removeAlarm_, &original_AlarmManager_removeAlarm_);
        if (GetParam() == "9.3") {
            class_addMethod(objc_getClass("Alarm"), sel::alarmId, &Alarm_alarmId);
            class_addMethod(objc_getClass("Alarm"), sel::setAlarmId_, &Alarm_setAlarmId_);
        }
        manager_ = sel::sharedManager(manager);
    }
    Ref<Object> newAlarm() { return sel::initWithDefaultValues(alloc("Alarm")); }

    platform::testing::TestEnvironment env;
    Ref<Object> manager_;
};

TEST_P(AlarmManagerHooks, AddingAnAlarmGivesItADefaultRecord) {
    plist::writeFile(kRousaPrefsPath, Value(Value::Dictionary{{"defSnoozeTime", Value(4)}, {"defEnabled", Value(true)}}));
    lockButtonPressed = true;
    auto alarm = newAlarm();
    sel::addAlarm_active_(manager_, alarm, true);
    EXPECT_FALSE(lockButtonPressed);
    Value alarmId = sel::alarmId(alarm);
    ASSERT_TRUE(alarmId.isString());
    auto record = RousaGetAlarm(alarmId);
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->enabled());
    EXPECT_EQ(record->snoozeTime(), 4);
    EXPECT_EQ(callLog::count("AlarmManager", "addAlarm:active:"), 1);
}

TEST_P(AlarmManagerHooks, AnExistingRecordIsKept) {
    auto alarm = newAlarm();
    sel::addAlarm_active_(manager_, alarm, true);
    auto record = RousaGetAlarm(sel::alarmId(alarm));
    record->setSnoozeTime(30);
    RousaSetAlarm(record);
    sel::addAlarm_active_(manager_, alarm, true);
    EXPECT_EQ(RousaGetAlarm(sel::alarmId(alarm))->snoozeTime(), 30);
}

TEST_P(AlarmManagerHooks, RemovingAnAlarmRemovesItsRecordFirst) {
    auto a = newAlarm(), b = newAlarm();
    sel::addAlarm_active_(manager_, a, true);
    sel::addAlarm_active_(manager_, b, true);
    sel::removeAlarm_(manager_, a);
    EXPECT_FALSE(RousaGetAlarm(sel::alarmId(a)));
    EXPECT_TRUE(RousaGetAlarm(sel::alarmId(b)));
    EXPECT_EQ(sel::alarms(manager_).count(), 1u);
    EXPECT_EQ(callLog::count("AlarmManager", "removeAlarm:"), 1);
}

TEST_P(AlarmManagerHooks, UpdatingPassesStraightThrough) {
    auto a = newAlarm();
    sel::addAlarm_active_(manager_, a, true);
    Value before = RousaReadPrefsFile();
    sel::updateAlarm_active_(manager_, a, false);
    EXPECT_FALSE(sel::isActive(a));
    EXPECT_EQ(callLog::count("AlarmManager", "updateAlarm:active:"), 1);
    EXPECT_EQ(RousaReadPrefsFile(), before);
}

INSTANTIATE_TEST_SUITE_P(Versions, AlarmManagerHooks, ::testing::Values("7.1", "8.4", "9.3"),
                         [](const auto& info) { return "iOS" + info.param.substr(0, 1); });

TEST(AlarmManagerHooksWithoutPrevious, AnEmptySlotAnswersZero) {
    platform::testing::TestEnvironment env(testing::bootFor(host::kClockApp, "8.4"));
    registerAlarmRecordClasses();
    original_AlarmManager_addAlarm_active_ = nullptr;
    auto alarm = sel::initWithDefaultValues(alloc("Alarm"));
    replaced_AlarmManager_addAlarm_active_(nullptr, alarm, true);
    EXPECT_EQ(callLog::count("AlarmManager", "addAlarm:active:"), 0);
    // Every kind of answer is the zero of its type, as from a message to nil.
    EXPECT_EQ(callPrevious(static_cast<bool (*)(id)>(nullptr), alarm), false);
    EXPECT_EQ(callPrevious(static_cast<long long (*)(id, int)>(nullptr), alarm, 7), 0);
    EXPECT_EQ(callPrevious(static_cast<double (*)(id)>(nullptr), alarm), 0.0);
    EXPECT_TRUE(callPrevious(static_cast<Value (*)(id)>(nullptr), alarm).isNil());
    EXPECT_FALSE(callPrevious(static_cast<Ref<Object> (*)(id)>(nullptr), alarm));
    EXPECT_EQ(callPrevious(static_cast<Rect (*)(id, id)>(nullptr), alarm, alarm), Rect());
    // A hook of the tweak with an empty slot answers the same.
    original_BBBulletin_unlockActionLabel = nullptr;
    EXPECT_TRUE(replaced_BBBulletin_unlockActionLabel(alarm).isNil());
}

}  // namespace
}  // namespace rousa
