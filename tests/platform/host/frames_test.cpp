#include "platform/host/frames.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/foundation/log.h"
#include "platform/host/controlled_host.h"
#include "platform/testing/test_environment.h"

namespace platform::host {
namespace {

// A pipe holding `bytes`, its writing end closed.
int pipeWith(const std::string& bytes) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    EXPECT_EQ(::write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fds[1]);
    return fds[0];
}

std::string header(std::uint32_t size) {
    return {static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8), static_cast<char>(size)};
}

TEST(Frames, AMessageCrossesAndAClosedPipeIsTheEnd) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    Value message(Value::Dictionary{{"op", Value("call")}, {"n", Value(3)}});
    ASSERT_TRUE(writeFrame(fds[1], message));
    ::close(fds[1]);
    auto first = readFrame(fds[0]);
    ASSERT_TRUE(first && *first);
    EXPECT_EQ(**first, message);
    auto end = readFrame(fds[0]);
    ASSERT_TRUE(end);
    EXPECT_FALSE(*end);
    ::close(fds[0]);
}

TEST(Frames, ALargeOrMalformedFrameIsAnErrorAndNothingIsAllocatedForIt) {
    struct Case {
        std::string bytes, error;
    } cases[] = {
        {header(0xffffffff), "larger than"},
        {header(kMaxFrameSize + 1) + "x", "larger than"},
        {std::string("\0\0", 2), "header cut short"},
        {header(100) + "bplist00", "cut short"},
        {header(7) + "garbage", "not a property-list dictionary"},
        {header(0), "not a property-list dictionary"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        int fd = pipeWith(c.bytes);
        auto frame = readFrame(fd);
        ::close(fd);
        ASSERT_FALSE(frame);
        EXPECT_NE(frame.error().message.find(c.error), std::string::npos) << frame.error().message;
    }
}

TEST(Frames, AHostGivenAMalformedFrameLogsAndEndsWithAnError) {
    std::string root = testing::makeDeviceRoot();
    std::string result = testing::runInChild([&] {
        int in = pipeWith(header(0xffffffff));
        int out[2];
        if (::pipe(out) != 0) return std::string("no pipe");
        BootOptions options;
        options.deviceRoot = root;
        options.virtualClockStart = Date::fromUnix(testing::kDefaultStart);
        int status = runControlledHost(options, in, out[1], {});
        return std::to_string(status) + (log::contains("closing the connection to the device: frame of 4294967295 bytes") ? " logged" : "");
    });
    testing::removeDeviceRoot(root);
    EXPECT_EQ(result, "2 logged");
}

}  // namespace
}  // namespace platform::host
