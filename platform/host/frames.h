// Messages between the device controller and its host processes: property-list
// dictionaries sent over pipes as length-prefixed binary property lists.
#pragma once

#include <optional>

#include "platform/runtime/value.h"

namespace platform::host {

// False when the pipe is closed or the value cannot be sent.
bool writeFrame(int fd, const Value& message);
// Nothing when the pipe closed.
std::optional<Value> readFrame(int fd);

// A value as it can cross to another process: what a property list cannot
// hold (object references, geometry, nil entries) is left out.
Value portable(const Value& v);

}  // namespace platform::host
