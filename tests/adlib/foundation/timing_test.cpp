#include "adlib/foundation/timing.h"

#include <gtest/gtest.h>

#include "platform/foundation/user_defaults.h"
#include "platform/uikit/application.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class Timings : public ::testing::Test {
protected:
    AdLibEnvironment env;
};

TEST_F(Timings, RunningTimingsGrowWithTheClockUntilTheyEnd) {
    Ref<YBXTiming> running = YBXTiming::make(Value("load"));
    Ref<YBXTiming> explicitEnd = YBXTiming::make(Value("adapter"));
    explicitEnd->setExplicitEnd(true);
    EXPECT_EQ(running->elapsedMilliseconds(), 0u);  // never started
    running->start();
    explicitEnd->start();
    EXPECT_TRUE(running->isActive());
    platform::testing::advance(0.25);
    EXPECT_EQ(running->elapsedMilliseconds(), 250u);
    EXPECT_EQ(explicitEnd->elapsedMilliseconds(), 0u);
    platform::testing::advance(0.5);
    EXPECT_EQ(sel::elapsedMillisecondsString(running.get()), "750");
    running->end();
    explicitEnd->end();
    EXPECT_FALSE(running->isActive());
    platform::testing::advance(5);
    EXPECT_EQ(running->elapsedMilliseconds(), 750u);
    EXPECT_EQ(explicitEnd->elapsedMilliseconds(), 750u);

    running->reset();
    EXPECT_EQ(running->startTimestamp(), 0);
    EXPECT_EQ(running->endTimestamp(), 0);
    EXPECT_EQ(running->elapsedMilliseconds(), 0u);
}

TEST_F(Timings, AnEndBeforeTheStartLeavesTheTimingUnstarted) {
    Ref<YBXTiming> t = YBXTiming::make();
    t->end();
    EXPECT_EQ(t->endTimestamp(), 0);
    EXPECT_FALSE(t->isActive());
    EXPECT_EQ(t->elapsedMilliseconds(), 0u);
    // The default name is the class and the address.
    EXPECT_EQ(t->category().rfind("YBXTiming (0x", 0), 0u) << t->category();
}

TEST_F(Timings, DictionaryFormsAndCopies) {
    Ref<YBXTiming> t = YBXTiming::make(Value("load"));
    t->start();
    platform::testing::advance(1);
    t->end();
    Value form = t->dictionaryRepresentation();
    EXPECT_EQ(form.count(), 3u);
    EXPECT_EQ(form["category"], Value("load"));
    EXPECT_EQ(form["end"].doubleValue() - form["start"].doubleValue(), 1.0);

    sel::setValue_forKey_(t.get(), Value("v"), Value("k"));
    sel::setValue_forKey_(t.get(), Value(), Value("ignored"));
    sel::setValue_forKey_(t.get(), Value("ignored"), Value());
    EXPECT_EQ(t->dictionaryRepresentation()["userData"], (Value{{"k", "v"}}));

    Ref<YBXTiming> copy = as<YBXTiming>(sel::copy(t.get()));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), t.get());
    EXPECT_EQ(copy->dictionaryRepresentation(), t->dictionaryRepresentation());
    // Each has its own user data.
    copy->setValue(Value("w"), Value("k2"));
    EXPECT_TRUE(t->valueForKey("k2").isNil());
    copy->removeValueForKey("k");
    EXPECT_EQ(copy->keysAndValues(), (Value{{"k2", "w"}}));
    EXPECT_EQ(t->keysAndValues(), (Value{{"k", "v"}}));

    // A form without user data still gives a timing that keeps what is set later.
    Ref<YBXTiming> loaded = YBXTiming::fromDictionaryRepresentation(form);
    EXPECT_EQ(loaded->elapsedMilliseconds(), 1000u);
    loaded->setValue(Value(1), Value("later"));
    EXPECT_EQ(loaded->valueForKey("later"), Value(1));
    EXPECT_NE(sel::description(loaded.get()).string().find("YBXTiming (0x"), std::string::npos);
}

TEST_F(Timings, ARunningTimingAheadOfTheCounterCountsZero) {
    // Saved by an earlier run of the app whose counter had gone further.
    Ref<YBXTiming> t = YBXTiming::fromDictionaryRepresentation(
        Value{{"category", "load"}, {"start", YBXTiming::counter() + 100}, {"end", 0.0}});
    EXPECT_EQ(t->elapsedMilliseconds(), 0u);
}

TEST_F(Timings, ManagersKeepTimingsPerIdentifier) {
    {
        Ref<YBXTimingManager> first = YBXTimingManager::make();
        first->setIdentifier(Value("unit"));
        Ref<YBXTiming> t = first->addTimingWithCategory(Value("load"));
        t->start();
        platform::testing::advance(0.12);
        t->end();
        t->setValue(Value("x"), Value("note"));
        first->addTimingWithCategory(Value("other"));
        first->removeTimingForCategory("other");
        lifecycle::terminate();
    }
    Value stored = NSUserDefaults::standardUserDefaults()->objectForKey("orvane_timing_unit");
    EXPECT_EQ(stored.count(), 1u);

    // Damaged entries are skipped.
    Value::Dictionary damaged = stored.dictionary();
    damaged["no category"] = Value{{"start", 1.0}, {"end", 2.0}};
    damaged["text start"] = Value{{"category", "text start"}, {"start", "soon"}, {"end", 2.0}};
    damaged["no form"] = Value("x");
    NSUserDefaults::standardUserDefaults()->setObject(Value(damaged), "orvane_timing_unit");

    Ref<YBXTimingManager> second = YBXTimingManager::make();
    second->setIdentifier(Value("unit"));
    EXPECT_EQ(second->categories(), Value::array({"load"}));
    Ref<YBXTiming> loaded = second->timingForCategory("load");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->elapsedMilliseconds(), 120u);
    EXPECT_EQ(loaded->valueForKey("note"), Value("x"));
}

}  // namespace
}  // namespace adlib
