#include "platform/foundation/plist.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"

namespace platform::plist {

namespace {

struct NodeDeleter {
    void operator()(void* n) const { plist_free(static_cast<plist_t>(n)); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

// Reading a property list of more levels than this would only risk the
// stack; no file of the system comes near it.
constexpr int kMaxDepth = 256;

// The XML reader recurses once per level: count the levels of the text
// before handing it over. Conservative: a tag name inside a comment counts.
bool xmlShallowEnough(std::string_view text) {
    int depth = 0;
    for (std::size_t i = text.find('<'); i != std::string_view::npos; i = text.find('<', i + 1)) {
        std::string_view tag = text.substr(i + 1);
        bool closing = !tag.empty() && tag[0] == '/';
        if (closing) tag.remove_prefix(1);
        std::size_t nameLength = tag.substr(0, 5) == "array" ? 5 : tag.substr(0, 4) == "dict" ? 4 : 0;
        if (nameLength == 0) continue;
        std::size_t end = tag.find('>');
        if (end == std::string_view::npos) return true;  // the reader refuses it
        if (closing) --depth;
        else if (tag[end - 1] != '/' && ++depth > kMaxDepth) return false;
    }
    return true;
}

// Walks the object table of a binary property list without building it: the
// binary reader recurses once per level and copies a shared container once per
// reference (so a small file can expand without bound, and takes that long
// even to find a bad reference deep inside), and the library aborts on a
// string or key that holds a NUL. Refuses all of these, and any table it
// cannot follow (which the reader would refuse too).
bool binaryReadable(std::string_view bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    if (size < 8 + 32) return false;
    auto number = [&](std::size_t at, std::size_t width) {
        std::uint64_t v = 0;
        for (std::size_t k = 0; k < width; ++k) v = v << 8 | b[at + k];
        return v;
    };
    const std::size_t trailer = size - 32;
    const std::size_t offsetSize = b[trailer + 6], refSize = b[trailer + 7];
    const std::uint64_t objects = number(trailer + 8, 8), top = number(trailer + 16, 8), table = number(trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8 || top >= objects || table >= trailer ||
        objects > (trailer - table) / offsetSize)
        return false;
    // The offset of an object and the count of items that follows its marker.
    auto object = [&](std::uint64_t index, std::size_t& at, std::uint64_t& count) {
        at = number(table + index * offsetSize, offsetSize);
        if (at < 8 || at >= trailer) return false;
        count = b[at] & 0x0F;
        ++at;
        if (count == 0x0F) {
            if (at >= trailer || (b[at] & 0xF0) != 0x10) return false;
            std::size_t width = std::size_t(1) << (b[at] & 0x0F);
            if (width > 8 || at + 1 + width > trailer) return false;
            count = number(at + 1, width);
            at += 1 + width;
        }
        return true;
    };
    struct Visit {
        std::uint64_t index;
        int depth;
    };
    std::vector<Visit> stack{{top, 1}};
    std::size_t visits = 0;
    while (!stack.empty()) {
        Visit v = stack.back();
        stack.pop_back();
        // Without shared containers each reference is visited once, and each
        // takes a byte at least.
        if (++visits > size) return false;
        const std::size_t marker = number(table + v.index * offsetSize, offsetSize);
        if (marker < 8 || marker >= trailer) return false;
        const unsigned type = b[marker] >> 4;
        // Only data, strings and containers have a count after the marker.
        if (type != 0x4 && type != 0x5 && type != 0x6 && type != 0xA && type != 0xC && type != 0xD) continue;
        std::size_t at;
        std::uint64_t count;
        if (!object(v.index, at, count)) return false;
        if (type == 0x4) continue;
        if (type == 0x5 || type == 0x6) {
            const std::size_t unit = type == 0x5 ? 1 : 2;
            if (count > (trailer - at) / unit) return false;
            for (std::size_t k = 0; k < count; ++k)
                if (b[at + k * unit] == 0 && (unit == 1 || b[at + k * unit + 1] == 0)) return false;
            continue;
        }
        if (type != 0xA && type != 0xC && type != 0xD) continue;
        if (v.depth >= kMaxDepth) return false;
        const std::uint64_t refs = type == 0xD ? 2 * count : count;
        if (count > trailer || refs > (trailer - at) / refSize) return false;
        for (std::uint64_t k = 0; k < refs; ++k) {
            std::uint64_t child = number(at + k * refSize, refSize);
            if (child >= objects) return false;
            stack.push_back({child, v.depth + 1});
        }
    }
    return true;
}

Value fromNode(plist_t node) {
    switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return Value(b != 0);
        }
        case PLIST_UINT: {
            uint64_t v = 0;
            plist_get_uint_val(node, &v);
            return Value(static_cast<long long>(v));
        }
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            return Value(d);
        }
        case PLIST_STRING: {
            uint64_t length = 0;
            const char* s = plist_get_string_ptr(node, &length);
            return Value(std::string_view(s ? s : "", s ? length : 0));
        }
        case PLIST_DATA: {
            char* d = nullptr;
            uint64_t len = 0;
            plist_get_data_val(node, &d, &len);
            Data data(reinterpret_cast<uint8_t*>(d), reinterpret_cast<uint8_t*>(d) + len);
            std::free(d);
            return Value(std::move(data));
        }
        case PLIST_DATE: {
            int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return Value(Date{sec + usec / 1e6});
        }
        case PLIST_ARRAY: {
            Value::Array a;
            uint32_t n = plist_array_get_size(node);
            a.reserve(n);
            for (uint32_t i = 0; i < n; ++i) a.push_back(fromNode(plist_array_get_item(node, i)));
            return Value(std::move(a));
        }
        case PLIST_DICT: {
            Value::Dictionary d;
            d.reserve(plist_dict_get_size(node));
            plist_dict_iter it = nullptr;
            plist_dict_new_iter(node, &it);
            for (;;) {
                char* key = nullptr;
                plist_t item = nullptr;
                plist_dict_next_item(node, it, &key, &item);
                if (!item) break;
                d.emplace(key ? key : "", fromNode(item));
                std::free(key);
            }
            std::free(it);
            return Value(std::move(d));
        }
        case PLIST_UID: {
            uint64_t v = 0;
            plist_get_uid_val(node, &v);
            return Value(static_cast<long long>(v));
        }
        default: return Value();
    }
}

Result<Node> toNode(const Value& v) {
    using K = Value::Kind;
    switch (v.kind()) {
        case K::Bool: return Node(plist_new_bool(v.boolValue()));
        case K::Integer: return Node(plist_new_uint(static_cast<uint64_t>(v.integerValue())));
        case K::Unsigned: return Node(plist_new_uint(v.unsignedLongLongValue()));
        case K::Real:
        case K::Decimal: return Node(plist_new_real(v.doubleValue()));
        case K::String: return Node(plist_new_string(v.string().c_str()));
        case K::Data: {
            const Data& d = v.data();
            return Node(plist_new_data(reinterpret_cast<const char*>(d.data()), d.size()));
        }
        case K::Date: {
            // The format holds whole seconds in 32 bits: clamp to them (a NaN
            // date is kept as the reference date).
            double t = v.date().sinceReferenceDate;
            t = std::isnan(t) ? 0 : std::clamp(t, double(INT32_MIN), double(INT32_MAX));
            double sec = std::floor(t);
            return Node(plist_new_date(static_cast<int32_t>(sec), static_cast<int32_t>((t - sec) * 1e6)));
        }
        case K::Array: {
            Node a(plist_new_array());
            for (const Value& item : v.array()) {
                auto n = toNode(item);
                if (!n) return n.error();
                plist_array_append_item(a.get(), std::move(n).value().release());
            }
            return a;
        }
        case K::Dictionary: {
            Node d(plist_new_dict());
            // Sorted, so that a file's bytes do not depend on the order its keys were set in.
            for (const auto* entry : v.dictionary().sortedEntries()) {
                const auto& [key, item] = *entry;
                auto n = toNode(item);
                if (!n) return Error{"key " + key + ": " + n.error().message};
                plist_dict_set_item(d.get(), key.c_str(), std::move(n).value().release());
            }
            return d;
        }
        default: return Error{"a property list cannot hold " + v.description()};
    }
}

}  // namespace

namespace {

// The checks that keep libplist from aborting or recursing without bound,
// then libplist's parse.
Result<Node> parseTree(std::string_view bytes) {
    if (bytes.empty()) return Error{"empty property list"};
    if (bytes.size() > UINT32_MAX) return Error{"property list too large"};
    if (plist_is_binary(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
        if (!binaryReadable(bytes)) return Error{"binary property list nested too deep, shared or holding a NUL"};
    } else if (bytes.find('\0') != std::string_view::npos) {
        return Error{"a NUL in an XML property list"};
    } else if (!xmlShallowEnough(bytes)) {
        return Error{"property list nested too deep"};
    }
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    if (!root) return Error{"not a property list"};
    return Node(root);
}

}  // namespace

Result<Value> parse(std::string_view bytes) {
    auto tree = parseTree(bytes);
    if (!tree) return tree.error();
    return fromNode(tree->get());
}

Result<std::string> toXml(const Value& value) {
    auto node = toNode(value);
    if (!node) return node.error();
    char* xml = nullptr;
    uint32_t len = 0;
    plist_to_xml(node.value().get(), &xml, &len);
    std::string out(xml ? xml : "", len);
    plist_to_xml_free(xml);
    return out;
}

Result<std::string> toBinary(const Value& value) {
    auto node = toNode(value);
    if (!node) return node.error();
    char* bin = nullptr;
    uint32_t len = 0;
    plist_to_bin(node.value().get(), &bin, &len);
    std::string out(bin ? bin : "", len);
    plist_to_bin_free(bin);
    return out;
}

struct Document::Tree {
    Node root;
};

Document::Document(Value contents) : value_(std::move(contents)) {}
Document::Document(std::unique_ptr<Tree> tree) : tree_(std::move(tree)) {}
Document::~Document() = default;

const Value& Document::value() const {
    if (tree_) std::call_once(converted_, [this] { value_ = fromNode(tree_->root.get()); });
    return value_;
}

namespace {
// The item under a key of a dictionary node; null when there is none. No
// key of a file holds a NUL (the reader refuses them), so none can match one.
plist_t itemForKey(plist_t dict, std::string_view key) {
    if (!dict || plist_get_node_type(dict) != PLIST_DICT || key.find('\0') != std::string_view::npos) return nullptr;
    return plist_dict_get_item(dict, std::string(key).c_str());
}
}  // namespace

Value Document::valueForKey(std::string_view key) const {
    if (!tree_) return value_[key];
    plist_t item = itemForKey(tree_->root.get(), key);
    return item ? fromNode(item) : Value();
}

Value Document::dictionaryWhere(std::string_view arrayKey, std::string_view field, std::string_view text, Match which) const {
    if (!tree_) {
        Value found;
        for (const Value& element : value_[arrayKey].array()) {
            if (const Value& v = element[field]; !v.isString() || v.string() != text) continue;
            found = element;
            if (which == Match::First) break;
        }
        return found;
    }
    plist_t array = itemForKey(tree_->root.get(), arrayKey);
    if (!array || plist_get_node_type(array) != PLIST_ARRAY) return Value();
    plist_array_iter it = nullptr;
    plist_array_new_iter(array, &it);
    plist_t found = nullptr;
    for (;;) {
        plist_t element = nullptr;
        plist_array_next_item(array, it, &element);
        if (!element) break;
        plist_t v = itemForKey(element, field);
        if (!v || plist_get_node_type(v) != PLIST_STRING) continue;
        uint64_t length = 0;
        const char* s = plist_get_string_ptr(v, &length);
        if (!s || std::string_view(s, length) != text) continue;
        found = element;
        if (which == Match::First) break;
    }
    std::free(it);
    return found ? fromNode(found) : Value();
}

// The last contents parsed from the files read again and again (the shared
// preference file above all: every ring and every change reads it several
// times), so that a file is parsed once per change. A file is the same when
// its bytes are: comparing them costs a small part of a parse, and unlike
// inode and modification time it cannot be fooled by a writer that replaces
// the file twice within the file system's clock tick. Every read still
// reaches the disk, and the seam.
class ParsedFiles {
public:
    static ParsedFiles& shared() {
        static auto* p = new ParsedFiles();
        return *p;
    }

    Result<std::shared_ptr<const Document>> parse(const std::string& hostPath, std::string bytes) {
        {
            std::lock_guard guard(mutex_);
            for (const Entry& e : entries_)
                if (e.path == hostPath && e.bytes == bytes) return e.document;
        }
        auto tree = parseTree(bytes);
        if (!tree) return tree.error();
        std::shared_ptr<const Document> document(new Document(std::make_unique<Document::Tree>(Document::Tree{std::move(tree).value()})));
        remember(hostPath, std::move(bytes), document);
        return document;
    }

    void remember(const std::string& hostPath, std::string bytes, std::shared_ptr<const Document> document) {
        std::lock_guard guard(mutex_);
        std::erase_if(entries_, [&](const Entry& e) { return e.path == hostPath; });
        entries_.push_front(Entry{hostPath, std::move(bytes), std::move(document)});
        if (entries_.size() > kLimit) entries_.pop_back();
    }

private:
    static constexpr std::size_t kLimit = 8;
    struct Entry {
        std::string path;
        std::string bytes;
        std::shared_ptr<const Document> document;
    };
    std::mutex mutex_;
    std::deque<Entry> entries_;  // the most recently read first
};

namespace {

// Whether parsing the XML form of `v` gives `v` again: XML dates keep whole
// seconds, and a string is written up to its first NUL.
bool readsBackEqual(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Date: return std::floor(v.date().sinceReferenceDate) == v.date().sinceReferenceDate;
        case Value::Kind::String: return v.string().find('\0') == std::string::npos;
        case Value::Kind::Real: return std::isfinite(v.doubleValue());
        case Value::Kind::Array:
            for (const Value& item : v.array())
                if (!readsBackEqual(item)) return false;
            return true;
        case Value::Kind::Dictionary:
            for (const auto& [key, item] : v.dictionary())
                if (key.find('\0') != std::string::npos || !readsBackEqual(item)) return false;
            return true;
        default: return true;
    }
}

}  // namespace

std::shared_ptr<const Document> readDocument(std::string_view path) {
    static const auto* empty = new std::shared_ptr<const Document>(std::make_shared<const Document>(Value()));
    std::string host = fs::resolve(path);
    auto bytes = fs::readFile(host, kMaxFileSize);
    if (!bytes) {
        if (bytes.error().code == EFBIG) NSLog("plist: %@ is larger than %@ bytes; not read", std::string(path), kMaxFileSize);
        return *empty;
    }
    auto document = ParsedFiles::shared().parse(host, std::move(bytes).value());
    return document ? document.value() : *empty;
}

Value readFile(std::string_view path) { return readDocument(path)->value(); }

bool writeFile(std::string_view path, const Value& value) {
    auto xml = toXml(value);
    if (!xml) {
        NSLog("plist: cannot write %@: %@", std::string(path), xml.error().message);
        return false;
    }
    std::string host = fs::resolve(path);
    auto written = fs::writeFileAtomically(host, *xml);
    if (!written) {
        NSLog("plist: cannot write %@: %@", std::string(path), written.error().message);
        return false;
    }
    // What was written stands for what a reader will parse, unless the XML
    // form loses something of it.
    if (readsBackEqual(value)) ParsedFiles::shared().remember(host, std::move(xml).value(), std::make_shared<const Document>(value));
    return true;
}

namespace {

// Holds an exclusive advisory lock on "<path>.lock" for its lifetime.
class FileLock {
public:
    explicit FileLock(const std::string& hostPath) {
        std::string lockPath = hostPath + ".lock";
        if (int e = fs::detail::fault(fs::testing::Op::Lock)) {
            error_ = e;
            return;
        }
        fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    bool locked() const { return fd_ >= 0; }
    int error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace

bool update(std::string_view path, const std::function<bool(Value::Dictionary&)>& change) {
    std::string host = fs::resolve(path);
    fs::createDirectories(fs::dirname(host));
    FileLock lock(host);
    if (!lock.locked()) {
        NSLog("plist: cannot lock %@: %@", std::string(path), std::string(std::strerror(lock.error())));
        return false;
    }
    Value::Dictionary dict;
    auto bytes = fs::readFile(host, kMaxFileSize);
    std::shared_ptr<const Document> parsed;
    if (bytes) {
        if (auto d = ParsedFiles::shared().parse(host, *bytes); d && (*d)->value().isDictionary()) parsed = std::move(d).value();
    }
    if (parsed) {
        dict = parsed->value().dictionary();
    } else if (bytes || bytes.error().code == EFBIG) {
        // Keep the damaged file for inspection rather than silently dropping it.
        std::string aside = host + ".corrupt";
        NSLog("plist: %@ is %@; kept aside as %@", std::string(path),
              std::string(bytes ? "not a property-list dictionary" : "too large"), aside);
        if (!fs::rename(host, aside)) {
            NSLog("plist: cannot keep %@ aside", std::string(path));
            return false;
        }
    } else if (bytes.error().code != ENOENT) {
        NSLog("plist: cannot read %@: %@", std::string(path), bytes.error().message);
        return false;
    }
    if (!change(dict)) return false;
    return writeFile(host, Value(std::move(dict)));
}

}  // namespace platform::plist
