// Property lists: XML and binary in, XML out, as Values; and the one locked
// read-modify-write of a property-list file that every writer of a shared
// preference file goes through.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/foundation/result.h"
#include "platform/runtime/value.h"

namespace platform::plist {

// Parses an XML or binary property list.
Result<Value> parse(std::string_view bytes);
// XML text of a property-list value; an error for a value a property list cannot
// hold (nil, geometry, object references).
Result<std::string> toXml(const Value& value);
Result<std::string> toBinary(const Value& value);

// The largest property-list file read: the system's files are a few hundred
// kilobytes at most, and a larger one (a runaway writer) would stall every
// reader.
inline constexpr std::size_t kMaxFileSize = 8 << 20;

// The property list in a file, or nil when the file is missing, not a
// property list or larger than kMaxFileSize (logged). Takes no lock: writers
// replace the file whole.
Value readFile(std::string_view path);
// Writes a property list atomically; false (and logged) on failure.
bool writeFile(std::string_view path, const Value& value);

// Reads the dictionary in the file under an exclusive lock on a lock file
// beside it, lets `change` edit it, and writes it back atomically before
// unlocking; a change that answers false leaves the file as it is. A missing
// file reads as empty; a file that is not a property-list dictionary, or is
// larger than kMaxFileSize, is kept aside as "<path>.corrupt" first; any other
// read error fails the update.
// Returns whether the file was written.
bool update(std::string_view path, const std::function<bool(Value::Dictionary&)>& change);

}  // namespace platform::plist
