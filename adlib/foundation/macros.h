// YBXMacros: the library-wide class-method conveniences, and
// RunSynchronouslyOnMainThread, how the library reads UIKit from its queues.
// Any thread; a block passed to the main thread must not be one that the main
// queue is itself waiting for.
#pragma once

#include <string>
#include <string_view>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/dispatch.h"

namespace adlib {

namespace sel {
inline constexpr Sel<void(id, dispatch_block_t)> runSynchronouslyOnMainThreadWithBlock_{"runSynchronouslyOnMainThreadWithBlock:"};
inline constexpr Sel<void(id, std::string)> pubLog_{"pubLog:"};
inline constexpr Sel<std::string(id, Value)> dictionaryToJSONString_{"dictionaryToJSONString:"};
inline constexpr Sel<Value(id, std::string)> readJsonIntoDictionary_{"readJsonIntoDictionary:"};
}  // namespace sel

// Runs the block at once on the main thread, else synchronously on the main queue.
void RunSynchronouslyOnMainThread(const dispatch_block_t& block);

// The log line meant for the publisher's developer: "<Orvane> %@".
void pubLog(std::string_view message);
// Compact JSON text; "" when the dictionary is no valid JSON object.
std::string dictionaryToJSONString(const Value& dictionary);
// The dictionary of the JSON text; nil for anything else.
Value readJsonIntoDictionary(std::string_view text);

void registerMacrosClass();

}  // namespace adlib
