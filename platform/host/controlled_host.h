// A host process driven by the device controller: it boots on the
// controller's virtual clock, loads its tweaks, calls UIApplicationMain, and
// then answers the controller's messages on a pair of pipes: advance the clock
// to a time, deliver what another host posted, run a named command. What it
// posts for other hosts (Darwin and distributed notifications, the Clock app's
// schedule, the ending of an app) goes back with each answer.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/host/boot.h"

namespace platform::host {

// A command the controller (or a scenario) can run in the host; its result is
// a property-list value.
using Command = std::function<Value(const Value& arguments)>;
void registerCommand(std::string name, Command command);
// Runs a registered command, then what it set off for now on the main run
// loop; throws std::runtime_error for an unknown name (and passes on what the
// command throws).
Value runCommand(std::string_view name, const Value& arguments);

// Boots with `options`, runs `beforeLaunch` (a program's own classes), loads
// the tweaks the filter names, calls UIApplicationMain, runs `setUp` (which
// may register commands), then serves the controller until it says quit or
// the pipe closes. Returns the exit code.
int runControlledHost(const BootOptions& options, int in, int out, const std::function<void()>& setUp = {},
                      const std::function<void()>& beforeLaunch = {});

// The Clock app's notifications as they cross to SpringBoard, and back.
Value notificationsToValue(const Value& notifications);
Value notificationsFromValue(const Value& portable);

}  // namespace platform::host
