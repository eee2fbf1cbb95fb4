#include "tweak/engine/localizer.h"

#include <fstream>

#include "engine_fixture.h"
#include "platform/foundation/file_system.h"
#include "platform/preferences/specifier.h"
#include "tweak/engine/installer.h"

namespace rousa {
namespace {

class Localizer : public ::testing::Test {
protected:
    Localizer() : env(testing::bootFor(host::kSettingsApp, "9.3")) { registerTweakClasses(); }
    Ref<Object> specifier(Value name, Value footer, Value titles) {
        auto s = alloc("PSSpecifier");
        sel::setName_(s, name);
        sel::setProperty_forKey_(s, footer, Value("footerText"));
        sel::setTitleDictionary_(s, titles);
        return s;
    }
    platform::testing::TestEnvironment env;
};

TEST_F(Localizer, TextsComeFromTheBundlesTablesAndFallBackToTheKey) {
    RS2Localizer* l = RS2Localizer::sharedLocalizer();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l, RS2Localizer::sharedLocalizer());
    EXPECT_EQ(l->localizedStringForKey("CLONE"), "Clone");
    EXPECT_EQ(l->localizedStringForKey("NO_SUCH_KEY"), "NO_SUCH_KEY");
    EXPECT_EQ(l->localizedStringForKey("CLONE", Value("NoSuchTable")), "CLONE");
}

TEST_F(Localizer, AMissingBundleGivesTheKey) {
    platform::testing::removeDeviceRoot(env.root() + "/Library/PreferenceBundles");
    EXPECT_EQ(RS2Localizer::sharedLocalizer()->localizedStringForKey("CLONE"), "CLONE");
}

TEST_F(Localizer, SpecifiersAreLocalizedInPlace) {
    auto plain = alloc("PSSpecifier");
    auto full = specifier(Value("CLONE"), Value("POPUP_OK"),
                          Value(Value::Dictionary{{"1", Value("LABEL_SECONDS")}, {"2", Value("not a key")}, {"3", Value(42)}}));
    Value list = Value::array({Value(plain), Value(full)});
    Value result = RS2Localizer::sharedLocalizer()->localizedSpecifiersForSpecifiers(list);
    EXPECT_EQ(result.at(0).object(), plain.get());
    EXPECT_EQ(result.at(1).object(), full.get());
    EXPECT_TRUE(sel::name(plain).isNil());
    EXPECT_TRUE(sel::propertyForKey_(plain, Value("footerText")).isNil());
    EXPECT_TRUE(sel::titleDictionary(plain).isNil());
    EXPECT_EQ(sel::name(full).string(), "Clone");
    EXPECT_EQ(sel::propertyForKey_(full, Value("footerText")).string(), "OK");
    EXPECT_EQ(sel::titleDictionary(full),
              Value(Value::Dictionary{{"1", Value("Seconds")}, {"2", Value("not a key")}, {"3", Value(42)}}));
}

TEST_F(Localizer, TheShortTitlesAreLocalizedLikeTheTitles) {
    auto s = alloc("PSSpecifier");
    sel::setShortTitleDictionary_(s, Value(Value::Dictionary{{"1", Value("LABEL_SECONDS")}, {"2", Value("not a key")}}));
    RS2Localizer::sharedLocalizer()->localizedSpecifiersForSpecifiers(Value::array({Value(s)}));
    EXPECT_EQ(sel::shortTitleDictionary(s), Value(Value::Dictionary{{"1", Value("Seconds")}, {"2", Value("not a key")}}));
    EXPECT_TRUE(sel::titleDictionary(s).isNil());
}

TEST_F(Localizer, LoadingIntoANullOutPointerDoesNothing) {
    auto s = specifier(Value("CLONE"), Value(), Value());
    RS2Localizer::sharedLocalizer()->loadLocalizedSpecifiersForSpecifiers(Value::array({Value(s)}), nullptr);
    EXPECT_EQ(sel::name(s).string(), "CLONE");
    Value out;
    RS2Localizer::sharedLocalizer()->loadLocalizedSpecifiersForSpecifiers(Value::array({Value(s)}), &out);
    EXPECT_EQ(out.count(), 1u);
    EXPECT_EQ(sel::name(s).string(), "Clone");
}

}  // namespace
}  // namespace rousa
