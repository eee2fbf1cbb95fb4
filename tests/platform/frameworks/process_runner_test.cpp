#include "platform/frameworks/process_runner.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/foundation/file_system.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class ProcessRunner : public ::testing::Test {
protected:
    std::string output() {
        auto file = processRunner::createPrivateTemporaryFile("/tmp", "out");
        EXPECT_TRUE(file.ok());
        return file.ok() ? file.value() : std::string();
    }
    testing::TestEnvironment env;
};

TEST_F(ProcessRunner, RunsAHostProgramIntoTheFileAndTellsHowItEnded) {
    std::string out = output();
    auto echo = processRunner::run({"/bin/echo", "hello", "world"}, out, 5.0);
    EXPECT_TRUE(echo.succeeded());
    EXPECT_EQ(fs::readFile(out).value(), "hello world\n");

    auto failing = processRunner::run({"/bin/sh", "-c", "echo partial; exit 3"}, out, 5.0);
    EXPECT_TRUE(failing.started);
    EXPECT_EQ(failing.exitStatus, 3);
    EXPECT_FALSE(failing.succeeded());
    EXPECT_EQ(fs::readFile(out).value(), "partial\n");  // the file is written afresh

    auto missing = processRunner::run({"/no/such/program"}, out, 5.0);
    EXPECT_FALSE(missing.succeeded());
}

TEST_F(ProcessRunner, AProgramThatTakesTooLongIsKilledAtTheLimit) {
    auto start = std::chrono::steady_clock::now();
    auto slow = processRunner::run({"/bin/sleep", "30"}, output(), 0.2);
    double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(slow.started);
    EXPECT_TRUE(slow.timedOut);
    EXPECT_FALSE(slow.succeeded());
    EXPECT_LT(took, 5.0);
}

TEST_F(ProcessRunner, ItWritesNeitherThroughALinkNorIntoAFileThatIsMissing) {
    std::ofstream(env.hostPath("/var/mobile/victim")) << "precious";
    std::filesystem::create_symlink(env.hostPath("/var/mobile/victim"), env.hostPath("/tmp/link"));
    EXPECT_FALSE(processRunner::run({"/bin/echo", "x"}, "/tmp/link", 5.0).started);
    EXPECT_EQ(fs::readFile("/var/mobile/victim").value(), "precious");
    EXPECT_FALSE(processRunner::run({"/bin/echo", "x"}, "/tmp/missing", 5.0).started);
    EXPECT_FALSE(fs::exists("/tmp/missing"));
}

TEST_F(ProcessRunner, PrivateTemporaryFilesAreNewEmptyAndTheUsersOnly) {
    std::set<std::string> made;
    for (int i = 0; i < 3; ++i) {
        std::string path = output();
        EXPECT_EQ(fs::dirname(path), "/tmp");
        EXPECT_EQ(fs::basename(path).rfind("out.", 0), 0u);
        EXPECT_EQ(fs::readFile(path).value(), "");
        struct stat info {};
        ASSERT_EQ(::stat(fs::resolve(path).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        made.insert(path);
    }
    EXPECT_EQ(made.size(), 3u);
}

TEST_F(ProcessRunner, TestsReplaceTheRunner) {
    processRunner::setRunner([](const std::vector<std::string>& argv, const std::string&, double timeout) {
        return processRunner::Outcome{true, false, static_cast<int>(argv.size() + static_cast<std::size_t>(timeout))};
    });
    EXPECT_EQ(processRunner::run({"a", "b"}, "/tmp/x", 3.0).exitStatus, 5);
    processRunner::setRunner({});
    EXPECT_TRUE(processRunner::run({"/bin/true"}, output(), 5.0).succeeded());
}

}  // namespace
}  // namespace platform
