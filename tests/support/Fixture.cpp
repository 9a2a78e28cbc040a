#include "tests/support/Fixture.h"

#include "base/EnumWindows.h"
#include "base/WindowThread.h"

#include <stdexcept>
#include <vector>

namespace testing_support {
namespace {

constexpr DWORD kStartTimeoutMs = 60000;  // a 32-bit process under qemu starts in a few seconds
constexpr DWORD kExitTimeoutMs = 10000;
constexpr UINT kHangMessage = WM_APP + 1;
constexpr UINT kSlowDownMessage = WM_APP + 2;
constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kAsleepTimeoutMs = 10000;

std::string WindowText(HWND wnd) {
  char buffer[1024] = {};
  ::GetWindowTextA(wnd, buffer, sizeof(buffer));
  return buffer;
}

}  // namespace

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string FixturePath() { return ProgramFolder() + "swivo-fixture.exe"; }

std::string OtherWidthFixturePath() {
  const char* otherWidth = sizeof(void*) == 4 ? "x86_64" : "i686";
  return ProgramFolder() + "..\\..\\" + otherWidth + "\\bin\\swivo-fixture.exe";
}

std::string ProgramCopy(const std::string& program, const std::string& name) {
  const std::string folder = ProgramFolder() + "fixture-copies\\";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + name;
  if (!::CopyFileA(program.c_str(), path.c_str(), FALSE) &&
      ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw std::runtime_error("cannot copy " + program + " to " + path);
  }
  return path;
}

std::string FixtureCopy(const std::string& name) { return ProgramCopy(FixturePath(), name); }

FixtureProcess::FixtureProcess(const std::vector<std::string>& scenarios, const std::string& exePath) {
  static int serial = 0;
  const std::string eventName =
      "swivo-fixture-ready-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial);
  base::unique_kernel_handle ready(::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
  std::string commandLine = "\"" + exePath + "\" --ready " + eventName;
  for (const std::string& scenario : scenarios) commandLine += " \"" + scenario + "\"";

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
    throw std::runtime_error("cannot start " + exePath + " (error " + std::to_string(::GetLastError()) + ")");
  }
  process_.reset(info.hProcess);
  ::CloseHandle(info.hThread);
  processId_ = info.dwProcessId;
  threadId_ = info.dwThreadId;
  const HANDLE waits[] = {ready.get(), process_.get()};
  if (::WaitForMultipleObjects(2, waits, FALSE, kStartTimeoutMs) != WAIT_OBJECT_0) {
    throw std::runtime_error("the fixture did not get ready: " + commandLine);
  }
}

FixtureProcess::~FixtureProcess() {
  ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  if (::WaitForSingleObject(process_.get(), kExitTimeoutMs) != WAIT_OBJECT_0) ::TerminateProcess(process_.get(), 1);
}

std::vector<HWND> FixtureProcess::Windows() const {
  std::vector<HWND> windows;
  base::EnumTopLevelWindows([&](HWND wnd) {
    if (base::ThreadOf(wnd).process == processId_) windows.push_back(wnd);
    return true;
  });
  return windows;
}

HWND FixtureProcess::Window(const std::string& caption) const {
  for (HWND wnd : Windows()) {
    if (WindowText(wnd) == caption) return wnd;
  }
  return nullptr;
}

void FixtureProcess::Hang(DWORD ms) const {
  const std::string name = "swivo-fixture-asleep-" + std::to_string(processId_);
  const base::unique_kernel_handle asleep(::CreateEventA(nullptr, FALSE, FALSE, name.c_str()));
  const std::vector<HWND> windows = Windows();
  if (windows.empty() || !::PostMessageA(windows.front(), kHangMessage, ms, 0) ||
      ::WaitForSingleObject(asleep.get(), kAsleepTimeoutMs) != WAIT_OBJECT_0) {
    throw std::runtime_error("the fixture did not fall asleep");
  }
}

void FixtureProcess::SlowDownNext(SlowStep step, DWORD ms) const {
  const std::vector<HWND> windows = Windows();
  DWORD_PTR ignored = 0;
  if (windows.empty()) return;
  ::SendMessageTimeoutA(windows.front(), kSlowDownMessage, ms, static_cast<LPARAM>(step), SMTO_BLOCK, kSendTimeoutMs,
                        &ignored);
}

LONG_PTR ActivationCount(HWND fixtureWindow) { return ::GetWindowLongPtrA(fixtureWindow, GWLP_USERDATA); }

void PumpMessages(DWORD ms) { Flush(MAXDWORD, ms); }

void Flush(DWORD quietMs, DWORD boundMs) {
  const DWORD start = ::GetTickCount();
  DWORD lastMessage = start;
  do {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
      lastMessage = ::GetTickCount();
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (::GetTickCount() - lastMessage < quietMs && ::GetTickCount() - start < boundMs);
}

}  // namespace testing_support
