#include "plugin/PluginInfo.h"

#include "plugin/LibraryPath.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace plugin {
namespace {

// "タスク切替" (task switch) and "タスク一覧メニュー" (task list menu), code page 932.
constexpr char kDisplayName[] = "\x83^\x83X\x83N\x90\xd8\x91\xd6";
constexpr char kCommandName[] = "CommandTaskList";
constexpr char kCommandCaption[] = "\x83^\x83X\x83N\x88\xea\x97\x97\x83\x81\x83j\x83\x85\x81[";

// The plug-in's commands; the host runs command i as MVREvent_Execute(i).
const PluginCommandInfo kCommandTable[] = {
    {const_cast<char*>(kCommandName), const_cast<char*>(kCommandCaption), 0, 0, -1, 4, 0, 0},
};
constexpr int32_t kCommandCount = static_cast<int32_t>(sizeof(kCommandTable) / sizeof(kCommandTable[0]));

void* Allocate(size_t size) {
  void* block = std::calloc(1, size);
  if (!block) throw std::bad_alloc();
  return block;
}

char* CopyText(const char* text) {
  const size_t size = std::strlen(text) + 1;
  auto* copy = static_cast<char*>(Allocate(size));
  std::memcpy(copy, text, size);
  return copy;
}

struct ReleaseOnFailure {
  void operator()(PluginInfo* info) const { ReleasePluginInfo(info); }
};

}  // namespace

FileVersion ReadFileVersion(const std::string& path) {
  FileVersion version;
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return version;
  std::vector<char> buffer(size);
  if (!::GetFileVersionInfoA(path.c_str(), handle, size, buffer.data())) return version;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (::VerQueryValueA(buffer.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
    version.ms = fixed->dwFileVersionMS;
    version.ls = fixed->dwFileVersionLS;
  }
  return version;
}

PluginInfo* BuildPluginInfo(const std::string& fileName) {
  // Zeroed blocks: a record released half-built frees only what it got, and no byte of ours
  // reaches the host uninitialised.
  std::unique_ptr<PluginInfo, ReleaseOnFailure> info(static_cast<PluginInfo*>(Allocate(sizeof(PluginInfo))));
  info->Name = CopyText(kDisplayName);
  info->FileName = CopyText(fileName.c_str());
  const FileVersion version = ReadFileVersion(LibraryPath(fileName));
  info->VersionMS = version.ms;
  info->VersionLS = version.ls;
  info->Commands = static_cast<PluginCommandInfo*>(Allocate(sizeof(kCommandTable)));
  info->CommandCount = kCommandCount;
  for (int32_t i = 0; i < kCommandCount; ++i) {
    PluginCommandInfo& command = info->Commands[i];
    command = kCommandTable[i];
    // Until their copies exist the row must not point at our constants: a failed copy frees it.
    command.Name = nullptr;
    command.Caption = nullptr;
    command.Name = CopyText(kCommandTable[i].Name);
    command.Caption = CopyText(kCommandTable[i].Caption);
  }
  return info.release();
}

void ReleasePluginInfo(PluginInfo* info) {
  if (!info) return;
  if (info->Commands) {
    for (int32_t i = 0; i < info->CommandCount; ++i) {
      std::free(info->Commands[i].Name);
      std::free(info->Commands[i].Caption);
    }
  }
  std::free(info->Commands);
  std::free(info->FileName);
  std::free(info->Name);
  std::free(info);
}

}  // namespace plugin
