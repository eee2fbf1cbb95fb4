#include "platform/foundation/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>

namespace platform::fs {

namespace {
struct State {
    std::mutex mutex;
    std::string root;
    struct Fault {
        int remaining;
        int error;
    };
    std::multimap<testing::Op, Fault> faults;
    std::map<testing::Op, std::function<void()>> hooks;
};
State& state() {
    static State* s = new State();
    return *s;
}

Error errnoError(std::string_view what, std::string_view path, int code) {
    return Error{std::string(what) + " " + std::string(path) + ": " + std::strerror(code), code};
}
}  // namespace

void setDeviceRoot(std::string hostFolder) {
    while (hostFolder.size() > 1 && hostFolder.back() == '/') hostFolder.pop_back();
    std::lock_guard guard(state().mutex);
    state().root = std::move(hostFolder);
}

const std::string& deviceRoot() { return state().root; }

std::string resolve(std::string_view devicePath) {
    const std::string& root = deviceRoot();
    if (root.empty() || devicePath.empty() || devicePath[0] != '/') return std::string(devicePath);
    // A path already under the root stays as it is.
    if (devicePath.substr(0, root.size()) == root && (devicePath.size() == root.size() || devicePath[root.size()] == '/'))
        return std::string(devicePath);
    return root + std::string(devicePath);
}

namespace detail {
int fault(testing::Op op) {
    std::function<void()> hook;
    int error = 0;
    {
        auto& s = state();
        std::lock_guard guard(s.mutex);
        if (auto it = s.hooks.find(op); it != s.hooks.end()) hook = it->second;
        auto [lo, hi] = s.faults.equal_range(op);
        for (auto it = lo; it != hi; ++it) {
            if (--it->second.remaining == 0) {
                error = it->second.error;
                s.faults.erase(it);
                break;
            }
        }
    }
    if (hook) hook();
    return error;
}
}  // namespace detail

namespace testing {
void failNth(Op op, int n, int error) {
    std::lock_guard guard(state().mutex);
    state().faults.emplace(op, State::Fault{n, error});
}
void beforeEach(Op op, std::function<void()> action) {
    std::lock_guard guard(state().mutex);
    state().hooks[op] = std::move(action);
}
void reset() {
    std::lock_guard guard(state().mutex);
    state().faults.clear();
    state().hooks.clear();
}
}  // namespace testing

bool exists(std::string_view path) {
    struct stat st;
    return ::stat(resolve(path).c_str(), &st) == 0;
}

bool isDirectory(std::string_view path) {
    struct stat st;
    return ::stat(resolve(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool createDirectories(std::string_view path) {
    std::string host = resolve(path);
    for (std::size_t pos = 1; pos <= host.size(); ++pos) {
        if (pos != host.size() && host[pos] != '/') continue;
        std::string part = host.substr(0, pos);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

Result<std::string> readFile(std::string_view path, std::size_t limit) { return readHostFile(resolve(path), limit); }

Result<std::string> readHostFile(std::string_view hostPath, std::size_t limit) {
    std::string host(hostPath);
    std::string_view path = hostPath;
    if (int e = detail::fault(testing::Op::Open)) return errnoError("open", path, e);
    int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errnoError("open", path, errno);
    // Read straight into a string of the file's size (and a byte more, to see
    // the end in the same call); a file that grows meanwhile is read on, up
    // to the limit.
    struct stat st;
    std::size_t expected = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    auto tooLarge = [&] {
        ::close(fd);
        return errnoError("read", path, EFBIG);
    };
    if (expected > limit) return tooLarge();
    std::string data(expected + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        if (int e = detail::fault(testing::Op::Read)) {
            ::close(fd);
            return errnoError("read", path, e);
        }
        // One byte past the limit is enough to know the file is too large.
        if (size == data.size()) data.resize(std::min(data.size() * 2, limit < SIZE_MAX ? limit + 1 : limit));
        ssize_t n = ::read(fd, data.data() + size, data.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int e = errno;
            ::close(fd);
            return errnoError("read", path, e);
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
        if (size > limit) return tooLarge();
    }
    ::close(fd);
    data.resize(size);
    return data;
}

namespace {
// Removes "<file>.XXXXXX" temporary files (mkstemp's six letters or digits)
// not touched for a minute: their writers were killed before the rename.
void removeStaleTemporaryFiles(const std::string& folder, const std::string& name) {
    const std::time_t now = std::time(nullptr);
    for (const std::string& n : listDirectory(folder.empty() ? "." : folder)) {
        if (n.size() != name.size() + 7 || n.compare(0, name.size(), name) != 0 || n[name.size()] != '.') continue;
        std::string_view suffix = std::string_view(n).substr(name.size() + 1);
        if (!std::all_of(suffix.begin(), suffix.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        std::string temp = join(folder, n);
        struct stat st;
        if (::lstat(temp.c_str(), &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime > 60) ::unlink(temp.c_str());
    }
}
}  // namespace

Result<bool> writeFileAtomically(std::string_view path, std::string_view contents) {
    std::string host = resolve(path);
    std::string folder = host.substr(0, host.rfind('/') == std::string::npos ? 0 : host.rfind('/'));
    if (!folder.empty() && !createDirectories(folder)) return errnoError("mkdir", folder, errno);
    removeStaleTemporaryFiles(folder, basename(host));
    std::string temp = host + ".XXXXXX";
    if (int e = detail::fault(testing::Op::Open)) return errnoError("create", path, e);
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return errnoError("create", temp, errno);
    ::fchmod(fd, 0644);
    auto fail = [&](std::string_view what, int e) -> Result<bool> {
        ::close(fd);
        ::unlink(temp.c_str());
        return errnoError(what, path, e);
    };
    for (std::size_t done = 0; done < contents.size();) {
        if (int e = detail::fault(testing::Op::Write)) return fail("write", e);
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail("write", errno);
        done += static_cast<std::size_t>(n);
    }
    if (int e = detail::fault(testing::Op::Sync)) return fail("fsync", e);
    if (::fsync(fd) != 0) return fail("fsync", errno);
    ::close(fd);
    if (int e = detail::fault(testing::Op::Rename)) {
        ::unlink(temp.c_str());
        return errnoError("rename", path, e);
    }
    if (::rename(temp.c_str(), host.c_str()) != 0) {
        int e = errno;
        ::unlink(temp.c_str());
        return errnoError("rename", path, e);
    }
    // Make the rename itself durable.
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool removeFile(std::string_view path) { return ::unlink(resolve(path).c_str()) == 0; }

bool rename(std::string_view from, std::string_view to) {
    if (detail::fault(testing::Op::Rename)) return false;
    return ::rename(resolve(from).c_str(), resolve(to).c_str()) == 0;
}

std::vector<std::string> listDirectory(std::string_view path) {
    std::vector<std::string> names;
    DIR* d = ::opendir(resolve(path).c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

bool removeAll(std::string_view path) {
    std::error_code ec;
    auto removed = std::filesystem::remove_all(resolve(path), ec);
    return !ec && removed > 0;
}

Result<double> modificationTime(std::string_view path) {
    std::string host = resolve(path);
    struct stat st {};
    if (::stat(host.c_str(), &st) != 0) return errnoError("stat", path, errno);
    return static_cast<double>(st.st_mtim.tv_sec) + static_cast<double>(st.st_mtim.tv_nsec) / 1e9;
}

bool setModificationTime(std::string_view path, double unixSeconds) {
    double whole = std::floor(unixSeconds);
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(whole);
    times[1].tv_nsec = static_cast<long>((unixSeconds - whole) * 1e9);
    return ::utimensat(AT_FDCWD, resolve(path).c_str(), times, 0) == 0;
}

std::string dirname(std::string_view path) {
    auto pos = path.rfind('/');
    if (pos == std::string_view::npos) return ".";
    if (pos == 0) return "/";
    return std::string(path.substr(0, pos));
}

std::string basename(std::string_view path) {
    auto pos = path.rfind('/');
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string join(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    if (folder.back() == '/') return std::string(folder) + std::string(name);
    return std::string(folder) + "/" + std::string(name);
}

}  // namespace platform::fs
