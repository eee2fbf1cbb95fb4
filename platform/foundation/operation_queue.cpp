#include "platform/foundation/operation_queue.h"

#include "platform/foundation/dispatch.h"

namespace platform {

NSOperationQueue* NSOperationQueue::mainQueue() {
    static NSOperationQueue* queue = as<NSOperationQueue>(alloc("NSOperationQueue")).leak();
    return queue;
}

void NSOperationQueue::addOperationWithBlock(std::function<void()> block) {
    dispatch_async(dispatch_get_main_queue(), std::move(block));
}

}  // namespace platform
