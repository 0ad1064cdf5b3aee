#include "QelLibrary.h"

#include <dlfcn.h>

#include <string>

void* QelGetFunctionAddress(const char* library, const char* function) {
  const std::string name = std::string("lib") + library + ".so";
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  return handle ? dlsym(handle, function) : nullptr;
}
