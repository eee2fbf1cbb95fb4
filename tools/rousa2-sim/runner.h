// Plays a scenario on a simulated device: SpringBoard, the Clock app and the
// Settings app as host processes on one virtual clock (with the publisher app
// and our ad server on 127.0.0.1 when the scenario starts the server), driven only the way a
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
    std::string appProgram;   // ad-sample, the publisher app
    std::string inventory;    // the ad server's inventory when a scenario names none
    unsigned long long seed = 1;
    bool echoLogs = false;
};

// 0 when every step ran and every expectation held; 1 otherwise, with the
// failure ("file:line: ...") and what was seen written to `out`.
int runScenario(const Scenario& scenario, const RunOptions& options, std::ostream& out);

}  // namespace rousa::sim
