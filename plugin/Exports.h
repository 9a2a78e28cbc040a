// The types of the six functions the plug-in exports, for whoever loads it.
#pragma once

#include "plugin/PluginInfo.h"

#include <windows.h>

namespace plugin {

using InitPluginInfoFn = PluginInfo*(WINAPI*)(const char* fileName);
using FreePluginInfoFn = void(WINAPI*)(PluginInfo* info);
using InitFn = BOOL(WINAPI*)(const char* fileName, DWORD pluginId);
using UnloadFn = void(WINAPI*)();
using ExecuteFn = BOOL(WINAPI*)(int commandId, HWND hostWindow);
using WindowsHookFn = void(WINAPI*)(DWORD msg, DWORD wParam, DWORD lParam);

}  // namespace plugin
