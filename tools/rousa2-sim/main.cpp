// rousa2-sim: plays a scenario on a simulated device.
//
//   rousa2-sim [SCENARIO] [--root DIR] [--seed N] [--echo-logs]
//
// Without a scenario it plays the default example. Exit status: 0 when every
// step ran and every expectation held, 1 when an expectation failed, 2 when
// the scenario (or the command line) is wrong; then no host is started.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <variant>

#include "platform/host/device_root.h"
#include "tools/rousa2-sim/runner.h"

namespace {

int usage() {
    std::cerr << "usage: rousa2-sim [SCENARIO] [--root DIR] [--seed N] [--echo-logs]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string file = ROUSA_DEFAULT_SCENARIO;
    std::string root;
    rousa::sim::RunOptions options;
    options.hostProgram = ROUSA_HOST_PROGRAM;
    options.appProgram = ROUSA_APP_PROGRAM;
    options.inventory = ROUSA_AD_SERVER_INVENTORY;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--root" && i + 1 < argc) root = argv[++i];
        else if (arg == "--seed" && i + 1 < argc) options.seed = std::strtoull(argv[++i], nullptr, 10);
        else if (arg == "--echo-logs") options.echoLogs = true;
        else if (!arg.empty() && arg[0] == '-') return usage();
        else file = arg;
    }

    std::ifstream in(file);
    if (!in) {
        std::cerr << file << ": cannot read the scenario\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    auto parsed = rousa::sim::parseScenario(text.str(), file);
    if (auto* error = std::get_if<rousa::sim::ParseError>(&parsed)) {
        std::cerr << error->message << "\n";
        return 2;
    }

    bool ownRoot = root.empty();
    if (ownRoot) {
        root = platform::host::makeDeviceRoot(ROUSA_STAGED_RESOURCES);
    } else if (!std::filesystem::exists(std::filesystem::path(root) / "Library")) {
        std::string fresh = platform::host::makeDeviceRoot(ROUSA_STAGED_RESOURCES);
        std::filesystem::create_directories(root);
        std::filesystem::copy(fresh, root, std::filesystem::copy_options::recursive | std::filesystem::copy_options::copy_symlinks |
                                               std::filesystem::copy_options::overwrite_existing);
        platform::host::removeDeviceRoot(fresh);
    }
    options.fileName = file;
    options.root = root;
    int status = rousa::sim::runScenario(std::get<rousa::sim::Scenario>(parsed), options, std::cout);
    if (ownRoot) platform::host::removeDeviceRoot(root);
    return status;
}
