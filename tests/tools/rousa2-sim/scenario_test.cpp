#include "tools/rousa2-sim/scenario.h"

#include <gtest/gtest.h>

namespace rousa::sim {
namespace {

Scenario parsed(const std::string& text) {
    auto result = parseScenario(text, "s.scenario");
    if (auto* error = std::get_if<ParseError>(&result)) ADD_FAILURE() << error->message;
    return std::get_if<Scenario>(&result) ? std::get<Scenario>(result) : Scenario{};
}

Step only(const std::string& line) {
    Scenario s = parsed(line);
    EXPECT_EQ(s.steps.size(), 1u) << line;
    return s.steps.empty() ? Step{} : s.steps.front();
}

TEST(ScenarioSteps, EachStepGoesToItsHostWithWhatItNames) {
    struct Case {
        std::string line;
        Op op;
        std::string host, text, value;
        double number;
        long long seconds;
    };
    const Case cases[] = {
        {"in clock: add alarm 07:05 \"Wake up\"", Op::AddAlarm, "clock", "Wake up", "", 0, 7 * 3600 + 300},
        {"add alarm 23:59:30 \"Late\"", Op::AddAlarm, "clock", "Late", "", 0, 86370},
        {"tap \"Unit\" after \"Snooze duration\"", Op::Tap, "springboard", "Unit", "Snooze duration", 0, 0},
        {"in clock: tap \"Edit\"", Op::Tap, "clock", "Edit", "", 0, 0},
        {"type 12.5", Op::Type, "springboard", "", "12.5", 0, 0},
        {"long-press row 2 to \"clone\"", Op::LongPressRow, "clock", "clone", "", 2, 0},
        {"set defSnoozeTime 4", Op::Set, "settings", "defSnoozeTime", "4", 0, 0},
        {"set alarmTimeTitle on", Op::Set, "settings", "alarmTimeTitle", "on", 0, 0},
        {"expect record \"Wake\" snoozeTime 7", Op::ExpectRecord, "clock", "Wake", "snoozeTime", 7, 0},
        {"expect window \"Wake\" with question", Op::ExpectWindow, "springboard", "Wake", "question", 0, 0},
        {"in clock: expect no window \"1h 31m\"", Op::ExpectNoWindow, "clock", "1h 31m", "", 0, 0},
        {"expect alarm \"Wake\" at 07:07", Op::ExpectAlarm, "springboard", "Wake", "", 0, 7 * 3600 + 420},
        {"expect volume 0.25", Op::ExpectVolume, "springboard", "", "", 0.25, 0},
        {"wait 90s", Op::Wait, "", "", "", 90, 0},
        {"wait 5m", Op::Wait, "", "", "", 300, 0},
        {"wait 2h", Op::Wait, "", "", "", 7200, 0},
        {"at 07:00:30", Op::At, "", "", "", 0, 7 * 3600 + 30},
        {"activator snooze-alarm", Op::Activator, "springboard", "snooze-alarm", "", 0, 0},
        {"tap \"Snooze\"   # the big button", Op::Tap, "springboard", "Snooze", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Step s = only(c.line);
        EXPECT_EQ(s.op, c.op);
        EXPECT_EQ(s.host, c.host);
        EXPECT_EQ(s.text, c.text);
        EXPECT_EQ(s.value, c.value);
        EXPECT_DOUBLE_EQ(s.number, c.number);
        EXPECT_EQ(s.seconds, c.seconds);
        EXPECT_EQ(s.line, 1);
    }
}

TEST(ScenarioSteps, AnEditListsItsChangesInOrder) {
    Step s = only("edit \"Wake\": snooze 7 minutes; stop after 2 minutes ; question hard; volume 0.5; then snooze;");
    EXPECT_EQ(s.op, Op::EditAlarm);
    EXPECT_EQ(s.text, "Wake");
    using Change = std::pair<std::string, std::string>;
    EXPECT_EQ(s.changes, (std::vector<Change>{{"snooze", "7 minutes"}, {"stop", "2 minutes"}, {"question", "hard"}, {"volume", "0.500000"}, {"then", "snooze"}}));
}

TEST(ScenarioSteps, TheHeaderSetsTheDeviceAndTheDeviceLineItsState) {
    Scenario s = parsed("# a comment\n\nios 8\ntimezone Europe/Berlin\ndevice pad, locked, ringer muted, ringtone 0.7\nwait 1s\n");
    EXPECT_EQ(s.version, "8");
    EXPECT_EQ(s.timeZone, "Europe/Berlin");
    EXPECT_TRUE(s.pad);
    ASSERT_EQ(s.steps.size(), 2u);
    EXPECT_EQ(s.steps[0].op, Op::Device);
    EXPECT_EQ(s.steps[0].line, 5);
    EXPECT_EQ(s.steps[0].device, (std::map<std::string, std::string>{{"locked", "1"}, {"ringerMuted", "1"}, {"ringtone", "0.700000"}}));
    EXPECT_EQ(s.steps[1].line, 6);
    EXPECT_EQ(parsed("wait 1s").version, "9.3");
    EXPECT_DOUBLE_EQ(parsed("cf 1241.11\nwait 1s").coreFoundation, 1241.11);
}

TEST(ScenarioErrors, NameTheFileTheLineAndWhatIsWrong) {
    struct Case {
        std::string text, message;
    };
    const Case cases[] = {
        {"ios 9\nadd alarm 07:00 \"Wake\"\nat 25:00", "s.scenario:3: expected a time HH:MM or HH:MM:SS, not \"25:00\""},
        {"ios 10", "s.scenario:1: iOS 7, 8 or 9"},
        {"wait 1s\nios 9", "s.scenario:2: \"ios\" comes before the first step"},
        {"ios 9\ncf 1241\nwait 1s", "s.scenario:2: the version is given twice"},
        {"wait 1s\ndevice pad", "s.scenario:2: a device is a pad or a phone from its start: say so before the first step"},
        {"device sleepy", "s.scenario:1: unknown device state \"sleepy\""},
        {"device ringtone 1.5", "s.scenario:1: a volume is between 0 and 1"},
        {"in phone: tap \"OK\"", "s.scenario:1: no host \"phone\": springboard, clock, settings or app"},
        {"in clock tap \"OK\"", "s.scenario:1: expected \":\" after the host"},
        {"tap OK", "s.scenario:1: expected a quoted text at \"OK\""},
        {"tap \"OK", "s.scenario:1: unterminated quote"},
        {"tap \"OK\" twice", "s.scenario:1: unexpected \"twice\""},
        {"type 12a", "s.scenario:1: the number pad types digits and points"},
        {"press power", "s.scenario:1: press lock, home, volume-up or volume-down"},
        {"long-press row 0", "s.scenario:1: rows count from 1 to 10000"},
        {"long-press row 1.5", "s.scenario:1: rows count from 1 to 10000"},
        {"wait soon", "s.scenario:1: expected a duration such as 90s, 5m or 1h, not \"soon\""},
        {"edit \"Wake\" snooze 5 minutes", "s.scenario:1: expected \":\" and the changes after the alarm's title"},
        {"edit \"Wake\":", "s.scenario:1: no change given"},
        {"edit \"Wake\": colour red", "s.scenario:1: unknown setting \"colour\" of an alarm"},
        {"edit \"Wake\": snooze 5 days", "s.scenario:1: \"snooze\" takes seconds, minutes or hours"},
        {"edit \"Wake\": fade 1 hours", "s.scenario:1: \"fade\" takes seconds or minutes"},
        {"edit \"Wake\": question easy-ish", "s.scenario:1: \"question\" does not take \"easy-ish\""},
        {"edit \"Wake\": volume 2", "s.scenario:1: a volume is between 0 and 1"},
        {"set defVolume", "s.scenario:1: set <key> <value>"},
        {"expect record \"Wake\" colour 1", "s.scenario:1: a record has no field \"colour\""},
        {"expect window \"Wake\" with snacks", "s.scenario:1: a window is with question or with buttons"},
        {"expect no ringing", "s.scenario:1: expect window, no window, not tappable, volume, alarm, no alarm, record, ringing, silent or app"},
        {"expect app \"springboard\" ended", "s.scenario:1: an app is \"clock\" or \"settings\""},
        {"device switcher clock phone", "s.scenario:1: the switcher lists clock and settings"},
        {"device volume-read works", "s.scenario:1: expected \"fails\" at \"works\""},
        {"dance", "s.scenario:1: unknown step \"dance\""},
        {"# only a comment\n", "s.scenario: no steps"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto result = parseScenario(c.text, "s.scenario");
        ASSERT_TRUE(std::holds_alternative<ParseError>(result));
        EXPECT_EQ(std::get<ParseError>(result).message, c.message);
    }
}

// The publisher app's steps come after the ad server's start; each names its
// ad unit, text, path or keys.
TEST(ScenarioAdSteps, EachStepOfTheAppTakesWhatItNames) {
    struct Case {
        std::string line;
        Op op;
        std::string host, text, value;
        double number;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"in app: load banner \"html-banner\"", Op::LoadBanner, "app", "html-banner", "", 0, {}},
        {"in app: load interstitial \"html-interstitial\"", Op::LoadInterstitial, "app", "html-interstitial", "", 0, {}},
        {"in app: show interstitial", Op::ShowInterstitial, "app", "", "", 0, {}},
        {"in app: tap ad", Op::TapAd, "app", "", "", 0, {}},
        {"in app: tap ad \"Close\"", Op::TapAd, "app", "Close", "", 0, {}},
        {"in app: tap \"Cancel\"", Op::Tap, "app", "Cancel", "", 0, {}},
        {"in app: rotate landscape", Op::Rotate, "app", "", "landscape", 0, {}},
        {"in app: offline", Op::Network, "app", "", "offline", 0, {}},
        {"in app: background", Op::Background, "app", "", "", 0, {}},
        {"in app: expect callbacks \"adViewDidReceiveAd:\" \"adViewWillPresentScreen:\"", Op::ExpectCallbacks, "app", "", "", 0,
         {"adViewDidReceiveAd:", "adViewWillPresentScreen:"}},
        {"in app: expect callbacks none", Op::ExpectCallbacks, "app", "", "", 0, {}},
        {"in app: expect request \"/ping/imp\" times 2 with slotname, request_id", Op::ExpectRequest, "app", "/ping/imp", "", 2,
         {"slotname", "request_id"}},
        {"in app: expect request \"/mads/gma\"", Op::ExpectRequest, "app", "/mads/gma", "", -1, {}},
        {"in app: expect no request \"/ping/click\"", Op::ExpectNoRequest, "app", "/ping/click", "", -1, {}},
        {"in app: expect opened browser", Op::ExpectOpened, "app", "", "browser", 0, {}},
        {"in app: expect opened url \"mailto:\"", Op::ExpectOpened, "app", "mailto:", "url", 0, {}},
        {"in app: expect ad \"Rousa\"", Op::ExpectAd, "app", "Rousa", "", 0, {}},
        {"in app: expect ad size 320x250", Op::ExpectAdSize, "app", "", "320x250", 0, {}},
        {"in app: expect banner 480x32", Op::ExpectBanner, "app", "", "480x32", 0, {}},
        {"in app: expect window \"Permission\"", Op::ExpectWindow, "app", "Permission", "", 0, {}},
        {"in app: load native ads content \"native-content\"", Op::LoadNative, "app", "", "", 0, {}},
        {"in app: expect native content \"Quillory\" \"Read more\"", Op::ExpectNative, "app", "", "content", 0, {"Quillory", "Read more"}},
        {"ad server fault unit:html-banner status:500", Op::AdServerFault, "", "unit:html-banner status:500", "", 0, {}},
        {"ad server clear faults", Op::AdServerClear, "", "", "", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Scenario s = parsed("ad server \"inventory\"\n" + c.line);
        ASSERT_EQ(s.steps.size(), 2u);
        EXPECT_EQ(s.steps[0].op, Op::AdServer);
        EXPECT_EQ(s.steps[0].text, "inventory");
        const Step& step = s.steps[1];
        EXPECT_EQ(step.op, c.op);
        EXPECT_EQ(step.host, c.host);
        EXPECT_EQ(step.text, c.text);
        EXPECT_EQ(step.value, c.value);
        if (c.op == Op::ExpectRequest || c.op == Op::ExpectNoRequest) {
            EXPECT_DOUBLE_EQ(step.number, c.number);
        }
        EXPECT_EQ(step.texts, c.texts);
    }
}

// Native ads load one format after the other, in the order the formats are named.
TEST(ScenarioAdSteps, ANativeLoadNamesEachFormatsAdUnit) {
    Scenario s = parsed("ad server\nin app: load native ads app-install \"a\" content \"b\"\nin app: load native ads content \"c\"");
    ASSERT_EQ(s.steps.size(), 3u);
    using Loads = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(s.steps[1].changes, (Loads{{"app-install", "a"}, {"content", "b"}}));
    EXPECT_EQ(s.steps[2].changes, (Loads{{"content", "c"}}));
}

TEST(ScenarioAdSteps, ABrokenStepOfTheAppOrTheServerNamesItsLine) {
    struct Case {
        std::string text, message;
    };
    const Case cases[] = {
        {"in app: load banner \"html-banner\"", "s.scenario:1: the ad server is started (\"ad server\") before the app's first step"},
        {"ad server fault unit:x status:500", "s.scenario:1: the ad server is started (\"ad server\") before its faults"},
        {"ad server\nad server", "s.scenario:2: the ad server is started once"},
        {"ad server\nad server fault unit:x sometimes",
         "s.scenario:2: ad server fault unit:<ad unit>|path:/<path> delay:<s>|status:<code>|truncate|garbage|drop|redirect:<hops>"},
        {"ad server\nad server fault slot:x drop",
         "s.scenario:2: ad server fault unit:<ad unit>|path:/<path> delay:<s>|status:<code>|truncate|garbage|drop|redirect:<hops>"},
        {"ad server\nin app: load video \"x\"", "s.scenario:2: load banner, load interstitial or load native ads"},
        {"ad server\nin app: load native ads", "s.scenario:2: load native ads [app-install \"<ad unit>\"] [content \"<ad unit>\"]"},
        {"ad server\nin app: load native ads video \"x\"", "s.scenario:2: load native ads [app-install \"<ad unit>\"] [content \"<ad unit>\"]"},
        {"ad server\nin app: load native ads content \"x\" app-install \"y\"",
         "s.scenario:2: load native ads [app-install \"<ad unit>\"] [content \"<ad unit>\"]"},
        {"ad server\nin app: expect native video \"x\"", "s.scenario:2: expect native app-install or content \"<text>\"..."},
        {"ad server\nin app: expect native content", "s.scenario:2: expect native content \"<text>\"..."},
        {"ad server\nin app: load banner html-banner", "s.scenario:2: expected a quoted text at \"html-banner\""},
        {"ad server\nin app: rotate sideways", "s.scenario:2: rotate landscape or portrait"},
        {"ad server\nin app: expect callbacks", "s.scenario:2: expect callbacks \"<callback>\"... or none"},
        {"ad server\nin app: expect request \"ping\"", "s.scenario:2: a request's path starts with /"},
        {"ad server\nin app: expect request \"/ping\" times 1.5", "s.scenario:2: a request comes a whole number of times"},
        {"ad server\nin app: expect opened fax", "s.scenario:2: expect opened browser, store, mail, message, calendar or url"},
        {"ad server\nin app: expect banner big", "s.scenario:2: expect banner <width>x<height>"},
        {"ad server\nload banner \"x\"", "s.scenario:2: \"load\" is a step of the app: in app: load ..."},
        {"ad server\nexpect app \"app\" ended", "s.scenario:2: an app is \"clock\" or \"settings\""},
        {"device switcher app", "s.scenario:1: the switcher lists clock and settings"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto result = parseScenario(c.text, "s.scenario");
        ASSERT_TRUE(std::holds_alternative<ParseError>(result));
        EXPECT_EQ(std::get<ParseError>(result).message, c.message);
    }
}

// Numbers out of range, NaN or too large for the clock are the scenario's
// errors, never undefined behaviour in the player.
TEST(ScenarioErrors, EveryNumberIsCheckedForRangeAndNaN) {
    struct Case {
        std::string text, message;
    };
    const Case cases[] = {
        {"ios 99999999999", "s.scenario:1: iOS 7, 8 or 9"},
        {"ios 9x", "s.scenario:1: iOS 7, 8 or 9"},
        {"cf nan\nwait 1s", "s.scenario:1: expected a number, not \"nan\""},
        {"cf 1e300\nwait 1s", "s.scenario:1: a CoreFoundation version is between 1 and 100000"},
        {"wait 1e300s", "s.scenario:1: a scenario plays for ten years at most"},
        {"wait nans", "s.scenario:1: expected a duration such as 90s, 5m or 1h, not \"nans\""},
        {"wait infm", "s.scenario:1: expected a duration such as 90s, 5m or 1h, not \"infm\""},
        {"wait 9e18s\nwait 9e18s", "s.scenario:1: a scenario plays for ten years at most"},
        {"wait 3000d", "s.scenario:1: expected a duration such as 90s, 5m or 1h, not \"3000d\""},
        {"wait 80000h\nwait 10000h", "s.scenario:2: a scenario plays for ten years at most"},
        {"long-press row 1e300", "s.scenario:1: rows count from 1 to 10000"},
        {"long-press row nan", "s.scenario:1: expected a number, not \"nan\""},
        {"device ringtone nan", "s.scenario:1: expected a number, not \"nan\""},
        {"expect volume -inf", "s.scenario:1: expected a number, not \"-inf\""},
        {"expect record \"Wake\" volume nan", "s.scenario:1: expected a number, not \"nan\""},
        {"edit \"Wake\": snooze 1e300 minutes", "s.scenario:1: \"snooze\" takes 0 to 1000000"},
        {"edit \"Wake\": volume nan", "s.scenario:1: expected a number, not \"nan\""},
        {"at 99999999999:00", "s.scenario:1: expected a time HH:MM or HH:MM:SS, not \"99999999999:00\""},
        {"add alarm 7:5 \"Wake\"", "s.scenario:1: expected a time HH:MM or HH:MM:SS, not \"7:5\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto result = parseScenario(c.text, "s.scenario");
        ASSERT_TRUE(std::holds_alternative<ParseError>(result));
        EXPECT_EQ(std::get<ParseError>(result).message, c.message);
    }
}

TEST(ScenarioSteps, AnAtWhoseTimeHasPassedIsTomorrowsAndNoError) {
    Scenario s = parsed("at 23:59\nat 00:01:30\nat 05:00\nat 05:00");
    ASSERT_EQ(s.steps.size(), 4u);
    EXPECT_EQ(s.steps[1].seconds, 90);
    EXPECT_EQ(s.steps[2].seconds, 5 * 3600);
}

TEST(ScenarioSteps, TheStepsUsersAskedFor) {
    Step add = only("add alarm 07:00 \"Wake\": snooze 7 minutes; question easy");
    EXPECT_EQ(add.op, Op::AddAlarm);
    EXPECT_EQ(add.text, "Wake");
    using Change = std::pair<std::string, std::string>;
    EXPECT_EQ(add.changes, (std::vector<Change>{{"snooze", "7 minutes"}, {"question", "easy"}}));
    EXPECT_TRUE(only("add alarm 07:00 \"Wake\"").changes.empty());

    Step notTappable = only("expect not tappable \"Snooze\"");
    EXPECT_EQ(notTappable.op, Op::ExpectNotTappable);
    EXPECT_EQ(notTappable.text, "Snooze");

    Step ended = only("expect app \"clock\" ended reason 1");
    EXPECT_EQ(ended.op, Op::ExpectAppEnded);
    EXPECT_EQ(ended.text, "clock");
    EXPECT_EQ(ended.value, "1");
    EXPECT_EQ(only("in settings: expect app \"settings\" ended").value, "");

    Step device = only("device switcher settings clock, volume-read fails, locked");
    EXPECT_EQ(device.device,
              (std::map<std::string, std::string>{{"switcher", "settings clock"}, {"volumeReadFails", "1"}, {"locked", "1"}}));
}

TEST(ScenarioClock, TimesOfDayReadAsTheClockShowsThem) {
    EXPECT_EQ(clockText(0), "00:00:00");
    EXPECT_EQ(clockText(7 * 3600 + 5 * 60 + 9), "07:05:09");
    EXPECT_EQ(clockText(86400 + 60), "00:01:00");  // the next day
}

}  // namespace
}  // namespace rousa::sim
