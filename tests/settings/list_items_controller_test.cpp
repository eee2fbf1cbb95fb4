#include "settings/list_items_controller.h"

#include "platform/uikit/color.h"
#include "platform/uikit/window.h"
#include "settings_fixture.h"

namespace rousa {
namespace {

using testing::isAccent;
using testing::SettingsTest;

class ListItems : public SettingsTest {
protected:
    // The defaults page's "Difficulty" list (defCalcDifficult), opened.
    ListItems() : page(push("Rousa2DefaultListController")) {
        select(page, 4, 1);
        items = Ref<PSListController>(as<PSListController>(top().get()));
    }
    Ref<PSListController> page;
    Ref<PSListController> items;
};

TEST_F(ListItems, AListRowOpensItsChoicesTitledAndCheckedInTheAccentColour) {
    ASSERT_TRUE(isKindOfClass(items, "RS2ListItemsController"));
    EXPECT_EQ(sel::text(sel::titleView(sel::navigationItem(items))), Value("Difficulty"));
    ASSERT_EQ(sel::tableView_numberOfRowsInSection_(items, items->table_, 0), 4);
    std::vector<std::string> titles;
    std::vector<long long> checks;
    for (long long row = 0; row < 4; ++row) {
        Ref<Object> c = cell(items, 0, row);
        titles.push_back(sel::text(sel::textLabel(c)).string());
        checks.push_back(sel::accessoryType(c));
        EXPECT_TRUE(isAccent(sel::textColor(sel::titleLabel(c))));
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Easy", "Normal", "Hard", "Lifeless"}));
    // The loader's default, 1.
    EXPECT_EQ(checks, (std::vector<long long>{0, UITableViewCellAccessoryCheckmark, 0, 0}));

    select(items, 0, 3);
    EXPECT_EQ(readPrefs()["defCalcDifficult"], Value(3));
    EXPECT_EQ(sel::accessoryType(cell(items, 0, 3)), UITableViewCellAccessoryCheckmark);
    EXPECT_EQ(sel::accessoryType(cell(items, 0, 1)), UITableViewCellAccessoryNone);
    // Back on the page, the row shows the choice.
    sel::popViewControllerAnimated_(preferences::rootNavigationController(), true);
    EXPECT_EQ(sel::text(sel::detailTextLabel(cell(page, 4, 1))), Value("Lifeless"));
}

TEST_F(ListItems, TheKeyWindowIsTintedWhileTheChoicesAreShownAndClearedAfter) {
    Ref<UIWindow> key = UIWindow::keyWindow();
    ASSERT_TRUE(key);
    EXPECT_EQ(as<RS2ListItemsController>(items.get())->settingsView.get(), key.get());
    EXPECT_TRUE(isAccent(key->tintColor_));
    EXPECT_TRUE(isAccent(preferences::rootNavigationController()->navigationBar_->tintColor_));
    sel::popViewControllerAnimated_(preferences::rootNavigationController(), true);
    EXPECT_FALSE(key->tintColor_);
}

}  // namespace
}  // namespace rousa
