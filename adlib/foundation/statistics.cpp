#include "adlib/foundation/statistics.h"

#include "adlib/foundation/cache_set.h"
#include "platform/foundation/format.h"
#include "platform/foundation/user_defaults.h"

namespace adlib {

namespace {

YBXStatisticsCore* coreOf(id self) { return as<YBXStatisticsCore>(self); }
YBXStatistics* statisticsOf(id self) { return as<YBXStatistics>(self); }
YBXSlotStatistics* slotStatisticsOf(id self) { return as<YBXSlotStatistics>(self); }

constexpr const char* kAdapterTiming = "adapter";
constexpr const char* kAdapterDurations = "adapter_duration";
constexpr const char* kAdapterExitCodes = "adapter_exit";

Value joined(const Value& array) {
    if (!array.isArray()) return Value();
    std::string text;
    for (const Value& v : array.array()) text += (text.empty() ? "" : ",") + v.description();
    return Value(text);
}

}  // namespace

// --- YBXStatisticsCore -------------------------------------------------------------------

Ref<YBXStatisticsCore> YBXStatisticsCore::make() { return as<YBXStatisticsCore>(alloc("YBXStatisticsCore")); }

YBXStatisticsCore::~YBXStatisticsCore() { tearDown(); }

void YBXStatisticsCore::setObject(const Value& value, const std::string& key, std::string_view className) {
    if (!value.isKindOfClass(className)) return;
    std::lock_guard guard(lock_);
    statistics_[key] = value;
}

Value YBXStatisticsCore::objectForKey(const std::string& key) {
    std::lock_guard guard(lock_);
    auto it = statistics_.find(key);
    return it == statistics_.end() ? Value() : it->second;
}

long long YBXStatisticsCore::addValue(long long addend, const std::string& key) {
    std::lock_guard guard(lock_);
    auto it = statistics_.find(key);
    const long long sum = (it == statistics_.end() ? 0 : it->second.integerValue()) + addend;
    statistics_[key] = Value(sum);
    return sum;
}

void YBXStatisticsCore::appendValue(const Value& value, const std::string& key) {
    if (value.isNil()) return;
    std::lock_guard guard(lock_);
    auto it = statistics_.find(key);
    if (it == statistics_.end()) {
        statistics_[key] = Value::array({value});
        return;
    }
    if (!it->second.isArray()) return;
    it->second.mutableArray().push_back(value);
}

void YBXStatisticsCore::removeObjectForKey(const std::string& key) {
    std::lock_guard guard(lock_);
    statistics_.erase(key);
}

void YBXStatisticsCore::removeAllObjects() {
    std::lock_guard guard(lock_);
    statistics_.clear();
}

void YBXStatisticsCore::load() {
    Value key = userDefaultsKey();
    if (key.isNil()) return;
    Value stored = userDefaults()->dictionaryForKey(key.string());
    std::lock_guard guard(lock_);
    for (const auto& [k, v] : stored.dictionary()) statistics_[k] = v;
}

void YBXStatisticsCore::save() {
    Value key = userDefaultsKey();
    if (key.isNil()) return;
    Value contents;
    {
        std::lock_guard guard(lock_);
        contents = Value(statistics_);
    }
    userDefaults()->setObject(contents, key.string());
    userDefaults()->synchronize();
}

// --- YBXStatistics -----------------------------------------------------------------------

Ref<YBXStatistics> YBXStatistics::make() { return as<YBXStatistics>(sel::init(alloc("YBXStatistics"))); }

void YBXStatistics::setUp() {
    if (!statistics_) statistics_ = YBXStatisticsCore::make();
    if (!timingMgr_) timingMgr_ = YBXTimingManager::make();
}

Ref<YBXTiming> YBXStatistics::timingNamed(const std::string& name) { return timingMgr_->timingForCategory(name); }

Ref<YBXTiming> YBXStatistics::startTimingNamed(const std::string& name, bool explicitEnd) {
    timingMgr_->removeTimingForCategory(name);
    Ref<YBXTiming> timing = timingMgr_->addTimingWithCategory(Value(name));
    timing->setExplicitEnd(explicitEnd);
    timing->start();
    return timing;
}

void YBXStatistics::endTimingNamed(const std::string& name) {
    if (Ref<YBXTiming> timing = timingNamed(name)) timing->end();
}

void YBXStatistics::removeTimingNamed(const std::string& name) { timingMgr_->removeTimingForCategory(name); }

void YBXStatistics::incrementParameterCount(const std::string& name) { statistics_->addValue(1, name); }

void YBXStatistics::resetParameterCount(const std::string& name) { statistics_->setObject(Value(0), name, "NSNumber"); }

unsigned long long YBXStatistics::valueForParameter(const std::string& name) {
    return statistics_->objectForKey(name).unsignedLongLongValue();
}

void YBXStatistics::setFlagWithParameterName(const std::string& name) { statistics_->setObject(Value(1), name, "NSNumber"); }

void YBXStatistics::resetFlagWithParameterName(const std::string& name) { statistics_->removeObjectForKey(name); }

// --- YBXSlotStatistics -------------------------------------------------------------------

Ref<YBXSlotStatistics> YBXSlotStatistics::make() { return as<YBXSlotStatistics>(sel::init(alloc("YBXSlotStatistics"))); }

void YBXSlotStatistics::setIdentifier(const Value& identifier) {
    if (identifier.isNil() ? identifier_.isNil() : identifier == identifier_) return;
    identifier_ = identifier;
    statistics()->setIdentifier(identifier);
    timingMgr()->setIdentifier(identifier);
}

void YBXSlotStatistics::startTimingAdapter() { startTimingNamed(kAdapterTiming, true); }

void YBXSlotStatistics::endTimingAdapterWithExitCode(long exitCode) {
    Ref<YBXTiming> timing = timingNamed(kAdapterTiming);
    if (timing) {
        timing->end();
        statistics()->appendValue(Value(timing->elapsedMillisecondsString()), kAdapterDurations);
    }
    statistics()->appendValue(Value(format("%ld", exitCode)), kAdapterExitCodes);
}

void YBXSlotStatistics::resetTimingAdapters() {
    statistics()->removeObjectForKey(kAdapterDurations);
    statistics()->removeObjectForKey(kAdapterExitCodes);
}

Value YBXSlotStatistics::adapterExitCodesParameter() { return joined(statistics()->objectForKey(kAdapterExitCodes)); }

Value YBXSlotStatistics::adapterDurationsParameter() { return joined(statistics()->objectForKey(kAdapterDurations)); }

void registerStatisticsClasses() {
    ClassBuilder<YBXStatisticsCore>("YBXStatisticsCore", "NSObject")
        .method(sel::setString_forKey_, [](id self, Value v, std::string key) { coreOf(self)->setObject(v, key, "NSString"); })
        .method(sel::setNumber_forKey_, [](id self, Value v, std::string key) { coreOf(self)->setObject(v, key, "NSNumber"); })
        .method(sel::setDate_forKey_, [](id self, Value v, std::string key) { coreOf(self)->setObject(v, key, "NSDate"); })
        .method(sel::setArray_forKey_, [](id self, Value v, std::string key) { coreOf(self)->setObject(v, key, "NSArray"); })
        .method(sel::setDictionary_forKey_, [](id self, Value v, std::string key) { coreOf(self)->setObject(v, key, "NSDictionary"); })
        .method(sel::setObject_forKey_matchingClass_,
                [](id self, Value v, std::string key, std::string className) { coreOf(self)->setObject(v, key, className); })
        .method(sel::stringForKey_, [](id self, std::string key) { return coreOf(self)->objectForKey(key); })
        .method(sel::numberForKey_, [](id self, std::string key) { return coreOf(self)->objectForKey(key); })
        .method(sel::dateForKey_, [](id self, std::string key) { return coreOf(self)->objectForKey(key); })
        .method(sel::arrayForKey_, [](id self, std::string key) { return coreOf(self)->objectForKey(key); })
        .method(sel::dictionaryForKey_, [](id self, std::string key) { return coreOf(self)->objectForKey(key); })
        .method(sel::addValue_numberForKey_, [](id self, long long addend, std::string key) { return coreOf(self)->addValue(addend, key); })
        .method(sel::appendValue_arrayForKey_, [](id self, Value v, std::string key) { coreOf(self)->appendValue(v, key); })
        .method(sel::removeObjectForKey_, [](id self, std::string key) { coreOf(self)->removeObjectForKey(key); })
        .method(sel::removeAllObjects, [](id self) { coreOf(self)->removeAllObjects(); })
        .method(sel::identifier, [](id self) { return coreOf(self)->identifier(); })
        .method(sel::setIdentifier_, [](id self, Value identifier) { coreOf(self)->setIdentifier(identifier); })
        .method(sel::synchronize, [](id self) { coreOf(self)->save(); })
        .method(sel::loadPersistentStatistics, [](id self) { coreOf(self)->load(); })
        .method(sel::savePersistentStatistics, [](id self) { coreOf(self)->save(); });

    ClassBuilder<YBXStatistics>("YBXStatistics", "NSObject")
        .classMethod(sel::allTimingNames, [](id) { return Value(); })
        .classMethod(sel::allCounterNames, [](id) { return Value(); })
        .method(sel::init,
                [](id self) {
                    statisticsOf(self)->setUp();
                    return Ref<Object>(self);
                })
        .method(sel::statistics, [](id self) { return Ref<Object>(statisticsOf(self)->statistics()); })
        .method(sel::timingMgr, [](id self) { return Ref<Object>(statisticsOf(self)->timingMgr()); })
        .method(sel::parameters, [](id) { return Value(); })
        .method(sel::timingNamed_, [](id self, std::string name) { return Ref<Object>(statisticsOf(self)->timingNamed(name)); })
        .method(sel::startTimingNamed_withExplicitEnd_,
                [](id self, std::string name, bool explicitEnd) { statisticsOf(self)->startTimingNamed(name, explicitEnd); })
        .method(sel::endTimingNamed_, [](id self, std::string name) { statisticsOf(self)->endTimingNamed(name); })
        .method(sel::removeTimingNamed_, [](id self, std::string name) { statisticsOf(self)->removeTimingNamed(name); })
        .method(sel::incrementParameterCount_, [](id self, std::string name) { statisticsOf(self)->incrementParameterCount(name); })
        .method(sel::resetParameterCount_, [](id self, std::string name) { statisticsOf(self)->resetParameterCount(name); })
        .method(sel::valueForParameter_, [](id self, std::string name) { return statisticsOf(self)->valueForParameter(name); })
        .method(sel::setFlagWithParameterName_, [](id self, std::string name) { statisticsOf(self)->setFlagWithParameterName(name); })
        .method(sel::resetFlagWithParameterName_, [](id self, std::string name) { statisticsOf(self)->resetFlagWithParameterName(name); });

    ClassBuilder<YBXSlotStatistics>("YBXSlotStatistics", "YBXStatistics")
        .method(sel::identifier, [](id self) { return slotStatisticsOf(self)->identifier(); })
        .method(sel::setIdentifier_, [](id self, Value identifier) { slotStatisticsOf(self)->setIdentifier(identifier); })
        .method(sel::startTimingAdapter, [](id self) { slotStatisticsOf(self)->startTimingAdapter(); })
        .method(sel::endTimingAdapterWithExitCode_, [](id self, long long code) { slotStatisticsOf(self)->endTimingAdapterWithExitCode(code); })
        .method(sel::resetTimingAdapters, [](id self) { slotStatisticsOf(self)->resetTimingAdapters(); })
        .method(sel::adapterExitCodesParameter, [](id self) { return slotStatisticsOf(self)->adapterExitCodesParameter(); })
        .method(sel::adapterDurationsParameter, [](id self) { return slotStatisticsOf(self)->adapterDurationsParameter(); });
}

}  // namespace adlib
