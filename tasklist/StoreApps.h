// Store apps on Windows 10 and 11: an app's window is a frame of class ApplicationFrameWindow
// that the frame host (ApplicationFrameHost.exe) owns, while the app runs in a process of its own
// whose CoreWindow is a child of that frame. Its task shows the app's executable and image rather
// than the frame host's. Only frame windows are asked any of this.
#pragma once

#include "tasklist/AppIdentity.h"
#include "tasklist/TaskIcon.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace tasklist {

inline constexpr char kFrameClassName[] = "ApplicationFrameWindow";

// The process of the app that `frame` shows: the owner of its CoreWindow child when that is not
// the frame's own process; 0 when there is no such child (the frame of a minimised app has none).
DWORD AppProcessOf(HWND frame);

// What the store apps seen while the collection lives left: the executable each identity had
// while its app was open, and each identity's image (made once, as the shell may take its time).
struct SeenStoreApps {
  std::map<std::wstring, std::string> exePaths;
  std::map<std::wstring, TaskIcon> images;
};

// The store-app lookups of one refresh. The shell is reached at the first frame window only.
class StoreAppLookup {
 public:
  explicit StoreAppLookup(SeenStoreApps& seen) : seen_(seen) {}

  // The frame's AppUserModelID, asked once per refresh; empty when it has none.
  const std::wstring& IdOf(HWND frame);
  // Notes that the frame's app, open now, runs the executable at `exePath`.
  void Remember(HWND frame, const std::string& exePath);
  // The executable the frame's app had when last seen open; null when it was not seen.
  const std::string* SeenExePath(HWND frame);
  // The image of the frame's app as a `size` x `size` icon; empty when the shell gives none.
  TaskIcon ImageOf(HWND frame, int size);

 private:
  AppIdentity& Shell();

  SeenStoreApps& seen_;
  std::optional<AppIdentity> shell_;
  std::map<HWND, std::wstring> ids_;
};

}  // namespace tasklist
