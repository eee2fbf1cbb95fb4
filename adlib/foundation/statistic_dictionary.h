// YBXStatisticDictionary: counters, values and arrays that the library sends
// with later ad requests (app-wide, per slot, per ad). Safe from any thread:
// the contents live on the dictionary's serial queue; writes never wait,
// reads wait for the writes before them. Its one delegate is held weakly and
// told on the delegate's own queue, at most once per burst of changes.
#pragma once

#include <mutex>
#include <string>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/dispatch.h"

namespace adlib {

inline constexpr const char* kYBXStatisticsQueueLabel = "com.orvane.marlex.statistics";

class YBXStatisticDictionary : public NSObject {
public:
    // A new dictionary (plain init: default label, no delegate).
    static Ref<YBXStatisticDictionary> make(id delegate = nullptr);

    void setUp(const std::string& label, id delegate);

    void setObject(const Value& object, const std::string& key, bool notify);
    Value objectForKey(const std::string& key);
    // Only a decimal number is added to; an absent value counts as zero.
    void addDecimalNumber(const Value& number, const std::string& key, bool notify);
    void incrementNumberForKey(const std::string& key, bool notify);
    void decrementNumberForKey(const std::string& key, bool notify);
    // Only an array is appended to; an absent value becomes a new array.
    void addObjectToArray(const Value& object, const std::string& key, bool notify);
    // A snapshot of the contents; later changes never reach it.
    Value dictionary();

    Ref<Object> delegate();
    void setDelegate(id delegate);
    // Delivers the notifications already on their way, then ignores every
    // later change and lets the delegate go; reads still work.
    void didFinishModifying();
    std::string description();

private:
    using Change = std::function<void(Value::Dictionary&)>;
    // Runs on the serial queue.
    void modify(Change change, bool notify);
    void notifyDelegate();

    Value::Dictionary statistics_;            // on serialQueue_ only
    bool allowDictionaryModification_ = true;  // on serialQueue_ only
    bool hasEnqueuedNotificationBlock_ = false;
    std::mutex delegateLock_;
    WeakRef<Object> delegate_;
    dispatch_queue_t serialQueue_ = nullptr;
};

void registerStatisticDictionaryClass();

}  // namespace adlib
