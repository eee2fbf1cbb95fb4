#include "platform/preferences/settings_app.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"
#include "platform/host/application_classes.h"
#include "platform/host/user_actions.h"
#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/application.h"
#include "platform/uikit/label.h"
#include "platform/uikit/window.h"

namespace platform::preftest {
namespace {

using Lines = std::vector<std::string>;

void writeText(const std::string& devicePath, std::string_view text) { ASSERT_TRUE(fs::writeFileAtomically(devicePath, text).ok()); }

// "SamplePage": a bundle's root page with one row, "hello".
class SamplePage : public PSListController {};

// The Settings app launched as its host launches it, with PreferenceLoader
// entries of its own beside the staged one ("Rousa 2").
class SettingsApp : public ::testing::Test {
protected:
    SettingsApp() : env(host::BootOptions{.bundleIdentifier = host::kSettingsApp, .systemVersion = "9.3"}) {
        ClassBuilder<SamplePage>("SamplePage", "PSListController").method(sel::specifiers, [](id self) {
            auto* page = as<SamplePage>(self);
            if (!page->specifiers_.isArray())
                page->specifiers_ = Value::array({Value(PSSpecifier::fromDescription(
                    Value{{"cell", Value("PSStaticTextCell")}, {"label", Value("hello")}}, self, page->pageBundle()->bundlePath()))});
            return page->specifiers_;
        });
        entry("Sample.plist", Value{{"entry", Value{{"bundle", Value("Sample")}, {"cell", Value("PSLinkCell")}, {"label", Value("Sample")}}}});
        bundle("Sample", "SamplePage");
        entry("Alpha.plist", Value{{"entry", Value{{"bundle", Value("Alpha")}, {"cell", Value("PSLinkCell")}, {"label", Value("Alpha page")}}}});
        entry("Broken.plist", Value{{"entry", Value{{"cell", Value("PSLinkCell")}, {"label", Value("No bundle")}}}});
        entry("Other.plist", Value{{"title", Value("not an entry")}});
        writeText(std::string(preferences::kPreferenceLoaderFolder) + "/notes.txt", "not a property list");
    }
    void launch() {
        host::ApplicationClasses classes = host::applicationClassesFor(host::kSettingsApp);
        UIApplicationMain(0, nullptr, classes.principalClassName, classes.delegateClassName);
        RunLoop::main().advance(0);
    }
    static void entry(const std::string& file, const Value& contents) {
        fs::createDirectories(preferences::kPreferenceLoaderFolder);
        ASSERT_TRUE(plist::writeFile(std::string(preferences::kPreferenceLoaderFolder) + "/" + file, contents));
    }
    // "/Library/PreferenceBundles/<name>.bundle" whose principal class is `principal`.
    static void bundle(const std::string& name, const char* principal) {
        std::string path = preferences::entryBundlePath(name);
        fs::createDirectories(path);
        ASSERT_TRUE(plist::writeFile(path + "/Info.plist", Value{{"NSPrincipalClass", Value(principal)}}));
    }
    static Ref<Object> top() { return sel::topViewController(preferences::rootNavigationController()); }
    static PSListController* root() { return as<PSListController>(preferences::rootNavigationController()->stack_.front().get()); }
    // What the frontmost window shows, in reading order.
    static Lines screen() {
        Lines out;
        for (const Value& item : host::readScreen().at(0)["items"].array()) out.push_back(item["text"].string());
        return out;
    }

    platform::testing::TestEnvironment env;
};

TEST_F(SettingsApp, LaunchingShowsTheListWithALinkPerEntryInTheOrderOfTheFiles) {
    launch();
    EXPECT_EQ(callLog::lines("PreferencesAppDelegate"), (Lines{"PreferencesAppDelegate application:didFinishLaunchingWithOptions:"}));
    Ref<Object> delegate = sel::delegate(UIApplication::sharedApplication());
    ASSERT_TRUE(isKindOfClass(delegate, "PreferencesAppDelegate"));
    EXPECT_EQ(sel::window(delegate).get(), UIWindow::keyWindow().get());
    EXPECT_FALSE(sel::isHidden(sel::window(delegate)));
    EXPECT_EQ(sel::rootViewController(sel::window(delegate)).get(), preferences::rootNavigationController());
    ASSERT_TRUE(isKindOfClass(top(), "PrefsListController"));
    EXPECT_EQ(sel::title(top()), Value("Settings"));

    Value rows = sel::specifiers(top());
    ASSERT_EQ(rows.count(), 3u);
    Lines names;
    for (const Value& r : rows.array()) {
        auto* row = r.objectAs<PSSpecifier>();
        names.push_back(row->name.string());
        EXPECT_EQ(row->cellType, PSLinkCell) << row->name.string();
    }
    EXPECT_EQ(names, (Lines{"Alpha page", "Rousa 2", "Sample"}));
    EXPECT_EQ(rows.at(1).objectAs<PSSpecifier>()->bundlePath, "/Library/PreferenceBundles/Rousa2.bundle");
    // What a user sees: the rows, then the bar above them.
    EXPECT_EQ(screen(), (Lines{"Alpha page", "Rousa 2", "Sample", "Settings"}));
}

TEST_F(SettingsApp, ATapOnARowOpensItsBundlesPageTitledWithTheEntrysLabel) {
    // An executable that cannot load: the principal class is already here, so it is not tried.
    writeText(preferences::entryBundlePath("Sample") + "/Sample", "not a library");
    launch();
    callLog::clear();
    ASSERT_EQ(host::tapItemShowing("Sample"), "");
    EXPECT_EQ(callLog::lines("PrefsListController"), (Lines{"PrefsListController tableView:didSelectRowAtIndexPath: Sample"}));
    EXPECT_FALSE(log::contains("cannot load"));
    auto* page = as<SamplePage>(top().get());
    ASSERT_TRUE(page);
    EXPECT_EQ(sel::title(page), Value("Sample"));
    EXPECT_EQ(sel::name(page->specifier_), Value("Sample"));
    EXPECT_EQ(page->specifier_->bundlePath, "/Library/PreferenceBundles/Sample.bundle");
    RunLoop::main().advance(0);
    EXPECT_EQ(screen(), (Lines{"hello", "Sample", "Back"}));

    ASSERT_EQ(host::tapItemShowing("Back"), "");
    EXPECT_EQ(top().get(), root());
    RunLoop::main().advance(0);
    // The row is not left selected.
    EXPECT_FALSE(sel::indexPathForSelectedRow(root()->table_));
    EXPECT_EQ(screen(), (Lines{"Alpha page", "Rousa 2", "Sample", "Settings"}));
}

TEST_F(SettingsApp, ARowWhosePageCannotBeHadOpensNothing) {
    struct Case {
        const char* what;
        const char* row;
        const char* logged;  // nullptr: nothing
    };
    // Entries besides the fixture's "Alpha page", which has no bundle.
    entry("Gamma.plist", Value{{"entry", Value{{"bundle", Value("Gamma")}, {"label", Value("Gamma page")}}}});
    bundle("Gamma", "GammaPage");
    writeText(preferences::entryBundlePath("Gamma") + "/Gamma", "not a library");
    entry("Delta.plist", Value{{"entry", Value{{"bundle", Value("Delta")}, {"label", Value("Delta page")}}}});
    bundle("Delta", "NSObject");
    const Case cases[] = {
        {"no bundle", "Alpha page", nullptr},
        {"an executable that does not load", "Gamma page", "loader: cannot load /Library/PreferenceBundles/Gamma.bundle/Gamma"},
        {"a principal class that is not a page", "Delta page", nullptr},
    };
    launch();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        log::clear();
        ASSERT_EQ(host::tapItemShowing(c.row), "");
        EXPECT_EQ(top().get(), root());
        if (c.logged) EXPECT_TRUE(log::contains(c.logged)) << c.logged;
        else EXPECT_FALSE(log::contains("cannot load"));
    }
}

}  // namespace
}  // namespace platform::preftest
