#include "platform/frameworks/process_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/foundation/file_system.h"

extern char** environ;

namespace platform::processRunner {

namespace {
std::mutex& runnerMutex() {
    static auto* m = new std::mutex();
    return *m;
}
Runner& replacement() {
    static auto* r = new Runner();
    return *r;
}
}  // namespace

Outcome run(const std::vector<std::string>& argv, const std::string& outputPath, double timeoutSeconds) {
    Runner r;
    {
        std::lock_guard guard(runnerMutex());
        r = replacement();
    }
    return r ? r(argv, outputPath, timeoutSeconds) : runForReal(argv, outputPath, timeoutSeconds);
}

void setRunner(Runner runner) {
    std::lock_guard guard(runnerMutex());
    replacement() = std::move(runner);
}

Outcome runForReal(const std::vector<std::string>& argv, const std::string& outputPath, double timeoutSeconds) {
    Outcome out;
    if (argv.empty()) return out;
    int outputFd = ::open(fs::resolve(outputPath).c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (outputFd < 0) return out;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{outputFd};
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    int error = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return out;
    out.started = true;
    // A program that cannot even be executed ends with 127.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    for (;;) {
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) return out;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            out.timedOut = true;
            return out;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    out.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

Result<std::string> createPrivateTemporaryFile(std::string_view deviceFolder, std::string_view prefix) {
    std::string folder(deviceFolder);
    fs::createDirectories(folder);
    std::string pattern = fs::resolve(fs::join(folder, std::string(prefix) + ".XXXXXX"));
    // mkstemp makes the file with O_EXCL and mode 0600: nothing planted there is opened.
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return Error{std::string("mkstemp: ") + std::strerror(errno), errno};
    ::close(fd);
    return fs::join(folder, fs::basename(pattern));
}

}  // namespace platform::processRunner
