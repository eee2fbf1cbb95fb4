#include "tools/ad-server/ad_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <strings.h>
#include <sys/socket.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "tools/ad-server/inventory.h"

namespace rousa::adserver {

namespace {

// The socket of the connection that carries a request, found by its two
// ports among the process's descriptors, so that a fault can drop it and a
// held request can notice that the client left. httplib hands handlers no
// socket; this is only looked up on those two paths.
int connectionSocket(const httplib::Request& req) {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    int last = static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 65536));
    for (int fd = 3; fd < last; ++fd) {
        struct stat info {};
        if (fstat(fd, &info) != 0 || !S_ISSOCK(info.st_mode)) continue;
        sockaddr_in local{}, peer{};
        socklen_t localSize = sizeof local, peerSize = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 || local.sin_family != AF_INET) continue;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0) continue;
        if (ntohs(local.sin_port) == req.local_port && ntohs(peer.sin_port) == req.remote_port) return fd;
    }
    return -1;
}

bool peerHasLeft(int sock) {
    if (sock < 0) return false;
    pollfd fd{sock, POLLIN | POLLRDHUP, 0};
    if (::poll(&fd, 1, 0) <= 0) return false;
    if (fd.revents & (POLLRDHUP | POLLHUP | POLLERR)) return true;
    char byte;
    return ::recv(sock, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

std::string contentTypeFor(const std::filesystem::path& path) {
    static const std::map<std::string, std::string> types = {
        {".html", "text/html; charset=utf-8"}, {".js", "application/javascript"},
        {".json", "application/json"},         {".css", "text/css"},
        {".png", "image/png"},                 {".txt", "text/plain; charset=utf-8"},
    };
    auto found = types.find(path.extension().string());
    return found == types.end() ? "application/octet-stream" : found->second;
}

bool isText(const std::string& contentType) {
    return contentType.rfind("text/", 0) == 0 || contentType.find("javascript") != std::string::npos ||
           contentType.find("json") != std::string::npos;
}

std::string noise(size_t length) {
    // Not text, not JSON, not HTML: bytes with the high bit set mixed in.
    std::string out(length, '\0');
    uint32_t state = 2463534242u;
    for (auto& c : out) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = static_cast<char>(0x80 | (state & 0x7f));
    }
    return out;
}

}  // namespace

struct AdServer::Impl {
    ServerOptions options;
    httplib::Server http;
    std::thread thread;
    std::string error;
    int port = 0;
    RequestLog log;

    mutable std::mutex mutex;
    mutable std::condition_variable heldChanged;
    std::map<std::string, Fault> adUnitFaults;
    std::map<std::string, Fault> pathFaults;
    std::map<std::string, std::string> redirectTargets;  // token -> original target
    std::multiset<std::string> redirectArrivals;          // targets that reach their answer unfaulted
    uint64_t nextToken = 1;
    size_t held = 0;
    std::vector<std::string> viewabilityReports;
    std::vector<AdServer::ActivityReport> activityReports;
    uint64_t releaseGeneration = 0;
    bool stopping = false;
    std::atomic<bool> listenEnded{false};

    std::string baseURL() const { return "http://127.0.0.1:" + std::to_string(port); }

    std::map<std::string, std::string> serverValues() const {
        return {{"BASE_URL", baseURL()}, {"HOST", "127.0.0.1:" + std::to_string(port)}, {"PORT", std::to_string(port)}};
    }

    std::optional<Fault> faultFor(const httplib::Request& req) {
        std::lock_guard lock(mutex);
        if (auto arrival = redirectArrivals.find(req.target); arrival != redirectArrivals.end()) {
            redirectArrivals.erase(arrival);
            return std::nullopt;
        }
        if (auto found = pathFaults.find(req.path); found != pathFaults.end()) return found->second;
        if (req.has_param("slotname")) {
            if (auto found = adUnitFaults.find(req.get_param_value("slotname")); found != adUnitFaults.end())
                return found->second;
        }
        return std::nullopt;
    }

    void logRequest(const httplib::Request& req) {
        LoggedRequest entry;
        entry.method = req.method;
        entry.path = req.path;
        if (auto mark = req.target.find('?'); mark != std::string::npos) entry.query = req.target.substr(mark + 1);
        for (const auto& header : req.headers) {
            // httplib adds these itself; they were not sent by the client.
            if (header.first == "REMOTE_ADDR" || header.first == "REMOTE_PORT" || header.first == "LOCAL_ADDR" ||
                header.first == "LOCAL_PORT")
                continue;
            entry.headers.push_back(header);
        }
        entry.body = req.body;
        entry.time = arrival;
        log.add(std::move(entry));
    }

    // False when the client left while held.
    bool hold(const httplib::Request& req, const Fault& fault) {
        int sock = connectionSocket(req);
        std::unique_lock lock(mutex);
        uint64_t generation = releaseGeneration;
        ++held;
        heldChanged.notify_all();
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(fault.seconds);
        bool left = false;
        while (!stopping && releaseGeneration == generation) {
            if (fault.seconds > 0 && std::chrono::steady_clock::now() >= deadline) break;
            if (peerHasLeft(sock)) {
                left = true;
                break;
            }
            heldChanged.wait_for(lock, std::chrono::milliseconds(20));
        }
        --held;
        heldChanged.notify_all();
        return !left && !stopping;
    }

    std::string redirectTo(const std::string& token, int remaining) {
        std::lock_guard lock(mutex);
        if (remaining > 0) return baseURL() + "/redirect/" + token + "/" + std::to_string(remaining);
        auto found = redirectTargets.find(token);
        if (found == redirectTargets.end()) return {};
        std::string target = found->second;
        redirectTargets.erase(found);
        redirectArrivals.insert(target);
        return baseURL() + target;
    }

    httplib::Server::HandlerResponse preRouting(const httplib::Request& req, httplib::Response& res) {
        pendingBodyFault.reset();
        arrival = std::chrono::system_clock::now();
        auto fault = faultFor(req);
        if (!fault) return httplib::Server::HandlerResponse::Unhandled;
        switch (fault->kind) {
        case FaultKind::Delay:
            if (hold(req, *fault)) return httplib::Server::HandlerResponse::Unhandled;
            res.status = 503;
            return httplib::Server::HandlerResponse::Handled;
        case FaultKind::Status:
            res.status = fault->status;
            res.set_content("ad server fault\n", "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        case FaultKind::Drop:
            if (int sock = connectionSocket(req); sock >= 0) ::shutdown(sock, SHUT_RDWR);
            return httplib::Server::HandlerResponse::Handled;
        case FaultKind::Redirect: {
            std::string token;
            {
                std::lock_guard lock(mutex);
                token = std::to_string(nextToken++);
                redirectTargets[token] = req.target;
            }
            res.set_redirect(redirectTo(token, fault->hops - 1));
            return httplib::Server::HandlerResponse::Handled;
        }
        case FaultKind::Truncate:
        case FaultKind::Garbage:
            // The answer is made as usual and spoilt on its way out.
            pendingBodyFault = fault->kind;
            return httplib::Server::HandlerResponse::Unhandled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    }

    static thread_local std::optional<FaultKind> pendingBodyFault;
    static thread_local std::chrono::system_clock::time_point arrival;

    // httplib reads a request's body only after the pre-routing handler, so
    // the request is logged whole here, as its answer goes out.
    void postRouting(const httplib::Request& req, httplib::Response& res) {
        logRequest(req);
        if (!pendingBodyFault) return;
        FaultKind kind = *pendingBodyFault;
        pendingBodyFault.reset();
        std::string contentType = res.get_header_value("Content-Type");
        std::string body = res.body;
        res.headers.erase("Content-Type");
        res.body.clear();
        if (kind == FaultKind::Garbage) {
            res.set_content(noise(body.empty() ? 64 : body.size()), contentType.empty() ? "text/html" : contentType);
            return;
        }
        size_t half = body.size() / 2;
        res.set_content_provider(body.size() + (body.empty() ? 2 : 0), contentType.empty() ? "text/html" : contentType,
                                 [body, half](size_t, size_t, httplib::DataSink& sink) {
                                     if (half > 0) sink.write(body.data(), half);
                                     return false;  // closes the connection short of the promised length
                                 });
    }

    void answerAd(const httplib::Request& req, httplib::Response& res) {
        Inventory inventory = loadInventory(options.inventoryDir);
        std::string unit = req.get_param_value("slotname");
        auto found = inventory.entries.find(unit);
        if (unit.empty() || found == inventory.entries.end() || found->second.pageDelivery) {
            // The library reads 400 as an ad unit it should not have asked for.
            res.status = 400;
            res.set_content("unknown ad unit\n", "text/plain");
            return;
        }
        const InventoryEntry& entry = found->second;
        auto values = serverValues();
        std::string contentType = "text/html; charset=utf-8";
        for (const auto& [name, value] : entry.headers) {
            std::string filled = fillPlaceholders(value, values, req.params);
            if (strcasecmp(name.c_str(), "Content-Type") == 0) contentType = filled;
            else res.headers.emplace(name, filled);
        }
        res.set_content(fillPlaceholders(entry.body, values, req.params), contentType);
    }

    // A report is a JSON object with an array of units; anything else is refused.
    void answerViewability(const httplib::Request& req, httplib::Response& res) {
        auto report = nlohmann::json::parse(req.get_param_value("report"), nullptr, false);
        if (!report.is_object() || !report.contains("units") || !report["units"].is_array()) {
            res.status = 400;
            res.set_content("bad report\n", "text/plain");
            return;
        }
        {
            std::lock_guard lock(mutex);
            viewabilityReports.push_back(compact(report));
        }
        // Loaded as a script: an empty one.
        res.set_content("", "application/javascript");
    }

    // A report is two JSON objects, its metadata and its request; anything else is refused.
    void answerActivity(const httplib::Request& req, httplib::Response& res) {
        auto meta = nlohmann::json::parse(req.get_param_value("meta"), nullptr, false);
        auto request = nlohmann::json::parse(req.get_param_value("request"), nullptr, false);
        if (!meta.is_object() || !request.is_object()) {
            res.status = 400;
            res.set_content("bad activity report\n", "text/plain");
            return;
        }
        {
            std::lock_guard lock(mutex);
            activityReports.push_back({compact(meta), compact(request)});
        }
        res.set_content("", "application/javascript");
    }

    static std::string compact(const nlohmann::json& json) { return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace); }

    std::string pageConfig(const httplib::Request& req) {
        Inventory inventory = loadInventory(options.inventoryDir);
        auto values = serverValues();
        nlohmann::json config = {{"ad_url", baseURL() + kAdPath},
                                 {"viewability_url", baseURL() + kViewabilityPath},
                                 {"constants", nlohmann::json::object()},
                                 {"answer", {{"request_scenario", "online_request"}}},
                                 {"ads", nlohmann::json::object()}};
        if (!inventory.sdkCore.empty()) {
            auto sdkCore = nlohmann::json::parse(fillPlaceholders(inventory.sdkCore, values, req.params), nullptr, false);
            if (sdkCore.is_object()) {
                if (sdkCore.contains("constants") && sdkCore["constants"].is_object()) config["constants"] = sdkCore["constants"];
                if (sdkCore.contains("answer") && sdkCore["answer"].is_object()) config["answer"] = sdkCore["answer"];
            }
        }
        for (const auto& [unit, entry] : inventory.entries) {
            if (!entry.pageDelivery) continue;
            auto ad = nlohmann::json::parse(fillPlaceholders(entry.body, values, req.params), nullptr, false);
            if (!ad.is_object()) continue;
            nlohmann::json header = nlohmann::json::object();
            for (const auto& [name, value] : entry.headers) header[name] = fillPlaceholders(value, values, req.params);
            config["ads"][unit] = {{"ad", ad}, {"header", header}};
        }
        std::string text = config.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        // Inside a script element "</" would end the script.
        for (size_t at = text.find("</"); at != std::string::npos; at = text.find("</", at + 3)) text.insert(at + 1, "\\");
        return text;
    }

    // One script for the three kinds, told its placement and its states.
    void answerMRAID(const std::string& kind, httplib::Response& res) {
        std::ifstream in(ROUSA_AD_SERVER_MRAID_SCRIPT, std::ios::binary);
        if (!in.is_open()) {
            res.status = 500;
            res.set_content("no MRAID script\n", "text/plain");
            return;
        }
        std::ostringstream text;
        text << in.rdbuf();
        auto values = serverValues();
        values["MRAID_PLACEMENT"] = kind == "interstitial" ? "interstitial" : "inline";
        values["MRAID_START_STATE"] = kind == "expanded_banner" ? "expanded" : "loading";
        values["MRAID_READY_STATE"] = kind == "expanded_banner" ? "expanded" : "default";
        res.set_content(fillPlaceholders(text.str(), values, {}), "application/javascript");
    }

    void answerStatic(const httplib::Request& req, httplib::Response& res) {
        namespace fs = std::filesystem;
        fs::path relative = fs::path(req.path).relative_path().lexically_normal();
        bool inside = !relative.empty() && *relative.begin() != "..";
        fs::path file = fs::path(options.staticDir) / relative;
        std::error_code ec;
        if (!inside || !fs::is_regular_file(file, ec)) {
            res.status = 404;
            res.set_content("not found\n", "text/plain");
            return;
        }
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::string body = text.str();
        std::string contentType = contentTypeFor(file);
        if (isText(contentType)) {
            auto values = serverValues();
            if (body.find("@@PAGE_CONFIG@@") != std::string::npos) values["PAGE_CONFIG"] = pageConfig(req);
            body = fillPlaceholders(body, values, req.params);
        }
        res.set_content(body, contentType);
    }
};

thread_local std::optional<FaultKind> AdServer::Impl::pendingBodyFault;
thread_local std::chrono::system_clock::time_point AdServer::Impl::arrival;

AdServer::AdServer(ServerOptions options) : impl_(std::make_unique<Impl>()) {
    if (options.staticDir.empty()) options.staticDir = ROUSA_AD_SERVER_STATIC;
    impl_->options = std::move(options);
}

AdServer::~AdServer() { stop(); }

bool AdServer::start() {
    Impl& impl = *impl_;
    Inventory inventory = loadInventory(impl.options.inventoryDir);
    if (!inventory.error.empty()) {
        impl.error = inventory.error;
        return false;
    }
    if (!impl.options.logFile.empty() && !impl.log.writeTo(impl.options.logFile)) {
        impl.error = "cannot write the log " + impl.options.logFile;
        return false;
    }
    impl.http.set_pre_routing_handler([&impl](const auto& req, auto& res) { return impl.preRouting(req, res); });
    impl.http.set_post_routing_handler([&impl](const auto& req, auto& res) { impl.postRouting(req, res); });
    impl.http.Get(kAdPath, [&impl](const auto& req, auto& res) { impl.answerAd(req, res); });
    auto ping = [](const httplib::Request&, httplib::Response& res) { res.set_content("", "text/plain"); };
    impl.http.Get(R"(/ping/(click|imp|nofill|iap))", ping);
    impl.http.Post(R"(/ping/(click|imp|nofill|iap))", ping);
    // A tester's report of a bad ad: its JSON body is in the log.
    impl.http.Post("/s/reportAd", ping);
    // The mediation pings: no fill, impression and click of a mediated network.
    impl.http.Get(R"(/(nofill|imp|clk))", ping);
    impl.http.Get(kViewabilityPath, [&impl](const auto& req, auto& res) { impl.answerViewability(req, res); });
    impl.http.Get(kActivityPath, [&impl](const auto& req, auto& res) { impl.answerActivity(req, res); });
    impl.http.Get(R"(/redirect/([0-9]+)/([0-9]+))", [&impl](const httplib::Request& req, httplib::Response& res) {
        std::string location = impl.redirectTo(req.matches[1], std::stoi(req.matches[2]) - 1);
        if (location.empty()) {
            res.status = 404;
            return;
        }
        res.set_redirect(location);
    });
    impl.http.Get(R"(/mraid/v1/mraid_app_(banner|interstitial|expanded_banner)\.js)",
                  [&impl](const httplib::Request& req, httplib::Response& res) { impl.answerMRAID(req.matches[1], res); });
    impl.http.Get(".*", [&impl](const auto& req, auto& res) { impl.answerStatic(req, res); });

    if (impl.options.port == 0) {
        impl.port = impl.http.bind_to_any_port("127.0.0.1");
    } else if (impl.http.bind_to_port("127.0.0.1", impl.options.port)) {
        impl.port = impl.options.port;
    }
    if (impl.port <= 0) {
        impl.error = "cannot listen on 127.0.0.1:" + std::to_string(impl.options.port);
        impl.port = 0;
        return false;
    }
    impl.listenEnded = false;
    impl.thread = std::thread([&impl] {
        impl.http.listen_after_bind();
        impl.listenEnded = true;
    });
    return true;
}

void AdServer::stop() {
    Impl& impl = *impl_;
    if (!impl.thread.joinable()) return;
    {
        std::lock_guard lock(impl.mutex);
        impl.stopping = true;
    }
    impl.heldChanged.notify_all();
    // The socket listens from bind on; stop() only reaches a loop that runs.
    while (!impl.http.is_running() && !impl.listenEnded) std::this_thread::yield();
    impl.http.stop();
    impl.thread.join();
}

const std::string& AdServer::error() const { return impl_->error; }
int AdServer::port() const { return impl_->port; }
std::string AdServer::baseURL() const { return impl_->baseURL(); }

void AdServer::setAdUnitFault(const std::string& adUnit, Fault fault) {
    std::lock_guard lock(impl_->mutex);
    impl_->adUnitFaults[adUnit] = fault;
}

void AdServer::setPathFault(const std::string& path, Fault fault) {
    std::lock_guard lock(impl_->mutex);
    impl_->pathFaults[path] = fault;
}

void AdServer::clearFaults() {
    std::lock_guard lock(impl_->mutex);
    impl_->adUnitFaults.clear();
    impl_->pathFaults.clear();
}

size_t AdServer::heldCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->held;
}

bool AdServer::waitForHeld(size_t count, std::chrono::milliseconds realTimeout) const {
    std::unique_lock lock(impl_->mutex);
    return impl_->heldChanged.wait_for(lock, realTimeout, [&] { return impl_->held == count; });
}

void AdServer::releaseDelayed() {
    {
        std::lock_guard lock(impl_->mutex);
        ++impl_->releaseGeneration;
    }
    impl_->heldChanged.notify_all();
}

const RequestLog& AdServer::log() const { return impl_->log; }
void AdServer::clearLog() { impl_->log.clear(); }

std::vector<std::string> AdServer::viewabilityReports() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->viewabilityReports;
}

std::vector<AdServer::ActivityReport> AdServer::activityReports() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->activityReports;
}

}  // namespace rousa::adserver
