#include "tasklist/TaskList.h"

#include "tasklist/NUnit.h"
#include "tasklist/RefreshLookups.h"
#include "tasklist/WindowQueries.h"
#include "ui/EnumWindows.h"
#include "ui/Mbcs.h"

namespace tasklist {
namespace {

// A window that Alt+Tab would switch to: enabled, visible, no tool window, not empty.
bool IsUsable(HWND wnd) {
  const LONG style = ::GetWindowLongA(wnd, GWL_STYLE);
  if (style & WS_DISABLED) return false;
  if (!(style & WS_VISIBLE)) return false;
  if (IsToolWindow(wnd)) return false;
  RECT rect{};
  ::GetWindowRect(wnd, &rect);
  return rect.bottom - rect.top > 0 && rect.right - rect.left > 0;
}

// How long the restore request may wait for the window's thread.
constexpr UINT kRestoreTimeoutMs = 2000;

}  // namespace

void TWinInfo::Assign(const TWinInfo& source) {
  RootWnd = source.RootWnd;
  Wnd = source.Wnd;
  Caption = source.Caption;
  Icon = source.Icon;
  ExeName = source.ExeName;
}

void TWinInfos::Refresh() {
  Clear();
  AddRoots();
  RefreshLookups lookups;
  FillEntries(lookups);
  RemoveUnfilled();
  ArrangeTasks();
}

// Roots: unowned, parentless windows that are no tool windows; and the topmost owner of a dialog
// when that owner is a tool window, which brings in dialogs hanging under hidden tool windows.
void TWinInfos::AddRoots() {
  ui::EnumTopLevelWindows([this](HWND wnd) {
    if (::GetWindow(wnd, GW_OWNER) || ::GetParent(wnd)) {
      if (ClassNameOf(wnd) == kDialogClassName) {
        const HWND owner = TopmostOwnerOf(wnd);
        if (IsToolWindow(owner)) Add().RootWnd = owner;
      }
    } else if (!IsToolWindow(wnd)) {
      Add().RootWnd = wnd;
    }
    return true;
  });
}

// Each root gets the first usable window of its task, or itself when it is usable.
void TWinInfos::FillEntries(RefreshLookups& lookups) {
  ui::EnumTopLevelWindows([this, &lookups](HWND wnd) {
    HWND root = TopmostOwnerOf(wnd);
    if (!root) {
      if (::GetParent(wnd)) return true;
      root = wnd;
    }
    TWinInfo* entry = FindByRoot(root);
    if (!entry || !IsUsable(wnd)) return true;
    if (entry->Wnd && wnd != entry->RootWnd) return true;
    Fill(*entry, wnd, lookups);
    return true;
  });
}

void TWinInfos::Fill(TWinInfo& entry, HWND wnd, RefreshLookups& lookups) {
  entry.Wnd = wnd;
  entry.Caption = WindowTextOf(wnd);
  const std::string& path = lookups.ExePath(ProcessIdOf(wnd));
  const HICON classIcon =
      Win32Platform == VER_PLATFORM_WIN32_NT ? reinterpret_cast<HICON>(::GetClassLongPtrA(wnd, GCLP_HICONSM)) : nullptr;
  entry.Icon = classIcon ? TaskIcon::Borrowed(classIcon) : lookups.ShellIcon(path);
  entry.ExeName = ui::LowerAscii(ui::ExtractFileName(path));
}

// Downwards, so that the positions not yet visited stay valid.
void TWinInfos::RemoveUnfilled() {
  for (int i = Count() - 1; i >= 0; --i) {
    if (!Items(i).Wnd) Delete(i);
  }
}

TWinInfo* TWinInfos::FindByRoot(HWND root) const {
  for (int i = 0; i < Count(); ++i) {
    if (Items(i).RootWnd == root) return &Items(i);
  }
  return nullptr;
}

void TWinInfos::Activate(int index) const {
  const HWND wnd = Items(index).Wnd;
  (void)BringToTop(wnd);
  if (::IsWindowVisible(wnd) && !::IsIconic(wnd)) return;
  if (IsResponsive(wnd)) {
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(wnd, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, kRestoreTimeoutMs, &ignored);
  } else {
    // Restored when its thread recovers; waiting for it would freeze us with it.
    ::PostMessageA(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  }
}

}  // namespace tasklist
