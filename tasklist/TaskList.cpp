#include "tasklist/TaskList.h"

#include "base/AsciiText.h"
#include "base/Mbcs.h"
#include "tasklist/LateIconAsks.h"
#include "tasklist/NUnit.h"
#include "tasklist/RefreshLookups.h"
#include "tasklist/Switchability.h"
#include "tasklist/WindowQueries.h"
#include "tasklist/WindowSnapshot.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace tasklist {
namespace {

// The entry FindByRoot gives for each root, without a search through the entries per window.
std::unordered_map<HWND, TWinInfo*> FirstEntryByRoot(const TWinInfos& tasks) {
  std::unordered_map<HWND, TWinInfo*> entries;
  entries.reserve(static_cast<size_t>(tasks.Count()));
  for (int i = 0; i < tasks.Count(); ++i) entries.emplace(tasks.Items(i).RootWnd, &tasks.Items(i));
  return entries;
}


}  // namespace

void TWinInfos::Refresh() {
  Clear();
  WindowSnapshot windows;
  AddRoots(windows);
  RefreshLookups lookups(options_, executablePaths_, executableIcons_, storeApps_);
  FillEntries(windows, lookups);
  RemoveUnlisted(windows);
  NoteHungTasks(lookups);
  ArrangeTasks();
}

// Roots: unowned, parentless windows that are no tool windows; and the topmost owner of a dialog
// when that owner is a tool window, which brings in dialogs hanging under hidden tool windows.
void TWinInfos::AddRoots(WindowSnapshot& windows) {
  for (const HWND wnd : windows.Windows()) {
    if (windows.HasOwnerOrParent(wnd)) {
      if (windows.ClassName(wnd) == kDialogClassName) {
        const HWND owner = windows.TopmostOwner(wnd);
        if (windows.IsToolWindow(owner)) Add().RootWnd = owner;
      }
    } else if (!windows.IsToolWindow(wnd)) {
      Add().RootWnd = wnd;
    }
  }
}

// Each root gets the first usable window of its task, or itself when it is usable. A root that a
// user cannot switch to gets none, and is pruned: it is asked only once a usable window needs it,
// which spares the reads for the many hidden roots without one.
void TWinInfos::FillEntries(WindowSnapshot& windows, RefreshLookups& lookups) {
  const auto entries = FirstEntryByRoot(*this);
  const std::vector<HWND>& inZOrder = windows.Windows();
  for (size_t position = 0; position < inZOrder.size(); ++position) {
    const HWND wnd = inZOrder[position];
    HWND root = windows.TopmostOwner(wnd);
    if (!root) {
      if (windows.HasOwnerOrParent(wnd)) continue;
      root = wnd;
    }
    const auto found = entries.find(root);
    if (found == entries.end()) continue;
    TWinInfo& entry = *found->second;
    if (entry.Wnd && wnd != entry.RootWnd) continue;
    if (!IsUsable(wnd, windows) || !windows.IsSwitchable(root)) continue;
    if (!entry.Wnd) entry.ZOrder = static_cast<int>(position);
    Fill(entry, wnd, windows, lookups);
  }
}

// The root's class was read when the root's switchability was; a store app's frame stands for
// the app inside it.
void TWinInfos::Fill(TWinInfo& entry, HWND wnd, WindowSnapshot& windows, RefreshLookups& lookups) {
  entry.Wnd = wnd;
  const WindowThread owner = ThreadOf(wnd);
  entry.ThreadId = owner.thread;
  entry.ProcessId = owner.process;
  entry.Caption = ReadCaption(wnd, owner);
  const std::string& path = lookups.ExePath(entry.ProcessId);
  if (windows.ClassName(entry.RootWnd) == kFrameClassName) {
    entry.AppId = lookups.AppIdOf(entry.RootWnd);
    entry.Icon = lookups.FrameIcon(wnd, entry.RootWnd, path);
    entry.AppImageLate = !entry.AppId.empty() && entry.Icon.Source() != IconSource::kAppIdentity;
    entry.ExeFile = base::ExtractFileName(lookups.FrameExePath(entry.RootWnd, path));
  } else {
    entry.Icon = lookups.Icon(wnd, path);
    entry.ExeFile = base::ExtractFileName(path);
  }
  entry.ExeName = base::LowerAscii(entry.ExeFile);
}

// Unfilled entries and those the settings leave out; downwards, so that the positions not yet
// visited stay valid. Before the ordering, so that the editor is not asked about excluded windows.
void TWinInfos::RemoveUnlisted(WindowSnapshot& windows) {
  for (int i = Count() - 1; i >= 0; --i) {
    if (!Items(i).Wnd || IsExcluded(Items(i), windows)) Delete(i);
  }
}

// Only the listed tasks are asked; the question sends nothing to the window, and is not asked of
// a window that has just answered for its icon. Whether a window hangs is whether its thread
// reads its messages, so each thread is asked once.
// A window of the refreshing thread is never hung: the thread is running this very code, though
// it may not have read its messages for a while.
void TWinInfos::NoteHungTasks(const RefreshLookups& lookups) {
  std::unordered_map<DWORD, bool> hungThreads{{::GetCurrentThreadId(), false}};
  for (int i = 0; i < Count(); ++i) {
    TWinInfo& task = Items(i);
    task.Hung = false;
    if (!lookups.Answered(task.Wnd)) {
      const auto [thread, first] = hungThreads.try_emplace(task.ThreadId, false);
      if (first) thread->second = ::IsHungAppWindow(task.Wnd) != FALSE;
      task.Hung = thread->second;
    }
    // A frame whose app's image is on its way would only be drawn over by it.
    task.IconLate = !task.Hung && !task.AppImageLate && lookups.Unanswered(task.Wnd);
  }
}

// The root's class, not the activated window's: the root is the program's main window and its
// class names the program, while the window activated may be any of its dialogs.
bool TWinInfos::IsExcluded(const TWinInfo& entry, WindowSnapshot& windows) const {
  if (options_.exclude.Matches(entry.ExeFile)) return true;
  // The class is read only when there are classes to leave out.
  return !options_.excludeClass.Empty() && options_.excludeClass.Matches(windows.ClassName(entry.RootWnd));
}

void TWinInfos::AskLateIcons(const LateAnswers& answers) {
  std::vector<LateWindow> windows;
  for (int i = 0; i < Count(); ++i) {
    const TWinInfo& task = Items(i);
    const auto position = static_cast<size_t>(i);
    if (task.IconLate) windows.push_back({position, task.Wnd});
    if (task.AppImageLate) storeApps_.AskImage(task.AppId, options_.iconSize, position, answers.Answers());
  }
  if (!windows.empty()) tasklist::AskLateIcons(std::move(windows), options_.iconSize > kSmallIconSize, answers.Answers());
}

TWinInfo* TWinInfos::FindByRoot(HWND root) const {
  for (int i = 0; i < Count(); ++i) {
    if (Items(i).RootWnd == root) return &Items(i);
  }
  return nullptr;
}

int TWinInfos::PreviousTask(HWND front) const {
  const TWinInfo* frontTask = front ? FindByRoot(::GetAncestor(front, GA_ROOTOWNER)) : nullptr;
  int previous = -1;
  for (int i = 0; i < Count(); ++i) {
    if (&Items(i) == frontTask) continue;
    if (previous < 0 || Items(i).ZOrder < Items(previous).ZOrder) previous = i;
  }
  return previous;
}

bool TWinInfos::PostSystemCommand(int index, WPARAM command) const {
  return ::PostMessageA(Items(index).Wnd, WM_SYSCOMMAND, command, 0) != FALSE;
}

void TWinInfos::Activate(int index) const {
  const HWND wnd = Items(index).Wnd;
  (void)BringToTop(wnd);
  if (::IsWindowVisible(wnd) && !::IsIconic(wnd)) return;
  // Posted: the window's thread restores it when it gets there, and however slow that thread is,
  // the host does not wait for it.
  (void)PostSystemCommand(index, SC_RESTORE);
}

}  // namespace tasklist
