// YBXTiming: one named span on the seconds counter, with free user data;
// YBXTimingManager: a set of timings by category, kept in the user defaults
// under "orvane_timing_<identifier>". A timing may be used from any thread
// (its timestamps and user data have locks of their own); a manager belongs
// to one thread, the main thread where the slot and mediation run.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/user_defaults.h"

namespace adlib {

class YBXTiming : public NSObject {
public:
    // Seconds of mach_absolute_time.
    static double counter();
    // A timing named `category`, or "<class> (<address>)" when it is not a string.
    static Ref<YBXTiming> make(const Value& category = Value());
    // From a dictionary form; the user data is its own copy (empty without one).
    static Ref<YBXTiming> fromDictionaryRepresentation(const Value& form);

    void setUp(const Value& category);
    void setUpFromDictionaryRepresentation(const Value& form);

    const std::string& category() const { return category_; }
    bool explicitEnd() const { return explicitEnd_; }
    void setExplicitEnd(bool explicitEnd) { explicitEnd_ = explicitEnd; }
    double startTimestamp();
    double endTimestamp();

    // "category", "start", "end", and "userData" when there is any.
    Value dictionaryRepresentation();
    Ref<YBXTiming> copy();
    std::string description();

    void start();
    // Only a started timing ends.
    void end();
    void reset();
    // 0 for a timing never started, and for a running one that must be
    // ended explicitly; never below 0.
    unsigned long elapsedMilliseconds();
    std::string elapsedMillisecondsString();
    bool isActive();

    // Nil key or value is ignored.
    void setValue(const Value& value, const Value& key);
    Value valueForKey(const std::string& key);
    void removeValueForKey(const std::string& key);
    Value keysAndValues();

private:
    Value::Dictionary userData_;  // under the object's lock
    bool explicitEnd_ = false;
    std::string category_;
    double startTimestamp_ = 0;  // under timeIntervalLock_
    double endTimestamp_ = 0;
    std::mutex timeIntervalLock_;
};

// What the statistics core and the timing manager share: one user-defaults
// entry per identifier (the key format with the identifier), loaded when the identifier
// is set and saved when the app terminates and at teardown.
class YBXPersistentUnit : public NSObject {
public:
    const Value& identifier() const { return identifier_; }
    // The same identifier again does nothing. A change from one identifier to
    // another saves the contents under the old key and clears them before
    // the new key is loaded; the first identifier merges into what is there.
    void setIdentifier(const Value& identifier);
    // Nil while there is no identifier.
    Value userDefaultsKey() const;
    NSUserDefaults* userDefaults() const;
    virtual void load() = 0;
    virtual void save() = 0;

protected:
    explicit YBXPersistentUnit(const char* keyFormat) : keyFormat_(keyFormat) {}
    // Subclasses call this from their destructors, while their contents exist.
    void tearDown();
    virtual void clear() = 0;

private:
    void stopObserving();
    const char* keyFormat_;
    Value identifier_;
    Ref<Object> terminateObserver_;
};

class YBXTimingManager : public YBXPersistentUnit {
public:
    static Ref<YBXTimingManager> make();
    YBXTimingManager() : YBXPersistentUnit("orvane_timing_%@") {}
    ~YBXTimingManager() override;

    Value timings() const;     // the timings, as objects
    Value categories() const;  // their names
    void addTiming(YBXTiming* timing);
    Ref<YBXTiming> addTimingWithCategory(const Value& category);
    Ref<YBXTiming> timingForCategory(const std::string& category) const;
    void removeTiming(YBXTiming* timing);
    void removeTimingForCategory(const std::string& category);
    void removeTimingsForCategories(const Value& categories);
    void removeAllTimings();

    // Entries without a category or with non-number times are skipped.
    void load() override;
    void save() override;

private:
    void clear() override { timings_.clear(); }
    std::map<std::string, Ref<YBXTiming>> timings_;
};

void registerTimingClasses();

}  // namespace adlib
