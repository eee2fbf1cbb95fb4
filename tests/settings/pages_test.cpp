#include "settings/pages.h"

#include <functional>
#include <map>

#include "platform/corefoundation/corefoundation.h"
#include "platform/uikit/application.h"
#include "platform/uikit/color.h"
#include "platform/uikit/value_controls.h"
#include "settings_fixture.h"
#include "tweak/engine/installer.h"
#include "tweak/engine/preferences.h"

namespace rousa {
namespace {

using testing::SettingsTest;

// Every preference key, where the tweak reads it, and its global.
enum class Source { File, Domain };
struct Key {
    const char* key;
    Source source;
    std::function<Value()> global;
};
#define FILE_KEY(name) Key{#name, Source::File, [] { return Value(name); }}
#define DOMAIN_KEY(name) Key{#name, Source::Domain, [] { return Value(name); }}
const Key kKeys[] = {
    FILE_KEY(sleepaction), FILE_KEY(swipedelete), FILE_KEY(massedition), FILE_KEY(togglealarms), FILE_KEY(alarmsfromcc),
    FILE_KEY(disabletouchid), FILE_KEY(showalertlockscreen), FILE_KEY(alarmTimeEnabled), FILE_KEY(alarmTimeTitle), FILE_KEY(defEnabled),
    FILE_KEY(defSnoozeTime), FILE_KEY(defSnoozeMeasure), FILE_KEY(defVolume), FILE_KEY(defVibrateRing), FILE_KEY(defVibrateSilent),
    FILE_KEY(defDismissTime), FILE_KEY(defDismissMeasure), FILE_KEY(defDismissAction), FILE_KEY(defFadeTime), FILE_KEY(defFadeMeasure),
    FILE_KEY(defCalcEnabled), FILE_KEY(defCalcDifficult),
    DOMAIN_KEY(WKSEnableInClockApp), DOMAIN_KEY(WKSEnableForActiveAlarmsOnly), DOMAIN_KEY(WKSClockAppFontSize),
    DOMAIN_KEY(WKSClockAppTimeFormat), DOMAIN_KEY(WKSClockAppPosition), DOMAIN_KEY(WKSShowNextActiveAlarmOnLockScreen),
    DOMAIN_KEY(WKSLockScreenFontSize), DOMAIN_KEY(WKSLockScreenTimeFormat), DOMAIN_KEY(WKSHideOnLockScreenIf),
    DOMAIN_KEY(WKSLockScreenTimeType), DOMAIN_KEY(WKSLockScreenHorizontalPosition), DOMAIN_KEY(WKSLockScreenVerticalPosition),
    DOMAIN_KEY(WKSLockScreenHorizontalPositionValue), DOMAIN_KEY(WKSLockScreenVerticalPositionValue),
    DOMAIN_KEY(WKSLockScreenHorizontalPositionStartingPoint), DOMAIN_KEY(WKSLockScreenVerticalPositionStartingPoint),
};
#undef FILE_KEY
#undef DOMAIN_KEY

const Key* keyNamed(const std::string& name) {
    for (const Key& k : kKeys)
        if (name == k.key) return &k;
    return nullptr;
}

constexpr const char* kDescriptions[] = {"Rousa2", "Rousa2Configuration", "Rousa2Time", "Rousa2Defaults", "Rousa2Activator",
                                         "Rousa2Credits", "WKSTimeFormat", "WKSLockScreenPosition"};

Value description(const std::string& name) { return plist::readFile(std::string(kRousaBundlePath) + "/" + name + ".plist"); }

// What a row of each kind stores: switches booleans, lists their valid value,
// sliders reals, text rows the string typed.
Value::Kind storedKind(const std::string& cell) {
    if (cell == "PSSwitchCell") return Value::Kind::Bool;
    if (cell == "PSLinkListCell") return Value::Kind::Integer;
    if (cell == "PSSliderCell") return Value::Kind::Real;
    if (cell == "PSEditTextCell") return Value::Kind::String;
    return Value::Kind::Nil;
}
// The kind of value the loader's global has.
Value::Kind globalKind(const Value& v) { return v.kind(); }

TEST_F(SettingsTest, EveryKeyHasOneRowWithTheLoadersDefaultInTheSharedPreferenceFile) {
    RousaLoadPrefs(false);  // an empty file: every global holds the loader's default
    std::map<std::string, int> found;
    for (const char* name : kDescriptions) {
        Value items = description(name)["items"];
        ASSERT_GT(items.count(), 0u) << name;
        for (const Value& item : items.array()) {
            if (!item["key"].isString()) continue;
            std::string key = item["key"].string();
            SCOPED_TRACE(std::string(name) + " " + key);
            const Key* known = keyNamed(key);
            ASSERT_NE(known, nullptr);
            ++found[key];
            // Both kinds of key live in the one file of the domain.
            EXPECT_EQ(item["defaults"], Value(kRousaDomain));
            EXPECT_EQ(CFPreferencesPathForDomain(kRousaDomain), kRousaPrefsPath);
            EXPECT_EQ(item["PostNotification"], Value(kPrefsChangedNotification));
            Value global = known->global();
            EXPECT_EQ(item["default"], global);
            EXPECT_EQ(item["default"].kind(), globalKind(global));
            // The row stores the kind the loader expects: a bool as a switch, a
            // float as a slider, an integer as a list of numbers or a number row.
            std::string cell = item["cell"].string();
            switch (global.kind()) {
                case Value::Kind::Bool: {
                    EXPECT_EQ(storedKind(cell), Value::Kind::Bool);
                    break;
                }
                case Value::Kind::Real: {
                    EXPECT_EQ(storedKind(cell), Value::Kind::Real);
                    break;
                }
                case Value::Kind::Integer: {
                    EXPECT_TRUE(cell == "PSLinkListCell" || (cell == "PSEditTextCell" && item["cellClass"] == Value("ResigningTextCell"))) << cell;
                    for (const Value& v : item["validValues"].array()) EXPECT_EQ(v.kind(), Value::Kind::Integer);
                    break;
                }
                default: {
                    ADD_FAILURE() << "unexpected global kind";
                }
            }
            if (cell == "PSLinkListCell") {
                EXPECT_EQ(item["detail"], Value("RS2ListItemsController"));
                EXPECT_EQ(item["validValues"].count(), item["validTitles"].count());
                bool offered = false;
                for (const Value& v : item["validValues"].array()) offered = offered || v == item["default"];
                EXPECT_TRUE(offered);
            }
        }
    }
    for (const Key& k : kKeys) EXPECT_EQ(found[k.key], 1) << k.key;
}

TEST_F(SettingsTest, EveryLinkOpensAPageClassAndEveryButtonNamesAnActionOfItsPage) {
    for (const char* name : kDescriptions) {
        for (const Value& item : description(name)["items"].array()) {
            SCOPED_TRACE(std::string(name) + " " + item["label"].stringOr(""));
            std::string cell = item["cell"].string();
            if (cell == "PSLinkCell") {
                EXPECT_NE(objc_getClass(item["detail"].string()), nullptr);
            }
            if (cell == "PSButtonCell") {
                EXPECT_TRUE(class_respondsToSelector(objc_getClass("Rousa2ListController"), item["action"].string()));
            }
            if (item["cellClass"].isString()) {
                EXPECT_NE(objc_getClass(item["cellClass"].string()), nullptr);
            }
        }
    }
}

// --- loading and localizing ------------------------------------------------------------------

TEST_F(SettingsTest, EachPageLoadsItsDescriptionOnceAndLocalizesItsRowsAtEveryCall) {
    struct Case {
        const char* className;
        std::size_t rows;
        const char* firstRow;
        const char* firstFooter;  // of the first group
    } const cases[] = {
        {"Rousa2ConfigurationListController", 11, "Sleep button", "What the sleep button does while an alarm rings."},
        {"Rousa2TimeListController", 15, "Show in the Clock app", nullptr},
        {"Rousa2DefaultListController", 18, "Own settings", "The settings that a new alarm starts with."},
        {"Rousa2ActivatorListController", 5, "Stop the alarm", "Assign gestures to these actions in Activator's own settings."},
        {"Rousa2CreditsListController", 5, "Quillory", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        Ref<PSListController> page = push(c.className);
        ASSERT_TRUE(page);
        Value first = sel::specifiers(page);
        ASSERT_EQ(first.count(), c.rows);
        EXPECT_EQ(sel::text(sel::textLabel(cell(page, 0, 0))), Value(c.firstRow));
        EXPECT_EQ(sel::tableView_titleForFooterInSection_(page, page->table_, 0), c.firstFooter ? Value(c.firstFooter) : Value());
        // The same rows at every call, localized again.
        auto* row = first.at(1).objectAs<PSSpecifier>();
        row->name = Value("CREDITS");
        Value again = sel::specifiers(page);
        EXPECT_EQ(again.at(1).object(), row);
        EXPECT_EQ(row->name, Value("Credits"));
    }
}

TEST_F(SettingsTest, TheTimeFormatsPageIsNotLocalized) {
    Ref<PSListController> page = push("WKSTimeFormatListController");
    Value rows = sel::specifiers(page);
    ASSERT_EQ(rows.count(), 5u);
    EXPECT_EQ(rows.at(1).objectAs<PSSpecifier>()->name, Value("0: 1d 2h 5m"));
    rows.at(1).objectAs<PSSpecifier>()->name = Value("CREDITS");
    EXPECT_EQ(sel::specifiers(page).at(1).objectAs<PSSpecifier>()->name, Value("CREDITS"));
}

TEST_F(SettingsTest, APageWithoutItsDescriptionHasNoRowsButKeepsItsTitle) {
    platform::testing::removeDeviceRoot(env.hostPath(std::string(kRousaBundlePath) + "/Rousa2Credits.plist"));
    Ref<PSListController> page = push("Rousa2CreditsListController", "CREDITS");
    EXPECT_EQ(sel::specifiers(page).count(), 0u);
    EXPECT_EQ(sel::numberOfSectionsInTableView_(page, page->table_), 1);
    EXPECT_EQ(sel::tableView_numberOfRowsInSection_(page, page->table_, 0), 0);
    EXPECT_EQ(sel::text(sel::titleView(sel::navigationItem(page))), Value("Credits"));
}

TEST_F(SettingsTest, LinksOpenTheirPagesTitledWithTheRowsName) {
    Ref<PSListController> root = openRoot();
    ASSERT_TRUE(root);
    select(root, 0, 1);
    Ref<Object> page = top();
    EXPECT_TRUE(isKindOfClass(page, "Rousa2TimeListController"));
    EXPECT_EQ(sel::text(sel::titleView(sel::navigationItem(page))), Value("Time until the alarm"));
    // The page found its description in the bundle it was opened from.
    EXPECT_EQ(sel::specifiers(page).count(), 15u);
    EXPECT_EQ(sel::navigationController(page).get(), preferences::rootNavigationController());
}

// --- row changes -----------------------------------------------------------------------------------

int notifications = 0;
Value fileAtNotification;
void countNotification(CFNotificationCenterRef, void*, const Value&, const void*, const Value&) {
    ++notifications;
    fileAtNotification = RousaReadPrefsFile();
}

class RowChanges : public SettingsTest {
protected:
    RowChanges() {
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, &countNotification, Value(kPrefsChangedNotification),
                                        nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
        EXPECT_TRUE(plist::writeFile(kRousaPrefsPath, Value{{"Alarms", Value::array({Value{{"alarmId", Value("A")}}})}, {"numRight", Value(3)}}));
    }
    ~RowChanges() override { CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this); }

    // Makes the change a user makes on the row and answers the value stored.
    Value change(PSListController* page, const Row& row) {
        PSSpecifier* s = row.specifier;
        Value def = s->property("default");
        Ref<Object> c = cell(page, row.path.section, row.path.row);
        switch (s->cellType) {
            case PSSwitchCell: {
                auto* toggle = as<UISwitch>(sel::control(c).get());
                EXPECT_EQ(toggle->on_, def.boolValue());
                sel::setOn_(toggle, !toggle->on_);
                toggle->sendActions(UIControlEventValueChanged, nullptr);
                return Value(!def.boolValue());
            }
            case PSSliderCell: {
                auto* slider = as<UISlider>(sel::control(c).get());
                EXPECT_FLOAT_EQ(slider->value_, def.floatValue());
                sel::setValue_(slider, 0.5f);
                slider->sendActions(UIControlEventValueChanged, nullptr);
                return Value(0.5);
            }
            case PSEditTextCell: {
                auto* field = as<UITextField>(sel::textField(c).get());
                EXPECT_EQ(sel::text(field), Value(def.description()));
                sel::becomeFirstResponder(field);
                while (field->deleteBackward()) {
                }
                EXPECT_TRUE(field->insertText("42"));
                field->pressReturn();
                return Value(42);  // a number row stores a number
            }
            case PSLinkListCell: {
                EXPECT_EQ(sel::text(sel::detailTextLabel(c)), s->titleOfValue(def, true));
                select(page, row.path.section, row.path.row);
                Ref<PSListController> items(as<PSListController>(top().get()));
                EXPECT_TRUE(isKindOfClass(items, "RS2ListItemsController"));
                Value chosen;
                long long chosenRow = -1;
                for (std::size_t i = 0; i < s->values.count(); ++i)
                    if (!(s->values.at(i) == def)) chosen = s->values.at(i), chosenRow = static_cast<long long>(i);
                select(items, 0, chosenRow);
                sel::popViewControllerAnimated_(preferences::rootNavigationController(), true);
                return chosen;
            }
            default: ADD_FAILURE() << "not a stored row"; return Value();
        }
    }
};

TEST_F(RowChanges, EveryRowWritesItsKindThroughToTheFileAndTheLoaderReadsIt) {
    int alarms = 1;
    for (const auto& p : testing::kPages) {
        Ref<PSListController> page = push(p.className);
        for (const Row& row : rows(page)) {
            PSSpecifier* s = row.specifier;
            if (!s->property("key").isString()) continue;
            std::string key = s->property("key").string();
            SCOPED_TRACE(std::string(p.plistName) + " " + key);
            const Key* known = keyNamed(key);
            ASSERT_NE(known, nullptr);
            // Another process adds a record meanwhile; the write must keep it.
            ASSERT_TRUE(plist::update(kRousaPrefsPath, [&](Value::Dictionary& d) {
                d["Alarms"].mutableArray().push_back(Value{{"alarmId", Value("B" + std::to_string(alarms))}});
                return true;
            }));
            ++alarms;
            int before = notifications;

            Value expected = change(page, row);
            Value file = RousaReadPrefsFile();
            EXPECT_EQ(file[key].kind(), expected.kind());
            EXPECT_EQ(file[key], expected);
            EXPECT_EQ(file["Alarms"].count(), static_cast<std::size_t>(alarms));
            EXPECT_EQ(file["numRight"], Value(3));
            if (known->source == Source::Domain) {
                EXPECT_EQ(CFPreferencesCopyAppValue(key, kRousaDomain), expected);
            }

            RunLoop::main().advance(0.01);
            EXPECT_EQ(notifications, before + 1);
            EXPECT_EQ(fileAtNotification[key], expected);

            RousaLoadPrefs(false);
            Value loaded = known->global();
            if (expected.isString()) {
                EXPECT_EQ(loaded, Value(42));
            } else if (expected.kind() == Value::Kind::Real) {
                EXPECT_FLOAT_EQ(static_cast<float>(loaded.doubleValue()), 0.5f);
            } else {
                EXPECT_EQ(loaded, expected);
            }
        }
        sel::popViewControllerAnimated_(preferences::rootNavigationController(), false);
    }
}

TEST_F(RowChanges, ARowShowsItsStoredValueElseItsDefault) {
    Ref<PSListController> page = push("Rousa2ConfigurationListController");
    EXPECT_TRUE(as<UISwitch>(sel::control(cell(page, 1, 0)).get())->on_);            // swipedelete, default YES
    EXPECT_EQ(sel::text(sel::detailTextLabel(cell(page, 0, 0))), Value("Snooze, hide the alert"));  // sleepaction 1
    ASSERT_TRUE(plist::update(kRousaPrefsPath, [](Value::Dictionary& d) {
        d["swipedelete"] = Value(false);
        d["sleepaction"] = Value(3);
        return true;
    }));
    EXPECT_FALSE(as<UISwitch>(sel::control(cell(page, 1, 0)).get())->on_);
    EXPECT_EQ(sel::text(sel::detailTextLabel(cell(page, 0, 0))), Value("Screen on or off only"));
    EXPECT_EQ(notifications, 0);
}

// --- the root page -----------------------------------------------------------------------------------

TEST_F(SettingsTest, TheRootPageShowsItsTitleImageCentredInTheBar) {
    Ref<PSListController> root = openRoot();
    Ref<Object> view = sel::titleView(sel::navigationItem(root));
    ASSERT_TRUE(isKindOfClass(view, "UIImageView"));
    Ref<Object> image = sel::image(view);
    ASSERT_TRUE(image);
    EXPECT_EQ(sel::size(image), (Size{120, 30}));
    EXPECT_EQ(sel::frame(view), Rect(320 * 0.5 - 60, (44 - 30) * 0.5, 120, 30));
}

TEST_F(SettingsTest, TheWebsiteButtonOpensTheProductsPage) {
    Ref<PSListController> root = openRoot();
    select(root, 1, 1);
    auto* app = UIApplication::sharedApplication();
    ASSERT_EQ(app->openedURLs_.size(), 1u);
    EXPECT_EQ(app->openedURLs_[0], Value(kWebsiteAddress));
}

TEST_F(SettingsTest, LeavingTheRootPageClearsTheBarsTints) {
    Ref<PSListController> root = openRoot();
    auto* bar = preferences::rootNavigationController()->navigationBar_.get();
    EXPECT_TRUE(bar->tintColor_);
    sel::setBarTintColor_(bar, settingsAccentColor());
    select(root, 0, 0);  // the configuration page comes on top
    EXPECT_FALSE(bar->barTintColor_);
    // The page that appeared tinted the bar again.
    EXPECT_TRUE(as<UIColor>(bar->tintColor_.get())->sameComponents(*as<UIColor>(settingsAccentColor().get())));
}

}  // namespace
}  // namespace rousa
