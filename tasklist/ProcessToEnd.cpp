#include "tasklist/ProcessToEnd.h"

#include "base/Module.h"

#include <memory>
#include <utility>

namespace tasklist {
namespace {

// The desktop's shell: ending it takes the taskbar and the desktop with it.
constexpr std::string_view kShellExeName = "explorer.exe";
// As Windows' Task Manager ends a task.
constexpr UINT kEndedExitCode = 1;

}  // namespace

ProcessToEnd ProcessToEnd::Open(DWORD processId, std::string_view exeName) {
  ProcessToEnd opened;
  if (processId == 0 || processId == ::GetCurrentProcessId() || exeName == kShellExeName) return opened;
  opened.process_.reset(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  return opened;
}

// TerminateProcess returns without waiting for the process to go, but it is a call into a process
// that does not answer: the host's thread is kept out of it all the same.
bool ProcessToEnd::EndOnOwnThread() {
  if (!process_) return false;
  auto process = std::make_shared<base::unique_kernel_handle>(std::move(process_));
  return base::StartModuleThread([process] { ::TerminateProcess(process->get(), kEndedExitCode); });
}

}  // namespace tasklist
