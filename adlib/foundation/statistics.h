// The persistent statistics of an ad unit: YBXStatisticsCore (values by key,
// kept in the user defaults under "orvane_stats_<identifier>"), YBXStatistics
// (a core and a timing manager with counter, flag and timing conveniences)
// and YBXSlotStatistics (the adapter timings and exit codes that mediation
// puts into its pings). Meant for the main thread, where the slot and
// mediation run; the core's contents are also guarded by its lock.
#pragma once

#include <mutex>
#include <string>

#include "adlib/foundation/selectors.h"
#include "adlib/foundation/timing.h"

namespace adlib {

class YBXStatisticsCore : public YBXPersistentUnit {
public:
    static Ref<YBXStatisticsCore> make();
    YBXStatisticsCore() : YBXPersistentUnit("orvane_stats_%@") {}
    ~YBXStatisticsCore() override;

    // Stores the value only when it is of the class (NSString, NSNumber, ...).
    void setObject(const Value& value, const std::string& key, std::string_view className);
    Value objectForKey(const std::string& key);
    // The integer value plus the addend, stored as a number; the new value.
    long long addValue(long long addend, const std::string& key);
    // A nil value is ignored; only an array (or nothing) is appended to.
    void appendValue(const Value& value, const std::string& key);
    void removeObjectForKey(const std::string& key);
    void removeAllObjects();

    void load() override;
    void save() override;

private:
    void clear() override { removeAllObjects(); }
    Value::Dictionary statistics_;  // under lock_
    std::mutex lock_;
};

class YBXStatistics : public NSObject {
public:
    static Ref<YBXStatistics> make();
    void setUp();

    YBXStatisticsCore* statistics() const { return statistics_.get(); }
    YBXTimingManager* timingMgr() const { return timingMgr_.get(); }

    Ref<YBXTiming> timingNamed(const std::string& name);
    // A fresh timing of that name, started.
    Ref<YBXTiming> startTimingNamed(const std::string& name, bool explicitEnd);
    void endTimingNamed(const std::string& name);
    void removeTimingNamed(const std::string& name);
    void incrementParameterCount(const std::string& name);
    void resetParameterCount(const std::string& name);
    unsigned long long valueForParameter(const std::string& name);
    void setFlagWithParameterName(const std::string& name);
    void resetFlagWithParameterName(const std::string& name);

private:
    Ref<YBXStatisticsCore> statistics_;
    Ref<YBXTimingManager> timingMgr_;
};

class YBXSlotStatistics : public YBXStatistics {
public:
    static Ref<YBXSlotStatistics> make();

    const Value& identifier() const { return identifier_; }
    // Gives the ad unit's identifier to the core and the manager.
    void setIdentifier(const Value& identifier);
    void startTimingAdapter();
    void endTimingAdapterWithExitCode(long exitCode);
    void resetTimingAdapters();
    // The exit codes and durations joined by ","; nil when there is none.
    Value adapterExitCodesParameter();
    Value adapterDurationsParameter();

private:
    Value identifier_;
};

void registerStatisticsClasses();

}  // namespace adlib
