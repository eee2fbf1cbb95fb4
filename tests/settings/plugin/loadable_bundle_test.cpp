// The settings bundle loaded the way the Settings app loads it: its executable
// opened with dlopen after boot. This test links only the platform, so the
// pages it sees come from the loaded plug-in.
#include <gtest/gtest.h>

#include "platform/foundation/run_loop.h"
#include "platform/host/application_classes.h"
#include "platform/host/user_actions.h"
#include "platform/preferences/settings_app.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"

namespace platform {
namespace {

constexpr const char* kBundle = "/Library/PreferenceBundles/Rousa2.bundle";

TEST(LoadableBundle, TheSettingsAppLoadsItAndOpensTheRootPageWithItsRows) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSettingsApp, .systemVersion = "9.3"});
    EXPECT_EQ(objc_getClass("Rousa2ListController"), nullptr);
    ASSERT_TRUE(preferences::loadBundleExecutable(kBundle));
    ASSERT_NE(objc_getClass("Rousa2ListController"), nullptr);
    ASSERT_NE(objc_getClass("RS2Localizer"), nullptr);

    Ref<PSListController> root = preferences::openBundle(kBundle, "Rousa 2");
    ASSERT_TRUE(root);
    EXPECT_EQ(sel::topViewController(preferences::rootNavigationController()).get(), root.get());
    // The first section's links, named in the bundle's own words.
    ASSERT_GE(sel::tableView_numberOfRowsInSection_(root, root->table_, 0), 4);
    std::vector<std::string> names;
    for (long long row = 0; row < 4; ++row) {
        Ref<Object> cell = sel::tableView_cellForRowAtIndexPath_(root, root->table_, NSIndexPath::make(0, row));
        names.push_back(sel::text(sel::textLabel(cell)).string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Configuration", "Time until the alarm", "New alarms", "Activator actions"}));
    // The root page shows the bundle's title image in the navigation bar.
    EXPECT_TRUE(isKindOfClass(sel::titleView(sel::navigationItem(root)), "UIImageView"));
}

TEST(LoadableBundle, ATapOnItsRowInTheSettingsAppLoadsItAndOpensItsRootPage) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSettingsApp, .systemVersion = "9.3"});
    host::ApplicationClasses classes = host::applicationClassesFor(host::kSettingsApp);
    UIApplicationMain(0, nullptr, classes.principalClassName, classes.delegateClassName);
    RunLoop::main().advance(0);
    EXPECT_EQ(objc_getClass("Rousa2ListController"), nullptr);

    ASSERT_EQ(host::tapItemShowing("Rousa 2"), "");
    ASSERT_NE(objc_getClass("Rousa2ListController"), nullptr);
    Ref<Object> root = sel::topViewController(preferences::rootNavigationController());
    ASSERT_TRUE(isKindOfClass(root, "Rousa2ListController"));
    RunLoop::main().advance(0);
    // The bar shows the page's title image in its middle.
    Ref<Object> titleView = sel::titleView(sel::navigationItem(root));
    ASSERT_TRUE(isKindOfClass(titleView, "UIImageView"));
    EXPECT_EQ(sel::superview(titleView).get(), sel::navigationBar(preferences::rootNavigationController()).get());
    // Its rows are on the screen, and Back leads to the Settings list again.
    ASSERT_EQ(host::tapItemShowing("Configuration"), "");
    RunLoop::main().advance(0);
    EXPECT_NE(sel::topViewController(preferences::rootNavigationController()).get(), root.get());
    ASSERT_EQ(host::tapItemShowing("Back"), "");
    ASSERT_EQ(host::tapItemShowing("Back"), "");
    EXPECT_TRUE(isKindOfClass(sel::topViewController(preferences::rootNavigationController()), "PrefsListController"));
}

TEST(LoadableBundle, OutsideTheSettingsAppItRegistersNothing) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSpringBoard, .systemVersion = "9.3"});
    ASSERT_TRUE(preferences::loadBundleExecutable(kBundle));
    EXPECT_EQ(objc_getClass("Rousa2ListController"), nullptr);
}

}  // namespace
}  // namespace platform
