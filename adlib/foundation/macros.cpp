#include "adlib/foundation/macros.h"

#include "platform/foundation/run_loop.h"

namespace adlib {

void RunSynchronouslyOnMainThread(const dispatch_block_t& block) {
    if (NSThread::isMainThread())
        block();
    else
        dispatch_sync(dispatch_get_main_queue(), block);
}

void registerMacrosClass() {
    ClassBuilder<NSObject>("YBXMacros", "NSObject")
        .classMethod(sel::runSynchronouslyOnMainThreadWithBlock_, [](id, dispatch_block_t block) { RunSynchronouslyOnMainThread(block); });
}

}  // namespace adlib
