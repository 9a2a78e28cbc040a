#include "tasklist/RefreshLookups.h"

namespace tasklist {

std::string RefreshLookups::FrameExePath(HWND frame, const std::string& hostPath) {
  if (const DWORD app = AppProcessOf(frame)) {
    const std::string& path = ExePath(app);
    storeApps_.Remember(frame, path);
    return path;
  }
  if (const std::string* seen = storeApps_.SeenExePath(frame)) return *seen;
  return hostPath;
}

TaskIcon RefreshLookups::FrameIcon(HWND wnd, HWND frame, const std::string& hostPath) {
  if (TaskIcon image = storeApps_.KeptImageOf(frame, iconSize_)) return image;
  return icons_.For(wnd, hostPath);
}

}  // namespace tasklist
