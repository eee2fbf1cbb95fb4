#include "adlib/foundation/statistic_dictionary.h"

#include "adlib/foundation/string_utilities.h"
#include "adlib/foundation/utilities.h"
#include "platform/foundation/format.h"

namespace adlib {

namespace {

YBXStatisticDictionary* dictionaryOf(id self) { return as<YBXStatisticDictionary>(self); }

}  // namespace

Ref<YBXStatisticDictionary> YBXStatisticDictionary::make(id delegate) {
    Ref<YBXStatisticDictionary> d = as<YBXStatisticDictionary>(alloc("YBXStatisticDictionary"));
    if (d) d->setUp(kYBXStatisticsQueueLabel, delegate);
    return d;
}

void YBXStatisticDictionary::setUp(const std::string& label, id delegate) {
    setDelegate(delegate);
    if (!serialQueue_) serialQueue_ = dispatch_queue_create(label.c_str(), DISPATCH_QUEUE_SERIAL);
}

void YBXStatisticDictionary::modify(Change change, bool notify) {
    if (!serialQueue_) return;
    Ref<YBXStatisticDictionary> self(this);
    dispatch_async(serialQueue_, [self, change = std::move(change), notify] {
        if (!self->allowDictionaryModification_) return;
        change(self->statistics_);
        if (!notify || self->hasEnqueuedNotificationBlock_) return;
        // Every notifying change queued before this block runs is told in one call.
        self->hasEnqueuedNotificationBlock_ = true;
        dispatch_async(self->serialQueue_, [self] { self->notifyDelegate(); });
    });
}

void YBXStatisticDictionary::notifyDelegate() {
    hasEnqueuedNotificationBlock_ = false;
    Ref<Object> delegate = this->delegate();
    if (!delegate || !respondsToSelector(delegate, sel::notificationQueue.name)) return;
    dispatch_queue_t queue = sel::notificationQueue(delegate);
    if (!queue) return;
    Ref<YBXStatisticDictionary> self(this);
    dispatch_async(queue, [self] {
        // The delegate may have changed or gone meanwhile.
        Ref<Object> current = self->delegate();
        if (current && respondsToSelector(current, sel::didUpdateStatisticDictionary_.name))
            sel::didUpdateStatisticDictionary_(current, self.get());
    });
}

void YBXStatisticDictionary::setObject(const Value& object, const std::string& key, bool notify) {
    modify([object, key](Value::Dictionary& d) { d[key] = object; }, notify);
}

Value YBXStatisticDictionary::objectForKey(const std::string& key) {
    Value v;
    if (serialQueue_)
        dispatch_sync(serialQueue_, [&] {
            auto it = statistics_.find(key);
            if (it != statistics_.end()) v = it->second;
        });
    return v;
}

void YBXStatisticDictionary::addDecimalNumber(const Value& number, const std::string& key, bool notify) {
    modify(
        [number, key](Value::Dictionary& d) {
            auto it = d.find(key);
            const Value current = it == d.end() ? Value(Decimal::zero()) : it->second;
            if (!current.isDecimal()) return;
            d[key] = Value(current.decimalValue().adding(number.decimalValue()));
        },
        notify);
}

void YBXStatisticDictionary::incrementNumberForKey(const std::string& key, bool notify) {
    addDecimalNumber(Value(Decimal::one()), key, notify);
}

void YBXStatisticDictionary::decrementNumberForKey(const std::string& key, bool notify) {
    addDecimalNumber(ybx_negativeOne(), key, notify);
}

void YBXStatisticDictionary::addObjectToArray(const Value& object, const std::string& key, bool notify) {
    modify(
        [object, key](Value::Dictionary& d) {
            auto it = d.find(key);
            Value array = it == d.end() ? Value(Value::Array{}) : it->second;
            if (!array.isArray()) return;
            array.mutableArray().push_back(object);
            d[key] = std::move(array);
        },
        notify);
}

Value YBXStatisticDictionary::dictionary() {
    // Values are copied on write, so the snapshot never sees a later append.
    Value snapshot{Value::Dictionary{}};
    if (serialQueue_) dispatch_sync(serialQueue_, [&] { snapshot = Value(statistics_); });
    return snapshot;
}

Ref<Object> YBXStatisticDictionary::delegate() {
    std::lock_guard guard(delegateLock_);
    return delegate_.lock();
}

void YBXStatisticDictionary::setDelegate(id delegate) {
    std::lock_guard guard(delegateLock_);
    delegate_ = delegate;
}

void YBXStatisticDictionary::didFinishModifying() {
    if (!serialQueue_) return;
    dispatch_sync(serialQueue_, [this] { allowDictionaryModification_ = false; });
    dispatch_sync(serialQueue_, [this] {
        Ref<Object> delegate = this->delegate();
        if (!delegate || !respondsToSelector(delegate, sel::notificationQueue.name)) return;
        // Notifications already on their way are delivered before this returns.
        if (dispatch_queue_t queue = sel::notificationQueue(delegate)) dispatch_sync(queue, [] {});
    });
    setDelegate(nullptr);
}

std::string YBXStatisticDictionary::description() {
    Value contents = dictionary();
    Ref<NSError> error;
    Value json = ybx_JSONStringPretty(contents, true, &error);
    return format("<%@: %p>\nqueue: %s\nstatistics: %@", NSStringFromClass(object_getClass(this)), this,
                  dispatch_queue_get_label(serialQueue_), error ? Value(contents.description()) : json);
}

void registerStatisticDictionaryClass() {
    ClassBuilder<YBXStatisticDictionary>("YBXStatisticDictionary", "NSObject")
        .method(sel::init,
                [](id self) {
                    dictionaryOf(self)->setUp(kYBXStatisticsQueueLabel, nullptr);
                    return Ref<Object>(self);
                })
        .method(sel::initWithDelegate_,
                [](id self, id delegate) {
                    dictionaryOf(self)->setUp(kYBXStatisticsQueueLabel, delegate);
                    return Ref<Object>(self);
                })
        .method(sel::initWithQueueLabel_delegate_,
                [](id self, std::string label, id delegate) {
                    dictionaryOf(self)->setUp(label, delegate);
                    return Ref<Object>(self);
                })
        .method(sel::setObject_forKey_shouldNotifyDelegate_,
                [](id self, Value object, std::string key, bool notify) { dictionaryOf(self)->setObject(object, key, notify); })
        .method(sel::setObject_forKeyedSubscript_,
                [](id self, Value object, std::string key) { dictionaryOf(self)->setObject(object, key, false); })
        .method(sel::objectForKey_, [](id self, std::string key) { return dictionaryOf(self)->objectForKey(key); })
        .method(sel::objectForKeyedSubscript_, [](id self, std::string key) { return dictionaryOf(self)->objectForKey(key); })
        .method(sel::addDecimalNumber_toNumberForKey_shouldNotifyDelegate_,
                [](id self, Value number, std::string key, bool notify) { dictionaryOf(self)->addDecimalNumber(number, key, notify); })
        .method(sel::incrementNumberForKey_shouldNotifyDelegate_,
                [](id self, std::string key, bool notify) { dictionaryOf(self)->incrementNumberForKey(key, notify); })
        .method(sel::decrementNumberForKey_shouldNotifyDelegate_,
                [](id self, std::string key, bool notify) { dictionaryOf(self)->decrementNumberForKey(key, notify); })
        .method(sel::addObject_toArrayWithKey_shouldNotifyDelegate_,
                [](id self, Value object, std::string key, bool notify) { dictionaryOf(self)->addObjectToArray(object, key, notify); })
        .method(sel::dictionary, [](id self) { return dictionaryOf(self)->dictionary(); })
        .method(sel::delegate, [](id self) { return dictionaryOf(self)->delegate(); })
        .method(sel::setDelegate_, [](id self, id delegate) { dictionaryOf(self)->setDelegate(delegate); })
        .method(sel::didFinishModifying, [](id self) { dictionaryOf(self)->didFinishModifying(); })
        .method(sel::description, [](id self) { return Value(dictionaryOf(self)->description()); });
}

}  // namespace adlib
