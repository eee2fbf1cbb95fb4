#include "platform/network/reachability.h"

#include <gtest/gtest.h>

#include <netinet/in.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

// What a target's callback heard: its flags and whether it came on the queue.
struct Heard {
    std::mutex mutex;
    std::vector<std::string> calls;
    dispatch_queue_t queue = nullptr;
    int retains = 0;
    int releases = 0;
    std::vector<std::string> snapshot() {
        std::lock_guard lock(mutex);
        return calls;
    }
    bool has(std::size_t count) { return snapshot().size() >= count; }
};

void heard(SCNetworkReachability*, SCNetworkReachabilityFlags flags, void* info) {
    auto* h = static_cast<Heard*>(info);
    std::lock_guard lock(h->mutex);
    h->calls.push_back(std::to_string(flags) + (dispatch_queue_is_current(h->queue) ? " on queue" : " elsewhere"));
}

SCNetworkReachabilityContext contextFor(Heard* h) {
    SCNetworkReachabilityContext context;
    context.info = h;
    context.retain = [](const void* info) -> const void* {
        ++static_cast<Heard*>(const_cast<void*>(info))->retains;
        return info;
    };
    context.release = [](const void* info) { ++static_cast<Heard*>(const_cast<void*>(info))->releases; };
    return context;
}

std::string flagsText(SCNetworkReachabilityFlags flags) { return std::to_string(flags) + " on queue"; }

bool waitFor(const std::function<bool()>& done) { return RunLoop::main().runUntil(done, 10); }

TEST(Reachability, AChangeOfTheDevicesNetworkCallsBackOnTheTargetsQueue) {
    testing::TestEnvironment env;
    const auto wifi = kSCNetworkReachabilityFlagsReachable;
    const auto cellular = kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN;
    Heard h;
    h.queue = dispatch_queue_create("test.reachability", DISPATCH_QUEUE_SERIAL);
    {
        SCNetworkReachabilityRef target = SCNetworkReachabilityCreateWithName(nullptr, "ads.example");
        ASSERT_TRUE(target);
        SCNetworkReachabilityFlags flags = 99;
        ASSERT_TRUE(SCNetworkReachabilityGetFlags(target.get(), &flags));
        EXPECT_EQ(flags, wifi);

        // Scheduled, a name target hears its flags once.
        ASSERT_TRUE(SCNetworkReachabilitySetDispatchQueue(target.get(), h.queue));
        auto context = contextFor(&h);
        ASSERT_TRUE(SCNetworkReachabilitySetCallback(target.get(), &heard, &context));
        ASSERT_TRUE(waitFor([&] { return h.has(1); }));

        network::setConnectivity(network::Connectivity::none);
        ASSERT_TRUE(waitFor([&] { return h.has(2); }));
        ASSERT_TRUE(SCNetworkReachabilityGetFlags(target.get(), &flags));
        EXPECT_EQ(flags, 0u);
        network::setConnectivity(network::Connectivity::none);  // no change: no call
        network::setConnectivity(network::Connectivity::cellular);
        ASSERT_TRUE(waitFor([&] { return h.has(3); }));
        EXPECT_EQ(h.snapshot(), (std::vector<std::string>{flagsText(wifi), flagsText(0), flagsText(cellular)}));

        // Unscheduled, it hears nothing more.
        ASSERT_TRUE(SCNetworkReachabilitySetDispatchQueue(target.get(), nullptr));
        network::setConnectivity(network::Connectivity::wifi);
        dispatch_sync(h.queue, [] {});
        EXPECT_EQ(h.snapshot().size(), 3u);
        EXPECT_EQ(h.retains, 1);
        EXPECT_EQ(h.releases, 0);
    }
    // The target went: its info is let go.
    EXPECT_EQ(h.releases, 1);
}

TEST(Reachability, AnAddressTargetHearsOnlyChanges) {
    host::BootOptions options;
    options.connectivity = network::Connectivity::cellular;
    testing::TestEnvironment env(options);
    Heard h;
    h.queue = dispatch_queue_create("test.reachability", DISPATCH_QUEUE_SERIAL);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    SCNetworkReachabilityRef target = SCNetworkReachabilityCreateWithAddress(nullptr, reinterpret_cast<sockaddr*>(&address));
    ASSERT_TRUE(target);
    SCNetworkReachabilityFlags flags = 0;
    ASSERT_TRUE(SCNetworkReachabilityGetFlags(target.get(), &flags));
    EXPECT_EQ(flags, kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN);
    SCNetworkReachabilityContext context{0, &h, nullptr, nullptr, nullptr};
    ASSERT_TRUE(SCNetworkReachabilitySetCallback(target.get(), &heard, &context));
    ASSERT_TRUE(SCNetworkReachabilitySetDispatchQueue(target.get(), h.queue));
    dispatch_sync(h.queue, [] {});
    EXPECT_TRUE(h.snapshot().empty());
    network::setConnectivity(network::Connectivity::wifi);
    ASSERT_TRUE(waitFor([&] { return h.has(1); }));
    EXPECT_EQ(h.snapshot(), std::vector<std::string>{flagsText(kSCNetworkReachabilityFlagsReachable)});
    EXPECT_FALSE(SCNetworkReachabilityCreateWithName(nullptr, nullptr));
    EXPECT_FALSE(SCNetworkReachabilityGetFlags(nullptr, &flags));
}

}  // namespace
}  // namespace platform
