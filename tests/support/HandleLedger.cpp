#include "tests/support/HandleLedger.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

namespace testing_support {
namespace {

struct Kind {
  std::multiset<void*> live;  // a library loaded twice has one handle and is freed twice
  Tally tally;
};

// The import slots lead to the wrappers below, which have no object to reach.
std::map<std::string, Kind> kinds;

void Created(const char* kind, void* handle) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return;
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

// One import to replace: which function, the kind of handle it makes or ends, and by what.
struct Hook {
  const char* dll;
  const char* function;
  const char* kind;
  void* wrapper;
  bool required;
  void* real = nullptr;
};
extern std::vector<Hook> hooks;

// The original of a function with a wrapper of its own.
template <typename Fn>
Fn Real(const char* function) {
  for (const Hook& hook : hooks) {
    if (!std::strcmp(hook.function, function)) return reinterpret_cast<Fn>(hook.real);
  }
  return nullptr;
}

// The counting stand-in of the function of type `Fn` in row `Index` of the table.
template <size_t Index, typename Fn>
struct Counted;
template <size_t Index, typename R, typename... A>
struct Counted<Index, R(WINAPI*)(A...)> {
  static R WINAPI Creates(A... args) {
    const R handle = reinterpret_cast<R(WINAPI*)(A...)>(hooks[Index].real)(args...);
    Created(hooks[Index].kind, handle);
    return handle;
  }
  static R WINAPI Destroys(A... handle) {
    Destroyed(hooks[Index].kind, handle...);
    return reinterpret_cast<R(WINAPI*)(A...)>(hooks[Index].real)(handle...);
  }
};

enum class Role { kCreates, kDestroys, kOwnWrapper };

// A row as written in the table; Table() numbers the rows and picks each one's wrapper.
template <typename Fn, Role role>
struct Row {
  const char* dll;
  const char* function;
  const char* kind;
  bool required = true;
  void* wrapper = nullptr;

  template <size_t Index>
  Hook At() const {
    void* chosen = wrapper;
    if constexpr (role == Role::kCreates) chosen = reinterpret_cast<void*>(&Counted<Index, Fn>::Creates);
    if constexpr (role == Role::kDestroys) chosen = reinterpret_cast<void*>(&Counted<Index, Fn>::Destroys);
    return Hook{dll, function, kind, chosen, required};
  }
};

template <typename... Rows, size_t... Index>
std::vector<Hook> Numbered(std::index_sequence<Index...>, Rows... rows) {
  return {rows.template At<Index>()...};
}
template <typename... Rows>
std::vector<Hook> Table(Rows... rows) {
  return Numbered(std::index_sequence_for<Rows...>{}, rows...);
}

// The special cases, each with a wrapper of its own.
DWORD_PTR WINAPI CountSHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) {
  const DWORD_PTR result = Real<decltype(&::SHGetFileInfoA)>("SHGetFileInfoA")(path, attributes, info, size, flags);
  if (result && (flags & SHGFI_ICON)) Created("icon", info->hIcon);
  return result;
}
UINT WINAPI CountExtractIconExA(LPCSTR path, int index, HICON* large, HICON* small, UINT count) {
  const UINT result = Real<decltype(&::ExtractIconExA)>("ExtractIconExA")(path, index, large, small, count);
  // Only filled slots hold new icons; the count says nothing about which of the two sizes.
  for (HICON* icons : {large, small}) {
    for (UINT i = 0; icons && index != -1 && i < count; ++i) Created("icon", icons[i]);
  }
  return result;
}
BOOL WINAPI CountCloseHandle(HANDLE handle) {
  for (const char* kind : {"process", "snapshot", "thread", "event", "file"}) Destroyed(kind, handle, false);
  return Real<decltype(&::CloseHandle)>("CloseHandle")(handle);
}
// A paint's context is let go by its window's EndPaint.
HDC WINAPI CountBeginPaint(HWND wnd, PAINTSTRUCT* paint) {
  const HDC dc = Real<decltype(&::BeginPaint)>("BeginPaint")(wnd, paint);
  Created("paint", dc);
  return dc;
}
BOOL WINAPI CountEndPaint(HWND wnd, const PAINTSTRUCT* paint) {
  Destroyed("paint", paint->hdc, true);
  return Real<decltype(&::EndPaint)>("EndPaint")(wnd, paint);
}
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
CreateSnapshotFn realCreateSnapshot;
HANDLE WINAPI CountCreateSnapshot(DWORD flags, DWORD processId) {
  const HANDLE snapshot = realCreateSnapshot(flags, processId);
  Created("snapshot", snapshot);
  return snapshot;
}
// The tool help functions are looked up by name at run time, not imported.
FARPROC WINAPI CountGetProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC function = Real<decltype(&::GetProcAddress)>("GetProcAddress")(module, name);
  if (function && HIWORD(reinterpret_cast<ULONG_PTR>(name)) && !::lstrcmpA(name, "CreateToolhelp32Snapshot")) {
    realCreateSnapshot = reinterpret_cast<CreateSnapshotFn>(reinterpret_cast<void*>(function));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CountCreateSnapshot));
  }
  return function;
}

template <typename Fn>
using Creates = Row<Fn, Role::kCreates>;
template <typename Fn>
using Destroys = Row<Fn, Role::kDestroys>;
template <typename Fn>
Row<Fn, Role::kOwnWrapper> Own(const char* dll, const char* function, const char* kind, Fn wrapper) {
  return {dll, function, kind, true, reinterpret_cast<void*>(wrapper)};
}

// Fonts, brushes and bitmaps are made as what they are and deleted as GDI objects, so all count as these.
constexpr char kGdiObject[] = "GDI object";

std::vector<Hook> hooks = Table(
    Creates<decltype(&::CreateWindowExA)>{"user32.dll", "CreateWindowExA", "window"},
    Destroys<decltype(&::DestroyWindow)>{"user32.dll", "DestroyWindow", "window"},
    Creates<decltype(&::CreatePopupMenu)>{"user32.dll", "CreatePopupMenu", "menu"},
    Destroys<decltype(&::DestroyMenu)>{"user32.dll", "DestroyMenu", "menu"},
    Own("shell32.dll", "SHGetFileInfoA", "icon", &CountSHGetFileInfoA),  // with SHGFI_ICON only
    Own("shell32.dll", "ExtractIconExA", "icon", &CountExtractIconExA),  // fills arrays
    Creates<decltype(&::CreateIconIndirect)>{"user32.dll", "CreateIconIndirect", "icon", false},
    Destroys<decltype(&::DestroyIcon)>{"user32.dll", "DestroyIcon", "icon"},
    Creates<decltype(&::ImageList_Create)>{"comctl32.dll", "ImageList_Create", "image list"},
    Destroys<decltype(&::ImageList_Destroy)>{"comctl32.dll", "ImageList_Destroy", "image list"},
    Creates<decltype(&::CreateFontIndirectA)>{"gdi32.dll", "CreateFontIndirectA", kGdiObject},
    Creates<decltype(&::CreateFontIndirectW)>{"gdi32.dll", "CreateFontIndirectW", kGdiObject, false},
    Creates<decltype(&::CreateSolidBrush)>{"gdi32.dll", "CreateSolidBrush", kGdiObject, false},
    Creates<decltype(&::CreateBitmap)>{"gdi32.dll", "CreateBitmap", kGdiObject, false},
    Destroys<decltype(&::DeleteObject)>{"gdi32.dll", "DeleteObject", kGdiObject},
    Creates<decltype(&::CreateCompatibleDC)>{"gdi32.dll", "CreateCompatibleDC", "device context"},
    Destroys<decltype(&::DeleteDC)>{"gdi32.dll", "DeleteDC", "device context"},
    Own("user32.dll", "BeginPaint", "paint", &CountBeginPaint), Own("user32.dll", "EndPaint", "paint", &CountEndPaint),
    Creates<decltype(&::LoadLibraryExA)>{"kernel32.dll", "LoadLibraryExA", "library"},
    Creates<decltype(&::LoadLibraryW)>{"kernel32.dll", "LoadLibraryW", "library"},
    Destroys<decltype(&::FreeLibrary)>{"kernel32.dll", "FreeLibrary", "library"},
    Creates<decltype(&::OpenProcess)>{"kernel32.dll", "OpenProcess", "process"},
    Creates<decltype(&::CreateThread)>{"kernel32.dll", "CreateThread", "thread", false},
    Creates<decltype(&::CreateEventA)>{"kernel32.dll", "CreateEventA", "event", false},
    Creates<decltype(&::CreateFileA)>{"kernel32.dll", "CreateFileA", "file", false},
    Creates<decltype(&::SetWindowsHookExA)>{"user32.dll", "SetWindowsHookExA", "hook", false},
    Destroys<decltype(&::UnhookWindowsHookEx)>{"user32.dll", "UnhookWindowsHookEx", "hook", false},
    Own("kernel32.dll", "CloseHandle", "process", &CountCloseHandle),  // every kernel kind; not strict: others' too
    Own("kernel32.dll", "GetProcAddress", "snapshot", &CountGetProcAddress));  // CreateToolhelp32Snapshot

}  // namespace

HandleLedger::HandleLedger(HMODULE module) {
  kinds.clear();
  for (Hook& hook : hooks) {
    kinds[hook.kind];
    patches_.push_back(std::make_unique<ImportPatch>(module, hook.dll, hook.function, hook.wrapper));
    hook.real = patches_.back()->Original();
    if (!hook.real && hook.required) {
      throw std::runtime_error(std::string("the module does not import ") + hook.function);
    }
  }
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

std::vector<std::string> HandleLedger::Functions() {
  std::vector<std::string> functions;
  for (const Hook& hook : hooks) functions.emplace_back(hook.function);
  return functions;
}

long long HandleLedger::Foreign() const {
  long long count = 0;
  for (const auto& [name, kind] : kinds) count += kind.tally.foreign;
  return count;
}

}  // namespace testing_support
