// Fixtures for tests: a fresh device root holding the staged resources, the
// virtual clock installed before anything else, boot; and child processes
// for tests that need a second simulated process. A test process reaches no
// network but 127.0.0.1.
#pragma once

#include <functional>
#include <string>

#include "platform/host/boot.h"
#include "platform/testing/printers.h"

namespace platform::testing {

// 2026-01-05 06:00:00 UTC, a Monday: the virtual clock's default start.
inline constexpr double kDefaultStart = 1767592800.0;  // unix seconds

// Makes a fresh temporary device root with the staged resources copied in.
std::string makeDeviceRoot();
void removeDeviceRoot(const std::string& root);

// A test's simulated process. Boots in the constructor (unless `boot` is false,
// for tests that fork children first) and removes its device root when done.
class TestEnvironment {
public:
    explicit TestEnvironment(host::BootOptions options = {}, bool boot = true);
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    const std::string& root() const { return root_; }
    host::BootOptions& options() { return options_; }
    // Boots with the environment's root and virtual clock.
    void boot();
    // The host path of a device path under this root.
    std::string hostPath(const std::string& devicePath) const;

private:
    std::string root_;
    host::BootOptions options_;
};

// Runs `body` in a forked child and returns what it returns. The child boots
// with `options` (its device root defaults to the parent's, else to a fresh one
// removed when it ends), so the parent must not have booted; and ends with _exit,
// running no destructors of the parent's state. Fork before any thread exists.
std::string runInChild(const host::BootOptions& options, const std::function<std::string()>& body);
// The same for a child that keeps its booted parent's state.
std::string runInChild(const std::function<std::string()>& body);

// A child started now and collected later, for children that run side by side.
class ChildProcess {
public:
    ChildProcess(const host::BootOptions& options, const std::function<std::string()>& body);
    explicit ChildProcess(const std::function<std::string()>& body);
    ~ChildProcess();
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    // Waits for the child and returns its result; "<crashed: ...>" if it did not end normally.
    std::string wait();

private:
    int pid_ = -1;
    int fd_ = -1;
    std::string ownRoot_;  // made for the child when it had none
};

// Advances the main run loop's virtual clock.
void advance(double seconds);

}  // namespace platform::testing
