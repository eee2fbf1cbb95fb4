// A scenario: what a user does on one simulated device, one step a line. The
// whole text is parsed and checked before anything runs.
//
//   # a comment
//   ios 9                     (or: cf 1241.11)       at most once, first
//   timezone Europe/Berlin                          at most once, first
//   device locked, ringer muted, ringtone 0.7, pad, switcher clock settings,
//          volume-read fails
//   at 07:00 (tomorrow's when it has passed today)   |   wait 90s   (s, m or h)
//   [in springboard|clock|settings:] <step>
//
// Steps: press lock|home|volume-up|volume-down; touch-id; tap "<text>" [after
// "<text>"]; type <digits and points>; answer; long-press row <n> [to
// "<item>"] (holds, then slides onto the item before lifting); activator
// stop-alarm|snooze-alarm|turnon-alarms|turnoff-alarms; alert "<title>";
// add alarm HH:MM "<title>" [: <change>; <change>...]; edit "<title>":
// <change>; <change>...; set <preference key> <value>; expect window "<text>"
// [with question|with buttons]; expect no window "<text>"; expect not
// tappable "<text>"; expect volume <v>; expect alarm "<title>" at
// HH:MM[:SS]; expect no alarm "<title>"; expect record "<title>" <field>
// <value>; expect ringing; expect silent; expect app "<host>" ended [reason
// <n>].
//
// The publisher app and the ad server ("app" is the sample publisher app):
//   ad server [<inventory folder, from the scenario's folder>]   before the app's first step
//   ad server fault unit:<ad unit>|path:/<path> delay:<s>|status:<code>|truncate|garbage|drop|redirect:<hops>
//   ad server clear faults
//   in app: load banner "<ad unit>"; load interstitial "<ad unit>"; show interstitial;
//           load native ads [app-install "<ad unit>"] [content "<ad unit>"] (one load each, in turn);
//           tap ad ["<text>"] (the ad in front, its element showing the text or its link);
//           tap "<text>"; rotate landscape|portrait; background; foreground; offline; online;
//           expect callbacks "<callback>"... (those since the last such expectation, in order;
//           none for nothing); expect request "<path>" [times <n>] [with <key>,<key>...];
//           expect no request "<path>"; expect opened browser|store|mail|message|calendar|url
//           "<start>"; expect ad "<text>"; expect no ad; expect banner <w>x<h> (the banner view);
//           expect ad size <w>x<h> (the ad in front); expect native app-install|content "<text>"...
//           (what the app's view of that native ad shows); expect window "<text>".
//
// The switcher lists hosts, most recent first. Numbers are finite and in
// their range; a scenario plays for ten years at most.
//
// An alarm's changes: snooze <n> seconds|minutes|hours; fade <n>
// seconds|minutes; stop after <n> seconds|minutes; then stop|snooze; question
// off|easy|normal|hard|lifeless; volume <0-1>; enabled on|off (its own
// settings); vibrate-ring on|off; vibrate-silent on|off.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace rousa::sim {

enum class Op {
    Device, At, Wait, Press, TouchID, Tap, Type, Answer, LongPressRow, Activator, SystemAlert, AddAlarm, EditAlarm, Set,
    ExpectWindow, ExpectNoWindow, ExpectNotTappable, ExpectVolume, ExpectAlarm, ExpectNoAlarm, ExpectRecord, ExpectRinging,
    ExpectSilent, ExpectAppEnded,
    AdServer, AdServerFault, AdServerClear, LoadBanner, LoadInterstitial, ShowInterstitial, TapAd, Rotate, Background, Foreground,
    Network, ExpectCallbacks, ExpectRequest, ExpectNoRequest, ExpectOpened, ExpectAd, ExpectNoAd, ExpectBanner, ExpectAdSize,
    LoadNative, ExpectNative,
};

struct Step {
    int line = 0;
    std::string source;  // the line as written
    std::string host;    // "springboard", "clock", "settings" or "app"
    Op op = Op::Wait;
    std::string text;    // the quoted text, button, key or field
    std::string value;   // the step's value (digits, record value, mode, ...)
    double number = 0;   // seconds, volume, row
    long long seconds = 0;  // a time of day, in seconds after midnight
    std::map<std::string, std::string> device;  // device items
    std::vector<std::pair<std::string, std::string>> changes;  // edit: (setting, value); native loads: (format, ad unit)
    std::vector<std::string> texts;  // callbacks, query keys
};

struct Scenario {
    std::string version;      // "9.3"
    double coreFoundation = 0;
    std::string timeZone = "UTC";
    bool pad = false;
    std::vector<Step> steps;
    bool adServer = false;  // an "ad server" step starts it
};

struct ParseError {
    std::string message;  // "file:line: message"
};

// Parses and checks the text; the errors name the file and the line.
std::variant<Scenario, ParseError> parseScenario(const std::string& text, const std::string& fileName);

// "07:05:30" for a time of day in seconds.
std::string clockText(long long secondsOfDay);

}  // namespace rousa::sim
