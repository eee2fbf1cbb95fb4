// The file system under the device root. Every path the system uses is a
// device path ("/var/mobile/Library/Preferences/...") resolved under the root
// folder that boot or the test environment set. The system calls go through a
// seam so that a test can make a chosen call fail.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/result.h"

namespace platform::fs {

void setDeviceRoot(std::string hostFolder);
const std::string& deviceRoot();
// The host path of a device path; relative paths are taken as they are.
std::string resolve(std::string_view devicePath);

bool exists(std::string_view path);
bool isDirectory(std::string_view path);
bool createDirectories(std::string_view path);
// A file longer than `limit` bytes is not read: an error with code EFBIG.
Result<std::string> readFile(std::string_view path, std::size_t limit = SIZE_MAX);
// A file of the machine itself (not under the device root), such as the
// zoneinfo database.
Result<std::string> readHostFile(std::string_view hostPath, std::size_t limit = SIZE_MAX);
// Writes the whole file to a temporary file in the same folder, syncs it and
// renames it into place, so a reader sees the old or the new file whole.
// Temporary files of that file left by writers that died more than a minute
// ago are removed first.
Result<bool> writeFileAtomically(std::string_view path, std::string_view contents);
bool removeFile(std::string_view path);
bool rename(std::string_view from, std::string_view to);
std::vector<std::string> listDirectory(std::string_view path);
// Removes a file, or a folder with everything in it; false when nothing was there
// or something could not be removed.
bool removeAll(std::string_view path);
// The last modification of a file or folder, in seconds since the Unix epoch.
Result<double> modificationTime(std::string_view path);
bool setModificationTime(std::string_view path, double unixSeconds);

// The device path of a file's folder and its last component.
std::string dirname(std::string_view path);
std::string basename(std::string_view path);
std::string join(std::string_view folder, std::string_view name);

namespace testing {
enum class Op { Open, Read, Write, Sync, Rename, Lock };
// Makes the n-th call (1-based, counted from now) of `op` fail with `error`.
void failNth(Op op, int n, int error);
// Runs `action` just before every call of `op` (for example, to end a writer
// between writing its temporary file and renaming it).
void beforeEach(Op op, std::function<void()> action);
void reset();
}  // namespace testing

namespace detail {
// Nonzero: the errno this call must fail with.
int fault(testing::Op op);
}  // namespace detail

}  // namespace platform::fs
