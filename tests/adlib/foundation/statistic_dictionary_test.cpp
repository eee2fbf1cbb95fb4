#include "adlib/foundation/statistic_dictionary.h"

#include <gtest/gtest.h>

#include <string>

#include "adlib/foundation/utilities.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

// A delegate that names a queue of the test's and counts what it is told.
class Listener : public NSObject {
public:
    dispatch_queue_t queue = nullptr;
    int updates = 0;
    Object* lastUpdated = nullptr;
};

void registerListener() {
    ClassBuilder<Listener>("TestStatisticsListener", "NSObject")
        .method(sel::notificationQueue, [](id self) { return as<Listener>(self)->queue; })
        .method(sel::didUpdateStatisticDictionary_, [](id self, id dictionary) {
            as<Listener>(self)->updates++;
            as<Listener>(self)->lastUpdated = dictionary;
        });
}

// Blocks run only when the test drains a queue, so the order is the test's.
class StatisticDictionaries : public ::testing::Test {
protected:
    StatisticDictionaries() {
        dispatch::setMode(dispatch::Mode::manual);
        registerListener();
        listener = as<Listener>(alloc("TestStatisticsListener"));
        listener->queue = listenerQueue;
        stats = YBXStatisticDictionary::make(listener.get());
    }
    // Runs what the dictionary has queued (a read waits for every earlier block),
    // then what it queued meanwhile, then the listener's queue.
    void deliver() {
        stats->objectForKey("");
        stats->objectForKey("");
        dispatch::drainAll(listenerQueue);
    }

    AdLibEnvironment env;
    dispatch_queue_t listenerQueue = dispatch_queue_create("test.listener", DISPATCH_QUEUE_SERIAL);
    Ref<Listener> listener;
    Ref<YBXStatisticDictionary> stats;
};

TEST_F(StatisticDictionaries, ABurstOfChangesIsToldOnce) {
    for (int i = 0; i < 3; ++i) sel::incrementNumberForKey_shouldNotifyDelegate_(stats.get(), "n", true);
    deliver();
    EXPECT_EQ(listener->updates, 1);
    EXPECT_EQ(listener->lastUpdated, stats.get());
    EXPECT_EQ(stats->objectForKey("n"), Value(Decimal(3, 0, false)));

    // Changes that do not ask to notify are not told.
    stats->setObject(Value("quiet"), "s", false);
    deliver();
    EXPECT_EQ(listener->updates, 1);

    sel::incrementNumberForKey_shouldNotifyDelegate_(stats.get(), "n", true);
    deliver();
    EXPECT_EQ(listener->updates, 2);
}

TEST_F(StatisticDictionaries, NoDelegateOrNoQueueTellsNobody) {
    listener->queue = nullptr;
    stats->incrementNumberForKey("n", true);
    deliver();
    EXPECT_EQ(listener->updates, 0);

    Ref<YBXStatisticDictionary> alone = YBXStatisticDictionary::make();
    alone->incrementNumberForKey("n", true);
    alone->objectForKey("");
    EXPECT_EQ(alone->objectForKey("n"), Value(Decimal::one()));
}

TEST_F(StatisticDictionaries, FinishingDeliversWhatIsOnItsWayThenFreezes) {
    stats->incrementNumberForKey("n", true);
    stats->didFinishModifying();
    // Told before didFinishModifying returned, without the test draining anything.
    EXPECT_EQ(listener->updates, 1);
    EXPECT_FALSE(stats->delegate());

    stats->incrementNumberForKey("n", true);
    stats->setObject(Value("late"), "s", true);
    stats->addObjectToArray(Value(1), "a", true);
    deliver();
    EXPECT_EQ(listener->updates, 1);
    EXPECT_EQ(stats->objectForKey("n"), Value(Decimal::one()));
    EXPECT_EQ(stats->dictionary(), (Value{{"n", Value(Decimal::one())}}));
}

TEST_F(StatisticDictionaries, ChangesFollowTheKindOfTheValue) {
    enum class Op { increment, decrement, addHalf, append };
    struct Case {
        const char* name;
        Value before;  // nil: the key is absent
        Op op;
        Value after;
        bool decimal;
    } cases[] = {
        {"plain number is no counter", Value(5), Op::increment, Value(5), false},
        {"absent becomes decimal one", Value(), Op::increment, Value(Decimal::one()), true},
        {"absent decrements to minus one", Value(), Op::decrement, ybx_negativeOne(), true},
        {"decimal adds exactly", Value(Decimal(2, 0, false)), Op::addHalf, Value(Decimal(25, -1, false)), true},
        {"string is no counter", Value("s"), Op::increment, Value("s"), false},
        {"array is appended to", Value::array({Value(1)}), Op::append, Value::array({Value(1), Value(2)}), false},
        {"absent becomes a new array", Value(), Op::append, Value::array({Value(2)}), false},
        {"string is no array", Value("s"), Op::append, Value("s"), false},
        {"number is no array", Value(Decimal::one()), Op::append, Value(Decimal::one()), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<YBXStatisticDictionary> d = YBXStatisticDictionary::make();
        if (!c.before.isNil()) d->setObject(c.before, "k", false);
        switch (c.op) {
            case Op::increment: d->incrementNumberForKey("k", false); break;
            case Op::decrement: d->decrementNumberForKey("k", false); break;
            case Op::addHalf: d->addDecimalNumber(Value(Decimal(5, -1, false)), "k", false); break;
            case Op::append: d->addObjectToArray(Value(2), "k", false); break;
        }
        Value after = d->objectForKey("k");
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(after.isDecimal(), c.decimal);
    }
}

TEST_F(StatisticDictionaries, SnapshotsKeepTheirArrays) {
    stats->addObjectToArray(Value("first"), "tclick", false);
    Value snapshot = stats->dictionary();
    stats->addObjectToArray(Value("second"), "tclick", false);
    stats->setObject(Value(1), "other", false);
    EXPECT_EQ(snapshot, (Value{{"tclick", Value::array({Value("first")})}}));
    EXPECT_EQ(stats->objectForKey("tclick").count(), 2u);
}

TEST_F(StatisticDictionaries, TheSubscriptFormsAndTheDescription) {
    sel::setObject_forKeyedSubscript_(stats.get(), Value("v"), "k");
    EXPECT_EQ(sel::objectForKeyedSubscript_(stats.get(), "k"), Value("v"));
    deliver();
    EXPECT_EQ(listener->updates, 0);

    std::string text = sel::description(stats.get()).string();
    EXPECT_NE(text.find("<YBXStatisticDictionary: 0x"), std::string::npos) << text;
    EXPECT_NE(text.find("\nqueue: com.orvane.marlex.statistics\nstatistics: {"), std::string::npos) << text;
    EXPECT_NE(text.find("\"k\" : \"v\""), std::string::npos) << text;

    Ref<Object> labelled = sel::initWithQueueLabel_delegate_(alloc("YBXStatisticDictionary"), "test.label", nullptr);
    EXPECT_NE(sel::description(labelled.get()).string().find("queue: test.label"), std::string::npos);
}

}  // namespace
}  // namespace adlib
