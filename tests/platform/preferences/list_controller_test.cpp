#include "platform/preferences/list_controller.h"

#include <gtest/gtest.h>

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"
#include "platform/preferences/settings_app.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/value_controls.h"

namespace platform::preftest {
namespace {

constexpr const char* kBundle = "/Library/PreferenceBundles/Sample.bundle";
constexpr const char* kDomain = "com.example.sample";

namespace sel {
using namespace platform::sel;
inline constexpr Sel<void(id, id)> pressed_{"pressed:"};
inline constexpr Sel<void(id, Value)> storeValue_{"storeValue:"};
}  // namespace sel

// "SamplePage": loads "Page" from its bundle, records its button and its own setter.
class SamplePage : public PSListController {};

class ListController : public ::testing::Test {
protected:
    ListController() : env(host::BootOptions{.bundleIdentifier = host::kSettingsApp}) {
        ClassBuilder<SamplePage>("SamplePage", "PSListController")
            .method(sel::specifiers,
                    [](id self) {
                        auto* page = as<SamplePage>(self);
                        if (page->specifiers_.count() == 0) page->specifiers_ = sel::loadSpecifiersFromPlistName_target_(self, Value("Page"), self);
                        return page->specifiers_;
                    })
            .method(sel::pressed_, [](id, id row) { callLog::record("SamplePage", "pressed:", sel::name(row).string()); })
            .method(sel::storeValue_, [](id, Value v) { callLog::record("SamplePage", "storeValue:", v.description()); });
    }
    static Value row(std::initializer_list<std::pair<const std::string, Value>> entries) { return Value(Value::Dictionary(entries)); }
    void describe(Value::Array items) {
        fs::createDirectories(kBundle);
        ASSERT_TRUE(plist::writeFile(std::string(kBundle) + "/Page.plist", Value{{"items", Value(std::move(items))}}));
    }
    static Ref<PSListController> open(const char* className) {
        Ref<PSListController> page(as<PSListController>(newObject(className).get()));
        sel::setSpecifier_(page, PSSpecifier::fromDescription(row({{"cell", Value("PSLinkCell")}}), nullptr, kBundle));
        sel::pushViewController_animated_(preferences::rootNavigationController(), page, false);
        return page;
    }
    static Ref<Object> top() { return sel::topViewController(preferences::rootNavigationController()); }
    static void select(PSListController* page, long long section, long long r) {
        sel::tableView_didSelectRowAtIndexPath_(page, page->table_, NSIndexPath::make(section, r));
    }
    platform::testing::TestEnvironment env;
};

TEST_F(ListController, GroupsMakeSectionsWithTheirNamesAndFooters) {
    describe({row({{"cell", Value("PSStaticTextCell")}, {"label", Value("loose")}}),
              row({{"cell", Value("PSGroupCell")}, {"label", Value("First")}, {"footerText", Value("Below")}}),
              row({{"cell", Value("PSSwitchCell")}, {"label", Value("a")}}), row({{"cell", Value("PSSwitchCell")}, {"label", Value("b")}}),
              row({{"cell", Value("PSGroupCell")}})});
    Ref<PSListController> page = open("SamplePage");
    UITableView* table = page->table_;
    EXPECT_EQ(sel::numberOfSectionsInTableView_(page, table), 3);
    EXPECT_EQ(sel::tableView_numberOfRowsInSection_(page, table, 0), 1);
    EXPECT_EQ(sel::tableView_numberOfRowsInSection_(page, table, 1), 2);
    EXPECT_EQ(sel::tableView_numberOfRowsInSection_(page, table, 2), 0);
    EXPECT_EQ(sel::tableView_titleForHeaderInSection_(page, table, 1), Value("First"));
    EXPECT_EQ(sel::tableView_titleForFooterInSection_(page, table, 1), Value("Below"));
    EXPECT_FALSE(sel::tableView_titleForFooterInSection_(page, table, 0));
    // The table shows them.
    RunLoop::main().advance(0.01);
    EXPECT_EQ(sel::text(sel::textLabel(sel::cellForRowAtIndexPath_(table, NSIndexPath::make(1, 1)))), Value("b"));
}

TEST_F(ListController, APageOutsideABundleOrWithoutItsDescriptionHasOneEmptySection) {
    Ref<PSListController> page(as<PSListController>(newObject("SamplePage").get()));
    EXPECT_EQ(page->pageBundle().get(), NSBundle::mainBundle());
    EXPECT_EQ(sel::specifiers(page).count(), 0u);
    EXPECT_EQ(sel::numberOfSectionsInTableView_(page, nullptr), 1);
    EXPECT_EQ(sel::tableView_numberOfRowsInSection_(page, nullptr, 0), 0);
}

TEST_F(ListController, LinksPushTheirPageWithTheRowAndItsNameAndButtonsSendTheirAction) {
    describe({row({{"cell", Value("PSLinkCell")}, {"label", Value("Next")}, {"detail", Value("SamplePage")}}),
              row({{"cell", Value("PSLinkCell")}, {"label", Value("Nowhere")}, {"detail", Value("NoSuchPage")}}),
              row({{"cell", Value("PSButtonCell")}, {"label", Value("Press")}, {"action", Value("pressed:")}})});
    Ref<PSListController> page = open("SamplePage");
    select(page, 0, 1);
    EXPECT_EQ(top().get(), page.get());
    select(page, 0, 0);
    auto* next = as<PSListController>(top().get());
    ASSERT_NE(next, page.get());
    ASSERT_TRUE(isKindOfClass(next, "SamplePage"));
    EXPECT_EQ(sel::name(next->specifier_), Value("Next"));
    EXPECT_EQ(sel::title(next), Value("Next"));
    EXPECT_EQ(sel::title(sel::navigationItem(next)), Value("Next"));
    // The row came from the bundle, so the next page reads its descriptions there too.
    EXPECT_EQ(sel::specifiers(next).count(), 3u);
    select(page, 0, 2);
    EXPECT_EQ(callLog::lines("SamplePage pressed:"), (std::vector<std::string>{"SamplePage pressed: Press"}));
}

int posts = 0;
void counted(CFNotificationCenterRef, void*, const Value&, const void*, const Value&) { ++posts; }

TEST_F(ListController, RowsReadTheirDomainElseTheirDefaultAndWriteThroughThenPost) {
    describe({row({{"cell", Value("PSSwitchCell")}, {"key", Value("flag")}, {"default", Value(true)}, {"defaults", Value(kDomain)},
                   {"PostNotification", Value("com.example.changed")}}),
              row({{"cell", Value("PSSwitchCell")}, {"key", Value("loose")}, {"default", Value(true)}}),
              row({{"cell", Value("PSLinkListCell")}, {"key", Value("mode")}, {"defaults", Value(kDomain)}, {"set", Value("storeValue:")},
                   {"validValues", Value::array({Value(1), Value(2)})}, {"validTitles", Value::array({Value("One"), Value("Two")})},
                   {"shortTitles", Value::array({Value("1"), Value("2")})}})});
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, &counted, Value("com.example.changed"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    Ref<PSListController> page = open("SamplePage");
    auto rows = page->sections()[0].rows;
    EXPECT_EQ(sel::readPreferenceValue_(page, rows[0]), Value(true));
    ASSERT_TRUE(plist::update(CFPreferencesPathForDomain(kDomain), [](Value::Dictionary& d) {
        d["flag"] = Value(false);
        d["mode"] = Value(2);
        return true;
    }));
    EXPECT_EQ(sel::readPreferenceValue_(page, rows[0]), Value(false));  // read afresh
    EXPECT_EQ(sel::text(sel::detailTextLabel(sel::tableView_cellForRowAtIndexPath_(page, page->table_, NSIndexPath::make(0, 2)))), Value("2"));

    sel::setPreferenceValue_specifier_(page, Value(true), rows[0]);
    EXPECT_EQ(plist::readFile(CFPreferencesPathForDomain(kDomain))["flag"], Value(true));
    EXPECT_EQ(posts, 0);  // delivered on the run loop
    RunLoop::main().advance(0.01);
    EXPECT_EQ(posts, 1);
    // Without a domain nothing is written.
    sel::setPreferenceValue_specifier_(page, Value(false), rows[1]);
    EXPECT_FALSE(plist::readFile(CFPreferencesPathForDomain(kDomain))["loose"]);
    // A row with its own setter stores through it; its choices page titles the values in full.
    select(page, 0, 2);
    Ref<PSListController> items(as<PSListController>(top().get()));
    ASSERT_TRUE(isKindOfClass(items, "PSListItemsController"));
    EXPECT_EQ(sel::text(sel::textLabel(sel::tableView_cellForRowAtIndexPath_(items, items->table_, NSIndexPath::make(0, 0)))), Value("One"));
    EXPECT_EQ(sel::accessoryType(sel::tableView_cellForRowAtIndexPath_(items, items->table_, NSIndexPath::make(0, 1))), UITableViewCellAccessoryCheckmark);
    select(items, 0, 0);
    EXPECT_EQ(callLog::lines("SamplePage storeValue:"), (std::vector<std::string>{"SamplePage storeValue: 1"}));
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
}

TEST_F(ListController, TheSettingsAppOpensABundlesPrincipalPage) {
    describe({row({{"cell", Value("PSStaticTextCell")}, {"label", Value("hello")}})});
    ASSERT_TRUE(plist::writeFile(std::string(kBundle) + "/Info.plist", Value{{"NSPrincipalClass", Value("SamplePage")}}));
    Ref<PSListController> page = preferences::openBundle(kBundle, "Sample");
    ASSERT_TRUE(page);
    EXPECT_EQ(top().get(), page.get());
    EXPECT_EQ(sel::title(page), Value("Sample"));
    EXPECT_EQ(sel::specifiers(page).count(), 1u);
    EXPECT_FALSE(preferences::openBundle("/Library/PreferenceBundles/Missing.bundle", "Missing"));
}

}  // namespace
}  // namespace platform::preftest
