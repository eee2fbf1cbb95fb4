// Selectors of SpringBoard's classes (and BulletinBoard's, SpringBoard's own
// frameworks'), each declared once with its signature.
#pragma once

#include "platform/frameworks/selectors.h"
#include "platform/mobiletimer/selectors.h"

namespace platform::sel {
// SBAppSwitcherModel: the app switcher's order, most recent first.
inline constexpr Sel<Value(id)> identifiers{"identifiers"};  // iOS 7
inline constexpr Sel<Value(id)> snapshotOfFlattenedArrayOfAppIdentifiersWhichIsOnlyTemporary{
    "snapshotOfFlattenedArrayOfAppIdentifiersWhichIsOnlyTemporary"};  // iOS 8

// --- SpringBoard (the application): the hardware buttons -----------------------------------
// (source) iOS 7; (IOHIDEvent, source) iOS 8 and later.
inline constexpr Sel<void(id, int)> _lockButtonDownFromSource_{"_lockButtonDownFromSource:"};
inline constexpr Sel<void(id, int)> _lockButtonUpFromSource_{"_lockButtonUpFromSource:"};
inline constexpr Sel<void(id, id, int)> _lockButtonDown_fromSource_{"_lockButtonDown:fromSource:"};
inline constexpr Sel<void(id, id, int)> _lockButtonUp_fromSource_{"_lockButtonUp:fromSource:"};
// (IOHIDEvent) the Home button.
inline constexpr Sel<void(id, id)> _menuButtonDown_{"_menuButtonDown:"};
inline constexpr Sel<void(id, id)> _menuButtonUp_{"_menuButtonUp:"};

// --- SBApplication and, on iOS 9, UNLocalNotificationClient -----------------------------------
inline constexpr Sel<Value(id)> bundleIdentifier{"bundleIdentifier"};
// (notification) a copy of a scheduled notification whose time has come.
inline constexpr Sel<void(id, id)> _fireNotification_{"_fireNotification:"};
// (SBSystemLocalNotificationAlert) iOS 7.
inline constexpr Sel<void(id, id)> systemLocalNotificationAlertShouldSnooze_{"systemLocalNotificationAlertShouldSnooze:"};
// (the fired notification) iOS 8 and later.
inline constexpr Sel<void(id, id)> snoozeNotificationForLocalNotification_{"snoozeNotificationForLocalNotification:"};
// (notifications, replace) iOS 7 and 8.
inline constexpr Sel<void(id, Value, bool)> scheduleLocalNotifications_replaceExistingNotifications_{
    "scheduleLocalNotifications:replaceExistingNotifications:"};
// UNLocalNotificationClient, iOS 9: (the snooze notification) and (the app's notifications).
inline constexpr Sel<void(id, id)> scheduleSnoozeNotification_{"scheduleSnoozeNotification:"};
inline constexpr Sel<void(id, Value)> setScheduledLocalNotifications_{"setScheduledLocalNotifications:"};

// --- SBAlertItem, SBSystemLocalNotificationAlert (iOS 7), SBBulletinModalAlert (iOS 8+) -----------
inline constexpr Sel<void(id)> willActivate{"willActivate"};
inline constexpr Sel<Ref<Object>(id)> localNotification{"localNotification"};
inline constexpr Sel<Ref<Object>(id)> application{"application"};
inline constexpr Sel<Value(id)> bodyText{"bodyText"};
inline constexpr Sel<bool(id)> isSnoozable{"isSnoozable"};
// (flag) the alert ends itself.
inline constexpr Sel<void(id, int)> dismiss_{"dismiss:"};
// The class of the alert's sheet view.
inline constexpr Sel<Ref<Object>(id)> alertSheetClass{"alertSheetClass"};
inline constexpr Sel<Ref<Object>(id)> bulletin{"bulletin"};
// Target of the alert's buttons and of the full-screen bulletin's (the button's tag is its index).
inline constexpr Sel<void(id, id)> _handleButtonTap_{"_handleButtonTap:"};

// --- SBAlertItemsController ----------------------------------------------------------------------
inline constexpr Sel<Ref<Object>(id)> visibleAlertItem{"visibleAlertItem"};
inline constexpr Sel<void(id, id)> activateAlertItem_{"activateAlertItem:"};
inline constexpr Sel<void(id, id)> deactivateAlertItem_{"deactivateAlertItem:"};
inline constexpr Sel<void(id, id, int)> deactivateAlertItem_reason_{"deactivateAlertItem:reason:"};
inline constexpr Sel<void(id, id, int, bool)> deactivateAlertItem_reason_animated_{"deactivateAlertItem:reason:animated:"};

// --- SBLockScreenManager -------------------------------------------------------------------------
inline constexpr Sel<bool(id)> isUILocked{"isUILocked"};
inline constexpr Sel<Ref<Object>(id)> lockScreenViewController{"lockScreenViewController"};
// (source, options)
inline constexpr Sel<void(id, int, Value)> lockUIFromSource_withOptions_{"lockUIFromSource:withOptions:"};
inline constexpr Sel<void(id, int, Value)> unlockUIFromSource_withOptions_{"unlockUIFromSource:withOptions:"};
// (biometric event monitor)
inline constexpr Sel<bool(id, id)> biometricEventMonitorShouldRelockAfterBioUnlock_{"biometricEventMonitorShouldRelockAfterBioUnlock:"};

// --- SBLockScreenViewController, its views and the full-screen bulletin ----------------------------
inline constexpr Sel<Ref<Object>(id)> lockScreenView{"lockScreenView"};
inline constexpr Sel<Ref<Object>(id)> dateView{"dateView"};
// YES when the press was taken.
inline constexpr Sel<bool(id)> handleLockButtonPressed{"handleLockButtonPressed"};
inline constexpr Sel<bool(id)> handleVolumeUpButtonPressed{"handleVolumeUpButtonPressed"};
inline constexpr Sel<bool(id)> handleVolumeDownButtonPressed{"handleVolumeDownButtonPressed"};
inline constexpr Sel<void(id, id)> biometricEventMonitorDidAuthenticate_{"biometricEventMonitorDidAuthenticate:"};
// (item: the alarm's BBBulletin) iOS 8 and later.
inline constexpr Sel<void(id, id)> presentFullscreenBulletinAlertWithItem_{"presentFullscreenBulletinAlertWithItem:"};
inline constexpr Sel<void(id, id)> dismissFullscreenBulletinAlertWithItem_{"dismissFullscreenBulletinAlertWithItem:"};
inline constexpr Sel<void(id, bool)> _dismissFullscreenBulletinAlertAnimated_{"_dismissFullscreenBulletinAlertAnimated:"};
inline constexpr Sel<void(id, int)> startLockScreenFadeInAnimationForSource_{"startLockScreenFadeInAnimationForSource:"};
inline constexpr Sel<bool(id)> isShowingMediaControls{"isShowingMediaControls"};
inline constexpr Sel<bool(id)> lockScreenIsShowingBulletins{"lockScreenIsShowingBulletins"};
// SBLockScreenFullscreenBulletinViewController: Snooze.
inline constexpr Sel<void(id)> performAlternateAction{"performAlternateAction"};
// SBLockScreenNotificationListController, iOS 7: (observer, bulletin, feed).
inline constexpr Sel<void(id, id, id, unsigned long long)> observer_addBulletin_forFeed_{"observer:addBulletin:forFeed:"};

// --- SBBacklightController, SBAssistantController, SBMediaController --------------------------------
inline constexpr Sel<bool(id)> screenIsOn{"screenIsOn"};
// SpringBoard has it before iOS 9; on iOS 9 the tweak adds it.
inline constexpr Sel<bool(id)> screenIsOff{"screenIsOff"};
inline constexpr Sel<void(id, float, int)> setBacklightFactor_source_{"setBacklightFactor:source:"};
inline constexpr Sel<bool(id, bool)> isAssistantViewVisible_{"isAssistantViewVisible:"};  // class method
inline constexpr Sel<bool(id)> isRingerMuted{"isRingerMuted"};
// The volume buttons while the lock screen does not take them: "Ringtone" by 1/16.
inline constexpr Sel<void(id)> increaseVolume{"increaseVolume"};
inline constexpr Sel<void(id)> decreaseVolume{"decreaseVolume"};

// --- BBServer, BBBulletin, SBClockDataProvider --------------------------------------------------------
inline constexpr Sel<void(id, id)> publishBulletin_{"publishBulletin:"};
inline constexpr Sel<Value(id)> sectionID{"sectionID"};
inline constexpr Sel<Value(id)> unlockActionLabel{"unlockActionLabel"};
inline constexpr Sel<Value(id)> fullUnlockActionLabel{"fullUnlockActionLabel"};
inline constexpr Sel<Value(id)> unlockActionLabelOverride{"unlockActionLabelOverride"};
inline constexpr Sel<bool(id, id)> _isAlarmNotification_{"_isAlarmNotification:"};
inline constexpr Sel<Value(id)> _scheduledNotifications{"_scheduledNotifications"};
inline constexpr Sel<void(id, Value)> _publishAlarmsWithScheduledNotifications_{"_publishAlarmsWithScheduledNotifications:"};
// (notification) an alarm's notification fired: its bulletin (iOS 8 and later with the sound).
inline constexpr Sel<void(id, id)> _handleFiredNotification_{"_handleFiredNotification:"};

// --- SBCCTimerShortcut (Control Centre) ---------------------------------------------------------------
// (display identifier, URL: an NSURL or its string)
inline constexpr Sel<void(id, Value, Value)> activateAppWithDisplayID_url_{"activateAppWithDisplayID:url:"};
// (the button's state)
inline constexpr Sel<Ref<Object>(id, long long)> glyphImageForState_{"glyphImageForState:"};

// --- SBSoundController, its sound, SBSoundPreferences, SBHUDController -----------------------------------
// (the sound, an SBUISound)
inline constexpr Sel<void(id, id)> _soundDidStartPlaying_{"_soundDidStartPlaying:"};
inline constexpr Sel<void(id)> stopAllSounds{"stopAllSounds"};
// {"AVController_AudioCategoryAttribute": category}
inline constexpr Sel<Value(id)> controllerAttributes{"controllerAttributes"};
// (audio category) class method.
inline constexpr Sel<bool(id, Value)> shouldVibrateForCurrentRingerStateWithAudioCategory_{
    "shouldVibrateForCurrentRingerStateWithAudioCategory:"};
}  // namespace platform::sel
