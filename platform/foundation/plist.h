// Property lists: XML and binary in, XML out, as Values; files read as
// documents that convert only what their readers ask for; and the one locked
// read-modify-write of a property-list file that every writer of a shared
// preference file goes through.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
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

// The contents of a property-list file as its readers share them: parsed
// once per version of the file, and converted to Values only as far as a
// reader asks, so that a reader of a few keys pays for no more. Immutable
// once made; any thread.
class Document {
public:
    // Contents already in hand (what a writer wrote).
    explicit Document(Value contents);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The whole contents, converted once; nil for a file that held none.
    const Value& value() const;
    // A key of the top-level dictionary; nil when it is absent or the
    // contents are no dictionary.
    Value valueForKey(std::string_view key) const;
    // The first (or last) dictionary in the array under `arrayKey` whose
    // `field` is the string `text`, converted alone; nil when there is none.
    enum class Match { First, Last };
    Value dictionaryWhere(std::string_view arrayKey, std::string_view field, std::string_view text,
                          Match which = Match::First) const;

private:
    friend class ParsedFiles;
    struct Tree;
    explicit Document(std::unique_ptr<Tree> tree);
    std::unique_ptr<Tree> tree_;  // the parsed file; null when made from a Value
    mutable std::once_flag converted_;
    mutable Value value_;
};

// The property list in a file, or an empty document when the file is missing,
// not a property list or larger than kMaxFileSize (logged). Takes no lock:
// writers replace the file whole. Every call reads the file.
std::shared_ptr<const Document> readDocument(std::string_view path);
// The whole property list in a file, or nil (as readDocument).
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
