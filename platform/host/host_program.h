// The host program of a simulated process, as a function, so that an app
// with classes of its own (the publisher app) is a program of its own on the
// same command line as rousa-host:
//
//   PROGRAM --host springboard|clock|settings|app [--ios 9.3 | --cf 1241.11]
//           [--root DIR] [--time-zone NAME] [--idiom phone|pad] [--seed N] [--exit-after-launch]
//           [--control-in FD --control-out FD --start-nanos N [--echo-logs]]
//
// With the control pipes the host is driven by the device controller on its
// virtual clock; otherwise it runs on the real clock.
#pragma once

#include <functional>

namespace platform::host {

struct HostProgramHooks {
    // After boot, before UIApplicationMain: the program's own classes.
    std::function<void()> beforeLaunch;
    // After the launch of a controlled host: the program's own commands.
    std::function<void()> setUp;
};

int runHostProgram(int argc, char** argv, const HostProgramHooks& hooks = {});

}  // namespace platform::host
