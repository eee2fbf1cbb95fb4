#include "platform/host/application_classes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"

namespace platform {
namespace {

struct HostCase {
    const char* bundleIdentifier;
    std::set<std::string> missingClasses;
    std::string want;  // "principal delegate", "-" for nil
};

std::string describe(const host::ApplicationClasses& c) {
    return c.principalClassName.stringOr("-") + " " + c.delegateClassName.stringOr("-");
}

TEST(ApplicationClasses, EachHostNamesItsOwnClassesAndLeavesOutWhatItLacks) {
    const HostCase cases[] = {
        {host::kSpringBoard, {}, "SpringBoard -"},
        {host::kClockApp, {}, "- MobileTimerAppDelegate"},
        {host::kSettingsApp, {}, "- PreferencesAppDelegate"},
        {"com.example.other", {}, "- -"},
        {host::kSpringBoard, {"SpringBoard"}, "- -"},
        {host::kClockApp, {"MobileTimerAppDelegate"}, "- -"},
        {host::kSettingsApp, {"PreferencesAppDelegate"}, "- -"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bundleIdentifier) + (c.missingClasses.empty() ? "" : " without " + *c.missingClasses.begin()));
        // A device root and the virtual clock for the child, which boots as the host.
        testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = c.bundleIdentifier, .systemVersion = "9.3", .missingClasses = c.missingClasses},
                                     false);
        std::string got = testing::runInChild(env.options(), [id = std::string(c.bundleIdentifier)] {
            host::ApplicationClasses classes = host::applicationClassesFor(id);
            // What UIApplicationMain makes of them launches.
            UIApplicationMain(0, nullptr, classes.principalClassName, classes.delegateClassName);
            Ref<Object> delegate = sel::delegate(UIApplication::sharedApplication());
            return describe(classes) + " | " + object_getClass(UIApplication::sharedApplication())->name() + " " +
                   (delegate ? object_getClass(delegate)->name() : std::string("-"));
        });
        std::string principal = c.want.substr(0, c.want.find(' ')), delegate = c.want.substr(c.want.find(' ') + 1);
        EXPECT_EQ(got, c.want + " | " + (principal == "-" ? "UIApplication" : principal) + " " + delegate);
    }
}

}  // namespace
}  // namespace platform
