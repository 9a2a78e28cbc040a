#include "bench/Fleet.h"

#include "tests/support/Fixture.h"

#include <stdexcept>
#include <string>

namespace bench {
namespace {

constexpr DWORD kReadyTimeoutMs = 600000;  // dozens of emulated processes share two cores
constexpr DWORD kExitTimeoutMs = 10000;

std::string ReadyEventName(int serial) {
  return "swivo-bench-ready-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(serial);
}

}  // namespace

Fleet::~Fleet() {
  for (const Member& member : members_) ::PostThreadMessageA(member.threadId, WM_QUIT, 0, 0);
  for (const Member& member : members_) {
    if (::WaitForSingleObject(member.process.get(), kExitTimeoutMs) != WAIT_OBJECT_0) {
      ::TerminateProcess(member.process.get(), 1);
    }
  }
}

void Fleet::Grow(int processes, int windows) {
  const int inThisProcess = windows / 2;
  iconWindows_.Open(inThisProcess);
  const int inProcesses = windows - inThisProcess;
  const std::string fixture = testing_support::FixturePath();
  std::vector<base::unique_kernel_handle> readyEvents;
  for (int i = 0; i < processes; ++i) {
    const int serial = Processes();
    const int count = inProcesses / processes + (i < inProcesses % processes ? 1 : 0);
    const std::string eventName = ReadyEventName(serial);
    readyEvents.emplace_back(::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    const char* scenario = serial % 2 ? "manynoiconmixed" : "manymixed";
    std::string commandLine = "\"" + fixture + "\" --ready " + eventName + " \"" + scenario + ":" +
                              std::to_string(count) + ":bench p" + std::to_string(serial) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(fixture.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
      throw std::runtime_error("cannot start " + fixture + " (error " + std::to_string(::GetLastError()) + ")");
    }
    ::CloseHandle(info.hThread);
    members_.push_back({base::unique_kernel_handle(info.hProcess), info.dwThreadId});
    windows_ += count;
  }
  const size_t first = members_.size() - readyEvents.size();
  for (size_t i = 0; i < readyEvents.size(); ++i) {
    const HANDLE waits[] = {readyEvents[i].get(), members_[first + i].process.get()};
    if (::WaitForMultipleObjects(2, waits, FALSE, kReadyTimeoutMs) != WAIT_OBJECT_0) {
      throw std::runtime_error("a fixture process did not get ready");
    }
  }
}

}  // namespace bench
