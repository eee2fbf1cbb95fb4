// A booted Settings app with the settings bundle started, and helpers that
// open pages the way the Settings app and the pages' link rows do.
#pragma once

#include <gtest/gtest.h>

#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"
#include "platform/preferences/settings_app.h"
#include "platform/testing/test_environment.h"
#include "platform/uikit/color.h"
#include "platform/uikit/screen.h"
#include "settings/settings.h"
#include "tweak/engine/localizer.h"
#include "tweak/engine/store.h"

namespace rousa::testing {

inline host::BootOptions settingsApp(long long idiom = UIUserInterfaceIdiomPhone) {
    host::BootOptions o;
    o.bundleIdentifier = host::kSettingsApp;
    o.systemVersion = "9.3";
    o.interfaceIdiom = idiom;
    return o;
}

// The settings' accent colour, RGBA (1.0, 0.231, 0.188, 1.0).
inline bool isAccent(const Ref<Object>& color) {
    auto* c = as<UIColor>(color.get());
    return c && c->sameComponents(*UIColor::rgba(1.0, 0.231, 0.188, 1.0));
}

// The pages and their descriptions.
struct PageClass {
    const char* className;
    const char* plistName;
};
inline constexpr PageClass kPages[] = {
    {"Rousa2ListController", "Rousa2"},
    {"Rousa2ConfigurationListController", "Rousa2Configuration"},
    {"Rousa2TimeListController", "Rousa2Time"},
    {"Rousa2DefaultListController", "Rousa2Defaults"},
    {"Rousa2ActivatorListController", "Rousa2Activator"},
    {"Rousa2CreditsListController", "Rousa2Credits"},
    {"WKSTimeFormatListController", "WKSTimeFormat"},
};

class SettingsTest : public ::testing::Test {
protected:
    explicit SettingsTest(host::BootOptions options = settingsApp()) : env(std::move(options)) { startSettingsBundle(); }

    // The root page, as the Settings app opens the bundle's entry.
    static Ref<PSListController> openRoot() { return preferences::openBundle(kRousaBundlePath, "Rousa 2"); }
    // What a link row does: the page made by class name, given a row that
    // names the bundle, titled with the row's name and pushed.
    static Ref<PSListController> push(const std::string& className, const std::string& title = "TITLE") {
        Ref<PSListController> page(as<PSListController>(newObject(className).get()));
        if (!page) return nullptr;
        sel::setSpecifier_(page, PSSpecifier::fromDescription(Value{{"cell", Value("PSLinkCell")}, {"label", Value(title)}, {"detail", Value(className)}},
                                                              nullptr, kRousaBundlePath));
        sel::setTitle_(page, Value(title));
        sel::pushViewController_animated_(preferences::rootNavigationController(), page, true);
        return page;
    }
    static Ref<Object> top() { return sel::topViewController(preferences::rootNavigationController()); }
    static Ref<Object> cell(PSListController* page, long long section, long long row) {
        return sel::tableView_cellForRowAtIndexPath_(page, page->table_, NSIndexPath::make(section, row));
    }
    static void select(PSListController* page, long long section, long long row) {
        sel::tableView_didSelectRowAtIndexPath_(page, page->table_, NSIndexPath::make(section, row));
    }
    // Every row of a page with where it is.
    struct Row {
        IndexPath path;
        Ref<PSSpecifier> specifier;
    };
    static std::vector<Row> rows(PSListController* page) {
        std::vector<Row> out;
        auto sections = page->sections();
        for (std::size_t s = 0; s < sections.size(); ++s)
            for (std::size_t r = 0; r < sections[s].rows.size(); ++r)
                out.push_back(Row{{static_cast<long long>(s), static_cast<long long>(r)}, sections[s].rows[r]});
        return out;
    }
    static Value readPrefs() { return plist::readFile(kRousaPrefsPath); }

    platform::testing::TestEnvironment env;
};

}  // namespace rousa::testing
