#include "platform/foundation/plist.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"

namespace platform::plist {

namespace {

struct NodeDeleter {
    void operator()(void* n) const { plist_free(static_cast<plist_t>(n)); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

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
            char* s = nullptr;
            plist_get_string_val(node, &s);
            Value v(s ? s : "");
            std::free(s);
            return v;
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
            double t = v.date().sinceReferenceDate;
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
            for (const auto& [key, item] : v.dictionary()) {
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

Result<Value> parse(std::string_view bytes) {
    if (bytes.empty()) return Error{"empty property list"};
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    if (!root) return Error{"not a property list"};
    Node holder(root);
    return fromNode(root);
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

Value readFile(std::string_view path) {
    auto bytes = fs::readFile(path);
    if (!bytes) return Value();
    auto v = parse(*bytes);
    return v ? v.value() : Value();
}

bool writeFile(std::string_view path, const Value& value) {
    auto xml = toXml(value);
    if (!xml) {
        NSLog("plist: cannot write %@: %@", std::string(path), xml.error().message);
        return false;
    }
    auto written = fs::writeFileAtomically(path, *xml);
    if (!written) {
        NSLog("plist: cannot write %@: %@", std::string(path), written.error().message);
        return false;
    }
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
    auto bytes = fs::readFile(host);
    if (bytes) {
        auto parsed = parse(*bytes);
        if (parsed && parsed->isDictionary()) {
            dict = parsed->dictionary();
        } else {
            // Keep the damaged file for inspection rather than silently dropping it.
            std::string aside = host + ".corrupt";
            NSLog("plist: %@ is not a property-list dictionary; kept aside as %@", std::string(path), aside);
            if (!fs::rename(host, aside)) {
                NSLog("plist: cannot keep %@ aside", std::string(path));
                return false;
            }
        }
    } else if (bytes.error().code != ENOENT) {
        NSLog("plist: cannot read %@: %@", std::string(path), bytes.error().message);
        return false;
    }
    if (!change(dict)) return false;
    return writeFile(host, Value(std::move(dict)));
}

}  // namespace platform::plist
