#include "adlib/foundation/cache_set.h"

#include <algorithm>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"

namespace adlib {

namespace {

YBXCacheSet* setOf(id self) { return as<YBXCacheSet>(self); }

}  // namespace

YBXCacheSet::~YBXCacheSet() {
    if (observer_) NSNotificationCenter::defaultCenter()->removeObserver(observer_.get());
}

void YBXCacheSet::setUp(unsigned long long maxCapacity) {
    maxCapacity_ = maxCapacity;
    if (!lockQueue_) lockQueue_ = dispatch_queue_create("com.orvane.marlex.cache-set", DISPATCH_QUEUE_SERIAL);
    if (observer_) return;
    WeakRef<Object> weakSelf(this);
    observer_ = NSNotificationCenter::defaultCenter()->addObserverForName(
        UIApplicationDidReceiveMemoryWarningNotification, Value(), [weakSelf](NSNotification*) {
            // Observed on the main operation queue.
            auto empty = [weakSelf] {
                if (Ref<Object> self = weakSelf.lock()) setOf(self.get())->removeAllObjects();
            };
            if (NSThread::isMainThread())
                empty();
            else
                NSOperationQueue::mainQueue()->addOperationWithBlock(empty);
        });
}

void YBXCacheSet::addObject(const Value& object) {
    if (object.isNil() || !lockQueue_) return;
    Ref<YBXCacheSet> self(this);
    dispatch_async(lockQueue_, [self, object] {
        std::vector<Value>& set = self->set_;
        if (set.size() >= self->maxCapacity_) return;
        if (std::find(set.begin(), set.end(), object) == set.end()) set.push_back(object);
    });
}

Value YBXCacheSet::anyObject() {
    Value taken;
    if (!lockQueue_) return taken;
    dispatch_sync(lockQueue_, [this, &taken] {
        if (set_.empty()) return;
        taken = std::move(set_.back());
        set_.pop_back();
    });
    return taken;
}

void YBXCacheSet::removeAllObjects() {
    if (!lockQueue_) return;
    // The objects are let go here, not on the queue's thread.
    std::vector<Value> removed;
    dispatch_sync(lockQueue_, [this, &removed] { removed.swap(set_); });
}

void registerCacheSetClass() {
    ClassBuilder<YBXCacheSet>("YBXCacheSet", "NSObject")
        .method(sel::initWithMaxCapacity_,
                [](id self, unsigned long long capacity) {
                    setOf(self)->setUp(capacity);
                    return Ref<Object>(self);
                })
        .method(sel::addObject_, [](id self, Value object) { setOf(self)->addObject(object); })
        .method(sel::anyObject, [](id self) { return setOf(self)->anyObject(); })
        .method(sel::removeAllObjects, [](id self) { setOf(self)->removeAllObjects(); })
        .method(sel::maxCapacity, [](id self) { return setOf(self)->maxCapacity(); });
}

}  // namespace adlib
