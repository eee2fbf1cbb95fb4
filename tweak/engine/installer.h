// The tweak library's start-up: RousaInstallHooks (the second of its three
// start-up steps) resolves the terminate function, loads the preferences,
// installs the hook table by iOS version, registers the Activator listeners in
// SpringBoard and observes the settings-change notification.
#pragma once

#include "platform/runtime/value.h"

namespace rousa {

using platform::Value;

inline constexpr const char* kLogColorStart = "\033[1;35m";
inline constexpr const char* kLogColorEnd = "\033[0m";
inline constexpr const char* kPrefsChangedNotification = "net.quillory.Rousa2/prefsChanged";

extern "C" void RousaInstallHooks();

// The function hook on UIApplicationMain: it creates the alarm-action observer
// in every app process before the app's own main runs.
extern int (*original_UIApplicationMain)(int argc, char** argv, Value principalClassName, Value delegateClassName);
int replaced_UIApplicationMain(int argc, char** argv, Value principalClassName, Value delegateClassName);

// Registers the tweak's own classes, then runs the three start-up steps in
// their order: the clone window's texts, RousaInstallHooks, the edit screen's
// texts. The deliverable's load-time constructor calls it; tests call it after boot.
void startTweakLibrary();
// Registers the tweak's own classes only (for tests of single pieces).
void registerTweakClasses();

}  // namespace rousa
