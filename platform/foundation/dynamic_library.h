// dlopen and dlsym over the platform libraries this process has (BackBoardServices,
// libactivator, ...): each registers its path and exported symbols; a library
// that boot leaves out is not found. Called qualified (platform::dlopen).
// Besides, loadDeviceLibrary opens a real library file of the device.
#pragma once

#include <dlfcn.h>

#include <map>
#include <string>
#include <string_view>

namespace platform {

void registerLibrary(std::string path, std::map<std::string, void*, std::less<>> symbols);
void* dlopen(const char* path, int mode);
void* dlsym(void* handle, const char* symbol);
const char* dlerror();

// Loads a library file of the device (a tweak library, a settings bundle's
// executable) with the system's dlopen, for the life of the process, so that
// its start-up runs here over the one platform already loaded; false, with a
// log line, when it does not load.
bool loadDeviceLibrary(std::string_view devicePath);

}  // namespace platform
