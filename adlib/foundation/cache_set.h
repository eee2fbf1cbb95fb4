// YBXCacheSet: a small bounded pool of reusable objects (the web view pool
// derives from it), emptied when the app is warned that memory runs low.
// Safe from any thread: its set lives on its serial queue; adding never
// waits, taking and emptying do.
#pragma once

#include <vector>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/dispatch.h"

namespace adlib {

namespace sel {
inline constexpr Sel<Ref<Object>(id, unsigned long long)> initWithMaxCapacity_{"initWithMaxCapacity:"};
inline constexpr Sel<void(id, Value)> addObject_{"addObject:"};
inline constexpr Sel<Value(id)> anyObject{"anyObject"};
inline constexpr Sel<void(id)> removeAllObjects{"removeAllObjects"};
inline constexpr Sel<unsigned long long(id)> maxCapacity{"maxCapacity"};
}  // namespace sel

class YBXCacheSet : public NSObject {
public:
    ~YBXCacheSet() override;

    void setUp(unsigned long long maxCapacity);
    void addObject(const Value& object);
    // Takes one object out; nil when the set is empty.
    Value anyObject();
    void removeAllObjects();
    unsigned long long maxCapacity() const { return maxCapacity_; }

private:
    Ref<Object> observer_;
    dispatch_queue_t lockQueue_ = nullptr;
    std::vector<Value> set_;  // only on lockQueue_
    unsigned long long maxCapacity_ = 0;
};

void registerCacheSetClass();

}  // namespace adlib
