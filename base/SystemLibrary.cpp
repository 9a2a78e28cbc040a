#include "base/SystemLibrary.h"

#include <string>

namespace base {
namespace {

// A full path is searched nowhere else.
unique_hmodule LoadFromSystemFolderPath(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string path = std::string(folder, length) + "\\" + name;
  return unique_hmodule(::LoadLibraryExA(path.c_str(), nullptr, 0));
}

}  // namespace

unique_hmodule LoadSystemLibrary(const char* name) {
  unique_hmodule library(::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  // Vista, and 7 without its loader update (KB2533623), refuse the flag.
  if (library || ::GetLastError() != ERROR_INVALID_PARAMETER) return library;
  return LoadFromSystemFolderPath(name);
}

}  // namespace base
