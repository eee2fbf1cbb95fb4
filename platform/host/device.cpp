#include "platform/host/device.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <stdexcept>

#include "platform/foundation/run_loop.h"
#include "platform/host/boot.h"
#include "platform/host/controlled_host.h"
#include "platform/host/frames.h"

namespace platform::host {

namespace {

const char* hostName(const std::string& bundle) {
    if (bundle == kSpringBoard) return "springboard";
    if (bundle == kClockApp) return "clock";
    if (bundle == kSettingsApp) return "settings";
    if (bundle == kPublisherApp) return "app";
    return nullptr;
}

}  // namespace

Device::Device(Options options) : options_(std::move(options)), now_(clock::toNanos(options_.start)) {
    // A host that goes away must not take the controller with it.
    ::signal(SIGPIPE, SIG_IGN);
}

Device::~Device() {
    for (auto& [bundle, host] : hosts_) {
        writeFrame(host.toHost, Value(Value::Dictionary{{"op", Value("quit")}}));
        reap(host, false);
    }
}

Date Device::now() const { return clock::fromNanos(now_); }

void Device::start(const std::string& bundle) {
    const char* name = hostName(bundle);
    const std::string& program = bundle == kPublisherApp ? options_.appProgram : options_.hostProgram;
    if (!name || program.empty()) throw std::runtime_error("no host program for " + bundle);
    launch(bundle, [&](int in, int out) {
        std::vector<std::string> args = {program, "--host", name, "--root", options_.root,
                                         "--control-in", std::to_string(in), "--control-out", std::to_string(out),
                                         "--start-nanos", std::to_string(now_), "--time-zone", options_.timeZone};
        if (!options_.systemVersion.empty()) args.insert(args.end(), {"--ios", options_.systemVersion});
        if (options_.coreFoundationVersion != 0) args.insert(args.end(), {"--cf", std::to_string(options_.coreFoundationVersion)});
        if (options_.echoLogs) args.push_back("--echo-logs");
        if (options_.interfaceIdiom == 1) args.insert(args.end(), {"--idiom", "pad"});
        if (options_.seed) args.insert(args.end(), {"--seed", std::to_string(*options_.seed)});
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        return 127;
    });
}

void Device::startForked(const std::string& bundle, const std::function<void()>& setUp) {
    launch(bundle, [&](int in, int out) {
        for (auto& [other, host] : hosts_) {
            ::close(host.toHost);
            ::close(host.fromHost);
        }
        BootOptions boot;
        boot.bundleIdentifier = bundle;
        boot.systemVersion = options_.systemVersion;
        boot.coreFoundationVersion = options_.coreFoundationVersion;
        boot.deviceRoot = options_.root;
        boot.timeZone = options_.timeZone;
        boot.virtualClockStart = clock::fromNanos(now_);
        boot.interfaceIdiom = options_.interfaceIdiom;
        boot.randomSeed = options_.seed;
        return runControlledHost(boot, in, out, setUp);
    });
}

void Device::launch(const std::string& bundle, const std::function<int(int in, int out)>& child) {
    int toHost[2], fromHost[2];
    if (::pipe(toHost) != 0 || ::pipe(fromHost) != 0) throw std::runtime_error("pipe failed");
    pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(toHost[1]);
        ::close(fromHost[0]);
        ::_exit(child(toHost[0], fromHost[1]));
    }
    ::close(toHost[0]);
    ::close(fromHost[1]);
    Host host{pid, toHost[1], fromHost[0], std::nullopt};
    if (hosts_.count(bundle)) stop(bundle);
    auto frame = readFrame(host.fromHost);
    if (!frame || !*frame || !(**frame)["ready"].boolValue()) {
        reap(host, true);
        throw std::runtime_error("host " + bundle + " did not start" + (frame ? "" : ": " + frame.error().message));
    }
    const Value& ready = **frame;
    if (!ready["nextDue"].isNil()) host.nextDue = ready["nextDue"].integerValue();
    hosts_[bundle] = host;
    for (const Value& m : ready["messages"].array()) pending_.emplace_back(bundle, m);
    exchange();
}

void Device::reap(Host& host, bool kill) {
    if (host.pid <= 0) return;
    if (kill) ::kill(host.pid, SIGKILL);
    ::close(host.toHost);
    ::close(host.fromHost);
    int status = 0;
    while (::waitpid(host.pid, &status, 0) < 0 && errno == EINTR) {
    }
    host.pid = -1;
}

void Device::stop(const std::string& bundle) {
    auto it = hosts_.find(bundle);
    if (it == hosts_.end()) return;
    reap(it->second, true);
    hosts_.erase(it);
    std::erase_if(pending_, [&](const auto& p) { return p.first == bundle; });
}

bool Device::isRunning(const std::string& bundle) const { return hosts_.count(bundle) != 0; }

Value Device::send(const std::string& bundle, Value::Dictionary message) {
    auto it = hosts_.find(bundle);
    if (it == hosts_.end()) throw std::runtime_error("host " + bundle + " is not running");
    Host& host = it->second;
    // Every message carries the device's time: a host that had nothing due
    // stayed behind and catches up before it acts.
    message["time"] = Value(now_);
    if (!writeFrame(host.toHost, Value(std::move(message)))) throw std::runtime_error("host " + bundle + " went away");
    auto frame = readFrame(host.fromHost);
    if (!frame || !*frame) {
        std::string why = frame ? "" : ": " + frame.error().message;
        stop(bundle);
        throw std::runtime_error("host " + bundle + " went away" + why);
    }
    Value reply = **frame;
    host.nextDue.reset();
    if (!reply["nextDue"].isNil()) host.nextDue = reply["nextDue"].integerValue();
    for (const Value& m : reply["messages"].array()) pending_.emplace_back(bundle, m);
    return reply;
}

void Device::route(const Value& message, const std::string& from) {
    const std::string& type = message["type"].string();
    if (type == "terminate") {
        const std::string& bundle = message["bundle"].string();
        terminations_.push_back({bundle, message["reason"].intValue(), message["description"].string()});
        stop(bundle);
        return;
    }
    std::vector<std::string> targets;
    if (type == "schedule") {
        targets.push_back(kSpringBoard);
    } else {
        for (const auto& [bundle, host] : hosts_)
            if (bundle != from) targets.push_back(bundle);
    }
    for (const auto& target : targets)
        if (isRunning(target))
            send(target, Value::Dictionary{{"op", Value("deliver")}, {"messages", Value::array({message})}});
}

void Device::exchange() {
    // Each delivery runs at the current time in its host and may post more.
    for (int rounds = 0; !pending_.empty(); ++rounds) {
        if (rounds > 1000) throw std::runtime_error("the hosts keep posting to each other");
        auto batch = std::move(pending_);
        pending_.clear();
        for (const auto& [from, message] : batch) route(message, from);
    }
}

Value Device::call(const std::string& bundle, const std::string& command, const Value& arguments) {
    Value reply = send(bundle, Value::Dictionary{{"op", Value("call")}, {"command", Value(command)}, {"arguments", arguments}});
    exchange();
    if (reply["error"].isString()) throw std::runtime_error(reply["error"].string());
    return reply["result"];
}

void Device::advance(double seconds) {
    long long target = now_ + static_cast<long long>(std::llround(seconds * 1e9));
    // Only the host with the earliest due work runs; it may run on until the
    // others' earliest due work, and stops where it posts something for them.
    // A host with nothing due is not woken, and the Clock app's one-second
    // timer runs on within one round trip for as long as it posts nothing.
    for (;;) {
        const std::string* earliest = nullptr;
        for (const auto& [bundle, host] : hosts_)
            if (host.nextDue && (!earliest || *host.nextDue < *hosts_.at(*earliest).nextDue)) earliest = &bundle;
        if (!earliest || *hosts_.at(*earliest).nextDue > target) break;
        long long limit = target;
        for (const auto& [bundle, host] : hosts_)
            if (&bundle != earliest && host.nextDue) limit = std::min(limit, *host.nextDue);
        std::string bundle = *earliest;
        now_ = std::max(now_, *hosts_.at(bundle).nextDue);
        Value reply = send(bundle, Value::Dictionary{{"op", Value("advanceUntilPosted")}, {"limit", Value(limit)}});
        now_ = std::max(now_, reply["now"].integerValue());
        exchange();
    }
    // Every host ends the step at its time, so that what a host finished off
    // its main thread meanwhile is in by the next step, as before.
    now_ = target;
    std::vector<std::string> bundles;
    for (const auto& [bundle, host] : hosts_) bundles.push_back(bundle);
    for (const auto& bundle : bundles)
        if (isRunning(bundle)) send(bundle, Value::Dictionary{{"op", Value("advanceUntilPosted")}, {"limit", Value(now_)}});
    exchange();
}

}  // namespace platform::host
