#include "tasklist/IconLookup.h"

#include "tasklist/NUnit.h"

namespace tasklist {
namespace {

TaskIcon ClassIcon(HWND wnd, int which) {
  return TaskIcon::Borrowed(reinterpret_cast<HICON>(::GetClassLongPtrA(wnd, which)), IconSource::kWindowClass);
}

}  // namespace

// Outside the NT family every icon comes from the shell, as the class icon never did there.
TaskIcon IconLookup::OwnIcon(HWND wnd) {
  if (Win32Platform != VER_PLATFORM_WIN32_NT) return {};
  const int firstClassIcon = largeIcons_ ? GCLP_HICON : GCLP_HICONSM;
  if (!windowIcons_) return ClassIcon(wnd, firstClassIcon);
  if (TaskIcon icon = TaskIcon::Borrowed(windowQuery_.IconOf(wnd, largeIcons_), IconSource::kWindow)) return icon;
  if (TaskIcon icon = ClassIcon(wnd, firstClassIcon)) return icon;
  return ClassIcon(wnd, largeIcons_ ? GCLP_HICONSM : GCLP_HICON);
}

TaskIcon IconLookup::FileIcon(const std::string& exePath) {
  if (windowIcons_) {
    if (TaskIcon icon = executableIcons_.For(exePath, largeIcons_)) return icon;
  }
  return executableIcons_.TypeIconOf(exePath, largeIcons_);
}

}  // namespace tasklist
