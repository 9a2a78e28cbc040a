// The running tasks as the Alt+Tab list shows them: one entry per task, found among the
// top-level windows, with the window to activate, its caption, a small icon and the executable.
#pragma once

#include "base/Collection.h"
#include "tasklist/ExecutableIcons.h"
#include "tasklist/ExecutablePaths.h"
#include "tasklist/LateAnswers.h"
#include "tasklist/StoreApps.h"
#include "tasklist/TaskCaption.h"
#include "tasklist/TaskIcon.h"
#include "tasklist/TaskListOptions.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace tasklist {

// What the task list knows of one task: one copyable record, so that a field added here is
// copied with all the others.
struct TaskRecord {
  HWND RootWnd = nullptr;  // the task's root window; key of FindByRoot
  HWND Wnd = nullptr;      // the window to activate; 0 until the fill pass accepts one
  DWORD ProcessId = 0;     // of the window to activate
  DWORD ThreadId = 0;      // of the window to activate
  TaskCaption Caption;
  TaskIcon Icon;
  std::string ExeName;        // executable file name without folder, lower-cased byte by byte
  std::string ExeFile;        // the same as the system spells it: matched by rules that fold characters
  std::string IconPath;       // the executable whose icons stand behind the window's (FallbackIcon)
  int ZOrder = 0;             // where the task's first usable window was in z-order; 0 is the front
  std::wstring AppId;         // a store app's identity (AppUserModelID), for its frame window; else empty
  bool Hung = false;          // the window to activate stopped responding, as of the refresh
  bool IconLate = false;      // it was too slow to give its own icon in the refresh, but is not hung
  bool AppImageLate = false;  // a store app's frame whose app's image is asked after the refresh
};

class TWinInfo : public base::TCollectionItem, public TaskRecord {
 public:
  void Assign(const TWinInfo& source) { static_cast<TaskRecord&>(*this) = source; }
};

// What the collection keeps from one refresh to the next, and releases with itself.
struct KeptLookups {
  ExecutablePaths executablePaths;
  ExecutableIcons executableIcons;
  SeenStoreApps storeApps;
};

// The entries are rebuilt by Refresh (TaskRefresh.h).
class TWinInfos : public base::TOwnedCollection<TWinInfo> {
 public:
  // The first entry whose root is `root`, or null.
  TWinInfo* FindByRoot(HWND root) const;
  // Asks, on threads of the plug-in's own, for the icons the last refresh could not give in time:
  // those of the windows too slow to answer, and the store apps' images not made yet; of
  // `iconSize`, as the refresh was asked.
  void AskLateIcons(const LateAnswers& answers, int iconSize);
  // The icon the entry would have shown without its own, of `iconSize` as the refresh was asked:
  // for an icon that went away (its window destroyed it, or closed) before the menu copied it.
  [[nodiscard]] TaskIcon FallbackIcon(int index, int iconSize);
  // Brings the entry's window to the front, restoring it when minimised or hidden.
  void Activate(int index) const;
  // Activates the entry's window after bringing it over to `monitor` (BringToMonitor.h).
  void BringHere(int index, HMONITOR monitor) const;
  // The entry the user came from before `front`: nearest the front in z-order among the others
  // (all when `front` is none or not listed); -1 when there is none.
  [[nodiscard]] int PreviousTask(HWND front) const;
  // Posts the system command (SC_CLOSE, SC_MINIMIZE) to the entry's window; never waits for it.
  // False when the post was refused (a window of a process above ours, say).
  [[nodiscard]] bool PostSystemCommand(int index, WPARAM command) const;

  const TaskListOptions& Options() const { return options_; }
  bool EditorMode() const { return options_.editorMode; }
  bool SortByCaption() const { return options_.sortByCaption; }
  bool SortByExe() const { return options_.sortByExe; }
  bool WindowIcon() const { return options_.windowIcon; }
  void SetEditorMode(bool value) { options_.editorMode = value; }
  void SetSortByCaption(bool value) { options_.sortByCaption = value; }
  void SetSortByExe(bool value) { options_.sortByExe = value; }
  void SetWindowIcon(bool value) { options_.windowIcon = value; }
  void SetExclude(std::string_view list) { options_.exclude = ExcludeRules(list); }
  void SetExcludeClass(std::string_view list) { options_.excludeClass = ExcludeRules(list); }
  KeptLookups& Kept() { return kept_; }

 private:
  TaskListOptions options_;
  KeptLookups kept_;
};

}  // namespace tasklist
