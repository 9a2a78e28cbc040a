// The records that tell the host what the plug-in is and which commands it offers. Their layout is
// the host's: packed, little-endian, with pointers of the build's width (32 bits in the product).
#pragma once

#include <cstdint>
#include <string>

namespace plugin {

#pragma pack(push, 1)
struct PluginCommandInfo {
  char* Name;
  char* Caption;
  int32_t HostInt1;
  int32_t HostInt2;
  int32_t HostInt3;
  int32_t HostInt4;
  int32_t HostInt5;
  int32_t HostInt6;
};

struct PluginInfo {
  uint16_t HostWord1;
  char* Name;
  char* FileName;
  uint16_t HostWord2;
  uint32_t VersionMS;
  uint32_t VersionLS;
  int32_t CommandCount;
  PluginCommandInfo* Commands;
  uint32_t HostValue;
};
#pragma pack(pop)

static_assert(sizeof(void*) != 4 || sizeof(PluginInfo) == 32, "the host reads a 32-byte record");
static_assert(sizeof(void*) != 4 || sizeof(PluginCommandInfo) == 32, "the host reads 32-byte command rows");

struct FileVersion {
  uint32_t ms = 0;
  uint32_t ls = 0;
};

// The fixed file version of the file's version resource; 0, 0 when it has none.
FileVersion ReadFileVersion(const std::string& path);

// A new record, every block of it from the plug-in's own heap; the version is that of
// LibraryPath(fileName). Throws std::bad_alloc, having
// released what it had built, when memory runs out.
PluginInfo* BuildPluginInfo(const std::string& fileName);
// Frees the record and every block it points to.
void ReleasePluginInfo(PluginInfo* info);

}  // namespace plugin
