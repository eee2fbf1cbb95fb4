// rousa-host: a host process of the simulated device (SpringBoard, the Clock
// app or the Settings app). It boots, lets the loader load the tweaks its
// filter names, and calls UIApplicationMain (the hooked one where a tweak
// replaced it). The command line is host_program.h's.
#include "platform/host/host_program.h"

int main(int argc, char** argv) { return platform::host::runHostProgram(argc, argv); }
