#include "adlib/pipeline/network.h"

#include <gtest/gtest.h>

#include <string>

#include "adlib/foundation/device.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/reachability.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

class NetworkMonitor : public ::testing::Test {
protected:
    NetworkMonitor() { monitor = as<YBXNetwork>(newObject("YBXNetwork").get()); }
    ~NetworkMonitor() override {
        if (monitor) monitor->disableNetworkChecking();
    }
    // The reachability callbacks arrive on the monitor's enable queue.
    bool waitForType(unsigned long long type) {
        return RunLoop::main().runUntil([&] { return monitor->networkType() == type; }, 10);
    }

    AdLibEnvironment env;
    Ref<YBXNetwork> monitor;
};

TEST_F(NetworkMonitor, FlagsGiveTheType) {
    struct Case {
        const char* name;
        SCNetworkReachabilityFlags flags;
        unsigned long long type;
    } cases[] = {
        {"none", 0, YBXNetworkTypeNotReachable},
        {"reachable", kSCNetworkReachabilityFlagsReachable, YBXNetworkTypeWiFi},
        {"reachable, transient", kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsTransientConnection, YBXNetworkTypeWiFi},
        {"reachable over WWAN", kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN, YBXNetworkTypeCellular},
        {"WWAN without reachable is offline", kSCNetworkReachabilityFlagsIsWWAN, YBXNetworkTypeNotReachable},
        {"connection required only", kSCNetworkReachabilityFlagsConnectionRequired, YBXNetworkTypeNotReachable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(YBXNetworkTypeFromFlags(c.flags), c.type);
        sel::setNetworkTypeFromFlags_(monitor.get(), c.flags);
        EXPECT_EQ(sel::networkType(monitor.get()), c.type);
    }
    EXPECT_EQ(YBXNetworkTypeString(YBXNetworkTypeWiFi), Value("wi"));
    EXPECT_EQ(YBXNetworkTypeString(YBXNetworkTypeCellular), Value("ed"));
    EXPECT_TRUE(YBXNetworkTypeString(YBXNetworkTypeNotReachable).isNil());
    EXPECT_TRUE(YBXNetworkTypeString(YBXNetworkTypeUnknown).isNil());
}

TEST_F(NetworkMonitor, TypeChangesAreCountedAndTheLastKnownTypeKept) {
    struct Step {
        unsigned long long to;
        unsigned long long changes;
        const char* net;
        const char* netLast;
    } steps[] = {
        {2, 1, "wi", "wi"},
        {1, 2, nullptr, "wi"},  // Wi-Fi to not reachable: one change, "net_last" stays
        {3, 3, "ed", "ed"},
        {3, 3, "ed", "ed"},  // unchanged
        {0, 3, nullptr, "ed"},  // to unknown counts nothing
        {0, 3, nullptr, "ed"},
        {2, 4, "wi", "wi"},
    };
    EXPECT_EQ(sel::changeCount(monitor.get()), 0u);
    for (const auto& s : steps) {
        SCOPED_TRACE(s.to);
        sel::setNetworkType_(monitor.get(), s.to);
        EXPECT_EQ(sel::networkType(monitor.get()), s.to);
        EXPECT_EQ(sel::changeCount(monitor.get()), s.changes);
        EXPECT_EQ(sel::networkTypeString(monitor.get()), s.net ? Value(s.net) : Value());
        EXPECT_EQ(sel::lastKnownNetworkTypeString(monitor.get()), Value(s.netLast));
    }
}

TEST_F(NetworkMonitor, CheckingFollowsReachabilityUntilDisabled) {
    EXPECT_FALSE(monitor->isNetworkCheckingEnabled());
    monitor->enableNetworkChecking();
    monitor->enableNetworkChecking();  // a second enable keeps the one handle
    EXPECT_TRUE(monitor->isNetworkCheckingEnabled());
    ASSERT_TRUE(waitForType(YBXNetworkTypeWiFi));
    network::setConnectivity(network::Connectivity::cellular);
    ASSERT_TRUE(waitForType(YBXNetworkTypeCellular));
    network::setConnectivity(network::Connectivity::none);
    ASSERT_TRUE(waitForType(YBXNetworkTypeNotReachable));
    EXPECT_EQ(monitor->changeCount(), 3u);  // one handle: each change heard once
    EXPECT_EQ(monitor->lastKnownNetworkType(), YBXNetworkTypeCellular);

    monitor->disableNetworkChecking();
    monitor->disableNetworkChecking();
    EXPECT_FALSE(monitor->isNetworkCheckingEnabled());
    EXPECT_EQ(monitor->networkType(), YBXNetworkTypeUnknown);
    EXPECT_EQ(monitor->changeCount(), 3u);
    // Nothing more is heard once disabled.
    network::setConnectivity(network::Connectivity::wifi);
    RunLoop::main().runUntil([] { return false; }, 0.2);
    EXPECT_EQ(monitor->networkType(), YBXNetworkTypeUnknown);

    // It can be enabled again.
    monitor->enableNetworkChecking();
    ASSERT_TRUE(waitForType(YBXNetworkTypeWiFi));
    EXPECT_EQ(monitor->changeCount(), 4u);
}

TEST_F(NetworkMonitor, ACheckingMonitorKeepsItselfUntilDisabled) {
    WeakRef<YBXNetwork> weak(monitor.get());
    monitor->enableNetworkChecking();
    Ref<YBXNetwork> held = std::move(monitor);
    held = nullptr;
    Ref<YBXNetwork> alive = weak.lock();
    ASSERT_TRUE(alive);
    alive->disableNetworkChecking();
    alive = nullptr;
    // Blocks still queued on the lock queue hold it until they have run.
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return !weak.lock(); }, 10));
}

TEST_F(NetworkMonitor, TheDeviceStartsOneForTheRequests) {
    Ref<Object> network = sel::network(YBXDevice::currentDevice());
    ASSERT_TRUE(as<YBXNetwork>(network.get()));
    EXPECT_TRUE(sel::isNetworkCheckingEnabled(network.get()));
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return sel::networkTypeString(network.get()) == Value("wi"); }, 10));
}

}  // namespace
}  // namespace adlib
