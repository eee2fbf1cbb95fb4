// Messages between the device controller and its host processes: property-list
// dictionaries sent over pipes as length-prefixed binary property lists.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/foundation/result.h"
#include "platform/runtime/value.h"

namespace platform::host {

// The largest frame sent or read: the largest message (a schedule of every
// alarm) is some kilobytes.
inline constexpr std::size_t kMaxFrameSize = 4 << 20;

// False when the pipe is closed or the value cannot be sent.
bool writeFrame(int fd, const Value& message);
// The next message; nothing when the pipe closed between frames; an error
// for a frame larger than kMaxFrameSize (nothing of it is read), cut short or
// not a property-list dictionary.
Result<std::optional<Value>> readFrame(int fd);

// A value as it can cross to another process: what a property list cannot
// hold (object references, geometry, nil entries) is left out.
Value portable(const Value& v);

}  // namespace platform::host
