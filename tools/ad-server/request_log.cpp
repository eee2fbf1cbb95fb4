#include "tools/ad-server/request_log.h"

#include <strings.h>

#include <nlohmann/json.hpp>

namespace rousa::adserver {

std::string LoggedRequest::header(const std::string& name) const {
    for (const auto& [key, value] : headers) {
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    }
    return {};
}

bool RequestLog::writeTo(const std::string& file) {
    std::lock_guard lock(mutex_);
    file_.open(file, std::ios::app);
    return static_cast<bool>(file_);
}

void RequestLog::add(LoggedRequest request) {
    std::lock_guard lock(mutex_);
    if (file_.is_open()) {
        nlohmann::json line;
        line["method"] = request.method;
        line["path"] = request.path;
        line["query"] = request.query;
        nlohmann::json headers = nlohmann::json::array();
        for (const auto& [name, value] : request.headers) headers.push_back({name, value});
        line["headers"] = headers;
        line["body"] = request.body;
        line["time"] = std::chrono::duration<double>(request.time.time_since_epoch()).count();
        // Bodies need not be UTF-8; the log stays valid JSON either way.
        file_ << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        file_.flush();
    }
    entries_.push_back(std::move(request));
    changed_.notify_all();
}

std::vector<LoggedRequest> RequestLog::entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

void RequestLog::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

bool RequestLog::waitForCount(size_t count, std::chrono::milliseconds realTimeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, realTimeout, [&] { return entries_.size() >= count; });
}

}  // namespace rousa::adserver
