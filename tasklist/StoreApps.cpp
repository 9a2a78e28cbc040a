#include "tasklist/StoreApps.h"

#include "base/WindowThread.h"

#include <optional>
#include <utility>

namespace tasklist {
namespace {

constexpr char kCoreWindowClass[] = "Windows.UI.Core.CoreWindow";

}  // namespace

// Reads the window system's list of children; nothing is sent to the frame or the app.
DWORD AppProcessOf(HWND frame) {
  const DWORD frameProcess = base::ThreadOf(frame).process;
  for (HWND child = ::FindWindowExA(frame, nullptr, kCoreWindowClass, nullptr); child;
       child = ::FindWindowExA(frame, child, kCoreWindowClass, nullptr)) {
    const DWORD appProcess = base::ThreadOf(child).process;
    if (appProcess && appProcess != frameProcess) return appProcess;
  }
  return 0;
}

void SeenStoreApps::AskImage(const std::wstring& appId, int size, size_t position,
                             const std::shared_ptr<LateAnswers::Sink>& answers) {
  if (shell) shell->AskImage(appId, size, position, images, answers);
}

// A thread that missed an ask is most likely in a call that takes long: the rest of the refresh
// does not wait for it again. The next refresh does, once.
const std::wstring& StoreAppLookup::IdOf(HWND frame) {
  if (const auto found = ids_.find(frame); found != ids_.end()) return found->second;
  std::wstring id;
  if (!shellLate_) {
    if (!seen_.shell) seen_.shell = std::make_unique<AppIdentityThread>();
    std::optional<std::wstring> answer = seen_.shell->IdOf(frame, kAppIdTimeoutMs);
    shellLate_ = !answer;
    if (answer) id = std::move(*answer);
  }
  return ids_.emplace(frame, std::move(id)).first->second;
}

void StoreAppLookup::Remember(HWND frame, const std::string& exePath) {
  const std::wstring& id = IdOf(frame);
  if (!id.empty()) seen_.exePaths[id] = exePath;
}

const std::string* StoreAppLookup::SeenExePath(HWND frame) {
  const auto found = seen_.exePaths.find(IdOf(frame));
  return found == seen_.exePaths.end() ? nullptr : &found->second;
}

TaskIcon StoreAppLookup::KeptImageOf(HWND frame, int size) {
  const std::wstring& id = IdOf(frame);
  return id.empty() ? TaskIcon() : seen_.images->Find(id, size);
}

}  // namespace tasklist
