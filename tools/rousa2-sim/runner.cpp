#include "tools/rousa2-sim/runner.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

#include "platform/foundation/calendar.h"
#include "platform/foundation/format.h"
#include "platform/foundation/plist.h"
#include "platform/host/boot.h"
#include "platform/host/device.h"
#include "tools/ad-server/ad_server.h"

namespace rousa::sim {

using namespace platform;

namespace {

constexpr const char* kRecordsPath = "/var/mobile/Library/Preferences/net.quillory.Rousa2.plist";
constexpr const char* kClockAlarmsPath = "/var/mobile/Library/Preferences/com.apple.mobiletimer.plist";

std::string bundleOf(const std::string& host) {
    if (host == "clock") return host::kClockApp;
    if (host == "settings") return host::kSettingsApp;
    if (host == "app") return host::kPublisherApp;
    return host::kSpringBoard;
}

struct Failure {
    std::string message;
};

// What the device showed, played and kept after the last step: the runner
// prints what changed.
struct Snapshot {
    std::vector<std::string> screen;  // SpringBoard's frontmost window's visible items
    std::map<std::string, std::vector<std::string>> appScreens;  // the same for the apps, as last seen
    bool playing = false;
    double ringtone = 0;
    long long vibrations = 0;
    std::vector<std::string> alarms;   // "title at HH:MM:SS"
    std::map<std::string, std::string> records;  // title -> "field value, ..."
    std::map<std::string, std::string> settings;  // top-level preference keys
};

// What the publisher app showed and heard after the last step.
struct AppSnapshot {
    size_t callbacks = 0;  // how many were printed
    std::string ad;        // the text and size of the ad in front
    bool adShown = false;
    std::vector<std::string> presented;  // controllers over its screen, by class
    size_t opened = 0;
    std::string banner;
    long long slotState = -1;  // the banner's slot
    std::map<std::string, std::string> natives;  // format -> what its view shows
};

// The query's keys in their order: "slotname, request_id".
std::string queryKeys(const std::string& query) {
    std::string keys;
    std::istringstream in(query);
    for (std::string pair; std::getline(in, pair, '&');) {
        if (pair.empty()) continue;
        keys += (keys.empty() ? "" : ", ") + pair.substr(0, pair.find('='));
    }
    return keys;
}

bool hasKeys(const std::string& query, const std::vector<std::string>& keys) {
    std::set<std::string> present;
    std::istringstream in(query);
    for (std::string pair; std::getline(in, pair, '&');) present.insert(pair.substr(0, pair.find('=')));
    for (const auto& k : keys)
        if (!present.count(k)) return false;
    return true;
}

// The slot's states by their number, as the library keeps them.
std::string slotStateName(long long state) {
    static const char* const names[] = {"idle",        "SDK core failed", "requesting ad URL", "ad URL received", "fetching or mediating",
                                        "rendering",   "valid ad",        "failed",            "invalidated"};
    return state >= 0 && state < static_cast<long long>(std::size(names)) ? names[state] : "unknown";
}

// The controller a destination of a click is shown in.
const std::map<std::string, std::string>& destinationClasses() {
    static const auto& d = *new std::map<std::string, std::string>{{"browser", "YBXBrowserViewController"},
                                                                   {"store", "SKStoreProductViewController"},
                                                                   {"mail", "MFMailComposeViewController"},
                                                                   {"message", "MFMessageComposeViewController"},
                                                                   {"calendar", "EKEventEditViewController"}};
    return d;
}

class Runner {
public:
    Runner(const Scenario& s, const RunOptions& o, std::ostream& out) : scenario_(s), options_(o), out_(out) {}

    int run() {
        bootSelf();
        host::Device::Options d;
        d.root = options_.root;
        d.systemVersion = scenario_.version;
        d.coreFoundationVersion = scenario_.coreFoundation;
        d.timeZone = scenario_.timeZone;
        d.start = start_;
        d.hostProgram = options_.hostProgram;
        d.appProgram = options_.appProgram;
        d.interfaceIdiom = scenario_.pad ? 1 : 0;
        d.seed = options_.seed;
        d.echoLogs = options_.echoLogs;
        device_ = std::make_unique<host::Device>(d);
        try {
            // A scenario of the ad half starts the alarm side's hosts only when a step goes there.
            if (!scenario_.adServer)
                for (const char* h : {"springboard", "clock", "settings"}) device_->start(bundleOf(h));
            out_ << "iOS " << (scenario_.version.empty() ? format("CoreFoundation %g", scenario_.coreFoundation) : scenario_.version)
                 << (scenario_.pad ? ", iPad" : ", iPhone") << ", " << scenario_.timeZone << "\n";
            observe(nullptr);
            for (const Step& step : scenario_.steps) {
                out_ << timeNow() << "  " << (step.host.empty() ? "" : step.host + ": ") << step.source << "\n";
                perform(step);
                observe(&step);
                observeApp(step);
            }
        } catch (const Failure& f) {
            out_ << f.message << "\n";
            return 1;
        } catch (const std::exception& e) {
            out_ << options_.fileName << ": the device failed: " << e.what() << "\n";
            return 1;
        }
        out_ << "all " << scenario_.steps.size() << " steps done\n";
        return 0;
    }

private:
    // The runner reads the device's files and computes local times as the
    // platform does, so it boots itself as a plain process on the same root.
    void bootSelf() {
        host::BootOptions b;
        b.bundleIdentifier = "net.quillory.rousa2-sim";
        b.deviceRoot = options_.root;
        b.timeZone = scenario_.timeZone;
        b.virtualClockStart = Date{0};
        host::boot(b);
        calendar_ = NSCalendar::calendarWithIdentifier("gregorian");
        auto morning = NSDateComponents::make();
        morning->year = 2026;
        morning->month = 1;
        morning->day = 5;
        morning->hour = 6;
        morning->minute = 0;
        morning->second = 0;
        start_ = *calendar_->dateFromComponents(*morning);
    }

    long long secondsOfDay(Date d) const {
        auto c = calendar_->components(d);
        return c->hour * 3600 + c->minute * 60 + c->second;
    }
    std::string timeNow() const { return clockText(secondsOfDay(device_->now())); }

    [[noreturn]] void fail(const Step& step, const std::string& message) {
        throw Failure{options_.fileName + ":" + std::to_string(step.line) + ": " + message};
    }

    Value call(const Step& step, const std::string& command, const Value& args = Value()) {
        std::string bundle = bundleOf(step.host);
        if (!device_->isRunning(bundle)) device_->start(bundle);
        try {
            return device_->call(bundle, command, args);
        } catch (const std::runtime_error& e) {
            fail(step, e.what());
        }
    }

    // --- reading the device -----------------------------------------------------------------------

    Value screen(const Step& step) { return call(step, "screen"); }

    static std::vector<std::string> itemsOf(const Value& window) {
        std::vector<std::string> out;
        for (const Value& item : window["items"].array()) out.push_back(item["text"].string());
        return out;
    }

    // What the frontmost window of the step's host shows; a window that shows
    // nothing (one fading out) is not what the user looks at.
    std::vector<std::string> frontItems(const Step& step) {
        for (const Value& w : screen(step).array())
            if (std::vector<std::string> items = itemsOf(w); !items.empty()) return items;
        return {};
    }

    static bool shows(const Value& window, const std::string& text) {
        for (const Value& item : window["items"].array())
            if (item["text"].string() == text) return true;
        return false;
    }

    static std::string quoteAll(const std::vector<std::string>& items) {
        std::string s;
        for (const auto& i : items) s += (s.empty() ? "\"" : " \"") + i + "\"";
        return s.empty() ? "nothing" : s;
    }

    std::vector<std::string> scheduledAlarms(const Step& step) {
        std::vector<std::string> out;
        Value list = call(step, "scheduled");
        for (const Value& n : list.array())
            out.push_back("\"" + n["title"].string() + "\" at " + clockText(secondsOfDay(n["fireDate"].date())) +
                          (n["snooze"].boolValue() ? " (snooze)" : ""));
        return out;
    }

    // The Clock app's alarm of a title, by its id.
    std::map<std::string, std::string> alarmIdsByTitle() {
        std::map<std::string, std::string> ids;
        Value alarms = plist::readFile(kClockAlarmsPath)["Alarms"];
        for (const Value& a : alarms.array()) ids[a["title"].string()] = a["alarmId"].string();
        return ids;
    }

    Value recordOf(const std::string& title) {
        auto ids = alarmIdsByTitle();
        auto it = ids.find(title);
        if (it == ids.end()) return Value();
        Value records = plist::readFile(kRecordsPath)["Alarms"];
        for (const Value& r : records.array())
            if (r["alarmId"].string() == it->second) return r;
        return Value();
    }

    static std::string shown(const Value& v) { return v.kind() == Value::Kind::Real ? format("%.2f", v.doubleValue()) : v.description(); }

    static std::string describeRecord(const Value& r) {
        std::string s;
        for (const auto& [key, value] : r.dictionary()) {
            if (key == "alarmId") continue;
            s += (s.empty() ? "" : ", ") + key + " " + shown(value);
        }
        return s;
    }

    Snapshot snapshot() {
        Step sb;
        sb.host = "springboard";
        Snapshot s;
        s.screen = frontItems(sb);
        s.appScreens = last_.appScreens;
        Value sound = call(sb, "sound");
        s.playing = sound["playing"].boolValue();
        s.ringtone = sound["ringtone"].doubleValue();
        s.vibrations = sound["vibrations"].integerValue();
        s.alarms = scheduledAlarms(sb);
        Value prefs = plist::readFile(kRecordsPath);
        std::map<std::string, Value> recordsById;
        for (const Value& r : prefs["Alarms"].array()) recordsById[r["alarmId"].string()] = r;
        for (const auto& [title, id] : alarmIdsByTitle())
            if (auto it = recordsById.find(id); it != recordsById.end()) s.records[title] = describeRecord(it->second);
        for (const auto& [key, value] : prefs.dictionary())
            if (key != "Alarms") s.settings[key] = shown(value);
        return s;
    }

    // After a step in an app, what that app shows changes too.
    void observe(const Step* step) {
        if (!device_->isRunning(host::kSpringBoard) && (!step || step->host.empty() || step->host == "app")) return;
        Snapshot now = snapshot();
        const bool inApp = step && !step->host.empty() && step->host != "springboard" && step->host != "app";
        if (inApp) now.appScreens[step->host] = frontItems(*step);
        if (step) {
            const std::string pad = "            ";
            if (now.screen != last_.screen) out_ << pad << "springboard shows " << quoteAll(now.screen) << "\n";
            if (inApp && now.appScreens[step->host] != last_.appScreens[step->host])
                out_ << pad << step->host << " shows " << quoteAll(now.appScreens[step->host]) << "\n";
            if (now.playing != last_.playing) out_ << pad << (now.playing ? "alarm sound playing" : "alarm sound stopped") << "\n";
            if (std::fabs(now.ringtone - last_.ringtone) > 1e-6) out_ << pad << format("volume %.2f", now.ringtone) << "\n";
            if (now.vibrations != last_.vibrations) out_ << pad << "vibrates\n";
            if (now.alarms != last_.alarms) out_ << pad << "scheduled: " << (now.alarms.empty() ? "none" : "") << joined(now.alarms) << "\n";
            for (const auto& [title, r] : now.records)
                if (last_.records[title] != r) out_ << pad << "record \"" << title << "\": " << r << "\n";
            for (const auto& [key, v] : now.settings)
                if (last_.settings[key] != v) out_ << pad << "setting " << key << " = " << v << "\n";
        }
        last_ = now;
    }

    static std::string joined(const std::vector<std::string>& items) {
        std::string s;
        for (const auto& i : items) s += (s.empty() ? "" : ", ") + i;
        return s;
    }

    // --- the steps ----------------------------------------------------------------------------------

    void perform(const Step& step) {
        switch (step.op) {
            case Op::Device: {
                Value::Dictionary state;
                for (const auto& [k, v] : step.device) {
                    if (k == "ringtone") state[k] = Value(std::stod(v));
                    else if (k == "switcher") state[k] = switcherOrder(v);
                    else state[k] = Value(v == "1");
                }
                call(step, "device", Value(std::move(state)));
                return;
            }
            case Op::At: {
                // A time of day that has passed today is tomorrow's.
                long long now = secondsOfDay(device_->now());
                pass(step, static_cast<double>((step.seconds - now + 86400) % 86400));
                return;
            }
            case Op::Wait: pass(step, step.number); return;
            case Op::Press: {
                Value r = call(step, "press", Value(step.text));
                if (!r.string().empty()) fail(step, r.string());
                return;
            }
            case Op::TouchID: call(step, "press", Value("touch-id")); return;
            case Op::Tap: tapText(step, step.text, step.value); return;
            case Op::Type: typeOnPad(step, step.value); return;
            case Op::Answer: answer(step); return;
            case Op::Activator: {
                Value sent = call(step, "activator", Value("net.quillory.Rousa2." + step.text));
                if (!sent.boolValue()) fail(step, "no Activator listener " + step.text + " (is Activator installed?)");
                return;
            }
            case Op::SystemAlert: call(step, "system-alert", Value(step.text)); return;
            case Op::ExpectWindow: expectWindow(step); return;
            case Op::ExpectNoWindow: {
                Value windows = screen(step);
                for (const Value& w : windows.array())
                    if (shows(w, step.text)) fail(step, "expected no window showing \"" + step.text + "\", saw " + quoteAll(itemsOf(w)));
                return;
            }
            case Op::ExpectVolume: {
                double v = call(step, "sound")["ringtone"].doubleValue();
                if (std::fabs(v - step.number) > 0.005) fail(step, format("expected volume %.2f, saw %.2f", step.number, v));
                return;
            }
            case Op::ExpectNotTappable: {
                Value why = call(step, "tappable", Value(Value::Dictionary{{"text", Value(step.text)}}));
                if (why.isString() && why.string().empty()) fail(step, "expected \"" + step.text + "\" not to take a tap, it does");
                return;
            }
            case Op::ExpectAppEnded: expectAppEnded(step); return;
            case Op::ExpectAlarm:
            case Op::ExpectNoAlarm: expectAlarm(step); return;
            case Op::ExpectRecord: {
                Value r = recordOf(step.text);
                if (r.isNil()) fail(step, "no record for an alarm \"" + step.text + "\"");
                double v = r[step.value].doubleValue(-1e300);
                if (std::fabs(v - step.number) > 1e-4)
                    fail(step, format("expected %@ %g, saw %@ (record: %@)", step.value, step.number, r[step.value], describeRecord(r)));
                return;
            }
            case Op::ExpectRinging:
            case Op::ExpectSilent: {
                bool playing = call(step, "sound")["playing"].boolValue();
                if (playing != (step.op == Op::ExpectRinging)) fail(step, playing ? "expected silence, the alarm rings" : "expected the alarm to ring");
                return;
            }
            case Op::LongPressRow:
            case Op::AddAlarm:
            case Op::EditAlarm:
            case Op::Set: performInApp(step); return;
            default: performWithAds(step); return;
        }
    }

    // --- the publisher app and the ad server ----------------------------------------------------------

    bool appRunning() const { return device_->isRunning(host::kPublisherApp); }

    // The app's loads take real time on the ad server's threads while the
    // virtual clock stands: the clock moves a second at a time, and the app's
    // loads end before it moves on, so that every run prints the same.
    void pass(const Step& step, double seconds) {
        if (!appRunning()) return device_->advance(seconds);
        while (seconds > 0) {
            double chunk = std::min(1.0, seconds);
            device_->advance(chunk);
            settleApp(step);
            seconds -= chunk;
        }
    }

    void settleApp(const Step& step) {
        if (!appRunning()) return;
        Step app = step;
        app.host = "app";
        // A load the server holds counts once it has reached the server.
        for (int tries = 0; tries < 15; ++tries) {
            Value::Dictionary args{{"held", Value(static_cast<long long>(server_->heldCount()))}, {"timeout", Value(1.0)}};
            if (call(app, "ad-settle", Value(std::move(args))).boolValue()) return;
        }
        fail(step, "the app's loads did not end");
    }

    Value appState(const Step& step) {
        Step app = step;
        app.host = "app";
        return call(app, "ad-state");
    }

    void startAdServer(const Step& step) {
        std::string inventory = options_.inventory;
        if (!step.text.empty()) inventory = (std::filesystem::path(options_.fileName).parent_path() / step.text).string();
        server_ = std::make_unique<rousa::adserver::AdServer>(rousa::adserver::ServerOptions{.inventoryDir = inventory});
        if (!server_->start()) fail(step, "the ad server did not start: " + server_->error());
        // The app reads where its ad server is when it starts.
        ::setenv("ADLIB_AD_SERVER_URL", server_->baseURL().c_str(), 1);
    }

    void performWithAds(const Step& step) {
        switch (step.op) {
            case Op::AdServer: startAdServer(step); return;
            case Op::AdServerFault: {
                auto space = step.text.find(' ');
                rousa::adserver::Fault fault;
                rousa::adserver::parseFault(step.text.substr(space + 1), fault);
                const std::string target = step.text.substr(0, space);
                if (target.rfind("unit:", 0) == 0) server_->setAdUnitFault(target.substr(5), fault);
                else server_->setPathFault(target.substr(5), fault);
                return;
            }
            case Op::AdServerClear: server_->clearFaults(); return;
            case Op::LoadBanner: act(step, "ad-load-banner", Value(Value::Dictionary{{"unit", Value(step.text)}})); return;
            case Op::LoadInterstitial: act(step, "ad-load-interstitial", Value(Value::Dictionary{{"unit", Value(step.text)}})); return;
            case Op::ShowInterstitial: act(step, "ad-show-interstitial", Value()); return;
            case Op::LoadNative:
                // One after the other, so that their callbacks come in the order written.
                for (const auto& [format, unit] : step.changes) {
                    act(step, "ad-load-native", Value(Value::Dictionary{{"format", Value(format)}, {"unit", Value(unit)}}));
                    settleApp(step);
                }
                return;
            case Op::TapAd: act(step, "ad-tap", Value(Value::Dictionary{{"text", Value(step.text)}})); return;
            case Op::Rotate: act(step, "ad-rotate", Value(Value::Dictionary{{"landscape", Value(step.value == "landscape")}})); return;
            case Op::Background: act(step, "ad-background", Value()); return;
            case Op::Foreground: act(step, "ad-foreground", Value()); return;
            case Op::Network: act(step, "ad-network", Value(Value::Dictionary{{"online", Value(step.value == "online")}})); return;
            default: expectOfApp(step); return;
        }
    }

    void expectOfApp(const Step& step) {
        settleApp(step);
        Value state = appState(step);
        switch (step.op) {
            case Op::ExpectCallbacks: {
                std::vector<std::string> came;
                const Value::Array& all = state["callbacks"].array();
                for (size_t i = callbacksChecked_; i < all.size(); ++i) came.push_back(all[i]["name"].string());
                callbacksChecked_ = all.size();
                if (came != step.texts) fail(step, "expected the callbacks " + quoteAll(step.texts) + ", came " + quoteAll(came));
                return;
            }
            case Op::ExpectRequest:
            case Op::ExpectNoRequest: {
                size_t count = 0;
                bool keyed = step.texts.empty();
                std::vector<std::string> seen;
                for (const auto& e : server_->log().entries()) {
                    if (e.path != step.text) continue;
                    ++count;
                    keyed = keyed || hasKeys(e.query, step.texts);
                    seen.push_back("(" + queryKeys(e.query) + ")");
                }
                if (step.op == Op::ExpectNoRequest && count > 0) fail(step, format("expected no request %@, it came %lu times", step.text, count));
                if (step.op == Op::ExpectNoRequest) return;
                if (step.number >= 0 && count != static_cast<size_t>(step.number))
                    fail(step, format("expected %@ %g times, it came %lu times", step.text, step.number, count));
                if (count == 0) fail(step, "expected a request " + step.text + ", none came");
                if (!keyed) fail(step, "expected a request " + step.text + " with " + joined(step.texts) + ", came " + joined(seen));
                return;
            }
            case Op::ExpectOpened: {
                std::vector<std::string> presented, opened;
                for (const Value& p : state["presented"].array()) presented.push_back(p.string());
                for (const Value& u : state["opened"].array()) opened.push_back(u.string());
                if (step.value == "url") {
                    for (const auto& u : opened)
                        if (u.rfind(step.text, 0) == 0) return;
                    fail(step, "expected a URL opened starting \"" + step.text + "\", opened: " + (opened.empty() ? "none" : joined(opened)));
                }
                const std::string& cls = destinationClasses().at(step.value);
                if (std::find(presented.begin(), presented.end(), cls) == presented.end())
                    fail(step, "expected the " + step.value + " (" + cls + ") over the app, shown: " + (presented.empty() ? "nothing" : joined(presented)));
                return;
            }
            case Op::ExpectAd:
                if (!state["ad"].isString()) fail(step, "expected an ad showing \"" + step.text + "\", no ad is shown");
                if (state["ad"].string().find(step.text) == std::string::npos)
                    fail(step, "expected an ad showing \"" + step.text + "\", it shows \"" + state["ad"].string() + "\"");
                return;
            case Op::ExpectNoAd:
                if (state["ad"].isString()) fail(step, "expected no ad, one shows \"" + state["ad"].string() + "\"");
                return;
            case Op::ExpectNative: {
                const Value& native = state["natives"][step.value];
                std::vector<std::string> shown;
                for (const Value& t : native["texts"].array()) shown.push_back(t.string());
                for (const auto& text : step.texts)
                    if (std::find(shown.begin(), shown.end(), text) == shown.end())
                        fail(step, "expected the " + step.value + " ad to show \"" + text + "\", it shows " +
                                       (native.isNil() ? "nothing" : quoteAll(shown)));
                return;
            }
            case Op::ExpectBanner:
                if (state["banner"].string() != step.value) fail(step, "expected a banner of " + step.value + ", it is " + state["banner"].string());
                return;
            case Op::ExpectAdSize:
                if (state["adSize"].string() != step.value) fail(step, "expected the ad in front at " + step.value + ", it is " + state["adSize"].stringOr("not shown"));
                return;
            default: return;
        }
    }

    // After a step, what the app showed and heard and what reached the ad
    // server since the one before.
    void observeApp(const Step& step) {
        const std::string pad = "            ";
        if (appRunning()) {
            settleApp(step);
            Value state = appState(step);
            const Value::Array& callbacks = state["callbacks"].array();
            for (size_t i = app_.callbacks; i < callbacks.size(); ++i)
                out_ << pad << "callback at " << clockText(secondsOfDay(callbacks[i]["time"].date())) << ": " << callbacks[i]["name"].string() << "\n";
            app_.callbacks = callbacks.size();
            const bool adShown = state["ad"].isString();
            const std::string ad = state["ad"].stringOr("") + (adShown ? "\" (" + state["adSize"].string() + ")" : "");
            if (adShown != app_.adShown || ad != app_.ad) out_ << pad << (adShown ? "ad shows \"" + ad : "no ad shown") << "\n";
            app_.adShown = adShown;
            app_.ad = ad;
            std::vector<std::string> presented;
            for (const Value& p : state["presented"].array()) presented.push_back(p.string());
            if (presented != app_.presented) out_ << pad << "over the app: " << (presented.empty() ? "nothing" : joined(presented)) << "\n";
            app_.presented = presented;
            const Value::Array& opened = state["opened"].array();
            for (size_t i = app_.opened; i < opened.size(); ++i) out_ << pad << "opened " << opened[i].string() << "\n";
            app_.opened = opened.size();
            if (state["banner"].string() != app_.banner) out_ << pad << "banner " << state["banner"].string() << "\n";
            app_.banner = state["banner"].string();
            if (const long long slot = state["slotState"].integerValue(); slot != app_.slotState)
                out_ << pad << "banner slot " << slot << " (" << slotStateName(slot) << ")\n";
            app_.slotState = state["slotState"].integerValue();
            for (const auto& [format, native] : state["natives"].dictionary()) {
                std::vector<std::string> texts, images;
                for (const Value& t : native["texts"].array()) texts.push_back(t.string());
                for (const Value& i : native["images"].array()) images.push_back(i.string());
                std::string shows = quoteAll(texts) + (images.empty() ? "" : ", images " + joined(images));
                if (shows != app_.natives[format]) out_ << pad << format << " ad shows " << shows << "\n";
                app_.natives[format] = shows;
            }
        }
        if (!server_) return;
        // Loads that run side by side reach the server in either order.
        std::vector<rousa::adserver::LoggedRequest> entries = server_->log().entries();
        std::vector<std::string> lines;
        for (size_t i = requestsSeen_; i < entries.size(); ++i) {
            std::string keys = queryKeys(entries[i].query);
            lines.push_back(entries[i].method + " " + entries[i].path + (keys.empty() ? "" : " (" + keys + ")"));
        }
        requestsSeen_ = entries.size();
        std::sort(lines.begin(), lines.end());
        for (const auto& l : lines) out_ << pad << "server " << l << "\n";
    }

    // The pad's keys, never a label that shows the same digit (the answer typed so far).
    void typeOnPad(const Step& step, const std::string& text) {
        for (char c : text) act(step, "tap", Value(Value::Dictionary{{"text", Value(std::string(1, c))}, {"button", Value(true)}}));
    }

    // Bundle identifiers of the hosts named, most recent first.
    static Value switcherOrder(const std::string& names) {
        Value order = Value(Value::Array{});
        std::istringstream in(names);
        for (std::string name; in >> name;) order.mutableArray().push_back(Value(bundleOf(name)));
        return order;
    }

    void expectAppEnded(const Step& step) {
        std::string seen;
        for (const auto& t : device_->terminations()) {
            if (t.bundle == bundleOf(step.text) && (step.value.empty() || std::to_string(t.reason) == step.value)) return;
            seen += (seen.empty() ? "" : ", ") + t.bundle + " (reason " + std::to_string(t.reason) + ")";
        }
        fail(step, "expected " + bundleOf(step.text) + " to have been ended" + (step.value.empty() ? "" : " for reason " + step.value) +
                       ", ended: " + (seen.empty() ? "none" : seen));
    }

    // Reads the arithmetic question on the screen and works the answer out.
    void answer(const Step& step) {
        Value windows = screen(step);
        static const std::regex question(R"(^\s*(?:\(\s*([0-9.]+)\s*x\s*([0-9.]+)\s*\)|([0-9.]+))\s*([-+x])\s*([0-9.]+)\s*$)");
        for (const Value& w : windows.array()) {
            for (const std::string& text : itemsOf(w)) {
                std::smatch m;
                if (!std::regex_match(text, m, question)) continue;
                double left = m[3].matched ? std::stod(m[3]) : std::stod(m[1]) * std::stod(m[2]);
                double right = std::stod(m[5]);
                char op = m[4].str()[0];
                double value = op == '+' ? left + right : op == '-' ? left - right : left * right;
                std::string typed = format("%.2f", value);
                while (typed.back() == '0') typed.pop_back();
                if (typed.back() == '.') typed.pop_back();
                out_ << "            the question \"" << text << "\" is " << typed << "\n";
                typeOnPad(step, typed);
                tapText(step, "Verify");
                return;
            }
        }
        fail(step, "no question on the screen");
    }

    void expectWindow(const Step& step) {
        Value windows = screen(step);
        bool found = false;
        for (const Value& w : windows.array()) found = found || shows(w, step.text);
        std::string seen;
        for (const Value& w : windows.array()) seen += "\n  window: " + quoteAll(itemsOf(w));
        if (!found) fail(step, "expected a window showing \"" + step.text + "\", saw:" + seen);
        if (step.value.empty()) return;
        const Value& front = windows.at(0);
        bool question = shows(front, "Verify");
        bool buttons = !question && (shows(front, "Dismiss") || shows(front, "Snooze"));
        if (step.value == "question" && !question) fail(step, "expected the question in front, saw:" + seen);
        if (step.value == "buttons" && !buttons) fail(step, "expected Snooze or Dismiss in front, saw:" + seen);
    }

    void expectAlarm(const Step& step) {
        Value list = call(step, "scheduled");
        std::vector<std::string> seen;
        for (const Value& n : list.array()) {
            if (n["title"].string() != step.text) continue;
            long long at = secondsOfDay(n["fireDate"].date());
            seen.push_back(clockText(at));
            if (step.op == Op::ExpectAlarm && at == step.seconds) return;
        }
        if (step.op == Op::ExpectNoAlarm && seen.empty()) return;
        if (step.op == Op::ExpectNoAlarm) fail(step, "expected no alarm \"" + step.text + "\", it is scheduled at " + joined(seen));
        fail(step, "expected alarm \"" + step.text + "\" at " + clockText(step.seconds) + ", scheduled: " + joined(scheduledAlarms(step)));
    }

    // --- steps in the Clock app and the Settings app, through their screens ---------------------------

    // A user command that answers "" when done, else why not.
    void act(const Step& step, const std::string& command, Value args) {
        Value why = call(step, command, args);
        if (!why.isString() || !why.string().empty()) fail(step, why.isString() ? why.string() : "cannot " + command);
    }
    // Taps what shows the text, scrolling to it first when it is further down a table.
    void tapText(const Step& step, const std::string& text, const std::string& after = {}) {
        Value::Dictionary args{{"text", Value(text)}};
        if (!after.empty()) args["after"] = Value(after);
        Value why = call(step, "tap", Value(args));
        if (why.isString() && why.string().empty()) return;
        if (call(step, "reveal", Value(args)).string().empty()) why = call(step, "tap", Value(args));
        if (!why.isString() || !why.string().empty()) fail(step, "cannot tap: " + why.stringOr("no answer"));
    }
    void setSwitch(const Step& step, const std::string& label, bool on, const std::string& after = {}) {
        act(step, "reveal", Value(Value::Dictionary{{"text", Value(label)}, {"after", Value(after)}}));
        act(step, "switch", Value(Value::Dictionary{{"label", Value(label)}, {"on", Value(on)}, {"after", Value(after)}}));
    }
    bool showing(const Step& step, const std::string& text) {
        Value windows = screen(step);
        for (const Value& w : windows.array())
            if (shows(w, text)) return true;
        return false;
    }

    void performInApp(const Step& step) {
        switch (step.op) {
            case Op::AddAlarm: addAlarm(step); return;
            case Op::EditAlarm: editAlarm(step); return;
            case Op::LongPressRow: longPressRow(step); return;
            case Op::Set: setPreference(step); return;
            default: return;
        }
    }

    // The Add button, the time on the picker, the alarm's label, Done.
    void addAlarm(const Step& step) {
        act(step, "tap", Value("+"));
        act(step, "spin", Value(Value::Dictionary{{"seconds", Value(static_cast<double>(step.seconds))}}));
        tapText(step, "Label");
        act(step, "type", Value(Value::Dictionary{{"text", Value(step.text)}, {"replace", Value(true)}}));
        act(step, "tap", Value("Back"));
        if (!step.changes.empty()) changeTweakSettings(step);
        act(step, "tap", Value("Done"));
    }

    // The tweak's rows of the add or edit screen: its own settings on or off,
    // then each change.
    void changeTweakSettings(const Step& step) {
        bool ownSettings = true;
        for (const auto& [setting, value] : step.changes)
            if (setting == "enabled") ownSettings = value == "on";
        setSwitch(step, "Rousa 2", ownSettings);
        for (const auto& [setting, value] : step.changes) change(step, setting, value);
    }

    // Opens the alarm (a tap on its row, or in edit mode), makes each change on
    // the edit screen, Done; then leaves edit mode if it had to enter it.
    void editAlarm(const Step& step) {
        bool editMode = false;
        act(step, "tap", Value(step.text));
        if (!showing(step, "Edit Alarm")) {
            act(step, "tap", Value("Edit"));
            act(step, "tap", Value(step.text));
            editMode = true;
        }
        if (!showing(step, "Edit Alarm")) fail(step, "the alarm \"" + step.text + "\" does not open");
        changeTweakSettings(step);
        act(step, "tap", Value("Done"));
        if (editMode) act(step, "tap", Value("Done"));
    }

    // A length row: one of the sheet's lengths, or Custom and the number typed;
    // then its unit row's sheet.
    void chooseLength(const Step& step, const std::string& row, const std::vector<std::string>& lengths, const std::string& value) {
        std::istringstream in(value);
        std::string amount, unit;
        in >> amount >> unit;
        tapText(step, row);
        if (std::find(lengths.begin(), lengths.end(), amount) != lengths.end()) {
            act(step, "tap", Value(amount));
        } else {
            act(step, "tap", Value("Custom"));
            act(step, "type", Value(Value::Dictionary{{"text", Value(amount)}}));
            act(step, "tap", Value("OK"));
        }
        tapText(step, "Unit", row);
        unit[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(unit[0])));
        act(step, "tap", Value(unit));
    }

    void change(const Step& step, const std::string& setting, const std::string& value) {
        if (setting == "enabled") return;
        if (setting == "snooze") return chooseLength(step, "Snooze duration", {"5", "10", "15"}, value);
        if (setting == "fade") return chooseLength(step, "Fade-in duration", {"1", "2", "5"}, value);
        if (setting == "stop") return chooseLength(step, "Stop after", {"5", "10", "15"}, value);
        if (setting == "then") {
            tapText(step, "Action");
            act(step, "tap", Value(value == "stop" ? "Stop the alarm" : "Snooze the alarm"));
            return;
        }
        if (setting == "question") {
            setSwitch(step, "Ask a question", value != "off");
            if (value == "off") return;
            tapText(step, "Difficulty");
            std::string level = value;
            level[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(level[0])));
            act(step, "tap", Value(level));
            return;
        }
        if (setting == "volume") {
            act(step, "reveal", Value(Value::Dictionary{{"text", Value("SpeakerMax")}}));
            act(step, "slide", Value(Value::Dictionary{{"near", Value("SpeakerMax")}, {"value", Value(std::stod(value))}}));
            return;
        }
        if (setting == "vibrate-ring") return setSwitch(step, "Vibrate on ring", value == "on");
        if (setting == "vibrate-silent") return setSwitch(step, "Vibrate on silent", value == "on");
        fail(step, "cannot change " + setting);
    }

    // Press and hold on the row, slide onto the item when one is named, lift.
    void longPressRow(const Step& step) {
        act(step, "touch", Value(Value::Dictionary{{"phase", Value("down")}, {"row", Value(static_cast<long long>(step.number))}}));
        device_->advance(1.0);
        if (!step.text.empty()) act(step, "touch", Value(Value::Dictionary{{"phase", Value("move")}, {"text", Value(step.text)}}));
        act(step, "touch", Value(Value::Dictionary{{"phase", Value("up")}}));
    }

    // From the Settings app's list: the tweak's entry, the links to the page
    // of the key's row, the row; back to the list.
    void setPreference(const Step& step) {
        while (showing(step, "Back")) act(step, "tap", Value("Back"));
        tapText(step, "Rousa 2");
        Value route = call(step, "settings-route", Value(Value::Dictionary{{"key", Value(step.text)}}));
        if (route.isNil()) fail(step, "no settings row holds \"" + step.text + "\"");
        for (const Value& link : route["links"].array()) tapText(step, link.string());
        const std::string row = route["row"].string(), after = route["after"].string(), kind = route["kind"].string();
        const Value near = Value(Value::Dictionary{{"text", Value(row)}, {"after", Value(after)}});
        if (kind == "switch") {
            static const std::set<std::string> yes = {"on", "yes", "true", "1"}, no = {"off", "no", "false", "0"};
            if (!yes.count(step.value) && !no.count(step.value)) fail(step, "\"" + step.text + "\" is on or off");
            setSwitch(step, row, yes.count(step.value) > 0, after);
        } else if (kind == "list") {
            Value title = route["titles"][step.value];
            if (!title.isString()) {
                std::string choices;
                for (const auto& [v, t] : route["titles"].dictionary()) choices += (choices.empty() ? "" : ", ") + v + " (" + t.string() + ")";
                fail(step, "\"" + step.text + "\" takes " + choices);
            }
            tapText(step, row, after);
            act(step, "tap", title);
            act(step, "tap", Value("Back"));
        } else if (kind == "slider") {
            act(step, "reveal", near);
            act(step, "slide", Value(Value::Dictionary{{"near", Value(row)}, {"after", Value(after)}, {"value", Value(std::stod(step.value))}}));
        } else if (kind == "text") {
            act(step, "reveal", near);
            act(step, "type", Value(Value::Dictionary{{"text", Value(step.value)}, {"replace", Value(true)}, {"near", Value(row)}, {"after", Value(after)}, {"finish", Value(true)}}));
        } else {
            fail(step, "the row of \"" + step.text + "\" takes no value");
        }
        while (showing(step, "Back")) act(step, "tap", Value("Back"));
    }

    const Scenario& scenario_;
    const RunOptions& options_;
    std::ostream& out_;
    std::unique_ptr<host::Device> device_;
    Ref<NSCalendar> calendar_;
    Date start_;
    Snapshot last_;
    std::unique_ptr<rousa::adserver::AdServer> server_;
    size_t requestsSeen_ = 0;
    size_t callbacksChecked_ = 0;
    AppSnapshot app_;
};

}  // namespace

int runScenario(const Scenario& scenario, const RunOptions& options, std::ostream& out) { return Runner(scenario, options, out).run(); }

}  // namespace rousa::sim
