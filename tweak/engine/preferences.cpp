#include "tweak/engine/preferences.h"

#include "platform/foundation/plist.h"
#include "tweak/engine/store.h"

namespace rousa {

long long sleepaction = 1;
bool swipedelete = true;
bool massedition = true;
bool togglealarms = false;
bool alarmsfromcc = false;
bool disabletouchid = false;
bool showalertlockscreen = false;
bool alarmTimeEnabled = true;
bool alarmTimeTitle = false;
bool defEnabled = false;
long long defSnoozeTime = 1;
long long defSnoozeMeasure = 1;
float defVolume = 1.0f;
bool defVibrateRing = false;
bool defVibrateSilent = false;
long long defDismissTime = 0;
long long defDismissMeasure = 1;
long long defDismissAction = 1;
long long defFadeTime = 0;
long long defFadeMeasure = 1;
bool defCalcEnabled = false;
long long defCalcDifficult = 1;

bool WKSEnableInClockApp = true;
bool WKSEnableForActiveAlarmsOnly = false;
int WKSClockAppFontSize = 17;
int WKSClockAppTimeFormat = 0;
int WKSClockAppPosition = 0;
bool WKSShowNextActiveAlarmOnLockScreen = false;
int WKSLockScreenFontSize = 17;
int WKSLockScreenTimeFormat = 0;
int WKSHideOnLockScreenIf = 24;
int WKSLockScreenTimeType = 0;
int WKSLockScreenHorizontalPosition = 2;
int WKSLockScreenVerticalPosition = 2;
int WKSLockScreenHorizontalPositionValue = 0;
int WKSLockScreenVerticalPositionValue = 0;
int WKSLockScreenHorizontalPositionStartingPoint = 1;
int WKSLockScreenVerticalPositionStartingPoint = 1;

BKSTerminateFunction BKSTerminateApplicationForReasonAndReportWithDescription_iOS7or8 = nullptr;
BKSTerminateFunction BKSTerminateApplicationForReasonAndReportWithDescription_otherVersions = nullptr;

bool isiOS7() { return kCFCoreFoundationVersionNumber >= 847.2 && kCFCoreFoundationVersionNumber <= 847.27; }
bool isiOS8() { return kCFCoreFoundationVersionNumber >= 1140.1 && kCFCoreFoundationVersionNumber <= 1145.15; }
bool isiOS9up() { return kCFCoreFoundationVersionNumber >= 1240.1; }

namespace {

// A number or a string is the right kind for a domain key; anything else
// leaves its global as it was.
template <class T>
void readDomainKey(const char* key, T& global) {
    Value v = CFPreferencesCopyAppValue(key, kRousaDomain);
    if (!v.isNumber() && !v.isString()) return;
    if constexpr (std::is_same_v<T, bool>) global = v.boolValue();
    else global = v.intValue();
}

void refreshClockApp() {
    if (isiOS7() || isiOS8()) {
        static Class* switcherClass = objc_getClass("SBAppSwitcherModel");
        Ref<Object> switcher = sel::sharedInstance(switcherClass);
        Value apps = isiOS7() ? sel::identifiers(switcher) : sel::snapshotOfFlattenedArrayOfAppIdentifiersWhichIsOnlyTemporary(switcher);
        if (apps.count() == 0 || apps.at(0).string() == kClockBundleIdentifier) return;
        if (auto terminate = BKSTerminateApplicationForReasonAndReportWithDescription_iOS7or8)
            terminate(Value(kClockBundleIdentifier), 1, false, Value());
        return;
    }
    if (auto terminate = BKSTerminateApplicationForReasonAndReportWithDescription_otherVersions)
        terminate(Value(kClockBundleIdentifier), 5, true, Value("Killed to Refresh UI."));
}

}  // namespace

namespace {

// Reads only the keys it sets: the records stay in the file's parsed form.
void loadFrom(const plist::Document& file, bool refresh) {
    auto prefs = [&](std::string_view key) { return file.valueForKey(key); };
    sleepaction = prefs("sleepaction").intValue(1);
    swipedelete = prefs("swipedelete").boolValue(true);
    massedition = prefs("massedition").boolValue(true);
    togglealarms = prefs("togglealarms").boolValue(false);
    alarmsfromcc = prefs("alarmsfromcc").boolValue(false);
    disabletouchid = prefs("disabletouchid").boolValue(false);
    showalertlockscreen = prefs("showalertlockscreen").boolValue(false);
    alarmTimeEnabled = prefs("alarmTimeEnabled").boolValue(true);
    alarmTimeTitle = prefs("alarmTimeTitle").boolValue(false);
    defEnabled = prefs("defEnabled").boolValue(false);
    defSnoozeTime = prefs("defSnoozeTime").intValue(1);
    defSnoozeMeasure = prefs("defSnoozeMeasure").intValue(1);
    defVolume = prefs("defVolume").floatValue(1.0f);
    defVibrateRing = prefs("defVibrateRing").boolValue(false);
    defVibrateSilent = prefs("defVibrateSilent").boolValue(false);
    defDismissTime = prefs("defDismissTime").intValue(0);
    defDismissMeasure = prefs("defDismissMeasure").intValue(1);
    defDismissAction = prefs("defDismissAction").intValue(1);
    defFadeTime = prefs("defFadeTime").intValue(0);
    defFadeMeasure = prefs("defFadeMeasure").intValue(1);
    defCalcEnabled = prefs("defCalcEnabled").boolValue(false);
    defCalcDifficult = prefs("defCalcDifficult").intValue(1);

    CFPreferencesAppSynchronize(kRousaDomain);
    readDomainKey("WKSEnableInClockApp", WKSEnableInClockApp);
    readDomainKey("WKSEnableForActiveAlarmsOnly", WKSEnableForActiveAlarmsOnly);
    readDomainKey("WKSClockAppFontSize", WKSClockAppFontSize);
    readDomainKey("WKSClockAppTimeFormat", WKSClockAppTimeFormat);
    readDomainKey("WKSClockAppPosition", WKSClockAppPosition);
    readDomainKey("WKSShowNextActiveAlarmOnLockScreen", WKSShowNextActiveAlarmOnLockScreen);
    readDomainKey("WKSLockScreenFontSize", WKSLockScreenFontSize);
    readDomainKey("WKSLockScreenTimeFormat", WKSLockScreenTimeFormat);
    readDomainKey("WKSHideOnLockScreenIf", WKSHideOnLockScreenIf);
    readDomainKey("WKSLockScreenTimeType", WKSLockScreenTimeType);
    readDomainKey("WKSLockScreenHorizontalPosition", WKSLockScreenHorizontalPosition);
    readDomainKey("WKSLockScreenVerticalPosition", WKSLockScreenVerticalPosition);
    readDomainKey("WKSLockScreenHorizontalPositionValue", WKSLockScreenHorizontalPositionValue);
    readDomainKey("WKSLockScreenVerticalPositionValue", WKSLockScreenVerticalPositionValue);
    readDomainKey("WKSLockScreenHorizontalPositionStartingPoint", WKSLockScreenHorizontalPositionStartingPoint);
    readDomainKey("WKSLockScreenVerticalPositionStartingPoint", WKSLockScreenVerticalPositionStartingPoint);

    if (refresh) refreshClockApp();
}

}  // namespace

void RousaLoadPrefs(bool refresh) { loadFrom(*plist::readDocument(kRousaPrefsPath), refresh); }

void RousaLoadPrefsFrom(const Value& prefs, bool refresh) { loadFrom(plist::Document(prefs), refresh); }

void PrefsChangedCallback(CFNotificationCenterRef, void*, const Value&, const void*, const Value&) { RousaLoadPrefs(true); }

}  // namespace rousa
