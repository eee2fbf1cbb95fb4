// NSOperationQueue: the main operation queue, whose operations run on the main
// run loop in order with the main dispatch queue's blocks (after the current turn).
#pragma once

#include <functional>

#include "platform/runtime/nsobject.h"

namespace platform {

class NSOperationQueue : public NSObject {
public:
    static NSOperationQueue* mainQueue();
    // From any thread; the block runs on the main thread.
    void addOperationWithBlock(std::function<void()> block);
};

}  // namespace platform
