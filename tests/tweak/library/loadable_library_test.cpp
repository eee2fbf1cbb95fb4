// The tweak library loaded the way a host loads it: dlopen after boot. This test
// links only the platform, so the hooks it sees come from the loaded library.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/foundation/log.h"
#include "platform/mobiletimer/selectors.h"
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

}  // namespace
}  // namespace platform
