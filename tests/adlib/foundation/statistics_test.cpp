#include "adlib/foundation/statistics.h"

#include <gtest/gtest.h>

#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/user_defaults.h"
#include "platform/uikit/application.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class Statistics : public ::testing::Test {
protected:
    static Value stored(const char* key) { return NSUserDefaults::standardUserDefaults()->objectForKey(key); }
    AdLibEnvironment env;
};

TEST_F(Statistics, CoresStoreOnlyValuesOfTheirKind) {
    Ref<YBXStatisticsCore> core = YBXStatisticsCore::make();
    sel::setString_forKey_(core.get(), Value(3), "s");
    sel::setString_forKey_(core.get(), Value("text"), "s");
    sel::setNumber_forKey_(core.get(), Value("3"), "n");
    sel::setArray_forKey_(core.get(), Value::array({1}), "a");
    sel::setDictionary_forKey_(core.get(), Value::array({1}), "d");
    EXPECT_EQ(sel::stringForKey_(core.get(), "s"), Value("text"));
    EXPECT_TRUE(sel::numberForKey_(core.get(), "n").isNil());
    EXPECT_TRUE(sel::dictionaryForKey_(core.get(), "d").isNil());

    EXPECT_EQ(core->addValue(2, "n"), 2);
    EXPECT_EQ(core->addValue(-5, "n"), -3);
    core->appendValue(Value(2), "a");
    core->appendValue(Value(), "a");
    core->appendValue(Value("x"), "s");  // a string is left alone
    core->appendValue(Value("first"), "new");
    EXPECT_EQ(core->objectForKey("a"), Value::array({1, 2}));
    EXPECT_EQ(core->objectForKey("s"), Value("text"));
    EXPECT_EQ(core->objectForKey("new"), Value::array({"first"}));
}

TEST_F(Statistics, CountersAndFlags) {
    Ref<YBXStatistics> stats = YBXStatistics::make();
    stats->incrementParameterCount("views");
    stats->incrementParameterCount("views");
    EXPECT_EQ(stats->valueForParameter("views"), 2u);
    stats->resetParameterCount("views");
    EXPECT_EQ(stats->statistics()->objectForKey("views"), Value(0));
    stats->setFlagWithParameterName("seen");
    EXPECT_EQ(stats->valueForParameter("seen"), 1u);
    stats->resetFlagWithParameterName("seen");
    EXPECT_TRUE(stats->statistics()->objectForKey("seen").isNil());
    EXPECT_TRUE(sel::allTimingNames(objc_getClass("YBXStatistics")).isNil());
    EXPECT_TRUE(sel::parameters(stats.get()).isNil());

    Ref<YBXTiming> first = stats->startTimingNamed("load", false);
    platform::testing::advance(1);
    Ref<YBXTiming> second = stats->startTimingNamed("load", true);
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(stats->timingNamed("load").get(), second.get());
    EXPECT_TRUE(second->explicitEnd());
    stats->endTimingNamed("load");
    EXPECT_FALSE(second->isActive());
    stats->removeTimingNamed("load");
    EXPECT_FALSE(stats->timingNamed("load"));
}

TEST_F(Statistics, AdapterTimingsAndExitCodesJoinForThePings) {
    Ref<YBXSlotStatistics> slot = YBXSlotStatistics::make();
    EXPECT_TRUE(slot->adapterDurationsParameter().isNil());
    EXPECT_TRUE(slot->adapterExitCodesParameter().isNil());
    slot->startTimingAdapter();
    platform::testing::advance(0.12);
    slot->endTimingAdapterWithExitCode(0);
    slot->startTimingAdapter();
    platform::testing::advance(0.035);
    sel::endTimingAdapterWithExitCode_(slot.get(), 1);
    EXPECT_EQ(slot->adapterDurationsParameter(), Value("120,35"));
    EXPECT_EQ(sel::adapterExitCodesParameter(slot.get()), Value("0,1"));
    slot->resetTimingAdapters();
    EXPECT_TRUE(slot->adapterDurationsParameter().isNil());
    EXPECT_TRUE(slot->adapterExitCodesParameter().isNil());
}

TEST_F(Statistics, EachAdUnitKeepsItsOwnEntry) {
    {
        Ref<YBXSlotStatistics> first = YBXSlotStatistics::make();
        first->setIdentifier(Value("unit-a"));
        first->incrementParameterCount("views");
        first->startTimingAdapter();
        // Nothing is written before the app terminates.
        EXPECT_TRUE(stored("orvane_stats_unit-a").isNil());
        lifecycle::terminate();
        EXPECT_EQ(stored("orvane_stats_unit-a"), (Value{{"views", 1}}));
        EXPECT_EQ(stored("orvane_timing_unit-a").count(), 1u);

        // A second core of the same unit reads what the first saved.
        {
            Ref<YBXStatisticsCore> again = YBXStatisticsCore::make();
            again->setIdentifier(Value("unit-a"));
            EXPECT_EQ(again->objectForKey("views"), Value(1));
        }

        // Moving to another unit saves the old one's values under its own key first.
        first->incrementParameterCount("views");
        first->setIdentifier(Value("unit-b"));
        EXPECT_EQ(first->valueForParameter("views"), 0u);
        first->incrementParameterCount("clicks");
        EXPECT_EQ(stored("orvane_stats_unit-a"), (Value{{"views", 2}}));
    }
    // Teardown saves.
    EXPECT_EQ(stored("orvane_stats_unit-b"), (Value{{"clicks", 1}}));
    EXPECT_EQ(stored("orvane_stats_unit-a"), (Value{{"views", 2}}));
}

TEST_F(Statistics, TheFirstIdentifierMergesIntoWhatWasCounted) {
    NSUserDefaults::standardUserDefaults()->setObject(Value{{"views", 4}, {"kept", "x"}}, "orvane_stats_unit");
    Ref<YBXStatisticsCore> core = YBXStatisticsCore::make();
    core->addValue(1, "views");
    core->addValue(1, "early");
    core->setIdentifier(Value("unit"));
    EXPECT_EQ(core->objectForKey("views"), Value(4));
    EXPECT_EQ(core->objectForKey("early"), Value(1));
    EXPECT_EQ(core->objectForKey("kept"), Value("x"));
    // The same identifier again reloads nothing.
    core->addValue(1, "views");
    sel::setIdentifier_(core.get(), Value(std::string("unit")));
    EXPECT_EQ(core->objectForKey("views"), Value(5));
}

TEST_F(Statistics, WithoutAnIdentifierNothingIsSaved) {
    {
        Ref<YBXStatistics> stats = YBXStatistics::make();
        stats->incrementParameterCount("views");
        stats->startTimingNamed("load", false);
        EXPECT_TRUE(stats->statistics()->userDefaultsKey().isNil());
        lifecycle::terminate();
    }
    auto file = fs::readFile(NSUserDefaults::standardDomainPath());
    Value domain;
    if (file) {
        auto parsed = plist::parse(file.value());
        ASSERT_TRUE(parsed);
        domain = parsed.value();
    }
    for (const auto& [key, value] : domain.dictionary()) EXPECT_EQ(key.rfind("orvane_", 0), std::string::npos) << key;
    EXPECT_TRUE(stored("orvane_stats_").isNil());
}

}  // namespace
}  // namespace adlib
