#include "platform/foundation/file_manager.h"

#include <cerrno>
#include <mutex>

#include "platform/foundation/error.h"
#include "platform/foundation/file_system.h"

namespace platform {

namespace {
struct Home {
    std::mutex mutex;
    std::string path = "/var/mobile";
};
Home& home() {
    static Home* h = new Home();
    return *h;
}

// The platform's error for a failed file operation, with the path.
bool fail(Value* error, long long code, std::string_view path, std::string_view message) {
    if (error)
        *error = Value(NSError::errorWithDomain(NSCocoaErrorDomain, code,
                                                Value(Value::Dictionary{{"NSFilePath", Value(path)},
                                                                        {std::string(NSLocalizedDescriptionKey), Value(message)}})));
    return false;
}
}  // namespace

std::string NSHomeDirectory() {
    std::lock_guard guard(home().mutex);
    return home().path;
}

void setHomeDirectory(std::string devicePath) {
    std::lock_guard guard(home().mutex);
    home().path = std::move(devicePath);
}

Value NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory, long long domainMask, bool) {
    if (!(domainMask & NSUserDomainMask)) return Value(Value::Array{});
    std::string base = NSHomeDirectory();
    switch (directory) {
        case NSLibraryDirectory: return Value::array({Value(base + "/Library")});
        case NSDocumentDirectory: return Value::array({Value(base + "/Documents")});
        case NSCachesDirectory: return Value::array({Value(base + "/Library/Caches")});
    }
    return Value(Value::Array{});
}

NSFileManager* NSFileManager::defaultManager() {
    static NSFileManager* manager = as<NSFileManager>(alloc("NSFileManager").leak());
    return manager;
}

bool NSFileManager::fileExistsAtPath(std::string_view path, bool* isDirectory) const {
    bool there = fs::exists(path);
    if (isDirectory) *isDirectory = there && fs::isDirectory(path);
    return there;
}

bool NSFileManager::createDirectoryAtPath(std::string_view path, bool intermediates, const Value&, Value* error) const {
    if (fs::exists(path)) {
        if (intermediates && fs::isDirectory(path)) return true;
        return fail(error, NSFileWriteUnknownError, path, "The file already exists.");
    }
    if (!intermediates && !fs::isDirectory(fs::dirname(path)))
        return fail(error, NSFileNoSuchFileError, path, "The folder it would be made in does not exist.");
    if (!fs::createDirectories(path)) return fail(error, NSFileWriteUnknownError, path, "The folder could not be made.");
    return true;
}

bool NSFileManager::removeItemAtPath(std::string_view path, Value* error) const {
    if (!fs::exists(path)) return fail(error, NSFileNoSuchFileError, path, "There is no file at the path.");
    if (!fs::removeAll(path)) return fail(error, NSFileWriteUnknownError, path, "The file could not be removed.");
    return true;
}

Value NSFileManager::attributesOfItemAtPath(std::string_view path, Value* error) const {
    auto time = fs::modificationTime(path);
    if (!time) {
        fail(error, time.error().code == ENOENT ? NSFileReadNoSuchFileError : NSFileReadUnknownError, path, time.error().message);
        return Value();
    }
    bool folder = fs::isDirectory(path);
    long long size = 0;
    if (!folder) {
        auto bytes = fs::readFile(path);
        if (bytes) size = static_cast<long long>(bytes->size());
    }
    return Value(Value::Dictionary{{NSFileModificationDate, Value(Date::fromUnix(*time))},
                                   {NSFileSize, Value(size)},
                                   {NSFileType, Value(folder ? NSFileTypeDirectory : NSFileTypeRegular)}});
}

bool NSFileManager::setAttributes(const Value& attributes, std::string_view path, Value* error) const {
    if (!fs::exists(path)) return fail(error, NSFileNoSuchFileError, path, "There is no file at the path.");
    Value date = attributes[NSFileModificationDate];
    if (date.kind() == Value::Kind::Date && !fs::setModificationTime(path, date.date().unix()))
        return fail(error, NSFileWriteUnknownError, path, "The modification date could not be set.");
    return true;
}

Value NSFileManager::contentsOfDirectoryAtPath(std::string_view path, Value* error) const {
    if (!fs::isDirectory(path)) {
        fail(error, NSFileReadNoSuchFileError, path, "The folder does not exist.");
        return Value();
    }
    Value::Array names;
    for (auto& name : fs::listDirectory(path)) names.emplace_back(name);
    return Value(std::move(names));
}

bool writeToFile(const Data& data, std::string_view path, bool) {
    auto written = fs::writeFileAtomically(path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    return written.ok();
}

Value dataWithContentsOfFile(std::string_view path) {
    if (fs::isDirectory(path)) return Value();
    auto bytes = fs::readFile(path);
    if (!bytes) return Value();
    return Value(Data(bytes->begin(), bytes->end()));
}

}  // namespace platform
