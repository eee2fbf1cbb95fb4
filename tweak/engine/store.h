// The alarm store: one property-list file shared by every process of the
// system. Readers open the file anew; every write goes through the platform's
// locked update (so writers in different processes lose nothing) and then
// reloads this process's preferences. The write functions answer whether the
// file was written.
#pragma once

#include <string_view>

#include "tweak/engine/alarm_record.h"

namespace rousa {

inline constexpr const char* kRousaPrefsPath = "/var/mobile/Library/Preferences/net.quillory.Rousa2.plist";
inline constexpr const char* kRousaDomain = "net.quillory.Rousa2";

// The whole file as a dictionary; empty when it is missing or unreadable.
Value RousaReadPrefsFile();

Value RousaGetPref(std::string_view key);
// A nil value removes the key. The third argument is not used.
bool RousaSetPref(std::string_view key, const Value& value, const Value& unused = Value());
// The first stored record of that id, or null.
Ref<KAlarm> RousaGetAlarm(const Value& alarmId);
// Replaces the first stored record of the record's id, or appends it; refuses a
// record without an id.
bool RousaSetAlarm(const KAlarm* record);
// Stores a record of default values for that id when there is none; an id
// that is no string gets none.
void RousaAddAlarmIfMissing(const Value& alarmId);
// Removes the first stored record of that id; writes nothing when there is none.
bool RousaRemoveAlarm(const Value& alarmId);

// The "Alarms" array of a file's contents, only when it is an array; a copy
// when the contents are a temporary.
const Value::Array& alarmRecords(const Value& prefs);
Value::Array alarmRecords(Value&& prefs);
// Whether an element of "Alarms" is a record of that id.
bool isRecordOf(const Value& element, const Value& alarmId);

}  // namespace rousa
