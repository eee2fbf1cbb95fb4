// YBXMacros: the library-wide class-method conveniences, and
// RunSynchronouslyOnMainThread, how the library reads UIKit from its queues.
// Any thread; a block passed to the main thread must not be one that the main
// queue is itself waiting for.
#pragma once

#include "adlib/foundation/selectors.h"
#include "platform/foundation/dispatch.h"

namespace adlib {

namespace sel {
inline constexpr Sel<void(id, dispatch_block_t)> runSynchronouslyOnMainThreadWithBlock_{"runSynchronouslyOnMainThreadWithBlock:"};
}  // namespace sel

// Runs the block at once on the main thread, else synchronously on the main queue.
void RunSynchronouslyOnMainThread(const dispatch_block_t& block);

void registerMacrosClass();

}  // namespace adlib
