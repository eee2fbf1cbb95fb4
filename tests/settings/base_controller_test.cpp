#include "settings/base_controller.h"

#include "platform/uikit/animation.h"
#include "platform/uikit/color.h"
#include "platform/uikit/font.h"
#include "platform/uikit/label.h"
#include "platform/uikit/navigation.h"
#include "platform/uikit/value_controls.h"
#include "platform/uikit/window.h"
#include "settings_fixture.h"

namespace rousa {
namespace {

using testing::isAccent;
using testing::SettingsTest;

TEST_F(SettingsTest, APageShowsItsLocalizedTitleInAnAccentLabel) {
    Ref<PSListController> page = push("Rousa2DefaultListController", "ALARM_DEFAULTS");
    auto* label = as<UILabel>(sel::titleView(sel::navigationItem(page)).get());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text_, Value("New alarms"));
    EXPECT_TRUE(isAccent(label->textColor_));
    EXPECT_TRUE(as<UIColor>(label->backgroundColor_.get())->sameComponents(*UIColor::white(0, 0)));
    auto* font = as<UIFont>(label->font_.get());
    EXPECT_EQ(font->fontName(), UIFont::systemFont(20)->fontName());
    EXPECT_EQ(font->pointSize(), 20);
    EXPECT_EQ(label->bounds_.size, label->textSize(Size{}));
    // A later title reuses the label.
    sel::setTitle_(page, Value("CREDITS"));
    EXPECT_EQ(sel::titleView(sel::navigationItem(page)).get(), label);
    EXPECT_EQ(label->text_, Value("Credits"));
    EXPECT_EQ(label->bounds_.size, label->textSize(Size{}));
}

TEST_F(SettingsTest, TheTitleFadesInHalfASecondAfterThePageLoaded) {
    Ref<PSListController> page = push("Rousa2TimeListController", "TIME_UNTIL_ALARM");
    Ref<Object> label = sel::titleView(sel::navigationItem(page));
    sel::setAlpha_(label, 0.2);
    RunLoop::main().advance(0.49);
    EXPECT_EQ(sel::alpha(label), 0.2);
    RunLoop::main().advance(0.01);
    EXPECT_EQ(sel::alpha(label), 1.0);
    const animation::Record* fade = animation::last();
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->duration, 0.5);
    ASSERT_EQ(fade->changes.size(), 1u);
    EXPECT_EQ(fade->changes[0].identity, label.get());
    EXPECT_EQ(fade->changes[0].property, "alpha");
}

TEST_F(SettingsTest, APageDressesItselfInTheAccentColourWhenItAppears) {
    Ref<PSListController> page = push("Rousa2ConfigurationListController");
    auto* bar = preferences::rootNavigationController()->navigationBar_.get();
    EXPECT_TRUE(isAccent(page->view_->tintColor_));
    EXPECT_TRUE(isAccent(bar->tintColor_));
    EXPECT_TRUE(isAccent(sel::textColor(sel::titleLabel(cell(page, 0, 0)))));
    // Switches shown on this page take the accent on-tint; others keep theirs.
    RunLoop::main().advance(0.01);
    Ref<Object> shown = sel::control(sel::cellForRowAtIndexPath_(page->table_, NSIndexPath::make(1, 0)));
    ASSERT_TRUE(isKindOfClass(shown, "UISwitch"));
    EXPECT_TRUE(isAccent(sel::onTintColor(shown)));
    EXPECT_FALSE(sel::onTintColor(sel::control(cell(page, 1, 0))));  // not on the page
    EXPECT_FALSE(sel::onTintColor(newObject("UISwitch")));
}

TEST_F(SettingsTest, TheComposeButtonOpensTheShareSheet) {
    Ref<PSListController> page = push("Rousa2CreditsListController");
    auto* button = as<UIBarButtonItem>(sel::rightBarButtonItem(sel::navigationItem(page)).get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->systemItem_, UIBarButtonSystemItemCompose);
    EXPECT_EQ(button->target_.lock().get(), page.get());
    button->press();
    auto* sheet = as<TWTweetComposeViewController>(page->presented_.get());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->initialText_, Value(kShareText));
}

TEST_F(SettingsTest, APagesPreferredHeightIsAHundredPoints) {
    Ref<PSListController> page = push("Rousa2CreditsListController");
    EXPECT_EQ(sel::preferredHeightForWidth_(page, 320), 100.0);
}

}  // namespace
}  // namespace rousa
