#include "tweak/engine/store.h"

#include "platform/foundation/plist.h"
#include "tweak/engine/preferences.h"

namespace rousa {

Value RousaReadPrefsFile() {
    Value prefs = plist::readFile(kRousaPrefsPath);
    return prefs.isDictionary() ? prefs : Value(Value::Dictionary{});
}

const Value::Array& alarmRecords(const Value& prefs) { return prefs["Alarms"].array(); }
Value::Array alarmRecords(Value&& prefs) { return std::move(prefs)["Alarms"].array(); }

bool isRecordOf(const Value& element, const Value& alarmId) {
    const Value& stored = element["alarmId"];
    return alarmId.isString() && stored.isString() && stored.string() == alarmId.string();
}

Value RousaGetPref(std::string_view key) { return plist::readDocument(kRousaPrefsPath)->valueForKey(key); }

namespace {
// Applies a change under the file's lock, then reloads this process's
// preferences from what was written.
bool writeAndReload(const std::function<bool(Value::Dictionary&)>& change) {
    Value written;
    bool ok = plist::update(kRousaPrefsPath, [&](Value::Dictionary& prefs) {
        if (!change(prefs)) return false;
        written = Value(prefs);
        return true;
    });
    if (ok) RousaLoadPrefsFrom(written, false);
    else RousaLoadPrefs(false);
    return ok;
}
}  // namespace

bool RousaSetPref(std::string_view key, const Value& value, const Value&) {
    return writeAndReload([&](Value::Dictionary& prefs) {
        if (value.isNil()) prefs.erase(std::string(key));
        else prefs[std::string(key)] = value;
        return true;
    });
}

Ref<KAlarm> RousaGetAlarm(const Value& alarmId) {
    if (!alarmId.isString()) return nullptr;
    // Only the record found is converted from the file's parsed form.
    Value element = plist::readDocument(kRousaPrefsPath)->dictionaryWhere("Alarms", "alarmId", alarmId.string());
    return element.isNil() ? nullptr : KAlarm::initWithData(element);
}

bool RousaSetAlarm(const KAlarm* record) {
    if (!record || !record->alarmId().isString() || record->alarmId().string().empty()) return false;
    return writeAndReload([&](Value::Dictionary& prefs) {
        Value records = prefs["Alarms"].isArray() ? prefs["Alarms"] : Value(Value::Array{});
        Value::Array& list = records.mutableArray();
        bool replaced = false;
        for (Value& element : list) {
            if (!isRecordOf(element, record->alarmId())) continue;
            element = record->data();
            replaced = true;
            break;
        }
        if (!replaced) list.push_back(record->data());
        prefs["Alarms"] = records;
        return true;
    });
}

void RousaAddAlarmIfMissing(const Value& alarmId) {
    if (!alarmId.isString()) return;
    // Decided under the lock from what was read: a file that could not be read
    // is not a file without the record, and fails the update.
    Value written;
    bool added = plist::update(kRousaPrefsPath, [&](Value::Dictionary& prefs) {
        Value records = prefs["Alarms"].isArray() ? prefs["Alarms"] : Value(Value::Array{});
        for (const Value& element : records.array())
            if (isRecordOf(element, alarmId)) return false;
        auto record = KAlarm::initWithDefaultValues();
        record->setAlarmId(alarmId);
        records.mutableArray().push_back(record->data());
        prefs["Alarms"] = records;
        written = Value(prefs);
        return true;
    });
    if (added) RousaLoadPrefsFrom(written, false);
}

bool RousaRemoveAlarm(const Value& alarmId) {
    if (!RousaGetAlarm(alarmId)) return false;
    return writeAndReload([&](Value::Dictionary& prefs) {
        if (!prefs["Alarms"].isArray()) return false;
        Value records = prefs["Alarms"];
        Value::Array& list = records.mutableArray();
        for (auto it = list.begin(); it != list.end(); ++it) {
            if (!isRecordOf(*it, alarmId)) continue;
            list.erase(it);
            prefs["Alarms"] = records;
            return true;
        }
        return false;
    });
}

}  // namespace rousa
