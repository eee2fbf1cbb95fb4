#include "platform/host/loader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "platform/foundation/log.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

struct HostCase {
    std::string bundle;
    bool loadsTweak;
};

void PrintTo(const HostCase& c, std::ostream* os) { *os << c.bundle; }

class Loader : public ::testing::TestWithParam<HostCase> {};

TEST_P(Loader, TheFilterDecidesWhichHostsLoadTheTweak) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = GetParam().bundle, .systemVersion = "9.3"});
    auto loaded = host::loadTweakLibraries();
    EXPECT_EQ(loaded, GetParam().loadsTweak ? std::vector<std::string>{"Rousa2"} : std::vector<std::string>{});
    // The tweak's start-up ran in this process: its classes are registered here.
    EXPECT_EQ(objc_getClass("RS2Localizer") != nullptr, GetParam().loadsTweak);
}

INSTANTIATE_TEST_SUITE_P(Hosts, Loader,
                         ::testing::Values(HostCase{host::kSpringBoard, true}, HostCase{host::kClockApp, true},
                                           HostCase{host::kSettingsApp, false}),
                         [](const auto& info) { return std::string(info.param.loadsTweak ? "loads_" : "skips_") + std::to_string(info.index); });

TEST(Loader, ALoadedTweakHooksTheHostsClassesAndAStockHostStaysStock) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kClockApp, .systemVersion = "8.4"});
    Class* manager = objc_getClass("AlarmManager");
    IMP stock = manager->lookup("addAlarm:active:")->imp;
    std::string stockChild = testing::runInChild([&] {
        // Without loading: adding an alarm writes no settings record.
        auto alarm = sel::initWithDefaultValues(alloc("Alarm"));
        sel::addAlarm_active_(sel::sharedManager(manager), alarm, true);
        return std::string(manager->lookup("addAlarm:active:")->imp == stock ? "stock" : "hooked");
    });
    EXPECT_EQ(stockChild, "stock");
    host::loadTweakLibraries();
    EXPECT_NE(manager->lookup("addAlarm:active:")->imp, stock);
}

std::string run(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string out;
    char buf[512];
    while (pipe && std::fgets(buf, sizeof buf, pipe.get())) out += buf;
    return out;
}

TEST(HostProgram, LaunchesWithTheTweaksItsFilterNames) {
    std::string root = testing::makeDeviceRoot();
    std::string clock = run(std::string(ROUSA_HOST_PROGRAM) + " --host clock --ios 8.1 --root " + root + " --exit-after-launch");
    EXPECT_NE(clock.find("loaded: Rousa2\n"), std::string::npos) << clock;
    EXPECT_EQ(clock.find("ACTIVATOR INSTALLED"), std::string::npos) << clock;
    std::string settings = run(std::string(ROUSA_HOST_PROGRAM) + " --host settings --root " + root + " --exit-after-launch");
    EXPECT_NE(settings.find("loaded:\n"), std::string::npos) << settings;
    EXPECT_NE(run(std::string(ROUSA_HOST_PROGRAM) + " --host nowhere 2>&1; echo status=$?").find("status=2"), std::string::npos);
    testing::removeDeviceRoot(root);
}

}  // namespace
}  // namespace platform
