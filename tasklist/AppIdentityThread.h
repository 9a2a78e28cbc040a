// The shell's knowledge of store apps (AppIdentity), asked on a thread of the plug-in's own
// (base::StartModuleThread): that thread, never the host's, becomes a COM apartment, and a shell
// call that takes its time (an app's image may come from another process, and its wait has no
// bound) holds up only that thread. The asks are served in order.
//
// Destroying the object drops the asks not yet served and lets the thread end; it never waits
// for the thread, which ends after the call it is in.
#pragma once

#include "tasklist/AppIdentity.h"
#include "tasklist/LateAnswers.h"

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace tasklist {

// Store apps' images by identity and size, kept while the task collection lives: a monitor of
// another DPI asks for its own size. Only images that came are kept, so a fetch that failed is
// tried again at a later popup. Filled by the thread as the images arrive.
class AppImages {
 public:
  [[nodiscard]] TaskIcon Find(const std::wstring& appId, int size) const;
  void Keep(const std::wstring& appId, int size, TaskIcon image);

 private:
  mutable std::mutex mutex_;
  std::map<std::pair<std::wstring, int>, TaskIcon> images_;
};

class AppIdentityThread {
 public:
  // Nothing is ever answered when the thread cannot be started.
  AppIdentityThread();
  AppIdentityThread(const AppIdentityThread&) = delete;
  AppIdentityThread& operator=(const AppIdentityThread&) = delete;
  ~AppIdentityThread();

  // The window's AppUserModelID, empty when it has none; waits at most `timeoutMs` for the
  // thread, and gives nothing (nullopt) when it did not answer in time.
  [[nodiscard]] std::optional<std::wstring> IdOf(HWND wnd, DWORD timeoutMs);
  // Asks for the app's image as a `size` x `size` icon, without waiting: an image that comes is
  // kept in `images` and given to `answers` for the task at `position`. Skipped when the answers
  // were let go before the thread came to it.
  void AskImage(const std::wstring& appId, int size, size_t position, std::shared_ptr<AppImages> images,
                std::shared_ptr<LateAnswers::Sink> answers);

 private:
  using Ask = std::function<void(const AppIdentity&)>;
  struct Queue;
  static void Serve(const std::shared_ptr<Queue>& queue);
  [[nodiscard]] bool Post(Ask ask);

  std::shared_ptr<Queue> queue_;  // shared with the thread
};

}  // namespace tasklist
