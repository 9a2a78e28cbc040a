#include "tasklist/NUnit.h"

#include "base/BoundedSend.h"
#include "base/Error.h"
#include "base/Foreground.h"
#include "base/ProcAddress.h"
#include "base/SystemLibrary.h"
#include "base/WindowThread.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <utility>

namespace tasklist {
namespace {

DWORD ReadPlatformId() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  return ::GetVersionExA(&info) ? info.dwPlatformId : 0;
}

constexpr DWORD kProcessQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr DWORD kModuleNameBufferSize = 261;

// Texts of the two failures of the process status lookup (code page 932).
// "PSAPI.DLL がロードできません。" (PSAPI.DLL cannot be loaded)
constexpr char kPsapiNotLoaded[] =
    "PSAPI.DLL \x82\xaa\x83\x8d\x81\x5b\x83\x68\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81\x42";
// "API のアドレスを取得できません。" (the API's address cannot be found)
constexpr char kApiNotFound[] =
    "API \x82\xcc\x83\x41\x83\x68\x83\x8c\x83\x58\x82\xf0\x8e\xe6\x93\xbe\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81\x42";

std::string TextUpToNul(const char* buffer, size_t size) {
  size_t length = 0;
  while (length < size && buffer[length] != '\0') ++length;
  return std::string(buffer, length);
}

// The module walk cannot read a 64-bit process from 32-bit code, nor an elevated one; the image
// name query with limited rights can (Vista and later, so looked up at run time).
std::string ExePathFromImageName(DWORD processId) {
  using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, char*, DWORD*);
  const auto query =
      base::ProcAddress<QueryFullProcessImageNameFn>(::GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
  if (!query) return {};
  base::unique_kernel_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  char buffer[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  if (!query(process.get(), 0, buffer, &size)) return {};
  return TextUpToNul(buffer, sizeof(buffer));
}

// Older systems: the process entry of a tool help snapshot.
std::string ExePathFromSnapshot(DWORD processId) {
  using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
  using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

  const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (!kernel) return {};
  const auto createSnapshot = base::ProcAddress<CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot");
  if (!createSnapshot) return {};
  const auto first = base::ProcAddress<ProcessWalkFn>(kernel, "Process32First");
  const auto next = base::ProcAddress<ProcessWalkFn>(kernel, "Process32Next");

  base::unique_file_handle snapshot(createSnapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return {};
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  if (!first || !first(snapshot.get(), &entry)) return {};
  while (entry.th32ProcessID != processId) {
    if (!next || !next(snapshot.get(), &entry)) return {};
  }
  return TextUpToNul(entry.szExeFile, sizeof(entry.szExeFile));
}

}  // namespace

DWORD Win32Platform = ReadPlatformId();

bool BringToTop(HWND wnd) {
  if (base::ThreadOf(wnd).thread == ::GetCurrentThreadId()) {
    // Our own window is raised here and now, though the platform may keep the foreground from it.
    const bool raised = ::BringWindowToTop(wnd) != FALSE;
    if (raised && ::GetForegroundWindow() != wnd) (void)base::TakeForeground(wnd);
    return raised;
  }
  // Anything that waits for another thread may wait for a hung one: probe it first, briefly.
  // Handing the foreground over only queues the activation for the window's thread.
  const bool taken = base::IsResponsive(wnd) && base::TakeForeground(wnd);
  // The raise is posted to the window's thread too: BringWindowToTop would wait until that thread
  // had handled it, and a hung thread carries it out when it recovers.
  ::SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
  return taken;
}

std::string GetWindowExePath(HWND wnd) { return GetProcessExePath(base::ThreadOf(wnd).process); }

std::string GetProcessExePath(DWORD processId) { return ExePathReader().Of(processId); }

std::string ExePathReader::Of(DWORD processId) {
  if (Win32Platform != VER_PLATFORM_WIN32_NT) return ExePathFromSnapshot(processId);
  std::string path = FromModules(processId);
  return path.empty() ? ExePathFromImageName(processId) : path;
}

// First module of the process (its executable) through the process status library.
std::string ExePathReader::FromModules(DWORD processId) {
  if (!psapi_) {
    base::unique_hmodule psapi = base::LoadSystemLibrary("PSAPI.DLL");
    if (!psapi) throw base::Error(kPsapiNotLoaded);
    enumModules_ = base::ProcAddress<EnumProcessModulesFn>(psapi.get(), "EnumProcessModules");
    moduleFileName_ = base::ProcAddress<GetModuleFileNameExFn>(psapi.get(), "GetModuleFileNameExA");
    if (!enumModules_ || !moduleFileName_) throw base::Error(kApiNotFound);
    psapi_ = std::move(psapi);
  }
  base::unique_kernel_handle process(::OpenProcess(kProcessQueryAndRead, FALSE, processId));
  if (!process) return {};
  HMODULE firstModule = nullptr;
  DWORD needed = 0;
  if (!enumModules_(process.get(), &firstModule, sizeof(firstModule), &needed)) return {};
  char buffer[kModuleNameBufferSize] = {};
  if (moduleFileName_(process.get(), firstModule, buffer, kModuleNameBufferSize) == 0) return {};
  return TextUpToNul(buffer, sizeof(buffer));
}

base::unique_hicon GetFileIcon(const std::string& fileName, bool large) {
  SHFILEINFOA info{};
  const UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (large ? 0 : SHGFI_SMALLICON);
  if (!::SHGetFileInfoA(fileName.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), flags)) return {};
  return base::unique_hicon(info.hIcon);
}

}  // namespace tasklist
