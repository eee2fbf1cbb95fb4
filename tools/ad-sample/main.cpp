// ad-sample: the sample publisher app as a host of the simulated device, with
// the command line of rousa-host (host_program.h). It loads over real HTTP and
// renders creatives with the real page engine.
#include "platform/host/host_program.h"
#include "tools/ad-sample/sample_app.h"

int main(int argc, char** argv) {
    return platform::host::runHostProgram(argc, argv, {.beforeLaunch = rousa::sample::registerSampleApp,
                                                       .setUp = rousa::sample::registerSampleCommands});
}
