// Our own ad server on 127.0.0.1, for tests, the demo and the benchmarks: the
// SDK-core page and other static files, the ad endpoint answering from the
// inventory folder, the tracking pings, a log of every request and fault modes.
// An AdServer listens from start() until stop() or its destruction; its
// methods may be called from any thread while it serves.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tools/ad-server/fault.h"
#include "tools/ad-server/request_log.h"

namespace rousa::adserver {

// Where the ad endpoint lives and where the SDK-core page points its ad URLs.
inline constexpr const char* kAdPath = "/mads/gma";
inline constexpr const char* kSdkCorePath = "/mads/static/sdk/native/sdk-core-v40.html";
// The MRAID scripts, one per kind of ad ("mraid.js" of the creatives is
// answered by the library with one of these).
inline constexpr const char* kMRAIDBannerScriptPath = "/mraid/v1/mraid_app_banner.js";
inline constexpr const char* kMRAIDInterstitialScriptPath = "/mraid/v1/mraid_app_interstitial.js";
inline constexpr const char* kMRAIDExpandedBannerScriptPath = "/mraid/v1/mraid_app_expanded_banner.js";
// The viewability endpoint: the SDK-core page's script loads it with each
// report as the "report" parameter (JSON text).
inline constexpr const char* kViewabilityPath = "/optora/v1/report";
// The activity endpoint: the controller page's script loads it with each
// activity report, its metadata and request as the "meta" and "request"
// parameters (JSON texts of objects).
inline constexpr const char* kControllerPath = "/mads/static/sdk/native/controller.html";
inline constexpr const char* kActivityPath = "/mads/qrt/activity";
// The address the ad library uses when nothing else is set.
inline constexpr int kDefaultPort = 47800;

struct ServerOptions {
    std::string inventoryDir;
    int port = 0;         // 0 picks a free port
    std::string logFile;  // empty: the log stays in memory only
    std::string staticDir;  // empty: the server's own static folder
};

class AdServer {
public:
    explicit AdServer(ServerOptions options);
    ~AdServer();
    AdServer(const AdServer&) = delete;
    AdServer& operator=(const AdServer&) = delete;

    // Checks the inventory, binds 127.0.0.1 and serves on threads of its own.
    // False, with error(), when the inventory is broken or the port is taken.
    bool start();
    void stop();
    const std::string& error() const;
    int port() const;
    std::string baseURL() const;  // "http://127.0.0.1:<port>"

    // A fault for requests whose "slotname" is the ad unit, or whose path is
    // the path; a path fault wins over an ad-unit fault.
    void setAdUnitFault(const std::string& adUnit, Fault fault);
    void setPathFault(const std::string& path, Fault fault);
    void clearFaults();

    // Delayed requests held now; release lets every one of them go on.
    size_t heldCount() const;
    bool waitForHeld(size_t count, std::chrono::milliseconds realTimeout) const;
    void releaseDelayed();

    const RequestLog& log() const;
    void clearLog();
    // Each viewability report the endpoint took, as compact JSON text, in
    // the order they came.
    std::vector<std::string> viewabilityReports() const;
    // Each activity report the endpoint took, in the order they came.
    struct ActivityReport {
        std::string meta, request;  // compact JSON text
    };
    std::vector<ActivityReport> activityReports() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace rousa::adserver
