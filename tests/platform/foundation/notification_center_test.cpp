#include "platform/foundation/notification_center.h"

#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class Listener : public NSObject {
public:
    std::vector<std::string> heard;
};
inline constexpr Sel<void(id, id)> heard_{"heard:"};
inline constexpr Sel<void(id)> poked{"poked"};

class Notifications : public ::testing::Test {
protected:
    testing::TestEnvironment env;
    void SetUp() override {
        ClassBuilder<Listener>("Listener", "NSObject")
            .method(heard_, [](id self, id n) { as<Listener>(self)->heard.push_back(as<NSNotification>(n)->name()); })
            .method(poked, [](id self) { as<Listener>(self)->heard.push_back("poked"); });
    }
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
};

TEST_F(Notifications, PostsReachMatchingObserversAtOnce) {
    auto a = alloc("Listener"), b = alloc("Listener");
    auto sender = alloc("NSObject");
    center->addObserver(a, heard_, "X", Value());
    center->addObserver(b, poked, "", Value(sender));
    center->postNotificationName("X", Value());
    center->postNotificationName("Y", Value(sender));
    EXPECT_EQ(as<Listener>(a)->heard, (std::vector<std::string>{"X"}));
    EXPECT_EQ(as<Listener>(b)->heard, (std::vector<std::string>{"poked"}));
}

TEST_F(Notifications, ObserversAreNotRetainedAndGoneOnesAreSkipped) {
    WeakRef<Object> weak;
    {
        auto a = alloc("Listener");
        weak = a.get();
        center->addObserver(a, heard_, "X", Value());
    }
    EXPECT_FALSE(weak.lock());
    center->postNotificationName("X", Value());
}

TEST_F(Notifications, TheObjectAnObserverFiltersOnIsNotRetained) {
    auto a = alloc("Listener");
    WeakRef<Object> weak;
    {
        auto sender = alloc("Listener");
        weak = sender.get();
        // An object observing its own notifications must still be able to go.
        center->addObserver(sender, heard_, "X", Value(sender));
        center->addObserver(a, heard_, "X", Value(sender));
        center->postNotificationName("X", Value(sender));
        center->postNotificationName("X", Value(alloc("NSObject")));
        center->postNotificationName("X", Value("text"));
        EXPECT_EQ(as<Listener>(a)->heard, (std::vector<std::string>{"X"}));
        center->removeObserver(a, "X", Value(alloc("NSObject")));  // another object: not this entry
        center->postNotificationName("X", Value(sender));
        EXPECT_EQ(as<Listener>(a)->heard.size(), 2u);
        center->removeObserver(a, "X", Value(sender));
        center->postNotificationName("X", Value(sender));
        EXPECT_EQ(as<Listener>(a)->heard.size(), 2u);
    }
    EXPECT_FALSE(weak.lock());
}

TEST_F(Notifications, RemovalAndAdditionDuringAPostAreSafe) {
    auto a = alloc("Listener"), b = alloc("Listener");
    int blockCalls = 0;
    center->addObserverForName("X", Value(), [&](NSNotification*) {
        ++blockCalls;
        center->removeObserver(b);
        center->addObserver(a, heard_, "X", Value());
    });
    center->addObserver(b, heard_, "X", Value());
    center->postNotificationName("X", Value());
    EXPECT_TRUE(as<Listener>(b)->heard.empty());
    EXPECT_EQ(blockCalls, 1);
}

TEST_F(Notifications, DistributedPostsArriveOnTheMainLoopAndAreForwarded) {
    auto a = alloc("Listener");
    auto* distributed = NSDistributedNotificationCenter::defaultCenter();
    distributed->addObserver(a, heard_, "net.quillory.turnOffAlarms", Value());
    std::vector<std::string> forwarded;
    crossProcess::setForwarder([&](std::string_view center, std::string_view name, const Value&, const Value&) {
        forwarded.push_back(std::string(center) + " " + std::string(name));
    });
    distributed->postNotificationName("net.quillory.turnOffAlarms", Value());
    EXPECT_TRUE(as<Listener>(a)->heard.empty());
    RunLoop::main().runDue();
    EXPECT_EQ(as<Listener>(a)->heard, (std::vector<std::string>{"net.quillory.turnOffAlarms"}));
    EXPECT_EQ(forwarded, (std::vector<std::string>{"distributed net.quillory.turnOffAlarms"}));
    crossProcess::setForwarder(nullptr);
}

}  // namespace
}  // namespace platform
