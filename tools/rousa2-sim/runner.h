// Plays a scenario on a simulated device: SpringBoard, the Clock app and the
// Settings app as host processes on one virtual clock, driven only the way a
// user would drive them. Prints each step at its virtual time and what the
// device then shows, plays and keeps, read from the platform.
#pragma once

#include <ostream>
#include <string>

#include "tools/rousa2-sim/scenario.h"

namespace rousa::sim {

struct RunOptions {
    std::string fileName;     // for messages
    std::string root;         // the device root (made by the caller)
    std::string hostProgram;  // rousa-host
    unsigned long long seed = 1;
    bool echoLogs = false;
};

// 0 when every step ran and every expectation held; 1 otherwise, with the
// failure ("file:line: ...") and what was seen written to `out`.
int runScenario(const Scenario& scenario, const RunOptions& options, std::ostream& out);

}  // namespace rousa::sim
