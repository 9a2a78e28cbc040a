#include "taskmenu/ActionMenu.h"

#include "base/WideText.h"
#include "tasklist/ProcessToEnd.h"

namespace taskmenu {
namespace {

// The items' captions, as the system menu and Task Manager word them, and their accelerators.
constexpr wchar_t kSwitchCaption[] = L"\u5207\u308A\u66FF\u3048";                           // 切り替え
constexpr wchar_t kMaximizeCaption[] = L"\u6700\u5927\u5316";                               // 最大化
constexpr wchar_t kRestoreCaption[] = L"\u5143\u306E\u30B5\u30A4\u30BA\u306B\u623B\u3059";  // 元のサイズに戻す
constexpr wchar_t kMinimizeCaption[] = L"\u6700\u5C0F\u5316";                               // 最小化
constexpr wchar_t kCloseCaption[] = L"\u9589\u3058\u308B";                                  // 閉じる
constexpr wchar_t kEndTaskCaption[] = L"\u30BF\u30B9\u30AF\u306E\u7D42\u4E86";              // タスクの終了
// After the program's name: "… を終了します".
constexpr wchar_t kConfirmEndTaskCaption[] = L"\u3092\u7D42\u4E86\u3057\u307E\u3059";

// The program named in the confirmation: its executable, else the window's caption; a '&' of the
// name is shown, not taken for an accelerator.
std::wstring ProgramName(const tasklist::TWinInfo& task) {
  const std::wstring name = task.ExeFile.empty() ? task.Caption.Shown() : base::WidenAnsi(task.ExeFile);
  std::wstring shown;
  for (const wchar_t c : name) shown += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
  return shown;
}

WPARAM SystemCommandOf(TaskAction action) {
  switch (action) {
    case TaskAction::kMaximize:
      return SC_MAXIMIZE;
    case TaskAction::kRestore:
      return SC_RESTORE;
    case TaskAction::kMinimize:
      return SC_MINIMIZE;
    default:
      return SC_CLOSE;
  }
}

}  // namespace

bool IsActionMenuKey(const MSG& key) {
  return (key.message == WM_KEYDOWN && key.wParam == VK_APPS) ||
         (key.message == WM_SYSKEYDOWN && key.wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0);
}

AfterActions TActionMenu::Run(const tasklist::TWinInfos& tasks, int index, int x, int y) {
  const tasklist::TWinInfo& task = tasks.Items(index);
  // The mark may be older than this menu: the window must still not respond now. A store app's
  // frame window belongs to the frame host, which holds the frames of every store app.
  const bool hung = task.Hung && ::IsHungAppWindow(task.Wnd);
  tasklist::ProcessToEnd process;
  if (hung && task.AppId.empty()) process = tasklist::ProcessToEnd::Open(task.ProcessId, task.ExeName);
  EndTaskRow endTask = !hung ? EndTaskRow::kNone : process ? EndTaskRow::kOffered : EndTaskRow::kRefused;
  for (;;) {
    const std::optional<TaskAction> action = Choose(task, endTask, x, y);
    if (!action) return escaped_ ? AfterActions::kTasksAgain : AfterActions::kDone;
    if (*action == TaskAction::kSwitch) return AfterActions::kSwitch;
    if (*action == TaskAction::kEndTask) {
      endTask = EndTaskRow::kConfirming;
      continue;
    }
    // A refused post: a window of a program above ours (running as administrator).
    const bool done = *action == TaskAction::kConfirmEndTask ? process.EndOnOwnThread()
                                                             : tasks.PostSystemCommand(index, SystemCommandOf(*action));
    if (!done) ::MessageBeep(MB_OK);
    return AfterActions::kTasksAgain;
  }
}

// The menu posts the chosen item's command to its owner as it closes: it is taken from the queue
// at once, so that the choice is known here and runs nothing else of the thread's queue.
std::optional<TaskAction> TActionMenu::Choose(const tasklist::TWinInfo& task, EndTaskRow endTask, int x, int y) {
  ClearItems();
  AddAction(TaskAction::kSwitch, kSwitchCaption, 'S', true);
  AddAction(TaskAction::kMaximize, kMaximizeCaption, 'X', true);
  AddAction(TaskAction::kRestore, kRestoreCaption, 'R', true);
  AddAction(TaskAction::kMinimize, kMinimizeCaption, 'N', true);
  AddAction(TaskAction::kClose, kCloseCaption, 'C', true);
  if (endTask != EndTaskRow::kNone)
    AddAction(TaskAction::kEndTask, kEndTaskCaption, 'E', endTask == EndTaskRow::kOffered);
  if (endTask == EndTaskRow::kConfirming) {
    AddAction(TaskAction::kConfirmEndTask, ProgramName(task) + kConfirmEndTaskCaption, 'Y', true);
  }
  HighlightOnOpen(endTask == EndTaskRow::kConfirming ? ItemCount() - 1 : 0);
  chosen_.reset();
  escaped_ = false;
  Popup(x, y);
  MSG command;
  if (::PeekMessageA(&command, OwnerWindow(), WM_COMMAND, WM_COMMAND, PM_REMOVE)) ::DispatchMessageA(&command);
  return chosen_;
}

void TActionMenu::AddAction(TaskAction action, const std::wstring& caption, char accelerator, bool enabled) {
  const std::string suffix = std::string("(&") + accelerator + ")";
  ui::TMenuItem& item = AddItem();
  item.Text = {caption, L"", base::WidenAnsi(suffix)};
  item.Key = ui::MenuKeyOf(suffix);
  item.Enabled = enabled;
  item.OnClick = [this, action](ui::TMenuItem&) { chosen_ = action; };
}

bool TActionMenu::TakeKey(const MSG& key) {
  if (key.message == WM_KEYDOWN && key.wParam == VK_ESCAPE) escaped_ = true;
  return false;
}

}  // namespace taskmenu
