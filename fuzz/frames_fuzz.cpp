// The frame decoder over what another process sent: every frame is a message
// or an error, and a declared length is never taken on trust.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "platform/host/frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int fd = ::memfd_create("frames", 0);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) std::abort();
    for (std::size_t done = 0; done < size;) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    ::lseek(fd, 0, SEEK_SET);
    for (;;) {
        auto frame = platform::host::readFrame(fd);
        if (!frame || !*frame) break;
    }
    return 0;
}
