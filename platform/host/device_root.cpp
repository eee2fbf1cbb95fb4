#include "platform/host/device_root.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace platform::host {

namespace stdfs = std::filesystem;

std::string makeDeviceRoot(const std::string& staged) {
    std::string pattern = (stdfs::temp_directory_path() / "rousa-device-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    stdfs::path root(pattern);
    if (!staged.empty() && stdfs::exists(staged))
        stdfs::copy(staged, root, stdfs::copy_options::recursive | stdfs::copy_options::overwrite_existing | stdfs::copy_options::copy_symlinks);
    stdfs::create_directories(root / "var/mobile/Library/Preferences");
    stdfs::create_directories(root / "tmp");
    return root.string();
}

void removeDeviceRoot(const std::string& root) {
    std::error_code ec;
    if (!root.empty()) stdfs::remove_all(root, ec);
}

}  // namespace platform::host
