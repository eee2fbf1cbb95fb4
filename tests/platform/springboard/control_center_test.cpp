#include <gtest/gtest.h>

#include "platform/runtime/call_log.h"
#include "platform/springboard/device.h"
#include "platform/springboard/selectors.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"

namespace platform {
namespace {

TEST(ControlCenter, TheTimerShortcutOpensTheClockAppOnItsTimer) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSpringBoard});
    device::pressControlCenterTimer();
    EXPECT_EQ(callLog::lines("SBCCTimerShortcut"),
              std::vector<std::string>{"SBCCTimerShortcut activateAppWithDisplayID:url: com.apple.mobiletimer clock-timer:default"});
    EXPECT_EQ(UIApplication::sharedApplication()->openedURLs_, std::vector<Value>{Value("clock-timer:default")});
    sel::glyphImageForState_(newObject("SBCCTimerShortcut"), 1);
    EXPECT_EQ(callLog::count("SBCCTimerShortcut", "glyphImageForState:"), 1);
}

}  // namespace
}  // namespace platform
