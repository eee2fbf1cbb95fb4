// Every request the ad server answers, in the order the answers went out
// (each with its arrival time), kept in memory for tests and written as one
// JSON object a line to a file for the demo.
// Thread-safe: the server's worker threads add, tests read and wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace rousa::adserver {

struct LoggedRequest {
    std::string method;
    std::string path;   // decoded, without the query
    std::string query;  // raw text after "?", empty when none
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::chrono::system_clock::time_point time;  // arrival

    // The first header of that name, compared without case; empty when absent.
    std::string header(const std::string& name) const;
};

class RequestLog {
public:
    // Also appends each request to `file`; false when it cannot be opened.
    bool writeTo(const std::string& file);
    void add(LoggedRequest request);
    std::vector<LoggedRequest> entries() const;
    // Forgets the entries kept so far (the file keeps them), so that a long
    // run's memory is its client's alone.
    void clear();
    // Waits (on a condition, up to `realTimeout`) until at least `count`
    // requests are logged.
    bool waitForCount(size_t count, std::chrono::milliseconds realTimeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<LoggedRequest> entries_;
    std::ofstream file_;
};

}  // namespace rousa::adserver
