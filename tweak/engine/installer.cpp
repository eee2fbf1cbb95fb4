#include "tweak/engine/installer.h"

#include "platform/corefoundation/corefoundation.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/dynamic_library.h"
#include "platform/foundation/log.h"
#include "platform/frameworks/activator.h"
#include "platform/frameworks/backboardservices.h"
#include "platform/uikit/application.h"
#include "tweak/screens/screens.h"
#include "tweak/engine/activator_actions.h"
#include "tweak/engine/alarm_record.h"
#include "tweak/engine/hook_table.h"
#include "tweak/engine/localizer.h"
#include "tweak/engine/preferences.h"

namespace rousa {

namespace {

void resolveTerminateFunction() {
    void* library = platform::dlopen(kBackBoardServicesPath, RTLD_LAZY);
    if (!library) return;
    auto terminate = reinterpret_cast<BKSTerminateFunction>(
        platform::dlsym(library, "BKSTerminateApplicationForReasonAndReportWithDescription"));
    if (isiOS7() || isiOS8()) BKSTerminateApplicationForReasonAndReportWithDescription_iOS7or8 = terminate;
    else BKSTerminateApplicationForReasonAndReportWithDescription_otherVersions = terminate;
}

void installFunctionHooks() { MSHookFunction(&UIApplicationMain, &replaced_UIApplicationMain, &original_UIApplicationMain); }

void setUpActivator() {
    platform::dlopen(kActivatorPath, RTLD_LAZY);
    static Class* activatorClass = objc_getClass("LAActivator");
    if (!activatorClass) {
        NSLog("%s[Rousa2] ACTIVATOR NOT INSTALLED - SUPPORT DISABLED%s", kLogColorStart, kLogColorEnd);
        return;
    }
    if (NSBundle::mainBundle()->bundleIdentifier().string() != "com.apple.springboard") return;
    NSLog("%s[Rousa2] ACTIVATOR INSTALLED - SUPPORT ENABLED%s", kLogColorStart, kLogColorEnd);
    registerActivatorListeners(activatorClass);
}

}  // namespace

int (*original_UIApplicationMain)(int, char**, Value, Value) = nullptr;

int replaced_UIApplicationMain(int argc, char** argv, Value principalClassName, Value delegateClassName) {
    createGlobalFunction();
    return original_UIApplicationMain ? original_UIApplicationMain(argc, argv, principalClassName, delegateClassName) : 0;
}

extern "C" void RousaInstallHooks() {
    AutoreleasePool pool;
    resolveTerminateFunction();
    RousaLoadPrefs(false);
    installHookRows(hookTable(), &installFunctionHooks);
    setUpActivator();
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, &PrefsChangedCallback,
                                    Value(kPrefsChangedNotification), nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
}

void registerTweakClasses() {
    registerAlarmRecordClasses();
    registerLocalizerClass();
    registerActivatorClasses();
    registerScreenClasses();
}

void startTweakLibrary() {
    registerTweakClasses();
    LoadCloneWindowStrings();
    RousaInstallHooks();
    LoadEditAlarmStrings();
}

}  // namespace rousa
