// The tweak library loaded the way a host loads it: dlopen after boot. This test
// links only the platform, so the hooks it sees come from the loaded library.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fstream>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/mobiletimer/selectors.h"
#include "platform/testing/damaged_files.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

TEST(LoadableLibrary, LoadingItInstallsItsHooksInTheHostsRuntime) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSpringBoard, .systemVersion = "9.3"});
    Class* manager = objc_getClass("AlarmManager");
    ASSERT_NE(manager, nullptr);
    IMP stock = manager->lookup("addAlarm:active:")->imp;
    EXPECT_FALSE(respondsToSelector(alloc("Alarm"), "alarmId"));

    void* library = ::dlopen(ROUSA2_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    EXPECT_NE(::dlsym(library, "RousaInstallHooks"), nullptr);
    EXPECT_NE(manager->lookup("addAlarm:active:")->imp, stock);
    EXPECT_TRUE(respondsToSelector(alloc("Alarm"), "alarmId"));
    EXPECT_TRUE(log::contains("[Rousa2] ACTIVATOR INSTALLED - SUPPORT ENABLED"));

    // The loaded library keeps records through the host's platform.
    auto alarm = sel::initWithDefaultValues(alloc("Alarm"));
    sel::addAlarm_active_(sel::sharedManager(manager), alarm, true);
    Value alarmId = sel::alarmId(alarm);
    EXPECT_TRUE(alarmId.isString());
}

// A preference file damaged by another program neither stops SpringBoard
// from starting with the tweak nor takes it down at a reload.
TEST(LoadableLibrary, ADamagedPreferenceFileIsReadAtStartAndReloadWithoutAborting) {
    const std::string prefs = "/var/mobile/Library/Preferences/net.quillory.Rousa2.plist";
    host::BootOptions options{.bundleIdentifier = host::kSpringBoard, .systemVersion = "9.3"};
    for (const auto& bad : testing::damagedPropertyLists()) {
        SCOPED_TRACE(bad.name);
        testing::TestEnvironment env(options, false);
        fs::setDeviceRoot(env.root());
        fs::createDirectories(fs::dirname(prefs));
        std::ofstream(env.hostPath(prefs), std::ios::binary) << bad.bytes;
        options.deviceRoot = env.root();
        std::string result = testing::runInChild(options, [&] {
            if (!::dlopen(ROUSA2_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) return std::string("not loaded");
            CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), Value("net.quillory.Rousa2/prefsChanged"),
                                                 nullptr, Value(), true);
            RunLoop::main().runDue();
            return std::string(log::contains("[Rousa2] ACTIVATOR INSTALLED") ? "started and reloaded" : "not started");
        });
        EXPECT_EQ(result, "started and reloaded");
    }
}

}  // namespace
}  // namespace platform
