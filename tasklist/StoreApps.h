// Store apps on Windows 10 and 11: an app's window is a frame of class ApplicationFrameWindow
// that the frame host (ApplicationFrameHost.exe) owns, while the app runs in a process of its own
// whose CoreWindow is a child of that frame. Its task shows the app's executable and image rather
// than the frame host's. Only frame windows are asked any of this.
#pragma once

#include "tasklist/AppIdentityThread.h"
#include "tasklist/LateAnswers.h"
#include "tasklist/TaskIcon.h"

#include <windows.h>

#include <map>
#include <memory>
#include <string>

namespace tasklist {

inline constexpr char kFrameClassName[] = "ApplicationFrameWindow";
// How long a refresh waits for the shell's thread to name a frame's app. A refresh whose ask went
// unanswered asks no more and lists its frames without identities.
inline constexpr DWORD kAppIdTimeoutMs = 500;

// The process of the app that `frame` shows: the owner of its CoreWindow child when that is not
// the frame's own process; 0 when there is no such child (the frame of a minimised app has none).
DWORD AppProcessOf(HWND frame);

// What the store apps seen while the collection lives left: the executable each identity had
// while its app was open, and the images that came; and the thread that asks the shell, made at
// the first frame window.
struct SeenStoreApps {
  // Asks the thread, when there is one, for the app's image, to be given to `answers`.
  void AskImage(const std::wstring& appId, int size, size_t position,
                const std::shared_ptr<LateAnswers::Sink>& answers);

  std::map<std::wstring, std::string> exePaths;
  std::shared_ptr<AppImages> images = std::make_shared<AppImages>();
  std::unique_ptr<AppIdentityThread> shell;
};

// The store-app lookups of one refresh.
class StoreAppLookup {
 public:
  explicit StoreAppLookup(SeenStoreApps& seen) : seen_(seen) {}

  // The frame's AppUserModelID, asked once per refresh; empty when it has none or the shell's
  // thread did not answer in time.
  const std::wstring& IdOf(HWND frame);
  // Notes that the frame's app, open now, runs the executable at `exePath`.
  void Remember(HWND frame, const std::string& exePath);
  // The executable the frame's app had when last seen open; null when it was not seen.
  const std::string* SeenExePath(HWND frame);
  // The image of the frame's app as a `size` x `size` icon, when one came at an earlier popup.
  TaskIcon KeptImageOf(HWND frame, int size);

 private:
  SeenStoreApps& seen_;
  std::map<HWND, std::wstring> ids_;
  bool shellLate_ = false;  // the thread missed an ask of this refresh
};

}  // namespace tasklist
