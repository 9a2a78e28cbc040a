// The six functions the host calls. No exception ever leaves one of them: each catches at the
// boundary, and the host sees the results it expects.
#include "plugin/PlugMain.h"
#include "plugin/PluginInfo.h"

#include <windows.h>

namespace {

// The host reads TRUE as all bits set.
constexpr BOOL kTrue = -1;

std::string TextOrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

extern "C" {

plugin::PluginInfo* WINAPI MVREvent_InitPluginInfo(const char* fileName) {
  try {
    plugin::PluginFileName = TextOrEmpty(fileName);
    return plugin::BuildPluginInfo(plugin::PluginFileName);
  } catch (...) {
    return nullptr;  // memory is exhausted
  }
}

void WINAPI MVREvent_FreePluginInfo(plugin::PluginInfo* info) { plugin::ReleasePluginInfo(info); }

BOOL WINAPI MVREvent_Init(const char* fileName, DWORD /*pluginId*/) {
  try {
    plugin::Init(TextOrEmpty(fileName));
  } catch (...) {
    // Nothing sensible to report: the host takes no failure from Init.
  }
  return kTrue;
}

void WINAPI MVREvent_Unload() {
  try {
    plugin::Unload();
  } catch (...) {
  }
}

BOOL WINAPI MVREvent_Execute(int commandId, HWND /*hostWindow*/) {
  try {
    plugin::Execute(commandId);
  } catch (...) {
  }
  return kTrue;
}

void WINAPI MVREvent_WindowsHook(DWORD /*msg*/, DWORD /*wParam*/, DWORD /*lParam*/) {}

}  // extern "C"
