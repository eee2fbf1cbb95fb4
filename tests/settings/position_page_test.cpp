#include "settings/position_page.h"

#include <fstream>
#include <optional>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/notification_center.h"
#include "platform/uikit/application.h"
#include "settings_fixture.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/preferences.h"

namespace rousa {
namespace {

using testing::SettingsTest;

// Row names of the description, by index.
constexpr const char* kHGroup = "Horizontal position";
constexpr const char* kVGroup = "Vertical position";
const std::vector<std::string> kAllRows = {kHGroup, "Position", "Starting point", "Points", kVGroup, "Position", "Starting point", "Points"};

int posts = 0;
void counted(CFNotificationCenterRef, void*, const Value&, const void*, const Value&) { ++posts; }

class PositionPage : public SettingsTest {
protected:
    explicit PositionPage(host::BootOptions options = testing::settingsApp()) : SettingsTest(std::move(options)) {
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, &counted, Value(kPrefsChangedNotification), nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    ~PositionPage() override { CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this); }

    static void store(const char* key, std::optional<int> value) {
        CFPreferencesSetAppValue(key, value ? Value(*value) : Value(), kRousaDomain);
    }
    Ref<WKSLockScreenPositionListController> open() {
        Ref<WKSLockScreenPositionListController> page(
            as<WKSLockScreenPositionListController>(push("WKSLockScreenPositionListController", "WKS_POSITION").get()));
        RunLoop::main().advance(0.01);  // the table is laid out
        return page;
    }
    static std::vector<std::string> names(PSListController* page) {
        std::vector<std::string> out;
        for (const Value& v : page->specifiers_.array()) out.push_back(v.objectAs<PSSpecifier>()->name.string());
        return out;
    }
    static Value footer(PSListController* page, long long section) { return sel::tableView_titleForFooterInSection_(page, page->table_, section); }
    // The table agrees with the page's rows (an update it could not follow would have raised).
    static void expectTableInStep(PSListController* page) {
        auto sections = page->sections();
        UITableView* table = page->table_;
        ASSERT_EQ(sel::numberOfSections(table), static_cast<long long>(sections.size()));
        for (std::size_t s = 0; s < sections.size(); ++s)
            EXPECT_EQ(sel::numberOfRowsInSection_(table, static_cast<long long>(s)), static_cast<long long>(sections[s].rows.size()));
    }
    // The user picks a choice of a position row (section's row 0).
    void choose(PSListController* page, long long section, const char* title, long long row = 0) {
        select(page, section, row);
        Ref<PSListController> items(as<PSListController>(top().get()));
        ASSERT_TRUE(isKindOfClass(items, "RS2ListItemsController"));
        bool found = false;
        for (long long item = 0; item < sel::tableView_numberOfRowsInSection_(items, items->table_, 0); ++item)
            if (sel::text(sel::textLabel(cell(items, 0, item))) == Value(title)) {
                select(items, 0, item);
                found = true;
            }
        EXPECT_TRUE(found) << title;
        sel::popViewControllerAnimated_(preferences::rootNavigationController(), true);
    }
    std::vector<std::string> rowsWith(std::initializer_list<int> indices) {
        std::vector<std::string> out;
        for (int i : indices) out.push_back(kAllRows[static_cast<std::size_t>(i)]);
        return out;
    }
};

constexpr const char* kWide = "Your screen is 320 points wide.";
constexpr const char* kTall = "Your screen is 568 points tall.";

TEST_F(PositionPage, OpensWithEachAxissCustomRowsOnlyWhenItsPositionIsCustom) {
    struct Case {
        std::optional<int> horizontal, vertical;
    } const cases[] = {{std::nullopt, 0}, {0, std::nullopt}, {1, 1}, {2, 3}, {3, 2}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.horizontal.value_or(-1)) + " " + std::to_string(c.vertical.value_or(-1)));
        store("WKSLockScreenHorizontalPosition", c.horizontal);
        store("WKSLockScreenVerticalPosition", c.vertical);
        Ref<WKSLockScreenPositionListController> page = open();
        const bool h = c.horizontal == 0, v = c.vertical == 0;
        std::vector<std::string> expected = rowsWith({0, 1});
        if (h) expected.insert(expected.end(), {"Starting point", "Points"});
        expected.insert(expected.end(), {kVGroup, "Position"});
        if (v) expected.insert(expected.end(), {"Starting point", "Points"});
        EXPECT_EQ(names(page), expected);
        EXPECT_EQ(page->customHorizontalPositionEnabled, h);
        EXPECT_EQ(page->customVerticalPositionEnabled, v);
        EXPECT_EQ(page->customHorizontalPositionIndex, 2);
        EXPECT_EQ(page->customVerticalPositionIndex, h ? 6 : 4);
        EXPECT_EQ(footer(page, 0), Value(h ? kWide : ""));
        EXPECT_EQ(footer(page, 1), Value(v ? kTall : ""));
        EXPECT_EQ(page->horizontalFooter, Value(kWide));
        EXPECT_EQ(page->verticalFooter, Value(kTall));
        expectTableInStep(page);
        sel::popViewControllerAnimated_(preferences::rootNavigationController(), false);
    }
}

TEST_F(PositionPage, CustomHorizontalThenCustomVerticalInsertsBelowEachChoice) {
    Ref<WKSLockScreenPositionListController> page = open();
    EXPECT_EQ(names(page), rowsWith({0, 1, 4, 5}));
    choose(page, 0, "Custom");
    EXPECT_EQ(names(page), rowsWith({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(footer(page, 0), Value(kWide));
    EXPECT_EQ(page->customVerticalPositionIndex, 6);
    expectTableInStep(page);
    choose(page, 1, "Custom");
    EXPECT_EQ(names(page), kAllRows);
    EXPECT_EQ(footer(page, 1), Value(kTall));
    EXPECT_EQ(page->customVerticalPositionIndex, 6);
    expectTableInStep(page);
    EXPECT_EQ(CFPreferencesCopyAppValue("WKSLockScreenHorizontalPosition", kRousaDomain), Value(0));
    EXPECT_EQ(CFPreferencesCopyAppValue("WKSLockScreenVerticalPosition", kRousaDomain), Value(0));
    // The custom rows are the description's own and store their keys.
    EXPECT_EQ(page->specifiers_.at(2).object(), page->customHorizontalSpecifiers.at(0).object());
    EXPECT_EQ(page->specifiers_.at(7).object(), page->customVerticalSpecifiers.at(1).object());
}

TEST_F(PositionPage, CustomVerticalThenHorizontalThenHorizontalBack) {
    Ref<WKSLockScreenPositionListController> page = open();
    choose(page, 1, "Custom");
    EXPECT_EQ(names(page), rowsWith({0, 1, 4, 5, 6, 7}));
    EXPECT_EQ(page->customVerticalPositionIndex, 4);
    choose(page, 0, "Custom");
    EXPECT_EQ(names(page), kAllRows);
    EXPECT_EQ(page->customVerticalPositionIndex, 6);
    choose(page, 0, "Left");
    EXPECT_EQ(names(page), rowsWith({0, 1, 4, 5, 6, 7}));
    EXPECT_EQ(footer(page, 0), Value(""));
    EXPECT_EQ(footer(page, 1), Value(kTall));
    EXPECT_EQ(page->customVerticalPositionIndex, 4);
    EXPECT_FALSE(page->customHorizontalPositionEnabled);
    expectTableInStep(page);
    EXPECT_EQ(CFPreferencesCopyAppValue("WKSLockScreenHorizontalPosition", kRousaDomain), Value(1));
}

TEST_F(PositionPage, AChoiceThatKeepsItsAxissStateChangesNoRowsButStillWritesAndPosts) {
    Ref<WKSLockScreenPositionListController> page = open();
    RunLoop::main().advance(0.01);
    int before = posts;
    choose(page, 0, "Right");  // from centre: still not custom
    EXPECT_EQ(names(page), rowsWith({0, 1, 4, 5}));
    choose(page, 0, "Custom");
    choose(page, 0, "Custom");  // again
    EXPECT_EQ(names(page), rowsWith({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(page->customVerticalPositionIndex, 6);
    EXPECT_EQ(CFPreferencesCopyAppValue("WKSLockScreenHorizontalPosition", kRousaDomain), Value(0));
    RunLoop::main().advance(0.01);
    EXPECT_EQ(posts, before + 3);
    // Turning a state off twice removes nothing more.
    sel::setCustomHorizontalPositionEnabled_(page, false);
    sel::setCustomHorizontalPositionEnabled_(page, false);
    EXPECT_EQ(names(page), rowsWith({0, 1, 4, 5}));
    expectTableInStep(page);
}

TEST_F(PositionPage, ItsCustomRowsStoreTheirKeysInTheDomainAndTheLoaderReadsThem) {
    store("WKSLockScreenHorizontalPosition", 0);
    store("WKSLockScreenVerticalPosition", 0);
    Ref<WKSLockScreenPositionListController> page = open();
    choose(page, 0, "From the right", 1);
    choose(page, 1, "From the bottom", 1);
    for (long long section : {0, 1}) {
        Ref<Object> row = cell(page, section, 2);
        auto* field = as<UITextField>(sel::textField(row).get());
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(isKindOfClass(sel::delegate(field), "ResigningTextCell"));
        sel::becomeFirstResponder(field);
        field->deleteBackward();
        EXPECT_FALSE(field->insertText("4a"));
        field->insertText(section == 0 ? "42" : "17");
        field->pressReturn();
    }
    Value file = RousaReadPrefsFile();
    EXPECT_EQ(file["WKSLockScreenHorizontalPositionStartingPoint"], Value(2));
    EXPECT_EQ(file["WKSLockScreenVerticalPositionStartingPoint"].kind(), Value::Kind::Integer);
    EXPECT_EQ(file["WKSLockScreenHorizontalPositionValue"], Value(42));
    EXPECT_EQ(file["WKSLockScreenVerticalPositionValue"], Value(17));
    RousaLoadPrefs(false);
    EXPECT_EQ(WKSLockScreenHorizontalPosition, 0);
    EXPECT_EQ(WKSLockScreenHorizontalPositionStartingPoint, 2);
    EXPECT_EQ(WKSLockScreenVerticalPositionStartingPoint, 2);
    EXPECT_EQ(WKSLockScreenHorizontalPositionValue, 42);
    EXPECT_EQ(WKSLockScreenVerticalPositionValue, 17);
    // The custom rows are still in place after their own changes.
    EXPECT_EQ(names(page), kAllRows);
}

TEST_F(PositionPage, ItsOwnRowsAreNotLocalizedAndItHasNoCreditsHeader) {
    Ref<WKSLockScreenPositionListController> page = open();
    auto* group = page->specifiers_.at(0).objectAs<PSSpecifier>();
    group->name = Value("CREDITS");
    sel::specifiers(page);
    EXPECT_EQ(group->name, Value("CREDITS"));
    EXPECT_FALSE(sel::tableView_viewForHeaderInSection_(page, page->table_, 0));
    EXPECT_EQ(sel::tableView_heightForHeaderInSection_(page, page->table_, 0), -1.0);
    EXPECT_FALSE(page->table_->headerView(0));
    EXPECT_EQ(page->table_->rectForHeader(0).height(), 35);  // the grouped table's own
}

TEST_F(PositionPage, AShortDescriptionIsShownAsItIsAndItsRowsStayInert) {
    Value description = plist::readFile(std::string(kRousaBundlePath) + "/WKSLockScreenPosition.plist");
    Value::Array items = description["items"].array();
    items.resize(5);
    ASSERT_TRUE(plist::writeFile(std::string(kRousaBundlePath) + "/WKSLockScreenPosition.plist", Value{{"items", Value(items)}}));
    Ref<WKSLockScreenPositionListController> page = open();
    EXPECT_EQ(names(page), rowsWith({0, 1, 2, 3, 4}));
    EXPECT_FALSE(page->customHorizontalSpecifiers);
    EXPECT_FALSE(page->horizontalGroup);
    choose(page, 0, "Custom");
    choose(page, 0, "Left");
    EXPECT_EQ(names(page), rowsWith({0, 1, 2, 3, 4}));
    EXPECT_EQ(footer(page, 0), Value());
    EXPECT_EQ(CFPreferencesCopyAppValue("WKSLockScreenHorizontalPosition", kRousaDomain), Value(1));
    expectTableInStep(page);
}

TEST_F(PositionPage, GoingToTheBackgroundTakesItAndWhatIsAboveItOffTheStack) {
    Ref<Object> below = push("Rousa2TimeListController");
    WeakRef<Object> page = open().get();
    select(as<PSListController>(page.lock().get()), 0, 0);  // its choices come on top
    ASSERT_EQ(sel::viewControllers(preferences::rootNavigationController()).count(), 4u);
    std::size_t observers = NSNotificationCenter::defaultCenter()->observerCount();
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidEnterBackgroundNotification, Value(UIApplication::sharedApplication()));
    Value stack = sel::viewControllers(preferences::rootNavigationController());
    ASSERT_EQ(stack.count(), 2u);
    EXPECT_EQ(stack.at(1).object(), below.get());
    EXPECT_EQ(NSNotificationCenter::defaultCenter()->observerCount(), observers - 1);
    RunLoop::main().advance(1.0);  // the title's timer and the end of the pass let it go
    EXPECT_FALSE(page.lock());
    // Another post finds nobody.
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidEnterBackgroundNotification, Value(UIApplication::sharedApplication()));
    EXPECT_EQ(sel::viewControllers(preferences::rootNavigationController()).count(), 2u);
}

TEST_F(PositionPage, ItStopsObservingWhenItGoesAwayByAnyPath) {
    std::size_t observers = NSNotificationCenter::defaultCenter()->observerCount();
    WeakRef<Object> page = open().get();
    EXPECT_EQ(NSNotificationCenter::defaultCenter()->observerCount(), observers + 1);
    sel::popViewControllerAnimated_(preferences::rootNavigationController(), true);
    RunLoop::main().advance(1.0);
    EXPECT_FALSE(page.lock());
    EXPECT_EQ(NSNotificationCenter::defaultCenter()->observerCount(), observers);
}

TEST_F(PositionPage, AFooterWithoutExactlyOneNumberPlaceholderIsShownAsItIs) {
    std::ofstream(env.hostPath(std::string(kRousaBundlePath) + "/en.lproj/Localizable.strings"), std::ios::app)
        << "\n\"YOUR_SCREEN_IS_X_POINTS_WIDE\" = \"%@ is %d wide\";\n\"YOUR_SCREEN_IS_Y_POINTS_TALL\" = \"%ld%% tall\";\n";
    store("WKSLockScreenHorizontalPosition", 0);
    store("WKSLockScreenVerticalPosition", 0);
    Ref<WKSLockScreenPositionListController> page = open();
    EXPECT_EQ(footer(page, 0), Value("%@ is %d wide"));
    EXPECT_EQ(footer(page, 1), Value("568% tall"));
}

TEST(FillScreenSize, FillsOnlyATextWithOneNumberPlaceholder) {
    struct Case {
        const char* text;
        const char* filled;
    } const cases[] = {
        {"Your screen is %d points wide.", "Your screen is 320 points wide."},
        {"%ld points", "320 points"},
        {"[%5d]", "[  320]"},
        {"%i", "320"},
        {"100%% of %u", "100% of 320"},
        {"no placeholder", "no placeholder"},
        {"%d by %d", "%d by %d"},
        {"%@ %d", "%@ %d"},
        {"%s", "%s"},
        {"%n%d", "%n%d"},
        {"%1$d", "%1$d"},
        {"ends with %", "ends with %"},
        {"50%% only", "50%% only"},
    };
    for (const auto& c : cases) EXPECT_EQ(fillScreenSize(c.text, 320), c.filled) << c.text;
}

class PositionPageOnAPad : public PositionPage {
protected:
    PositionPageOnAPad() : PositionPage(testing::settingsApp(UIUserInterfaceIdiomPad)) {}
};

TEST_F(PositionPageOnAPad, TheFootersNameThePadsScreen) {
    store("WKSLockScreenHorizontalPosition", 0);
    store("WKSLockScreenVerticalPosition", 0);
    Ref<WKSLockScreenPositionListController> page = open();
    EXPECT_EQ(footer(page, 0), Value("Your screen is 768 points wide."));
    EXPECT_EQ(footer(page, 1), Value("Your screen is 1024 points tall."));
}

}  // namespace
}  // namespace rousa
