// One preference domain's property-list file as a process sees it: read on
// first use and again on reload; a set is written through the locked update
// (plist::update) and returns after the file is on disk. Sets from several
// threads are applied to the process's copy in the order they reached the
// file, so no thread's key is lost from it. Safe to use from any thread.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/foundation/plist.h"
#include "platform/runtime/value.h"

namespace platform {

class PreferenceFile {
public:
    explicit PreferenceFile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // Nil when the key is not in the domain.
    Value get(std::string_view key);
    // The whole domain, a dictionary.
    Value dictionary();
    // A nil value removes the key. Returns whether the file was written; when
    // it was not, the process still sees its own change.
    bool set(std::string_view key, const Value& value);
    // Reads the file again (a missing or damaged file reads as empty).
    void reload();

private:
    const plist::Document& loaded();  // under mutex_
    std::string path_;
    std::mutex writeMutex_;  // orders this process's writes, so the copy follows the file
    std::mutex mutex_;       // guards cache_
    // Shared with the platform's reader, which converts only the keys asked for.
    std::shared_ptr<const plist::Document> cache_;
};

}  // namespace platform
