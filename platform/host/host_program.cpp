#include "platform/host/host_program.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/host/application_classes.h"
#include "platform/host/boot.h"
#include "platform/host/controlled_host.h"
#include "platform/host/loader.h"
#include "platform/runtime/call_log.h"
#include "platform/uikit/application.h"

namespace platform::host {

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: rousa-host --host springboard|clock|settings|app [--ios VERSION | --cf NUMBER] [--root DIR] "
                 "[--exit-after-launch]\n");
    return 2;
}

}  // namespace

int runHostProgram(int argc, char** argv, const HostProgramHooks& hooks) {
    BootOptions options;
    options.bundleIdentifier = "";
    bool exitAfterLaunch = false;
    int controlIn = -1, controlOut = -1;
    long long startNanos = 0;
    bool echoLogs = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--host") {
            const char* h = next();
            if (!h) return usage();
            std::string name = h;
            if (name == "springboard") options.bundleIdentifier = kSpringBoard;
            else if (name == "clock") options.bundleIdentifier = kClockApp;
            else if (name == "settings") options.bundleIdentifier = kSettingsApp;
            else if (name == "app") options.bundleIdentifier = kPublisherApp;
            else return usage();
        } else if (arg == "--ios") {
            const char* v = next();
            if (!v) return usage();
            options.systemVersion = v;
        } else if (arg == "--cf") {
            const char* v = next();
            if (!v) return usage();
            options.coreFoundationVersion = std::strtod(v, nullptr);
        } else if (arg == "--root") {
            const char* v = next();
            if (!v) return usage();
            options.deviceRoot = v;
        } else if (arg == "--exit-after-launch") {
            exitAfterLaunch = true;
        } else if (arg == "--time-zone") {
            const char* v = next();
            if (!v) return usage();
            options.timeZone = v;
        } else if (arg == "--control-in" || arg == "--control-out" || arg == "--start-nanos") {
            const char* v = next();
            if (!v) return usage();
            long long n = std::strtoll(v, nullptr, 10);
            if (arg == "--control-in") controlIn = static_cast<int>(n);
            else if (arg == "--control-out") controlOut = static_cast<int>(n);
            else startNanos = n;
        } else if (arg == "--seed") {
            const char* v = next();
            if (!v) return usage();
            options.randomSeed = std::strtoull(v, nullptr, 10);
        } else if (arg == "--idiom") {
            const char* v = next();
            if (!v) return usage();
            options.interfaceIdiom = std::string(v) == "pad" ? 1 : 0;
        } else if (arg == "--echo-logs") {
            echoLogs = true;
        } else {
            return usage();
        }
    }
    if (options.bundleIdentifier.empty()) return usage();
    if (options.systemVersion.empty() && options.coreFoundationVersion == 0) options.systemVersion = "9.3";
    if (controlIn >= 0 && controlOut >= 0) {
        options.virtualClockStart = clock::fromNanos(startNanos);
        log::setEcho(echoLogs);
        return runControlledHost(options, controlIn, controlOut, hooks.setUp, hooks.beforeLaunch);
    }
    if (exitAfterLaunch) options.virtualClockStart = Date::fromUnix(0);  // UIApplicationMain returns at once
    else log::setEcho(true);

    boot(options);
    if (hooks.beforeLaunch) hooks.beforeLaunch();
    std::vector<std::string> loaded = loadTweakLibraries();
    ApplicationClasses classes = applicationClassesFor(options.bundleIdentifier);
    int result = UIApplicationMain(argc, argv, classes.principalClassName, classes.delegateClassName);
    if (exitAfterLaunch) {
        std::printf("loaded:");
        for (const auto& name : loaded) std::printf(" %s", name.c_str());
        std::printf("\n");
        for (const auto& line : log::lines()) std::printf("log: %s\n", line.c_str());
    }
    return result;
}

}  // namespace platform::host
