#include "tasklist/IconLookup.h"

#include "tasklist/NUnit.h"

#include <shellapi.h>

namespace tasklist {
namespace {

template <typename Make>
TaskIcon OncePerPath(std::map<std::string, TaskIcon>& icons, const std::string& path, Make make) {
  auto found = icons.find(path);
  if (found == icons.end()) found = icons.emplace(path, make()).first;
  return found->second;
}

TaskIcon ClassIcon(HWND wnd, int which) {
  return TaskIcon::Borrowed(reinterpret_cast<HICON>(::GetClassLongPtrA(wnd, which)), IconSource::kWindowClass);
}

}  // namespace

TaskIcon IconLookup::For(HWND wnd, const std::string& exePath) {
  // Outside the NT family every icon comes from the shell, as the class icon never did there.
  const bool nt = Win32Platform == VER_PLATFORM_WIN32_NT;
  if (!windowIcons_) {
    if (TaskIcon icon = nt ? ClassIcon(wnd, GCLP_HICONSM) : TaskIcon()) return icon;
    return FileTypeIcon(exePath);
  }
  if (nt) {
    if (TaskIcon icon = TaskIcon::Borrowed(windowQuery_.IconOf(wnd), IconSource::kWindow)) return icon;
    if (TaskIcon icon = ClassIcon(wnd, GCLP_HICONSM)) return icon;
    if (TaskIcon icon = ClassIcon(wnd, GCLP_HICON)) return icon;
  }
  if (TaskIcon icon = ExecutableIcon(exePath)) return icon;
  return FileTypeIcon(exePath);
}

// The first icon in the file itself; a path that could not be found has none.
TaskIcon IconLookup::ExecutableIcon(const std::string& exePath) {
  if (exePath.empty()) return {};
  return OncePerPath(executableIcons_, exePath, [&] {
    HICON icon = nullptr;
    (void)::ExtractIconExA(exePath.c_str(), 0, nullptr, &icon, 1);
    return TaskIcon::Owned(base::unique_hicon(icon), IconSource::kExecutable);
  });
}

TaskIcon IconLookup::FileTypeIcon(const std::string& exePath) {
  return OncePerPath(fileTypeIcons_, exePath,
                     [&] { return TaskIcon::Owned(GetFileIcon(exePath, false), IconSource::kFileType); });
}

}  // namespace tasklist
