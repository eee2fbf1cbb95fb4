#include "settings/settings.h"

#include "settings_fixture.h"
#include "tweak/engine/installer.h"

namespace rousa {
namespace {

TEST(SettingsStartUp, OpensTheBundleSetsTheDigitsAndRegistersThePages) {
    platform::testing::TestEnvironment env(testing::settingsApp());
    EXPECT_FALSE(settingsBundle);
    EXPECT_TRUE(digitCharacterSet.empty());
    startSettingsBundle();
    ASSERT_TRUE(settingsBundle);
    EXPECT_EQ(settingsBundle->bundlePath(), kRousaBundlePath);
    EXPECT_EQ(digitCharacterSet, "1234567890");
    for (const auto& p : testing::kPages) EXPECT_TRUE(isKindOfClass(newObject(p.className), "Rousa2BaseController")) << p.className;
    EXPECT_TRUE(isKindOfClass(newObject("RS2ListItemsController"), "PSListItemsController"));
    EXPECT_TRUE(isKindOfClass(newObject("ResigningTextCell"), "PSEditableTableCell"));
    EXPECT_TRUE(RS2Localizer::sharedLocalizer());
}

TEST(SettingsStartUp, UsesTheLocalizerClassThatTheProcessHasAlready) {
    platform::testing::TestEnvironment env(testing::settingsApp());
    registerLocalizerClass();
    Class* localizer = objc_getClass("RS2Localizer");
    startSettingsBundle();
    EXPECT_EQ(objc_getClass("RS2Localizer"), localizer);
    EXPECT_EQ(RS2Localizer::sharedLocalizer()->localizedStringForKey("CREDITS"), "Credits");
}

TEST(SettingsStartUp, WithoutTheSettingsFrameworkItDoesNothing) {
    platform::testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kClockApp});
    startSettingsBundle();
    EXPECT_EQ(objc_getClass("Rousa2BaseController"), nullptr);
    EXPECT_FALSE(settingsBundle);
}

}  // namespace
}  // namespace rousa
