#include "tweak/engine/alarm_record.h"

#include "engine_fixture.h"

namespace rousa {
namespace {

using testing::EngineTest;

TEST_F(EngineTest, DictionaryFormHasFourteenKeysAndRoundTrips) {
    auto r = KAlarm::make();
    r->setAlarmId(Value("A1"));
    r->setEnabled(true);
    r->setVolume(0.35f);
    r->setSnoozeTime(30);
    r->setSnoozeMeasure(KAlarmMeasureSeconds);
    r->setVibrateRing(true);
    r->setDismissInterval(2);
    r->setDismissMeasure(KAlarmMeasureMinutes);
    r->setDismissAction(KAlarmDismissActionSnooze);
    r->setFadeinTime(10);
    r->setFadeinMeasure(KAlarmMeasureSeconds);
    r->setCalcEnabled(true);
    r->setCalcDifficult(KAlarmCalcDifficultyLifeless);
    Value d = r->data();
    EXPECT_EQ(d.count(), 14u);
    EXPECT_EQ(d["enabled"].kind(), Value::Kind::Bool);
    EXPECT_EQ(d["volume"].kind(), Value::Kind::Real);
    EXPECT_EQ(d["snoozeTime"].kind(), Value::Kind::Integer);
    auto back = KAlarm::initWithData(*plist::parse(*plist::toXml(d)));
    EXPECT_EQ(back->data(), d);
    EXPECT_FLOAT_EQ(back->volume(), 0.35f);
    EXPECT_EQ(back->calcDifficult(), KAlarmCalcDifficultyLifeless);
}

TEST_F(EngineTest, IntegerFieldsAreStoredInTheirLow32Bits) {
    auto r = KAlarm::make();
    r->setAlarmId(Value("A1"));
    r->setSnoozeTime((1LL << 32) + 7);
    r->setDismissInterval(-1);
    EXPECT_EQ(r->data()["snoozeTime"].integerValue(), 7);
    EXPECT_EQ(KAlarm::initWithData(r->data())->dismissInterval(), -1);
}

TEST_F(EngineTest, MissingAndWrongKindsReadAsZero) {
    auto r = KAlarm::initWithData(Value(Value::Dictionary{
        {"alarmId", Value("A1")}, {"snoozeTime", Value("5")}, {"volume", Value::array({})}, {"enabled", Value("YES")}}));
    EXPECT_EQ(r->snoozeTime(), 5);
    EXPECT_EQ(r->volume(), 0.0f);
    EXPECT_TRUE(r->enabled());
    EXPECT_EQ(r->dismissAction(), 0);
    EXPECT_FALSE(r->calcEnabled());
}

TEST_F(EngineTest, UnitConversions) {
    struct Case {
        long long value, measure, snoozeSeconds, dismissSeconds;
    };
    const Case cases[] = {
        {5, 1, 5, 5}, {5, 2, 300, 300}, {5, 3, 18000, 0}, {5, 0, 0, 0}, {5, 4, 0, 0}, {0, 2, 0, 0}, {-3, 1, -3, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " in " + std::to_string(c.measure));
        auto r = KAlarm::make();
        r->setSnoozeTime(c.value);
        r->setSnoozeMeasure(c.measure);
        r->setDismissInterval(c.value);
        r->setDismissMeasure(c.measure);
        EXPECT_EQ(r->snoozeTimeInSeconds(), c.snoozeSeconds);
        EXPECT_EQ(r->dismissIntervalInSeconds(), c.dismissSeconds);
        // An interval that counts no seconds (an unknown unit) never dismisses at once.
        EXPECT_EQ(r->shouldAutoDismiss(), c.dismissSeconds > 0);
    }
}

TEST_F(EngineTest, DefaultValuesComeFromTheFileOrTheRecordsOwnDefaults) {
    auto none = KAlarm::initWithDefaultValues();
    EXPECT_TRUE(none->alarmId().isNil());
    EXPECT_FALSE(none->enabled());
    EXPECT_EQ(none->snoozeTime(), 1);
    EXPECT_EQ(none->snoozeMeasure(), 1);
    EXPECT_FLOAT_EQ(none->volume(), 1.0f);
    EXPECT_TRUE(none->vibrateRing());
    EXPECT_TRUE(none->vibrateSilent());
    EXPECT_EQ(none->dismissMeasure(), 1);
    EXPECT_EQ(none->dismissAction(), 1);
    EXPECT_EQ(none->calcDifficult(), 1);
    EXPECT_EQ(none->fadeinTime(), 0);

    writePrefs(Value(Value::Dictionary{{"defEnabled", Value(true)},
                                       {"defSnoozeTime", Value("5")},  // the Settings app's text rows store strings
                                       {"defVolume", Value("0.5")},
                                       {"defVibrateRing", Value(false)},
                                       {"defDismissTime", Value::array({})},  // no usable kind: the default
                                       {"defFadeTime", Value(9)},             // not consulted here
                                       {"defCalcDifficult", Value(3)}}));
    auto r = KAlarm::initWithDefaultValues();
    EXPECT_TRUE(r->enabled());
    EXPECT_EQ(r->snoozeTime(), 5);
    EXPECT_FLOAT_EQ(r->volume(), 0.5f);
    EXPECT_FALSE(r->vibrateRing());
    EXPECT_EQ(r->dismissInterval(), 0);
    EXPECT_EQ(r->fadeinTime(), 0);
    EXPECT_EQ(r->calcDifficult(), 3);
}

TEST_F(EngineTest, CurrentRecordIsNilUntilAnAlarmRang) {
    EXPECT_EQ(KAlarmCurrent::sharedInstance(), nullptr);
    KAlarmCurrent* fresh = KAlarmCurrent::sharedInstance(Value("none"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->alarmId().string(), "none");
    EXPECT_FALSE(fresh->enabled());
    EXPECT_EQ(fresh->snoozeTime(), 0);
    EXPECT_EQ(KAlarmCurrent::sharedInstance(), fresh);
}

TEST_F(EngineTest, CurrentRecordTakesTheLastEqualElementAndNeverAnotherAlarms) {
    writePrefs(Value(Value::Dictionary{{"Alarms", Value::array({record("A", 1), record("B", 2), record("A", 3)})}}));
    EXPECT_EQ(KAlarmCurrent::sharedInstance(Value("A"))->snoozeTime(), 3);
    // An alarm without a record does not ring with A's settings.
    KAlarmCurrent* c = KAlarmCurrent::sharedInstance(Value("C"));
    EXPECT_EQ(c->alarmId().string(), "C");
    EXPECT_EQ(c->snoozeTime(), 0);
    EXPECT_FALSE(c->enabled());
}

}  // namespace
}  // namespace rousa
