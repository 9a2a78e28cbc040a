#include "taskmenu/TaskMenu.h"

#include "base/ScopeExit.h"
#include "base/WideText.h"
#include "tasklist/TaskRefresh.h"
#include "ui/NoInputContext.h"

#include <optional>
#include <utility>
#include <vector>

namespace taskmenu {
namespace {

// Accelerators run 'a' to '~'; past that the codes would be control bytes, bytes of the upper
// half (joining a following ")" in a double-byte code page) and finally NUL.
constexpr int kAcceleratorCount = '~' - 'a' + 1;

// After the caption of a window that stopped responding: " (応答なし)", as its title bar says.
constexpr wchar_t kNotRespondingMark[] = L" (\u5FDC\u7B54\u306A\u3057)";

static_assert(TaskImages::kPending == ui::TMenuItem::kImagePending, "a pending image reaches the item as it is");

// A task's icon is let go once its image is in the list: the list holds its own copy, and an icon
// that the shell made for us is destroyed here. A new icon is held until its item needs it.
std::vector<int> UpdateImages(TaskImages& images, tasklist::TWinInfos& tasks) {
  std::vector<TaskImageKey> keys;
  keys.reserve(static_cast<size_t>(tasks.Count()));
  for (int i = 0; i < tasks.Count(); ++i) {
    const tasklist::TWinInfo& task = tasks.Items(i);
    keys.push_back({task.Wnd, task.ProcessId, task.Icon.Handle()});
  }
  std::vector<int> shown = images.Update(keys);
  for (int i = 0; i < tasks.Count(); ++i) {
    if (shown[static_cast<size_t>(i)] != TaskImages::kPending) tasks.Items(i).Icon = {};
  }
  return shown;
}

void ReleaseIcons(tasklist::TWinInfos& tasks) {
  for (int i = 0; i < tasks.Count(); ++i) tasks.Items(i).Icon = {};
}

int PositionOfRoot(const tasklist::TWinInfos& tasks, HWND root) {
  for (int i = 0; i < tasks.Count(); ++i) {
    if (tasks.Items(i).RootWnd == root) return i;
  }
  return -1;
}

}  // namespace

void TTaskPopupMenu::PopupTasks(int x, int y, HWND front) {
  if (inPopup_) return;
  inPopup_ = true;
  const base::ScopeExit popupEnds([this] { inPopup_ = false; });
  HWND again = nullptr;
  do {
    PopupOnce(x, y, front, again);
    again = RunAskedActions(x, y);
  } while (again);
}

void TTaskPopupMenu::PopupOnce(int x, int y, HWND front, HWND again) {
  actionsAsked_ = -1;
  // The last popup's asks still waiting are dropped: they would hold up this refresh's.
  lateAnswers_.reset();
  ClearItems();
  iconSize_ = IconSizeAt(x, y);
  SetImages(images_.Begin(iconSize_));
  monitor_.Open(x, y);
  tasklist::Refresh(tasks_, iconSize_, thisMonitorOnly_ ? monitor_.Monitor() : nullptr);
  // The icons still held for their items are let go once the menu has closed, or failed to open.
  const base::ScopeExit releaseIcons([this] { ReleaseIcons(tasks_); });
  const std::vector<int> shown = UpdateImages(images_, tasks_);
  for (int i = 0; i < tasks_.Count(); ++i) AddTaskItem(tasks_.Items(i), shown[static_cast<size_t>(i)]);
  AskLateIcons(iconSize_);
  HighlightOnOpen(again ? PositionOfRoot(tasks_, again) : preselect_ ? tasks_.PreviousTask(front) : -1);
  const base::ScopeExit endFinding([this] { finding_.reset(); });
  // Typed letters reach the menu as they are, also with the IME on.
  const std::optional<ui::NoInputContext> plainKeys =
      find_ == kFindOff ? std::nullopt : std::make_optional<ui::NoInputContext>(OwnerWindow());
  Popup(x, y);
}

void TTaskPopupMenu::AddTaskItem(const tasklist::TWinInfo& task, int image) {
  // Both before the item is added: the suffix goes by the item's position.
  const ui::MenuKey key = ui::MenuKeyOf(FormatItemCaption(task.Caption.Ansi()));
  std::wstring suffix = base::WidenAnsi(AcceleratorSuffix());
  ui::TMenuItem& item = AddItem();
  item.Text = {task.Caption.Shown(), task.Hung ? kNotRespondingMark : L"", std::move(suffix)};
  item.Key = key;
  item.ImageIndex = image;
  item.OnClick = [this](ui::TMenuItem& chosen) { TaskItemClick(chosen); };
  if (closeKey_) {
    item.OnCloseKey = [this](ui::TMenuItem& target, ui::CloseRequest request) { TaskItemCloseKey(target, request); };
  }
}

void TTaskPopupMenu::AskLateIcons(int iconSize) {
  lateAnswers_ = std::make_unique<tasklist::LateAnswers>(OwnerWindow(), kLateIconMessage, ++lateSerial_);
  tasks_.AskLateIcons(*lateAnswers_, iconSize);
}

LRESULT TTaskPopupMenu::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Where the platform tells of a right click on an item (Windows; Wine never does).
  if (msg == WM_MENURBUTTONUP && actionMenu_) {
    AskActions(static_cast<int>(wParam));
    return 0;
  }
  if (msg != kLateIconMessage) return TPopupMenu::HandleMessage(msg, wParam, lParam);
  if (lParam == lateSerial_) LateIconAnswered(wParam);
  return 0;
}

void TTaskPopupMenu::LateIconAnswered(size_t answered) {
  const int position = static_cast<int>(answered);
  if (!lateAnswers_ || position >= tasks_.Count() || position >= ItemCount()) return;
  const tasklist::TaskIcon icon = lateAnswers_->Answer(answered);
  if (!icon) return;
  const tasklist::TWinInfo& task = tasks_.Items(position);
  const int image = images_.Add({task.Wnd, task.ProcessId, icon.Handle()});
  if (image >= 0) SetItemImage(Items(position), image);
}

// Copied while the task still holds its icon, which it lets go of then; an icon that went away
// meanwhile (its window destroyed it, or closed) gives way to the one the task would have shown
// without it, never to a blank.
int TTaskPopupMenu::PendingImage(int position) {
  if (position >= tasks_.Count()) return -1;
  tasklist::TWinInfo& task = tasks_.Items(position);
  const base::ScopeExit release([&task] { task.Icon = {}; });
  const int image = images_.Add({task.Wnd, task.ProcessId, task.Icon.Handle()});
  if (image >= 0) return image;
  const tasklist::TaskIcon fallback = tasks_.FallbackIcon(position, iconSize_);
  return fallback ? images_.Add({task.Wnd, task.ProcessId, fallback.Handle()}) : -1;
}

// The features that share the open menu's keys: the action menu's keys, which finding has no use
// for, come first; the monitor only notes which key chose.
bool TTaskPopupMenu::TakeKey(const MSG& key) {
  monitor_.NoteKey(key);
  if (actionMenu_ && IsActionMenuKey(key)) {
    AskActions(HighlightedPosition());
    return true;
  }
  if (finding_) return finding_->TakeKey(key);
  const FindStart start = FindStartOf(key, find_, acceleratorStyle_);
  if (start == FindStart::kNone || !OpenMenu()) return false;
  finding_ = std::make_unique<TaskFinding>(*this, tasks_);
  if (start == FindStart::kWithCharacter) (void)finding_->TakeKey(key);
  return true;
}

std::string TTaskPopupMenu::FormatItemCaption(const std::string& caption) const {
  return caption + AcceleratorSuffix();
}

std::string TTaskPopupMenu::AcceleratorSuffix() const {
  const int position = ItemCount();
  if (position >= kAcceleratorCount) return {};
  const std::string suffix = std::string("(&") + static_cast<char>('a' + position) + ")";
  switch (acceleratorStyle_) {
    case kAcceleratorAppended:
      return suffix;
    case kAcceleratorAfterSpace:
      return " " + suffix;
    default:
      return {};
  }
}

void TTaskPopupMenu::TaskItemClick(ui::TMenuItem& item) {
  if (const HMONITOR here = monitor_.BringTo()) {
    tasks_.BringHere(IndexOf(item), here);
  } else {
    tasks_.Activate(IndexOf(item));
  }
}

// Posted, never sent: a window that stopped responding closes or minimises when it recovers, and
// the menu does not wait for it.
void TTaskPopupMenu::TaskItemCloseKey(ui::TMenuItem& item, ui::CloseRequest request) {
  const bool close = request == ui::CloseRequest::kClose;
  if (!tasks_.PostSystemCommand(IndexOf(item), close ? SC_CLOSE : SC_MINIMIZE)) {
    ::MessageBeep(MB_OK);
  } else if (close) {
    DisableItem(item);
  }
}

}  // namespace taskmenu
