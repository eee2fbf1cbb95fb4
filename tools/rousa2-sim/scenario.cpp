#include "tools/rousa2-sim/scenario.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <variant>

#include "tools/ad-server/fault.h"

namespace rousa::sim {

namespace {

// The device's clock starts at 06:00 local time.
constexpr long long kStartOfDay = 6 * 3600;

std::string trim(std::string s) {
    auto start = s.find_first_not_of(" \t\r");
    if (start == std::string::npos) return {};
    auto end = s.find_last_not_of(" \t\r");
    return s.substr(start, end - start + 1);
}


// Drops a comment that is not inside quotes.
std::string stripComment(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == '#' && !quoted) return line.substr(0, i);
    }
    return line;
}

struct LineError {
    std::string message;
};

// A reader over the rest of a line.
class Words {
public:
    explicit Words(std::string s) : s_(std::move(s)) {}
    bool done() {
        skip();
        return i_ >= s_.size();
    }
    std::string rest() {
        skip();
        std::string r = trim(s_.substr(i_));
        i_ = s_.size();
        return r;
    }
    std::string word() {
        skip();
        std::size_t start = i_;
        while (i_ < s_.size() && !std::isspace(static_cast<unsigned char>(s_[i_])) && s_[i_] != '"' && s_[i_] != ':' && s_[i_] != ';' &&
               s_[i_] != ',')
            ++i_;
        if (start == i_) throw LineError{"expected a word" + near()};
        return s_.substr(start, i_ - start);
    }
    bool accept(const std::string& w) {
        skip();
        std::size_t save = i_;
        if (i_ >= s_.size()) return false;
        try {
            if (word() == w) return true;
        } catch (const LineError&) {
        }
        i_ = save;
        return false;
    }
    void expect(const std::string& w) {
        if (!accept(w)) throw LineError{"expected \"" + w + "\"" + near()};
    }
    bool atChar(char c) {
        skip();
        return i_ < s_.size() && s_[i_] == c;
    }
    bool acceptChar(char c) {
        skip();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    std::string quoted() {
        skip();
        if (i_ >= s_.size() || s_[i_] != '"') throw LineError{"expected a quoted text" + near()};
        auto end = s_.find('"', i_ + 1);
        if (end == std::string::npos) throw LineError{"unterminated quote"};
        std::string q = s_.substr(i_ + 1, end - i_ - 1);
        i_ = end + 1;
        return q;
    }
    // A finite number between the bounds.
    double number(double low, double high, const std::string& what) {
        std::string w = word();
        char* end = nullptr;
        double v = std::strtod(w.c_str(), &end);
        if (!end || *end != '\0' || !std::isfinite(v)) throw LineError{"expected a number, not \"" + w + "\""};
        if (v < low || v > high) throw LineError{what};
        return v;
    }
    void end() {
        if (!done()) throw LineError{"unexpected \"" + rest() + "\""};
    }
    std::string near() const { return i_ < s_.size() ? " at \"" + trim(s_.substr(i_)) + "\"" : " at the end of the line"; }

private:
    void skip() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
    }
    std::string s_;
    std::size_t i_ = 0;
};

long long timeOfDay(const std::string& text) {
    static const std::regex time(R"(^([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?$)");
    std::smatch m;
    if (std::regex_match(text, m, time)) {
        int h = std::stoi(m[1]), min = std::stoi(m[2]), s = m[3].matched ? std::stoi(m[3]) : 0;
        if (h < 24 && min < 60 && s < 60) return h * 3600LL + min * 60LL + s;
    }
    throw LineError{"expected a time HH:MM or HH:MM:SS, not \"" + text + "\""};
}

// The longest a scenario may play: the device's clock counts in nanoseconds.
constexpr double kLongestPlay = 10 * 366 * 86400.0;

double duration(const std::string& text) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    std::string unit = end ? end : "";
    const double scale = unit == "s" ? 1 : unit == "m" ? 60 : unit == "h" ? 3600 : 0;
    if (end == text.c_str() || !std::isfinite(v) || v < 0 || scale == 0)
        throw LineError{"expected a duration such as 90s, 5m or 1h, not \"" + text + "\""};
    if (v * scale > kLongestPlay) throw LineError{"a scenario plays for ten years at most"};
    return v * scale;
}

const std::set<std::string> kHosts = {"springboard", "clock", "settings", "app"};

// The edit screen's settings a scenario can change, with the values they take.
const std::map<std::string, std::set<std::string>> kEditChanges = {
    {"snooze", {"seconds", "minutes", "hours"}}, {"fade", {"seconds", "minutes"}},      {"stop", {"seconds", "minutes"}},
    {"question", {"off", "easy", "normal", "hard", "lifeless"}}, {"volume", {}},     {"enabled", {"on", "off"}},
    {"vibrate-ring", {"on", "off"}},              {"vibrate-silent", {"on", "off"}},  {"then", {"stop", "snooze"}},
};

void parseEditChange(const std::string& text, Step& step) {
    Words w(text);
    std::string setting = w.word();
    auto it = kEditChanges.find(setting);
    if (it == kEditChanges.end()) throw LineError{"unknown setting \"" + setting + "\" of an alarm"};
    if (setting == "snooze" || setting == "fade" || setting == "stop") {
        if (setting == "stop") w.accept("after");
        double amount = w.number(0, 1e6, "\"" + setting + "\" takes 0 to 1000000");
        std::string unit = w.word();
        if (!it->second.count(unit)) throw LineError{"\"" + setting + "\" takes " + (setting == "snooze" ? "seconds, minutes or hours" : "seconds or minutes")};
        w.end();
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g %s", amount, unit.c_str());
        step.changes.emplace_back(setting, buf);
        return;
    }
    if (setting == "volume") {
        double v = w.number(0, 1, "a volume is between 0 and 1");
        w.end();
        step.changes.emplace_back(setting, std::to_string(v));
        return;
    }
    std::string value = w.word();
    if (!it->second.count(value)) throw LineError{"\"" + setting + "\" does not take \"" + value + "\""};
    w.end();
    step.changes.emplace_back(setting, value);
}

// "<change>; <change>..." after an alarm's title and its ":".
void parseEditChanges(Words& w, Step& step) {
    std::stringstream parts(w.rest());
    std::string part;
    while (std::getline(parts, part, ';'))
        if (!trim(part).empty()) parseEditChange(trim(part), step);
    if (step.changes.empty()) throw LineError{"no change given"};
}

const std::set<std::string> kRecordFields = {"enabled",       "volume",        "snoozeTime",    "snoozeMeasure", "vibrateRing",
                                             "vibrateSilent", "dismissInterval", "dismissMeasure", "dismissAction", "fadeinTime",
                                             "fadeinMeasure", "calcEnabled",   "calcDifficult"};

void parseDevice(Words& w, Step& step, Scenario& scenario, bool atStart) {
    do {
        std::string item = w.word();
        if (item == "locked" || item == "unlocked") step.device["locked"] = item == "locked" ? "1" : "0";
        else if (item == "ringer") {
            std::string how = w.word();
            if (how != "muted" && how != "on") throw LineError{"\"ringer\" is muted or on"};
            step.device["ringerMuted"] = how == "muted" ? "1" : "0";
        } else if (item == "ringtone") {
            double v = w.number(0, 1, "a volume is between 0 and 1");
            step.device["ringtone"] = std::to_string(v);
        } else if (item == "switcher") {
            std::string order;
            while (!w.done() && !w.atChar(',')) {
                std::string host = w.word();
                if (!kHosts.count(host) || host == "springboard" || host == "app") throw LineError{"the switcher lists clock and settings"};
                order += (order.empty() ? "" : " ") + host;
            }
            step.device["switcher"] = order;
        } else if (item == "volume-read") {
            w.expect("fails");
            step.device["volumeReadFails"] = "1";
        } else if (item == "pad" || item == "phone") {
            if (!atStart) throw LineError{"a device is a pad or a phone from its start: say so before the first step"};
            scenario.pad = item == "pad";
        } else {
            throw LineError{"unknown device state \"" + item + "\""};
        }
    } while (w.acceptChar(','));
    w.end();
}

// "ad server ...": what the ad server serves and how it fails.
Step parseAdServer(Words& w, Step step) {
    step.host = "";
    if (w.accept("fault")) {
        step.op = Op::AdServerFault;
        step.text = w.rest();
        auto space = step.text.find(' ');
        std::string target = step.text.substr(0, space);
        rousa::adserver::Fault fault;
        if (space == std::string::npos || (target.rfind("unit:", 0) != 0 && target.rfind("path:/", 0) != 0) ||
            !rousa::adserver::parseFault(step.text.substr(space + 1), fault))
            throw LineError{"ad server fault unit:<ad unit>|path:/<path> delay:<s>|status:<code>|truncate|garbage|drop|redirect:<hops>"};
        return step;
    }
    if (w.accept("clear")) {
        w.expect("faults");
        step.op = Op::AdServerClear;
        w.end();
        return step;
    }
    step.op = Op::AdServer;
    if (!w.done()) step.text = w.quoted();
    w.end();
    return step;
}

// "320x50".
std::string sizeWord(Words& w, const char* usage) {
    std::string size = w.word();
    static const std::regex form(R"(^[0-9]{1,4}x[0-9]{1,4}$)");
    if (!std::regex_match(size, form)) throw LineError{usage};
    return size;
}

// The publisher app's own steps; nullopt for a verb it does not have.
std::optional<Step> parseAppStep(Words& w, const std::string& verb, Step step) {
    if (verb == "load" && w.accept("native")) {
        static const char* usage = "load native ads [app-install \"<ad unit>\"] [content \"<ad unit>\"]";
        w.expect("ads");
        step.op = Op::LoadNative;
        for (const char* format : {"app-install", "content"})
            if (w.accept(format)) step.changes.emplace_back(format, w.quoted());
        if (step.changes.empty()) throw LineError{usage};
        if (!w.done()) throw LineError{usage};
    } else if (verb == "load") {
        std::string what = w.word();
        if (what != "banner" && what != "interstitial") throw LineError{"load banner, load interstitial or load native ads"};
        step.op = what == "banner" ? Op::LoadBanner : Op::LoadInterstitial;
        step.text = w.quoted();
    } else if (verb == "show") {
        w.expect("interstitial");
        step.op = Op::ShowInterstitial;
    } else if (verb == "tap" && w.accept("ad")) {
        step.op = Op::TapAd;
        if (!w.done()) step.text = w.quoted();
    } else if (verb == "rotate") {
        step.op = Op::Rotate;
        step.value = w.word();
        if (step.value != "landscape" && step.value != "portrait") throw LineError{"rotate landscape or portrait"};
    } else if (verb == "background" || verb == "foreground") {
        step.op = verb == "background" ? Op::Background : Op::Foreground;
    } else if (verb == "offline" || verb == "online") {
        step.op = Op::Network;
        step.value = verb;
    } else if (verb == "expect") {
        bool no = w.accept("no");
        std::string what = w.word();
        if (what == "callbacks" && !no) {
            step.op = Op::ExpectCallbacks;
            if (!w.accept("none")) {
                while (!w.done()) step.texts.push_back(w.quoted());
                if (step.texts.empty()) throw LineError{"expect callbacks \"<callback>\"... or none"};
            }
        } else if (what == "request") {
            step.op = no ? Op::ExpectNoRequest : Op::ExpectRequest;
            step.text = w.quoted();
            if (step.text.empty() || step.text[0] != '/') throw LineError{"a request's path starts with /"};
            step.number = -1;
            if (!no && w.accept("times")) {
                step.number = w.number(0, 1e6, "a request comes 0 to 1000000 times");
                if (step.number != std::floor(step.number)) throw LineError{"a request comes a whole number of times"};
            }
            if (!no && w.accept("with")) {
                do step.texts.push_back(w.word());
                while (w.acceptChar(','));
            }
        } else if (what == "opened" && !no) {
            step.op = Op::ExpectOpened;
            step.value = w.word();
            static const std::set<std::string> destinations = {"browser", "store", "mail", "message", "calendar", "url"};
            if (!destinations.count(step.value)) throw LineError{"expect opened browser, store, mail, message, calendar or url"};
            if (step.value == "url") step.text = w.quoted();
        } else if (what == "ad" && !no && w.accept("size")) {
            step.op = Op::ExpectAdSize;
            step.value = sizeWord(w, "expect ad size <width>x<height>");
        } else if (what == "ad") {
            step.op = no ? Op::ExpectNoAd : Op::ExpectAd;
            if (!no) step.text = w.quoted();
        } else if (what == "native" && !no) {
            step.op = Op::ExpectNative;
            step.value = w.word();
            if (step.value != "app-install" && step.value != "content") throw LineError{"expect native app-install or content \"<text>\"..."};
            while (!w.done()) step.texts.push_back(w.quoted());
            if (step.texts.empty()) throw LineError{"expect native " + step.value + " \"<text>\"..."};
        } else if (what == "banner" && !no) {
            step.op = Op::ExpectBanner;
            step.value = sizeWord(w, "expect banner <width>x<height>");
        } else {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    w.end();
    return step;
}

Step parseStep(Words& w, Step step) {
    std::string verb = w.word();
    if (step.host == "app") {
        Words again = w;
        if (auto app = parseAppStep(again, verb, step)) return *app;
    } else if (verb == "load" || verb == "show" || verb == "rotate" || verb == "background" || verb == "foreground" || verb == "offline" ||
               verb == "online") {
        throw LineError{"\"" + verb + "\" is a step of the app: in app: " + verb + " ..."};
    }
    auto defaultHost = [&](const char* host) {
        if (step.host.empty()) step.host = host;
    };
    if (verb == "press") {
        step.op = Op::Press;
        step.text = w.word();
        if (step.text != "lock" && step.text != "home" && step.text != "volume-up" && step.text != "volume-down")
            throw LineError{"press lock, home, volume-up or volume-down"};
        defaultHost("springboard");
    } else if (verb == "touch-id") {
        step.op = Op::TouchID;
        defaultHost("springboard");
    } else if (verb == "tap") {
        step.op = Op::Tap;
        step.text = w.quoted();
        if (w.accept("after")) step.value = w.quoted();
        defaultHost("springboard");
    } else if (verb == "type") {
        step.op = Op::Type;
        step.value = w.word();
        for (char c : step.value)
            if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') throw LineError{"the number pad types digits and points"};
        defaultHost("springboard");
    } else if (verb == "answer") {
        step.op = Op::Answer;
        defaultHost("springboard");
    } else if (verb == "long-press") {
        step.op = Op::LongPressRow;
        w.expect("row");
        step.number = w.number(1, 10000, "rows count from 1 to 10000");
        if (step.number != std::floor(step.number)) throw LineError{"rows count from 1 to 10000"};
        if (w.accept("to")) step.text = w.quoted();
        defaultHost("clock");
    } else if (verb == "activator") {
        step.op = Op::Activator;
        step.text = w.word();
        static const std::set<std::string> actions = {"stop-alarm", "snooze-alarm", "turnon-alarms", "turnoff-alarms"};
        if (!actions.count(step.text)) throw LineError{"activator stop-alarm, snooze-alarm, turnon-alarms or turnoff-alarms"};
        defaultHost("springboard");
    } else if (verb == "alert") {
        step.op = Op::SystemAlert;
        step.text = w.quoted();
        defaultHost("springboard");
    } else if (verb == "add") {
        step.op = Op::AddAlarm;
        w.expect("alarm");
        std::string t = w.word();
        while (w.acceptChar(':')) t += ":" + w.word();
        step.seconds = timeOfDay(t);
        step.text = w.quoted();
        if (w.acceptChar(':')) parseEditChanges(w, step);
        defaultHost("clock");
    } else if (verb == "edit") {
        step.op = Op::EditAlarm;
        step.text = w.quoted();
        if (!w.acceptChar(':')) throw LineError{"expected \":\" and the changes after the alarm's title"};
        parseEditChanges(w, step);
        defaultHost("clock");
    } else if (verb == "set") {
        step.op = Op::Set;
        step.text = w.word();
        step.value = w.rest();
        if (step.value.empty()) throw LineError{"set <key> <value>"};
        defaultHost("settings");
    } else if (verb == "expect") {
        bool no = w.accept("no");
        std::string what = w.word();
        if (what == "not" && !no) {
            w.expect("tappable");
            step.op = Op::ExpectNotTappable;
            step.text = w.quoted();
        } else if (what == "app" && !no) {
            step.op = Op::ExpectAppEnded;
            step.text = w.quoted();
            if (step.text != "clock" && step.text != "settings") throw LineError{"an app is \"clock\" or \"settings\""};
            w.expect("ended");
            if (w.accept("reason")) step.value = std::to_string(static_cast<long long>(w.number(-1e9, 1e9, "a reason is a number")));
        } else if (what == "window") {
            step.op = no ? Op::ExpectNoWindow : Op::ExpectWindow;
            step.text = w.quoted();
            if (!no && w.accept("with")) {
                step.value = w.word();
                if (step.value != "question" && step.value != "buttons") throw LineError{"a window is with question or with buttons"};
            }
        } else if (what == "volume" && !no) {
            step.op = Op::ExpectVolume;
            step.number = w.number(0, 1, "a volume is between 0 and 1");
        } else if (what == "alarm") {
            step.op = no ? Op::ExpectNoAlarm : Op::ExpectAlarm;
            step.text = w.quoted();
            if (!no) {
                w.expect("at");
                std::string t = w.word();
                while (w.acceptChar(':')) t += ":" + w.word();
                step.seconds = timeOfDay(t);
            }
        } else if (what == "record" && !no) {
            step.op = Op::ExpectRecord;
            step.text = w.quoted();
            step.value = w.word();
            if (!kRecordFields.count(step.value)) throw LineError{"a record has no field \"" + step.value + "\""};
            step.number = w.number(-1e15, 1e15, "a record's value is a number up to 10^15");
        } else if (what == "ringing" && !no) {
            step.op = Op::ExpectRinging;
        } else if (what == "silent" && !no) {
            step.op = Op::ExpectSilent;
        } else {
            throw LineError{"expect window, no window, not tappable, volume, alarm, no alarm, record, ringing, silent or app"};
        }
        defaultHost(step.op == Op::ExpectRecord ? "clock" : "springboard");
    } else {
        throw LineError{"unknown step \"" + verb + "\""};
    }
    w.end();
    return step;
}

}  // namespace

std::string clockText(long long s) {
    char buf[16];
    s = ((s % 86400) + 86400) % 86400;
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    return buf;
}

std::variant<Scenario, ParseError> parseScenario(const std::string& text, const std::string& fileName) {
    Scenario scenario;
    scenario.version = "9.3";
    std::istringstream lines(text);
    std::string raw;
    int number = 0;
    bool stepsBegan = false, versionGiven = false;
    double played = 0;  // seconds the clock has moved on from its start
    auto fail = [&](const std::string& message) { return ParseError{fileName + ":" + std::to_string(number) + ": " + message}; };
    while (std::getline(lines, raw)) {
        ++number;
        std::string line = trim(stripComment(raw));
        if (line.empty()) continue;
        try {
            Words w(line);
            Step step;
            step.line = number;
            step.source = line;
            if (w.accept("in")) {
                step.host = w.word();
                if (!kHosts.count(step.host)) throw LineError{"no host \"" + step.host + "\": springboard, clock, settings or app"};
                if (!w.acceptChar(':')) throw LineError{"expected \":\" after the host"};
                step.source = trim(line.substr(line.find(':') + 1));
            }
            Words probe(line);
            std::string first = step.host.empty() ? probe.word() : "";
            if (first == "ios" || first == "cf" || first == "timezone") {
                if (stepsBegan) throw LineError{"\"" + first + "\" comes before the first step"};
                w.word();
                if (first == "timezone") {
                    scenario.timeZone = w.word();
                } else {
                    if (versionGiven) throw LineError{"the version is given twice"};
                    versionGiven = true;
                    if (first == "ios") {
                        scenario.version = w.word();
                        static const std::regex version(R"(^[789](\.[0-9]{1,3}){0,2}$)");
                        if (!std::regex_match(scenario.version, version)) throw LineError{"iOS 7, 8 or 9"};
                    } else {
                        scenario.coreFoundation = w.number(1, 1e5, "a CoreFoundation version is between 1 and 100000");
                        scenario.version.clear();
                    }
                }
                w.end();
                continue;
            }
            if (first == "ad" && step.host.empty()) {
                w.word();
                w.expect("server");
                Step ad = parseAdServer(w, step);
                if (ad.op == Op::AdServer) {
                    if (scenario.adServer) throw LineError{"the ad server is started once"};
                    scenario.adServer = true;
                } else if (!scenario.adServer) {
                    throw LineError{"the ad server is started (\"ad server\") before its faults"};
                }
                stepsBegan = true;
                scenario.steps.push_back(ad);
                continue;
            }
            if (step.host == "app" && !scenario.adServer) throw LineError{"the ad server is started (\"ad server\") before the app's first step"};
            if (first == "device") {
                w.word();
                step.op = Op::Device;
                step.host = "springboard";
                parseDevice(w, step, scenario, !stepsBegan);
                stepsBegan = true;
                if (!step.device.empty()) scenario.steps.push_back(step);
                continue;
            }
            if (first == "at" || first == "wait") {
                w.word();
                if (first == "at") {
                    step.op = Op::At;
                    std::string t = w.word();
                    while (w.acceptChar(':')) t += ":" + w.word();
                    step.seconds = timeOfDay(t);
                    // A time of day that has passed today is tomorrow's.
                    played += std::fmod(step.seconds - std::fmod(played + kStartOfDay, 86400.0) + 86400, 86400.0);
                } else {
                    step.op = Op::Wait;
                    step.number = duration(w.word());
                    played += step.number;
                }
                if (played > kLongestPlay) throw LineError{"a scenario plays for ten years at most"};
                w.end();
                stepsBegan = true;
                scenario.steps.push_back(step);
                continue;
            }
            scenario.steps.push_back(parseStep(w, step));
            stepsBegan = true;
        } catch (const LineError& e) {
            return fail(e.message);
        }
    }
    if (scenario.steps.empty()) {
        number = 0;
        return ParseError{fileName + ": no steps"};
    }
    return scenario;
}

}  // namespace rousa::sim
