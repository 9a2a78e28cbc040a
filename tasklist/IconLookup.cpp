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
  if (!windowIcons_) return ClassIcon(wnd, largeIcons_ ? GCLP_HICON : GCLP_HICONSM);
  if (TaskIcon icon = TaskIcon::Borrowed(windowQuery_.IconOf(wnd, largeIcons_), IconSource::kWindow)) return icon;
  return ClassIcons(wnd);
}

// The class's icons are read from the class, without a message: a closed window gives none.
TaskIcon IconLookup::After(IconSource gone, HWND wnd, const std::string& exePath) {
  if (gone == IconSource::kWindow) {
    if (TaskIcon icon = ClassIcons(wnd)) return icon;
  }
  return FileIcon(exePath);
}

TaskIcon IconLookup::ClassIcons(HWND wnd) const {
  if (TaskIcon icon = ClassIcon(wnd, largeIcons_ ? GCLP_HICON : GCLP_HICONSM)) return icon;
  return ClassIcon(wnd, largeIcons_ ? GCLP_HICONSM : GCLP_HICON);
}

TaskIcon IconLookup::FileIcon(const std::string& exePath) {
  if (windowIcons_) {
    if (TaskIcon icon = executableIcons_.For(exePath, largeIcons_)) return icon;
  }
  return executableIcons_.TypeIconOf(exePath, largeIcons_);
}

}  // namespace tasklist
