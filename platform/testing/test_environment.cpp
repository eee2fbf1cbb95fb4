#include "platform/testing/test_environment.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "platform/foundation/file_system.h"
#include "platform/host/device_root.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/curl_transport.h"

namespace platform::testing {

namespace stdfs = std::filesystem;

std::string makeDeviceRoot() {
    const char* staged = std::getenv("ROUSA_STAGED_RESOURCES");
    return host::makeDeviceRoot(staged ? staged : "");
}

void removeDeviceRoot(const std::string& root) { host::removeDeviceRoot(root); }

TestEnvironment::TestEnvironment(host::BootOptions options, bool bootNow) : root_(makeDeviceRoot()), options_(std::move(options)) {
    if (options_.deviceRoot.empty()) options_.deviceRoot = root_;
    if (!options_.virtualClockStart) options_.virtualClockStart = Date::fromUnix(kDefaultStart);
    if (bootNow) boot();
}

TestEnvironment::~TestEnvironment() { removeDeviceRoot(root_); }

void TestEnvironment::boot() {
    host::boot(options_);
    network::setLoopbackOnly(true);
}

std::string TestEnvironment::hostPath(const std::string& devicePath) const { return root_ + devicePath; }

namespace {

void writeAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::pair<int, int> startChild(const host::BootOptions* options, const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
    pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        std::string result;
        int code = 0;
        try {
            if (options) {
                if (host::isBooted()) throw std::logic_error("the parent booted already; use the inheriting form");
                host::BootOptions o = *options;
                if (o.deviceRoot.empty()) o.deviceRoot = fs::deviceRoot();
                if (!o.virtualClockStart) o.virtualClockStart = Date::fromUnix(kDefaultStart);
                host::boot(o);
                network::setLoopbackOnly(true);
            }
            result = body();
        } catch (const std::exception& e) {
            result = std::string("<exception: ") + e.what() + ">";
            code = 1;
        }
        writeAll(fds[1], result);
        ::close(fds[1]);
        ::_exit(code);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

std::string collect(int pid, int fd) {
    std::string out;
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) return out + "<crashed: signal " + std::to_string(WTERMSIG(status)) + ">";
    return out;
}

}  // namespace

std::string runInChild(const host::BootOptions& options, const std::function<std::string()>& body) { return ChildProcess(options, body).wait(); }

std::string runInChild(const std::function<std::string()>& body) { return ChildProcess(body).wait(); }

ChildProcess::ChildProcess(const host::BootOptions& options, const std::function<std::string()>& body) {
    host::BootOptions o = options;
    // Without a root of its own or its parent's, the child would use this machine's own /var and /Library.
    if (o.deviceRoot.empty() && fs::deviceRoot().empty()) o.deviceRoot = ownRoot_ = makeDeviceRoot();
    std::tie(pid_, fd_) = startChild(&o, body);
}

ChildProcess::ChildProcess(const std::function<std::string()>& body) { std::tie(pid_, fd_) = startChild(nullptr, body); }

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), fd_(std::exchange(other.fd_, -1)), ownRoot_(std::move(other.ownRoot_)) {
    other.ownRoot_.clear();
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) wait();
}

std::string ChildProcess::wait() {
    if (pid_ <= 0) return {};
    std::string r = collect(pid_, fd_);
    pid_ = -1;
    fd_ = -1;
    if (!ownRoot_.empty()) removeDeviceRoot(std::exchange(ownRoot_, std::string()));
    return r;
}

void advance(double seconds) { RunLoop::main().advance(seconds); }

}  // namespace platform::testing
