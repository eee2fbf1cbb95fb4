// ad-server [--port N] --inventory DIR [--log FILE] [--fault TARGET=FAULT]...
// Serves on 127.0.0.1 until SIGINT or SIGTERM. TARGET is "unit:AD_UNIT" or
// "path:/PATH"; FAULT is "delay:SECONDS", "status:CODE", "truncate",
// "garbage", "drop" or "redirect:HOPS".
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tools/ad-server/ad_server.h"

namespace {

int usage(const char* problem) {
    std::fprintf(stderr,
                 "ad-server: %s\nusage: ad-server [--port N] --inventory DIR [--log FILE] [--fault TARGET=FAULT]...\n"
                 "  TARGET: unit:AD_UNIT or path:/PATH\n"
                 "  FAULT: delay:SECONDS, status:CODE, truncate, garbage, drop, redirect:HOPS\n",
                 problem);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace rousa::adserver;
    ServerOptions options;
    options.port = kDefaultPort;
    std::vector<std::pair<std::string, Fault>> faults;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc) return usage(("missing value after " + arg).c_str());
        std::string value = argv[++i];
        if (arg == "--port") {
            char* end = nullptr;
            long port = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || port < 0 || port > 65535) return usage("bad port");
            options.port = static_cast<int>(port);
        } else if (arg == "--inventory") {
            options.inventoryDir = value;
        } else if (arg == "--log") {
            options.logFile = value;
        } else if (arg == "--fault") {
            size_t equals = value.find('=');
            Fault fault;
            if (equals == std::string::npos || !parseFault(value.substr(equals + 1), fault)) return usage("bad fault");
            std::string target = value.substr(0, equals);
            if (target.rfind("unit:", 0) != 0 && target.rfind("path:/", 0) != 0) return usage("bad fault target");
            faults.emplace_back(target, fault);
        } else {
            return usage(("unknown option " + arg).c_str());
        }
    }
    if (options.inventoryDir.empty()) return usage("--inventory is required");

    // Blocked before any thread exists, so that only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    AdServer server(options);
    for (const auto& [target, fault] : faults) {
        if (target.rfind("unit:", 0) == 0) server.setAdUnitFault(target.substr(5), fault);
        else server.setPathFault(target.substr(5), fault);
    }
    if (!server.start()) {
        std::fprintf(stderr, "ad-server: %s\n", server.error().c_str());
        return 1;
    }
    std::printf("ad-server: listening on %s\n", server.baseURL().c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
    return 0;
}
