// Stand-in host: loads a plug-in DLL the way the launcher does and drives it from a normal
// message loop.
//
//   swivo-host PLUGIN.dll [--execute-after MS] [--quit-after MS] [--hotkey] [--hold-menu MS]
//              [--sample-windows] [--type TEXT]
//
// It prints the information record, initialises the plug-in, runs command 0 when its button is
// clicked, on Ctrl+Alt+T (--hotkey), or once after MS milliseconds (--execute-after), and with
// --quit-after closes an open menu and quits after MS milliseconds. On exit it unloads the
// plug-in and frees the library. --hold-menu prints "menu open" once the open menu has drawn its
// items, so that a script can take a picture of the screen, then closes it after MS milliseconds
// and quits. --sample-windows opens sample application windows in the host's
// own process (see SampleWindows.h). --type types TEXT into the open menu before it prints "menu open".
#include "SampleWindows.h"
#include "plugin/Exports.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int kHotKeyId = 1;
constexpr UINT_PTR kExecuteTimer = 1;
constexpr UINT_PTR kCloseMenuTimer = 2;
constexpr UINT_PTR kQuitTimer = 3;
constexpr UINT_PTR kMenuPollTimer = 4;
constexpr UINT kMenuPollMs = 200;
constexpr UINT kMenuDrawnAfterPolls = 3;  // give the open menu time to draw its items
constexpr UINT kQuitDelayAfterMenuMs = 500;
constexpr int kRunButtonId = 100;

struct Plugin {
  plugin::InitPluginInfoFn initPluginInfo;
  plugin::FreePluginInfoFn freePluginInfo;
  plugin::InitFn init;
  plugin::UnloadFn unload;
  plugin::ExecuteFn execute;
};

Plugin plug;
HWND hostWindow;
UINT menuHoldMs = 0;
UINT pollsWithMenuOpen = 0;
std::string typed;  // --type

HWND OpenMenuWindow() {
  HWND menu = ::FindWindowA("#32768", nullptr);
  return menu && ::IsWindowVisible(menu) ? menu : nullptr;
}

void CloseMenuAndQuit(HWND wnd) {
  // With typed text the first Esc clears what was typed.
  for (int i = typed.empty() ? 1 : 2; i > 0; --i) {
    if (HWND menu = OpenMenuWindow()) ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  ::SetTimer(wnd, kQuitTimer, kQuitDelayAfterMenuMs, nullptr);
}

void PollForOpenMenu(HWND wnd) {
  if (!OpenMenuWindow() || ++pollsWithMenuOpen < kMenuDrawnAfterPolls) return;
  ::KillTimer(wnd, kMenuPollTimer);
  for (const char c : typed) ::PostMessageA(OpenMenuWindow(), WM_CHAR, static_cast<unsigned char>(c), 0);
  std::printf("menu open\n");
  std::fflush(stdout);
  ::SetTimer(wnd, kCloseMenuTimer, menuHoldMs, nullptr);
}

template <typename Function>
Function Export(HMODULE module, const char* name) {
  auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  if (!function) {
    std::fprintf(stderr, "swivo-host: the plug-in does not export %s\n", name);
    std::exit(2);
  }
  return function;
}

// The record's texts are in code page 932; the console may use another.
std::string FromCp932(const char* text) {
  wchar_t wide[512] = {};
  ::MultiByteToWideChar(932, 0, text, -1, wide, 511);
  char out[1024] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, sizeof(out) - 1, nullptr, nullptr);
  return out;
}

void PrintRecord(const plugin::PluginInfo& info) {
  std::printf("plug-in  %s\nfile     %s\nversion  %u.%u.%u.%u\n", FromCp932(info.Name).c_str(), info.FileName,
              static_cast<unsigned>(info.VersionMS >> 16), static_cast<unsigned>(info.VersionMS & 0xFFFF),
              static_cast<unsigned>(info.VersionLS >> 16), static_cast<unsigned>(info.VersionLS & 0xFFFF));
  for (int i = 0; i < info.CommandCount; ++i) {
    std::printf("command  %d: %s \"%s\"\n", i, info.Commands[i].Name, FromCp932(info.Commands[i].Caption).c_str());
  }
  std::fflush(stdout);
}

void RunCommand() { plug.execute(0, hostWindow); }

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kRunButtonId) RunCommand();
      return 0;
    case WM_HOTKEY:
      if (wParam == kHotKeyId) RunCommand();
      return 0;
    case WM_TIMER:
      if (wParam == kMenuPollTimer) {
        PollForOpenMenu(wnd);
        return 0;
      }
      ::KillTimer(wnd, wParam);
      if (wParam == kExecuteTimer) RunCommand();
      if (wParam == kCloseMenuTimer) CloseMenuAndQuit(wnd);
      if (wParam == kQuitTimer) ::DestroyWindow(wnd);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(wnd, msg, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: swivo-host PLUGIN.dll [--execute-after MS] [--quit-after MS] [--hotkey] [--hold-menu MS]"
                 " [--sample-windows] [--type TEXT]\n");
    return 2;
  }
  char fullPath[MAX_PATH] = {};
  ::GetFullPathNameA(argv[1], MAX_PATH, fullPath, nullptr);
  HMODULE library = ::LoadLibraryA(fullPath);
  if (!library) {
    std::fprintf(stderr, "swivo-host: cannot load %s (error %lu)\n", fullPath, ::GetLastError());
    return 2;
  }
  plug = {Export<plugin::InitPluginInfoFn>(library, "MVREvent_InitPluginInfo"),
          Export<plugin::FreePluginInfoFn>(library, "MVREvent_FreePluginInfo"),
          Export<plugin::InitFn>(library, "MVREvent_Init"), Export<plugin::UnloadFn>(library, "MVREvent_Unload"),
          Export<plugin::ExecuteFn>(library, "MVREvent_Execute")};

  plugin::PluginInfo* info = plug.initPluginInfo(fullPath);
  if (info) PrintRecord(*info);
  plug.freePluginInfo(info);

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &HostProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "SwivoHost";
  ::RegisterClassA(&windowClass);
  hostWindow = ::CreateWindowExA(0, "SwivoHost", "swivo host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 260, 110,
                                 nullptr, nullptr, windowClass.hInstance, nullptr);
  ::CreateWindowExA(0, "BUTTON", "Task list menu", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 200, 30, hostWindow,
                    reinterpret_cast<HMENU>(kRunButtonId), windowClass.hInstance, nullptr);
  plug.init(fullPath, 0);

  std::unique_ptr<SampleWindows> samples;
  for (int i = 2; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--sample-windows")) {
      samples = std::make_unique<SampleWindows>();
    } else if (!std::strcmp(argv[i], "--type") && i + 1 < argc) {
      typed = argv[++i];
    } else if (!std::strcmp(argv[i], "--hotkey")) {
      ::RegisterHotKey(hostWindow, kHotKeyId, MOD_CONTROL | MOD_ALT, 'T');
    } else if (!std::strcmp(argv[i], "--execute-after") && i + 1 < argc) {
      ::SetTimer(hostWindow, kExecuteTimer, static_cast<UINT>(std::atoi(argv[++i])), nullptr);
    } else if (!std::strcmp(argv[i], "--hold-menu") && i + 1 < argc) {
      menuHoldMs = static_cast<UINT>(std::atoi(argv[++i]));
      ::SetTimer(hostWindow, kMenuPollTimer, kMenuPollMs, nullptr);
    } else if (!std::strcmp(argv[i], "--quit-after") && i + 1 < argc) {
      ::SetTimer(hostWindow, kCloseMenuTimer, static_cast<UINT>(std::atoi(argv[++i])), nullptr);
    }
  }

  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  plug.unload();
  ::FreeLibrary(library);
  std::printf("unloaded\n");
  return 0;
}
