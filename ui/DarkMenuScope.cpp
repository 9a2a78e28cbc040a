#include "ui/DarkMenuScope.h"

#include "base/ProcAddress.h"

namespace ui {
namespace {

// uxtheme exports these by ordinal only, from Windows 10 1903 (build 18362) on; before that the
// same ordinals are other functions, so the build is checked first.
constexpr WORD kSetPreferredAppMode = 135;
constexpr WORD kFlushMenuThemes = 136;
constexpr DWORD kFirstBuildWithAppMode = 18362;
constexpr int kForceDark = 2;

// The real build: GetVersionEx answers what the host's manifest claims.
DWORD WindowsBuild() {
  using Function = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto version = base::ProcAddress<Function>(::GetModuleHandleA("ntdll.dll"), "RtlGetVersion");
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  return version && version(&info) == 0 && info.dwMajorVersion >= 10 ? info.dwBuildNumber : 0;
}

}  // namespace

DarkMenuScope::DarkMenuScope(bool dark, UxTheme& uxTheme) {
  if (!dark || WindowsBuild() < kFirstBuildWithAppMode || !uxTheme.Load()) return;
  setMode_ = base::ProcAddress<SetModeFunction>(uxTheme.Module(), MAKEINTRESOURCEA(kSetPreferredAppMode));
  flush_ = base::ProcAddress<FlushFunction>(uxTheme.Module(), MAKEINTRESOURCEA(kFlushMenuThemes));
  if (!setMode_ || !flush_) {
    setMode_ = nullptr;
    return;
  }
  previous_ = setMode_(kForceDark);
  flush_();
}

void DarkMenuScope::RestoreMode() {
  if (!setMode_ || restored_) return;
  restored_ = true;
  const int current = setMode_(previous_);
  if (current != kForceDark) (void)setMode_(current);
}

DarkMenuScope::~DarkMenuScope() {
  if (!setMode_) return;
  RestoreMode();
  flush_();
}

}  // namespace ui
