#include "tasklist/StoreApps.h"

#include "tasklist/NUnit.h"

namespace tasklist {
namespace {

constexpr char kCoreWindowClass[] = "Windows.UI.Core.CoreWindow";

}  // namespace

// Reads the window system's list of children; nothing is sent to the frame or the app.
DWORD AppProcessOf(HWND frame) {
  const DWORD frameProcess = ProcessIdOf(frame);
  for (HWND child = ::FindWindowExA(frame, nullptr, kCoreWindowClass, nullptr); child;
       child = ::FindWindowExA(frame, child, kCoreWindowClass, nullptr)) {
    const DWORD appProcess = ProcessIdOf(child);
    if (appProcess && appProcess != frameProcess) return appProcess;
  }
  return 0;
}

const std::wstring& StoreAppLookup::IdOf(HWND frame) {
  auto found = ids_.find(frame);
  if (found == ids_.end()) found = ids_.emplace(frame, Shell().IdOf(frame)).first;
  return found->second;
}

void StoreAppLookup::Remember(HWND frame, const std::string& exePath) {
  const std::wstring& id = IdOf(frame);
  if (!id.empty()) seen_.exePaths[id] = exePath;
}

const std::string* StoreAppLookup::SeenExePath(HWND frame) {
  const auto found = seen_.exePaths.find(IdOf(frame));
  return found == seen_.exePaths.end() ? nullptr : &found->second;
}

TaskIcon StoreAppLookup::ImageOf(HWND frame, int size) {
  const std::wstring& id = IdOf(frame);
  if (id.empty()) return {};
  auto found = seen_.images.find(id);
  if (found == seen_.images.end()) found = seen_.images.emplace(id, Shell().ImageOf(id, size)).first;
  return found->second;
}

AppIdentity& StoreAppLookup::Shell() {
  if (!shell_) shell_.emplace();
  return *shell_;
}

}  // namespace tasklist
