// An HTTP server on 127.0.0.1 for tests of real loads: a test adds its routes
// to `server` and then calls start(). Handlers that call hold() wait until the
// test lets them go (or the server ends), so a test can keep a request open.
#pragma once

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace platform::testing {

class LoopbackServer {
public:
    LoopbackServer() = default;
    ~LoopbackServer() {
        release();
        server.stop();
        if (thread_.joinable()) thread_.join();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    void start() {
        port_ = server.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server.listen_after_bind(); });
        // stop() before the server runs would not reach it.
        while (!server.is_running()) std::this_thread::yield();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

    // In a handler: waits for release().
    void hold() {
        std::unique_lock lock(mutex_);
        ++held_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
    }
    // Requests that reached hold(), ever.
    int held() const {
        std::lock_guard lock(mutex_);
        return held_;
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

    httplib::Server server;

private:
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int held_ = 0;
    bool released_ = false;
};

}  // namespace platform::testing
