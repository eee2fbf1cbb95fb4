// The device controller: starts the host processes of one simulated device on
// one device root, drives them over pipes and owns their one virtual clock.
// When time passes, every host advances in step; what a host posts for the
// others (Darwin and distributed notifications, the Clock app's schedule for
// SpringBoard, the ending of an app) reaches them at the same virtual time.
// Not thread-safe; the controlling process itself is not a simulated host.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/value.h"

namespace platform::host {

class Device {
public:
    struct Options {
        std::string root;          // the device root folder (made by the caller)
        std::string systemVersion;
        double coreFoundationVersion = 0;
        std::string timeZone = "UTC";
        Date start;                // the virtual clock's start
        std::string hostProgram;   // the rousa-host program, for start()
        std::string appProgram;    // the publisher app's program, for start()
        long long interfaceIdiom = 0;  // 0 phone, 1 pad
        std::optional<std::uint64_t> seed;  // the hosts' random draws
        bool echoLogs = false;     // hosts print their logs on standard error
    };
    struct Termination {
        std::string bundle;
        int reason;
        std::string description;
    };

    explicit Device(Options options);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Starts a host (by its bundle identifier) from the host program.
    void start(const std::string& bundle);
    // Starts a host in a forked child that runs `setUp` after its launch (which
    // may register commands). Only from a process that was never booted.
    void startForked(const std::string& bundle, const std::function<void()>& setUp);
    // Ends a host as the system would (it gets no say).
    void stop(const std::string& bundle);
    bool isRunning(const std::string& bundle) const;

    // Runs a command in a host at the current time, then lets what it posted
    // reach the others. Throws std::runtime_error with the host's error.
    Value call(const std::string& bundle, const std::string& command, const Value& arguments = Value());
    // Moves the clock on; every host runs what falls due, in step.
    void advance(double seconds);
    Date now() const;

    // The apps ended through BackBoardServices, in order.
    const std::vector<Termination>& terminations() const { return terminations_; }

private:
    struct Host {
        int pid = -1;
        int toHost = -1;
        int fromHost = -1;
        std::optional<long long> nextDue;
    };
    // Forks a host with a control pipe each way; the child ends with what
    // `child` returns for its ends of the pipes. Waits for the host to be ready.
    void launch(const std::string& bundle, const std::function<int(int in, int out)>& child);
    // Sends a message at the device's time and takes the host's answer.
    Value send(const std::string& bundle, Value::Dictionary message);
    void exchange();
    void route(const Value& message, const std::string& from);
    void reap(Host& host, bool kill);

    Options options_;
    long long now_;
    std::map<std::string, Host> hosts_;
    std::vector<std::pair<std::string, Value>> pending_;  // (from, message)
    std::vector<Termination> terminations_;
};

}  // namespace platform::host
