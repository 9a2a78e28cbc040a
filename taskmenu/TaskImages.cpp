#include "taskmenu/TaskImages.h"

#include "base/Error.h"

#include <commctrl.h>

#include <utility>

namespace taskmenu {
namespace {

constexpr int kImageListGrowth = 4;

// "不正なイメージ リスト" (invalid image list), code page 932.
constexpr char kInvalidImageList[] =
    "\x95s\x90\xb3\x82\xc8\x83"
    "C\x83\x81\x81[\x83W \x83\x8a\x83X\x83g";

}  // namespace

// Each icon is scaled once, when copied, to the size the menu draws at.
HIMAGELIST TaskImages::Begin(int iconSize) {
  if (list_ && iconSize == iconSize_) return list_.get();
  base::unique_himagelist list(::ImageList_Create(iconSize, iconSize, ILC_MASK | ILC_COLORDDB, 0, kImageListGrowth));
  if (!list) throw base::Error(kInvalidImageList);
  list_ = std::move(list);
  iconSize_ = iconSize;
  images_.clear();
  imageOfIcon_.clear();
  taken_.clear();
  return list_.get();
}

// The known ones first, so that a new window showing a known icon (its class's, say) shares its
// image wherever it stands in the list.
std::vector<int> TaskImages::Update(const std::vector<TaskImageKey>& tasks) {
  std::vector<int> shown(tasks.size(), -1);
  const std::map<TaskImageKey, int> before = std::exchange(images_, {});
  imageOfIcon_.clear();
  taken_.assign(static_cast<size_t>(::ImageList_GetImageCount(list_.get())), false);
  for (size_t i = 0; i < tasks.size(); ++i) {
    const auto known = before.find(tasks[i]);
    if (!tasks[i].icon || known == before.end()) continue;
    shown[i] = known->second;
    Keep(tasks[i], known->second);
  }
  for (size_t i = 0; i < tasks.size(); ++i) {
    if (!tasks[i].icon || shown[i] >= 0) continue;
    const auto same = imageOfIcon_.find(tasks[i].icon);
    shown[i] = same != imageOfIcon_.end() ? same->second : kPending;
    if (shown[i] >= 0) Keep(tasks[i], shown[i]);
  }
  return shown;
}

int TaskImages::Add(const TaskImageKey& task) {
  if (const auto known = images_.find(task); known != images_.end()) return known->second;
  const auto same = imageOfIcon_.find(task.icon);
  const int image = same != imageOfIcon_.end() ? same->second : Copy(task.icon);
  if (image >= 0) Keep(task, image);
  return image;
}

void TaskImages::Keep(const TaskImageKey& task, int image) {
  images_.emplace(task, image);
  imageOfIcon_.emplace(task.icon, image);
  if (static_cast<size_t>(image) >= taken_.size()) taken_.resize(static_cast<size_t>(image) + 1, false);
  taken_[static_cast<size_t>(image)] = true;
}

// Into the first place no image of this popup takes, else at the end.
int TaskImages::Copy(HICON icon) {
  if (!icon) return -1;
  size_t free = 0;
  while (free < taken_.size() && taken_[free]) ++free;
  return ::ImageList_ReplaceIcon(list_.get(), free < taken_.size() ? static_cast<int>(free) : -1, icon);
}

}  // namespace taskmenu
