// The process-runner seam: runs a program of the host machine with its
// standard output going to a file (one that exists, under the device root),
// waiting at most a given time (then the program is killed), and makes private
// temporary files there. Blocking: call `run` off the main thread. Tests replace the runner;
// the real one spawns the program directly (no shell), with standard input
// and standard error on /dev/null. Thread-safe, except setRunner, which
// tests call while no program runs.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/result.h"

namespace platform::processRunner {

struct Outcome {
    bool started = false;   // the program could be run at all
    bool timedOut = false;  // it was killed at the time limit
    int exitStatus = -1;    // its exit status when it ended by itself
    bool succeeded() const { return started && !timedOut && exitStatus == 0; }
};

using Runner = std::function<Outcome(const std::vector<std::string>& argv, const std::string& outputPath, double timeoutSeconds)>;

// argv[0] is the program's path on the host machine; `outputPath` a device
// path of a file that exists (a link there is not followed: nothing runs).
Outcome run(const std::vector<std::string>& argv, const std::string& outputPath, double timeoutSeconds);
// An empty runner puts the real one back.
void setRunner(Runner runner);
Outcome runForReal(const std::vector<std::string>& argv, const std::string& outputPath, double timeoutSeconds);

// The device path of a new, empty file that only this user can read or write,
// made with a name of its own ("<prefix>.XXXXXX") in a device folder ("/tmp"),
// never one that existed already.
Result<std::string> createPrivateTemporaryFile(std::string_view deviceFolder, std::string_view prefix);

}  // namespace platform::processRunner
