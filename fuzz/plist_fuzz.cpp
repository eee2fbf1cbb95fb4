// The property-list reader, XML and binary, as every process reads the shared
// preference file; then the locked update over the same bytes as a file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"

using namespace platform;

namespace {
const char* const kPath = "/var/mobile/Library/Preferences/fuzz.plist";

void useScratchRoot() {
    static bool done = [] {
        // In memory where the machine has it: the writer syncs every file.
        char shm[] = "/dev/shm/rousa-fuzz-plist-XXXXXX", tmp[] = "/tmp/rousa-fuzz-plist-XXXXXX";
        char* folder = ::mkdtemp(shm);
        if (!folder) folder = ::mkdtemp(tmp);
        if (!folder) std::abort();
        fs::setDeviceRoot(folder);
        fs::createDirectories(fs::dirname(kPath));
        return true;
    }();
    (void)done;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    useScratchRoot();
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto v = plist::parse(bytes)) {
        // What was read can be saved again and read back. (The binary writer
        // drops strings that are not UTF-8, so its output is only read.)
        if (auto xml = plist::toXml(*v); xml && !plist::parse(*xml)) std::abort();
        if (auto bin = plist::toBinary(*v)) (void)plist::parse(*bin);
    }
    std::string host = fs::resolve(kPath);
    fs::removeFile(kPath);
    if (size > 0 && !fs::writeFileAtomically(kPath, bytes)) std::abort();
    // The update always ends with a dictionary holding the key it set.
    bool updated = plist::update(kPath, [](Value::Dictionary& d) {
        d["fuzz"] = Value(1);
        return true;
    });
    if (!updated || plist::readFile(kPath)["fuzz"].intValue() != 1) std::abort();
    fs::removeFile(std::string(kPath) + ".corrupt");
    return 0;
}
