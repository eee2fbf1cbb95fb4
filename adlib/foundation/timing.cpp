#include "adlib/foundation/timing.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/format.h"
#include "platform/foundation/lock.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"

namespace adlib {

namespace {

YBXTiming* timingOf(id self) { return as<YBXTiming>(self); }
YBXTimingManager* managerOf(id self) { return as<YBXTimingManager>(self); }

}  // namespace

// --- YBXTiming ---------------------------------------------------------------------------

double YBXTiming::counter() {
    static const double secondsPerTick = [] {
        mach_timebase_info_data_t info{};
        mach_timebase_info(&info);
        return static_cast<double>(info.numer) / info.denom / 1e9;
    }();
    return static_cast<double>(mach_absolute_time()) * secondsPerTick;
}

Ref<YBXTiming> YBXTiming::make(const Value& category) {
    Ref<YBXTiming> t = as<YBXTiming>(alloc("YBXTiming"));
    if (t) t->setUp(category);
    return t;
}

Ref<YBXTiming> YBXTiming::fromDictionaryRepresentation(const Value& form) {
    Ref<YBXTiming> t = as<YBXTiming>(alloc("YBXTiming"));
    if (t) t->setUpFromDictionaryRepresentation(form);
    return t;
}

void YBXTiming::setUp(const Value& category) {
    category_ = category.isString() ? category.string() : format("%@ (%p)", NSStringFromClass(object_getClass(this)), this);
}

void YBXTiming::setUpFromDictionaryRepresentation(const Value& form) {
    setUp(form["category"]);
    {
        std::lock_guard guard(timeIntervalLock_);
        startTimestamp_ = form["start"].doubleValue();
        endTimestamp_ = form["end"].doubleValue();
    }
    Synchronized guard(this);
    // Without stored user data the timing still has a container of its own,
    // so that values set later are kept.
    userData_ = form["userData"].dictionary();
}

double YBXTiming::startTimestamp() {
    std::lock_guard guard(timeIntervalLock_);
    return startTimestamp_;
}

double YBXTiming::endTimestamp() {
    std::lock_guard guard(timeIntervalLock_);
    return endTimestamp_;
}

Value YBXTiming::dictionaryRepresentation() {
    Value::Dictionary form;
    form["category"] = Value(category_);
    {
        std::lock_guard guard(timeIntervalLock_);
        form["start"] = Value(startTimestamp_);
        form["end"] = Value(endTimestamp_);
    }
    Synchronized guard(this);
    if (!userData_.empty()) form["userData"] = Value(userData_);
    return Value(std::move(form));
}

Ref<YBXTiming> YBXTiming::copy() {
    Ref<YBXTiming> c = fromDictionaryRepresentation(dictionaryRepresentation());
    if (c) c->explicitEnd_ = explicitEnd_;
    return c;
}

std::string YBXTiming::description() {
    return format("%@ (%p): %@", NSStringFromClass(object_getClass(this)), this, dictionaryRepresentation());
}

void YBXTiming::start() {
    std::lock_guard guard(timeIntervalLock_);
    startTimestamp_ = counter();
    endTimestamp_ = 0;
}

void YBXTiming::end() {
    std::lock_guard guard(timeIntervalLock_);
    if (startTimestamp_ > 0) endTimestamp_ = counter();
}

void YBXTiming::reset() {
    std::lock_guard guard(timeIntervalLock_);
    startTimestamp_ = 0;
    endTimestamp_ = 0;
}

unsigned long YBXTiming::elapsedMilliseconds() {
    std::lock_guard guard(timeIntervalLock_);
    double end = endTimestamp_;
    if (end < startTimestamp_) {
        if (explicitEnd_) return 0;
        end = counter();
    }
    // A running timing reloaded after a restart starts ahead of the counter.
    // Whole microseconds first: the counter's seconds are large, and 35 ms
    // between two of them must not come out as 34.999.
    const long long microseconds = std::llround((end - startTimestamp_) * 1e6);
    return microseconds > 0 ? static_cast<unsigned long>(microseconds / 1000) : 0;
}

std::string YBXTiming::elapsedMillisecondsString() { return format("%lu", elapsedMilliseconds()); }

bool YBXTiming::isActive() {
    std::lock_guard guard(timeIntervalLock_);
    return startTimestamp_ > 0 && endTimestamp_ < startTimestamp_;
}

void YBXTiming::setValue(const Value& value, const Value& key) {
    if (value.isNil() || !key.isString()) return;
    Synchronized guard(this);
    userData_[key.string()] = value;
}

Value YBXTiming::valueForKey(const std::string& key) {
    Synchronized guard(this);
    auto it = userData_.find(key);
    return it == userData_.end() ? Value() : it->second;
}

void YBXTiming::removeValueForKey(const std::string& key) {
    Synchronized guard(this);
    userData_.erase(key);
}

Value YBXTiming::keysAndValues() {
    Synchronized guard(this);
    return Value(userData_);
}

// --- persistence -------------------------------------------------------------------------

void YBXPersistentUnit::setIdentifier(const Value& identifier) {
    if (identifier.isNil() ? identifier_.isNil() : identifier == identifier_) return;
    stopObserving();
    if (!identifier_.isNil()) {
        // The old unit's contents stay its own.
        save();
        clear();
    }
    identifier_ = identifier;
    load();
    WeakRef<Object> weakSelf(this);
    terminateObserver_ = NSNotificationCenter::defaultCenter()->addObserverForName(
        UIApplicationWillTerminateNotification, Value(), [weakSelf](NSNotification*) {
            if (Ref<Object> self = weakSelf.lock()) as<YBXPersistentUnit>(self)->save();
        });
}

Value YBXPersistentUnit::userDefaultsKey() const {
    return identifier_.isNil() ? Value() : Value(format(keyFormat_, identifier_));
}

NSUserDefaults* YBXPersistentUnit::userDefaults() const { return NSUserDefaults::standardUserDefaults(); }

void YBXPersistentUnit::stopObserving() {
    if (terminateObserver_) NSNotificationCenter::defaultCenter()->removeObserver(terminateObserver_.get());
    terminateObserver_ = nullptr;
}

void YBXPersistentUnit::tearDown() {
    stopObserving();
    save();
}

// --- YBXTimingManager --------------------------------------------------------------------

Ref<YBXTimingManager> YBXTimingManager::make() { return as<YBXTimingManager>(alloc("YBXTimingManager")); }

YBXTimingManager::~YBXTimingManager() { tearDown(); }

Value YBXTimingManager::timings() const {
    Value::Array all;
    for (const auto& [category, timing] : timings_) all.emplace_back(timing.get());
    return Value(std::move(all));
}

Value YBXTimingManager::categories() const {
    Value::Array all;
    for (const auto& [category, timing] : timings_) all.emplace_back(category);
    return Value(std::move(all));
}

void YBXTimingManager::addTiming(YBXTiming* timing) {
    if (timing) timings_[timing->category()] = Ref<YBXTiming>(timing);
}

Ref<YBXTiming> YBXTimingManager::addTimingWithCategory(const Value& category) {
    Ref<YBXTiming> timing = YBXTiming::make(category);
    addTiming(timing.get());
    return timing;
}

Ref<YBXTiming> YBXTimingManager::timingForCategory(const std::string& category) const {
    auto it = timings_.find(category);
    return it == timings_.end() ? nullptr : it->second;
}

void YBXTimingManager::removeTiming(YBXTiming* timing) {
    if (timing) removeTimingForCategory(timing->category());
}

void YBXTimingManager::removeTimingForCategory(const std::string& category) { timings_.erase(category); }

void YBXTimingManager::removeTimingsForCategories(const Value& categories) {
    for (const Value& c : categories.array())
        if (c.isString()) removeTimingForCategory(c.string());
}

void YBXTimingManager::removeAllTimings() { timings_.clear(); }

void YBXTimingManager::load() {
    Value key = userDefaultsKey();
    if (key.isNil()) return;
    for (const auto& [name, form] : userDefaults()->objectForKey(key.string()).dictionary()) {
        // A damaged entry would come back as a timing of another name or time.
        if (!form["category"].isString() || !form["start"].isNumber() || !form["end"].isNumber()) continue;
        if (Ref<YBXTiming> timing = YBXTiming::fromDictionaryRepresentation(form)) timings_[name] = timing;
    }
}

void YBXTimingManager::save() {
    Value key = userDefaultsKey();
    if (key.isNil()) return;
    Value::Dictionary forms;
    for (const auto& [category, timing] : timings_) forms[category] = timing->dictionaryRepresentation();
    userDefaults()->setObject(Value(std::move(forms)), key.string());
    userDefaults()->synchronize();
}

void registerTimingClasses() {
    ClassBuilder<YBXTiming>("YBXTiming", "NSObject")
        .protocol("NSCopying")
        .classMethod(sel::counter, [](id) { return YBXTiming::counter(); })
        .method(sel::init,
                [](id self) {
                    timingOf(self)->setUp(Value());
                    return Ref<Object>(self);
                })
        .method(sel::initWithCategory_,
                [](id self, Value category) {
                    timingOf(self)->setUp(category);
                    return Ref<Object>(self);
                })
        .method(sel::initWithDictionaryRepresentation_,
                [](id self, Value form) {
                    timingOf(self)->setUpFromDictionaryRepresentation(form);
                    return Ref<Object>(self);
                })
        .method(sel::copy, [](id self) { return Ref<Object>(timingOf(self)->copy()); })
        .method(sel::copyWithZone_, [](id self, void*) { return Ref<Object>(timingOf(self)->copy()); })
        .method(sel::dictionaryRepresentation, [](id self) { return timingOf(self)->dictionaryRepresentation(); })
        .method(sel::description, [](id self) { return Value(timingOf(self)->description()); })
        .method(sel::category, [](id self) { return Value(timingOf(self)->category()); })
        .method(sel::explicitEnd, [](id self) { return timingOf(self)->explicitEnd(); })
        .method(sel::setExplicitEnd_, [](id self, bool explicitEnd) { timingOf(self)->setExplicitEnd(explicitEnd); })
        .method(sel::startTimestamp, [](id self) { return timingOf(self)->startTimestamp(); })
        .method(sel::endTimestamp, [](id self) { return timingOf(self)->endTimestamp(); })
        .method(sel::start, [](id self) { timingOf(self)->start(); })
        .method(sel::end, [](id self) { timingOf(self)->end(); })
        .method(sel::reset, [](id self) { timingOf(self)->reset(); })
        .method(sel::elapsedMilliseconds, [](id self) { return timingOf(self)->elapsedMilliseconds(); })
        .method(sel::elapsedMillisecondsString, [](id self) { return timingOf(self)->elapsedMillisecondsString(); })
        .method(sel::isActive, [](id self) { return timingOf(self)->isActive(); })
        .method(sel::setValue_forKey_, [](id self, Value value, Value key) { timingOf(self)->setValue(value, key); })
        .method(sel::valueForKey_, [](id self, std::string key) { return timingOf(self)->valueForKey(key); })
        .method(sel::removeValueForKey_, [](id self, std::string key) { timingOf(self)->removeValueForKey(key); })
        .method(sel::keysAndValues, [](id self) { return timingOf(self)->keysAndValues(); });

    ClassBuilder<YBXTimingManager>("YBXTimingManager", "NSObject")
        .method(sel::timings, [](id self) { return managerOf(self)->timings(); })
        .method(sel::categories, [](id self) { return managerOf(self)->categories(); })
        .method(sel::addTiming_, [](id self, id timing) { managerOf(self)->addTiming(timingOf(timing)); })
        .method(sel::addTimingWithCategory_, [](id self, Value category) { return Ref<Object>(managerOf(self)->addTimingWithCategory(category)); })
        .method(sel::timingForCategory_, [](id self, std::string category) { return Ref<Object>(managerOf(self)->timingForCategory(category)); })
        .method(sel::removeTiming_, [](id self, id timing) { managerOf(self)->removeTiming(timingOf(timing)); })
        .method(sel::removeTimingForCategory_, [](id self, std::string category) { managerOf(self)->removeTimingForCategory(category); })
        .method(sel::removeTimingsForCategories_, [](id self, Value categories) { managerOf(self)->removeTimingsForCategories(categories); })
        .method(sel::removeAllTimings, [](id self) { managerOf(self)->removeAllTimings(); })
        .method(sel::identifier, [](id self) { return managerOf(self)->identifier(); })
        .method(sel::setIdentifier_, [](id self, Value identifier) { managerOf(self)->setIdentifier(identifier); })
        .method(sel::synchronize, [](id self) { managerOf(self)->save(); })
        .method(sel::loadPersistentTimings, [](id self) { managerOf(self)->load(); })
        .method(sel::savePersistentTimings, [](id self) { managerOf(self)->save(); });
}

}  // namespace adlib
