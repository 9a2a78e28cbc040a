#include "tests/support/HandleLedger.h"

#include <commctrl.h>
#include <shellapi.h>

#include <map>
#include <set>
#include <stdexcept>
#include <type_traits>

namespace testing_support {
namespace {

struct Kind {
  std::multiset<void*> live;  // a library loaded twice has one handle and is freed twice
  Tally tally;
};

// The import slots lead to the wrappers below, which have no object to reach.
std::map<std::string, Kind> kinds;

void Created(const char* kind, void* handle) {
  if (!handle) return;
  ++kinds[kind].tally.created;
  kinds[kind].live.insert(handle);
}

// `strict`: the function destroys only this kind, so an unknown handle is a fault. CloseHandle
// also closes handles of others' kinds (the run-time's own), which are no fault.
void Destroyed(const char* kind, void* handle, bool strict = true) {
  Kind& entry = kinds[kind];
  if (const auto found = entry.live.find(handle); found != entry.live.end()) {
    entry.live.erase(found);
    ++entry.tally.destroyed;
  } else if (strict && handle) {
    ++entry.tally.foreign;
  }
}

decltype(&::CreateWindowExA) realCreateWindowExA;
decltype(&::DestroyWindow) realDestroyWindow;
decltype(&::CreatePopupMenu) realCreatePopupMenu;
decltype(&::DestroyMenu) realDestroyMenu;
decltype(&::SHGetFileInfoA) realSHGetFileInfoA;
decltype(&::ExtractIconExA) realExtractIconExA;
decltype(&::DestroyIcon) realDestroyIcon;
decltype(&::ImageList_Create) realImageList_Create;
decltype(&::ImageList_Destroy) realImageList_Destroy;
decltype(&::CreateFontIndirectA) realCreateFontIndirectA;
decltype(&::DeleteObject) realDeleteObject;
decltype(&::CreateCompatibleDC) realCreateCompatibleDC;
decltype(&::DeleteDC) realDeleteDC;
decltype(&::LoadLibraryExA) realLoadLibraryExA;
decltype(&::LoadLibraryW) realLoadLibraryW;
decltype(&::FreeLibrary) realFreeLibrary;
decltype(&::OpenProcess) realOpenProcess;
decltype(&::CloseHandle) realCloseHandle;
decltype(&::GetProcAddress) realGetProcAddress;
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
CreateSnapshotFn realCreateSnapshot;

HWND WINAPI CountCreateWindowExA(DWORD ex, LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int w, int h,
                                 HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  const HWND wnd = realCreateWindowExA(ex, cls, name, style, x, y, w, h, parent, menu, instance, param);
  Created("window", wnd);
  return wnd;
}
BOOL WINAPI CountDestroyWindow(HWND wnd) {
  Destroyed("window", wnd);
  return realDestroyWindow(wnd);
}
HMENU WINAPI CountCreatePopupMenu() {
  const HMENU menu = realCreatePopupMenu();
  Created("menu", menu);
  return menu;
}
BOOL WINAPI CountDestroyMenu(HMENU menu) {
  Destroyed("menu", menu);
  return realDestroyMenu(menu);
}
DWORD_PTR WINAPI CountSHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) {
  const DWORD_PTR result = realSHGetFileInfoA(path, attributes, info, size, flags);
  if (result && (flags & SHGFI_ICON)) Created("icon", info->hIcon);
  return result;
}
UINT WINAPI CountExtractIconExA(LPCSTR path, int index, HICON* large, HICON* small, UINT count) {
  const UINT result = realExtractIconExA(path, index, large, small, count);
  // Only filled slots hold new icons; the count says nothing about which of the two sizes.
  for (HICON* icons : {large, small}) {
    for (UINT i = 0; icons && index != -1 && i < count; ++i) Created("icon", icons[i]);
  }
  return result;
}
BOOL WINAPI CountDestroyIcon(HICON icon) {
  Destroyed("icon", icon);
  return realDestroyIcon(icon);
}
HIMAGELIST WINAPI CountImageListCreate(int cx, int cy, UINT flags, int initial, int grow) {
  const HIMAGELIST list = realImageList_Create(cx, cy, flags, initial, grow);
  Created("image list", list);
  return list;
}
BOOL WINAPI CountImageListDestroy(HIMAGELIST list) {
  Destroyed("image list", list);
  return realImageList_Destroy(list);
}
HFONT WINAPI CountCreateFontIndirectA(const LOGFONTA* font) {
  const HFONT handle = realCreateFontIndirectA(font);
  Created("font", handle);
  return handle;
}
BOOL WINAPI CountDeleteObject(HGDIOBJ object) {
  Destroyed("font", object);
  return realDeleteObject(object);
}
HDC WINAPI CountCreateCompatibleDC(HDC dc) {
  const HDC handle = realCreateCompatibleDC(dc);
  Created("device context", handle);
  return handle;
}
BOOL WINAPI CountDeleteDC(HDC dc) {
  Destroyed("device context", dc);
  return realDeleteDC(dc);
}
HMODULE WINAPI CountLoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags) {
  const HMODULE module = realLoadLibraryExA(name, file, flags);
  Created("library", module);
  return module;
}
HMODULE WINAPI CountLoadLibraryW(LPCWSTR name) {
  const HMODULE module = realLoadLibraryW(name);
  Created("library", module);
  return module;
}
BOOL WINAPI CountFreeLibrary(HMODULE module) {
  Destroyed("library", module);
  return realFreeLibrary(module);
}
HANDLE WINAPI CountOpenProcess(DWORD access, BOOL inherit, DWORD processId) {
  const HANDLE process = realOpenProcess(access, inherit, processId);
  Created("process", process);
  return process;
}
HANDLE WINAPI CountCreateSnapshot(DWORD flags, DWORD processId) {
  const HANDLE snapshot = realCreateSnapshot(flags, processId);
  if (snapshot != INVALID_HANDLE_VALUE) Created("snapshot", snapshot);
  return snapshot;
}
BOOL WINAPI CountCloseHandle(HANDLE handle) {
  Destroyed("process", handle, false);
  Destroyed("snapshot", handle, false);
  return realCloseHandle(handle);
}
// The tool help functions are looked up by name at run time, not imported.
FARPROC WINAPI CountGetProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC function = realGetProcAddress(module, name);
  if (function && HIWORD(reinterpret_cast<ULONG_PTR>(name)) && !::lstrcmpA(name, "CreateToolhelp32Snapshot")) {
    realCreateSnapshot = reinterpret_cast<CreateSnapshotFn>(reinterpret_cast<void*>(function));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CountCreateSnapshot));
  }
  return function;
}

}  // namespace

HandleLedger::HandleLedger(HMODULE module) {
  kinds.clear();
  for (const char* kind : {"window", "menu", "icon", "image list", "font", "device context", "library", "process",
                           "snapshot"}) {
    kinds[kind];
  }
  auto patch = [&](const char* dll, const char* function, auto& real, auto replacement) {
    patches_.push_back(std::make_unique<ImportPatch>(module, dll, function,
                                                                      reinterpret_cast<void*>(replacement)));
    if (!patches_.back()->Original()) throw std::runtime_error(std::string("the module does not import ") + function);
    real = reinterpret_cast<std::remove_reference_t<decltype(real)>>(patches_.back()->Original());
  };
  patch("user32.dll", "CreateWindowExA", realCreateWindowExA, &CountCreateWindowExA);
  patch("user32.dll", "DestroyWindow", realDestroyWindow, &CountDestroyWindow);
  patch("user32.dll", "CreatePopupMenu", realCreatePopupMenu, &CountCreatePopupMenu);
  patch("user32.dll", "DestroyMenu", realDestroyMenu, &CountDestroyMenu);
  patch("shell32.dll", "SHGetFileInfoA", realSHGetFileInfoA, &CountSHGetFileInfoA);
  patch("shell32.dll", "ExtractIconExA", realExtractIconExA, &CountExtractIconExA);
  patch("user32.dll", "DestroyIcon", realDestroyIcon, &CountDestroyIcon);
  patch("comctl32.dll", "ImageList_Create", realImageList_Create, &CountImageListCreate);
  patch("comctl32.dll", "ImageList_Destroy", realImageList_Destroy, &CountImageListDestroy);
  patch("gdi32.dll", "CreateFontIndirectA", realCreateFontIndirectA, &CountCreateFontIndirectA);
  patch("gdi32.dll", "DeleteObject", realDeleteObject, &CountDeleteObject);
  patch("gdi32.dll", "CreateCompatibleDC", realCreateCompatibleDC, &CountCreateCompatibleDC);
  patch("gdi32.dll", "DeleteDC", realDeleteDC, &CountDeleteDC);
  patch("kernel32.dll", "LoadLibraryExA", realLoadLibraryExA, &CountLoadLibraryExA);
  patch("kernel32.dll", "LoadLibraryW", realLoadLibraryW, &CountLoadLibraryW);
  patch("kernel32.dll", "FreeLibrary", realFreeLibrary, &CountFreeLibrary);
  patch("kernel32.dll", "OpenProcess", realOpenProcess, &CountOpenProcess);
  patch("kernel32.dll", "CloseHandle", realCloseHandle, &CountCloseHandle);
  patch("kernel32.dll", "GetProcAddress", realGetProcAddress, &CountGetProcAddress);
}

HandleLedger::~HandleLedger() = default;

std::map<std::string, Tally> HandleLedger::Tallies() const {
  std::map<std::string, Tally> tallies;
  for (const auto& [name, kind] : kinds) {
    tallies[name] = kind.tally;
    tallies[name].outstanding = kind.live.size();
  }
  return tallies;
}

size_t HandleLedger::Outstanding() const {
  size_t count = 0;
  for (const auto& [name, kind] : kinds) count += kind.live.size();
  return count;
}

long long HandleLedger::Foreign() const {
  long long count = 0;
  for (const auto& [name, kind] : kinds) count += kind.tally.foreign;
  return count;
}

}  // namespace testing_support
