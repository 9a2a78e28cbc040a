#include "tasklist/TaskRefresh.h"

#include "base/AsciiText.h"
#include "base/Mbcs.h"
#include "tasklist/ArrangeTasks.h"
#include "tasklist/EditorQuery.h"
#include "tasklist/RefreshLookups.h"
#include "tasklist/Switchability.h"
#include "tasklist/TaskCaption.h"
#include "tasklist/WindowMonitor.h"
#include "tasklist/WindowQueries.h"
#include "tasklist/WindowSnapshot.h"

#include <unordered_map>
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

// The steps of one refresh, over one snapshot of the windows and one set of lookups.
class TaskRefresh {
 public:
  TaskRefresh(TWinInfos& tasks, int iconSize, HMONITOR monitor)
      : tasks_(tasks),
        monitor_(monitor),
        lookups_(tasks.Options(), tasks.Kept(), iconSize) {}

  void Run() {
    tasks_.Clear();
    AddRoots();
    FillEntries();
    RemoveUnlisted();
    NoteHungTasks();
    // The editor query comes after the ordering, so the captions it rewrites do not move entries.
    OrderTasks(tasks_);
    if (tasks_.EditorMode()) QueryEditorFiles(tasks_);
  }

 private:
  void AddRoots();
  void FillEntries();
  void Fill(TWinInfo& entry, HWND wnd);
  void RemoveUnlisted();
  void NoteHungTasks();
  // Whether the settings leave the filled entry out.
  [[nodiscard]] bool IsExcluded(const TWinInfo& entry);

  TWinInfos& tasks_;
  const HMONITOR monitor_;  // the one monitor whose tasks are listed; null: all
  WindowSnapshot windows_;
  RefreshLookups lookups_;
};

// Roots: unowned, parentless windows that are no tool windows; and the topmost owner of a dialog
// when that owner is a tool window, which brings in dialogs hanging under hidden tool windows.
void TaskRefresh::AddRoots() {
  for (const HWND wnd : windows_.Windows()) {
    if (windows_.HasOwnerOrParent(wnd)) {
      if (windows_.ClassName(wnd) == kDialogClassName) {
        const HWND owner = windows_.TopmostOwner(wnd);
        if (windows_.IsToolWindow(owner)) tasks_.Add().RootWnd = owner;
      }
    } else if (!windows_.IsToolWindow(wnd)) {
      tasks_.Add().RootWnd = wnd;
    }
  }
}

// Each root gets the first usable window of its task, or itself when it is usable. A root that a
// user cannot switch to gets none, and is pruned: it is asked only once a usable window needs it,
// which spares the reads for the many hidden roots without one.
void TaskRefresh::FillEntries() {
  const auto entries = FirstEntryByRoot(tasks_);
  const std::vector<HWND>& inZOrder = windows_.Windows();
  for (size_t position = 0; position < inZOrder.size(); ++position) {
    const HWND wnd = inZOrder[position];
    HWND root = windows_.TopmostOwner(wnd);
    if (!root) {
      if (windows_.HasOwnerOrParent(wnd)) continue;
      root = wnd;
    }
    const auto found = entries.find(root);
    if (found == entries.end()) continue;
    TWinInfo& entry = *found->second;
    if (entry.Wnd && wnd != entry.RootWnd) continue;
    if (!IsUsable(wnd, windows_) || !windows_.IsSwitchable(root)) continue;
    if (!entry.Wnd) entry.ZOrder = static_cast<int>(position);
    Fill(entry, wnd);
  }
}

// The root's class was read when the root's switchability was; a store app's frame stands for
// the app inside it.
void TaskRefresh::Fill(TWinInfo& entry, HWND wnd) {
  entry.Wnd = wnd;
  const WindowThread owner = ThreadOf(wnd);
  entry.ThreadId = owner.thread;
  entry.ProcessId = owner.process;
  entry.Caption = ReadCaption(wnd, owner);
  const std::string& path = lookups_.ExePath(entry.ProcessId);
  entry.IconPath = path;
  if (windows_.ClassName(entry.RootWnd) == kFrameClassName) {
    entry.AppId = lookups_.AppIdOf(entry.RootWnd);
    entry.Icon = lookups_.FrameIcon(wnd, entry.RootWnd, path);
    entry.AppImageLate = !entry.AppId.empty() && entry.Icon.Source() != IconSource::kAppIdentity;
    entry.ExeFile = base::ExtractFileName(lookups_.FrameExePath(entry.RootWnd, path));
  } else {
    entry.Icon = lookups_.Icon(wnd, path);
    entry.ExeFile = base::ExtractFileName(path);
  }
  entry.ExeName = base::LowerAscii(entry.ExeFile);
}

// Unfilled entries, those the settings leave out and those on other monitors; downwards, so that
// the positions not yet visited stay valid. Before the ordering, so that the editor is not asked
// about excluded windows.
void TaskRefresh::RemoveUnlisted() {
  for (int i = tasks_.Count() - 1; i >= 0; --i) {
    const TWinInfo& task = tasks_.Items(i);
    if (!task.Wnd || IsExcluded(task) || (monitor_ && MonitorOfWindow(task.Wnd) != monitor_)) tasks_.Delete(i);
  }
}

// Only the listed tasks are asked; the question sends nothing to the window, and is not asked of
// a window that has just answered for its icon. Whether a window hangs is whether its thread
// reads its messages, so each thread is asked once.
// A window of the refreshing thread is never hung: the thread is running this very code, though
// it may not have read its messages for a while.
void TaskRefresh::NoteHungTasks() {
  std::unordered_map<DWORD, bool> hungThreads{{::GetCurrentThreadId(), false}};
  for (int i = 0; i < tasks_.Count(); ++i) {
    TWinInfo& task = tasks_.Items(i);
    task.Hung = false;
    if (!lookups_.Answered(task.Wnd)) {
      const auto [thread, first] = hungThreads.try_emplace(task.ThreadId, false);
      if (first) thread->second = ::IsHungAppWindow(task.Wnd) != FALSE;
      task.Hung = thread->second;
    }
    // A frame whose app's image is on its way would only be drawn over by it.
    task.IconLate = !task.Hung && !task.AppImageLate && lookups_.Unanswered(task.Wnd);
  }
}

// The root's class, not the activated window's: the root is the program's main window and its
// class names the program, while the window activated may be any of its dialogs.
bool TaskRefresh::IsExcluded(const TWinInfo& entry) {
  const TaskListOptions& options = tasks_.Options();
  if (options.exclude.Matches(entry.ExeFile)) return true;
  // The class is read only when there are classes to leave out.
  return !options.excludeClass.Empty() && options.excludeClass.Matches(windows_.ClassName(entry.RootWnd));
}

}  // namespace

void Refresh(TWinInfos& tasks, int iconSize, HMONITOR monitor) { TaskRefresh(tasks, iconSize, monitor).Run(); }

}  // namespace tasklist
