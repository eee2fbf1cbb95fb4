// dlopen and dlsym over the platform libraries this process has (BackBoardServices,
// libactivator, ...): each registers its path and exported symbols; a library
// that boot leaves out is not found. Called qualified (platform::dlopen).
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

}  // namespace platform
