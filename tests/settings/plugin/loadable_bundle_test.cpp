// The settings bundle loaded the way the Settings app loads it: its executable
// opened with dlopen after boot. This test links only the platform, so the
// pages it sees come from the loaded plug-in.
#include <gtest/gtest.h>

#include "platform/preferences/settings_app.h"
#include "platform/testing/test_environment.h"

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

TEST(LoadableBundle, OutsideTheSettingsAppItRegistersNothing) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSpringBoard, .systemVersion = "9.3"});
    ASSERT_TRUE(preferences::loadBundleExecutable(kBundle));
    EXPECT_EQ(objc_getClass("Rousa2ListController"), nullptr);
}

}  // namespace
}  // namespace platform
