// Preference files for the benchmarks: n alarm records (and any extra ones),
// laid out as the tweak writes them, written with one write each. Two
// contents are planted in turn, so that every plant is a file no reader has
// parsed yet.
#pragma once

#include <string>
#include <utility>

#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"
#include "tweak/engine/alarm_record.h"
#include "tweak/engine/store.h"

namespace rousa::bench {

using namespace platform;

class PrefsFiles {
public:
    explicit PrefsFiles(int records, Value::Array extra = {}) : records_(records) {
        // One record's dictionary, copied with each id: making every record
        // from the defaults would read the file once per record.
        Value record = KAlarm::make()->data();
        Value::Array alarms;
        alarms.reserve(static_cast<std::size_t>(records) + extra.size());
        for (int i = 0; i < records; ++i) {
            record.mutableDictionary()["alarmId"] = Value("ALARM-" + std::to_string(i));
            alarms.push_back(record);
        }
        for (Value& e : extra) alarms.push_back(std::move(e));
        for (int g = 0; g < 2; ++g)
            contents_[g] = *plist::toXml(Value(Value::Dictionary{
                {"Alarms", Value(alarms)}, {"sleepaction", Value(2)}, {"generation", Value(g)}}));
    }

    // Writes the next of the two contents, past the platform's reader.
    void plantNext() {
        fs::writeFileAtomically(kRousaPrefsPath, contents_[next_]);
        next_ = 1 - next_;
    }
    std::string lastId() const { return "ALARM-" + std::to_string(records_ - 1); }

private:
    int records_;
    std::string contents_[2];
    int next_ = 0;
};

}  // namespace rousa::bench
