#include "taskmenu/TaskMenu.h"

#include "base/Error.h"
#include "base/WideText.h"

#include <commctrl.h>

#include <utility>

namespace taskmenu {
namespace {

constexpr int kImageListGrowth = 4;
// Accelerators run 'a' to '~'; past that the codes would be control bytes, bytes of the upper
// half (joining a following ")" in a double-byte code page) and finally NUL.
constexpr int kAcceleratorCount = '~' - 'a' + 1;

// After the caption of a window that stopped responding: " (応答なし)", as its title bar says.
constexpr wchar_t kNotRespondingMark[] = L" (\u5FDC\u7B54\u306A\u3057)";

// "不正なイメージ リスト" (invalid image list), code page 932.
constexpr char kInvalidImageList[] = "\x95s\x90\xb3\x82\xc8\x83" "C\x83\x81\x81[\x83W \x83\x8a\x83X\x83g";

// Each icon is scaled once, when copied, to the size the menu draws at.
base::unique_himagelist CreateTaskImages(int iconSize) {
  base::unique_himagelist images(
      ::ImageList_Create(iconSize, iconSize, ILC_MASK | ILC_COLORDDB, 0, kImageListGrowth));
  if (!images) throw base::Error(kInvalidImageList);
  return images;
}

// Clears a flag on every way out of a scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;
  ~FlagScope() { flag_ = false; }

 private:
  bool& flag_;
};

// Lets go of the entry's icon once it has been copied, also when building the item failed: the
// image list holds its own copy, and an icon that the shell made for us is destroyed here.
class IconRelease {
 public:
  explicit IconRelease(tasklist::TWinInfo& task) : task_(task) {}
  IconRelease(const IconRelease&) = delete;
  IconRelease& operator=(const IconRelease&) = delete;
  ~IconRelease() { task_.Icon = {}; }

 private:
  tasklist::TWinInfo& task_;
};

}  // namespace

void TTaskPopupMenu::PopupTasks(int x, int y, HWND front) {
  if (inPopup_) return;
  FlagScope popup(inPopup_);
  ClearItems();
  const int iconSize = IconSizeAt(x, y);
  base::unique_himagelist images = CreateTaskImages(iconSize);
  tasks_.SetIconSize(iconSize);
  tasks_.Refresh();
  SetImages(std::move(images));
  ImageOfIcon imageOfIcon;
  for (int i = 0; i < tasks_.Count(); ++i) AddTaskItem(tasks_.Items(i), imageOfIcon);
  if (preselect_) HighlightOnOpen(tasks_.PreviousTask(front));
  Popup(x, y);
}

// Tasks of one window class, or of one executable without a class icon, share one icon handle;
// its image is copied once. No icon is made while the items are built, so equal handles are the
// same icon.
void TTaskPopupMenu::AddTaskItem(tasklist::TWinInfo& task, ImageOfIcon& imageOfIcon) {
  IconRelease release(task);
  int image = -1;
  if (task.Icon) {
    const auto known = imageOfIcon.find(task.Icon.Handle());
    image = known != imageOfIcon.end() ? known->second : ::ImageList_ReplaceIcon(Images(), -1, task.Icon.Handle());
    if (image >= 0) imageOfIcon.emplace(task.Icon.Handle(), image);
  }
  // Both before the item is added: the suffix goes by the item's position.
  const ui::MenuKey key = ui::MenuKeyOf(FormatItemCaption(task.Caption));
  std::wstring suffix = base::WidenAnsi(AcceleratorSuffix());
  ui::TMenuItem& item = AddItem();
  item.Text = {task.ShownCaption, task.Hung ? kNotRespondingMark : L"", std::move(suffix)};
  item.Key = key;
  item.ImageIndex = image;
  item.OnClick = [this](ui::TMenuItem& chosen) { TaskItemClick(chosen); };
  if (closeKey_) {
    item.OnCloseKey = [this](ui::TMenuItem& target, ui::CloseRequest request) { TaskItemCloseKey(target, request); };
  }
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

void TTaskPopupMenu::TaskItemClick(ui::TMenuItem& item) { tasks_.Activate(IndexOf(item)); }

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
