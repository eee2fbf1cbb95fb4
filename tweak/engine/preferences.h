// The global preferences: one process-wide global per key, named after it,
// filled by RousaLoadPrefs from the preference file (file keys) and the
// preference domain "net.quillory.Rousa2" (the WKS keys). Main thread only.
#pragma once

#include "platform/corefoundation/corefoundation.h"
#include "platform/frameworks/backboardservices.h"
#include "tweak/engine/selectors.h"

namespace rousa {

// RS2SleepAction
enum : long long { RS2SleepActionSystem = 0, RS2SleepActionSystemHide = 1, RS2SleepActionStop = 2, RS2SleepActionScreenOnly = 3 };

// The Clock app's bundle identifier, also the section of its alarms' bulletins.
inline constexpr const char* kClockBundleIdentifier = "com.apple.mobiletimer";

// File keys: every load sets them all; a missing key gives its default.
extern long long sleepaction;
extern bool swipedelete;
extern bool massedition;
extern bool togglealarms;
extern bool alarmsfromcc;
extern bool disabletouchid;
extern bool showalertlockscreen;
extern bool alarmTimeEnabled;
extern bool alarmTimeTitle;
extern bool defEnabled;
extern long long defSnoozeTime;
extern long long defSnoozeMeasure;
extern float defVolume;
extern bool defVibrateRing;
extern bool defVibrateSilent;
extern long long defDismissTime;
extern long long defDismissMeasure;
extern long long defDismissAction;
extern long long defFadeTime;
extern long long defFadeMeasure;
extern bool defCalcEnabled;
extern long long defCalcDifficult;

// Domain keys: a key that is missing (or of no usable kind) keeps its value.
extern bool WKSEnableInClockApp;
extern bool WKSEnableForActiveAlarmsOnly;
extern int WKSClockAppFontSize;
extern int WKSClockAppTimeFormat;
extern int WKSClockAppPosition;
extern bool WKSShowNextActiveAlarmOnLockScreen;
extern int WKSLockScreenFontSize;
extern int WKSLockScreenTimeFormat;
extern int WKSHideOnLockScreenIf;
extern int WKSLockScreenTimeType;
extern int WKSLockScreenHorizontalPosition;
extern int WKSLockScreenVerticalPosition;
extern int WKSLockScreenHorizontalPositionValue;
extern int WKSLockScreenVerticalPositionValue;
extern int WKSLockScreenHorizontalPositionStartingPoint;
extern int WKSLockScreenVerticalPositionStartingPoint;

// The terminate function of BackBoardServices, resolved at start-up into the
// slot of the running version: one for iOS 7 and 8, one for every other version.
extern BKSTerminateFunction BKSTerminateApplicationForReasonAndReportWithDescription_iOS7or8;
extern BKSTerminateFunction BKSTerminateApplicationForReasonAndReportWithDescription_otherVersions;

// Reads both sources into the globals; with `refresh`, then ends the Clock app
// so that its screens are rebuilt with the new settings.
void RousaLoadPrefs(bool refresh);
// The same, with the file's contents already in hand (the store's writes pass
// what they wrote, which saves reading the file once more).
void RousaLoadPrefsFrom(const Value& prefs, bool refresh);

// The Darwin callback of "net.quillory.Rousa2/prefsChanged".
void PrefsChangedCallback(CFNotificationCenterRef center, void* observer, const Value& name, const void* object,
                          const Value& userInfo);

// The iOS version gates, from kCFCoreFoundationVersionNumber, bounds included.
bool isiOS7();
bool isiOS8();
bool isiOS9up();

}  // namespace rousa
