// NSFileManager for the app's sandbox, the search paths of its folders and
// NSData's file reads and writes. Paths are device paths under the device
// root; every call goes through the file-system seam (platform::fs). Errors
// come back as NSError values in NSCocoaErrorDomain. Safe from any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/nsobject.h"

namespace platform {

// The process's home folder: the app's sandbox for an app, "/var/mobile" for
// the system's own processes. Boot sets it.
std::string NSHomeDirectory();
void setHomeDirectory(std::string devicePath);

enum NSSearchPathDirectory : long long {
    NSLibraryDirectory = 5,
    NSDocumentDirectory = 9,
    NSCachesDirectory = 13,
};
enum NSSearchPathDomainMask : long long { NSUserDomainMask = 1 };

// An array of the folder's path (empty for a directory or domain the sandbox
// does not have).
Value NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory, long long domainMask, bool expandTilde);

inline constexpr const char* NSFileModificationDate = "NSFileModificationDate";
inline constexpr const char* NSFileSize = "NSFileSize";
inline constexpr const char* NSFileType = "NSFileType";
inline constexpr const char* NSFileTypeRegular = "NSFileTypeRegular";
inline constexpr const char* NSFileTypeDirectory = "NSFileTypeDirectory";

class NSFileManager : public NSObject {
public:
    static NSFileManager* defaultManager();

    bool fileExistsAtPath(std::string_view path, bool* isDirectory = nullptr) const;
    // An existing folder counts as made when `intermediates` is set, as on the platform.
    bool createDirectoryAtPath(std::string_view path, bool intermediates, const Value& attributes, Value* error = nullptr) const;
    bool removeItemAtPath(std::string_view path, Value* error = nullptr) const;
    // NSFileModificationDate, NSFileSize, NSFileType; nil when there is nothing at the path.
    Value attributesOfItemAtPath(std::string_view path, Value* error = nullptr) const;
    // Only NSFileModificationDate is applied.
    bool setAttributes(const Value& attributes, std::string_view path, Value* error = nullptr) const;
    // The names in a folder, sorted; nil when it is not a folder.
    Value contentsOfDirectoryAtPath(std::string_view path, Value* error = nullptr) const;
};

// NSData: writeToFile:atomically: (always written whole: temporary file,
// sync, rename, so a reader never sees half a file) and dataWithContentsOfFile:
// (nil when missing or unreadable).
bool writeToFile(const Data& data, std::string_view path, bool atomically);
Value dataWithContentsOfFile(std::string_view path);

}  // namespace platform
