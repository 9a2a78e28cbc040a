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
  return list_.get();
}

// The known ones first, so that a new window showing a known icon (its class's, say) shares its
// image wherever it stands in the list.
std::vector<int> TaskImages::Update(const std::vector<TaskImageKey>& tasks) {
  std::vector<int> shown(tasks.size(), -1);
  std::map<TaskImageKey, int> kept;
  std::map<HICON, int> imageOfIcon;
  std::vector<bool> taken(static_cast<size_t>(::ImageList_GetImageCount(list_.get())), false);
  for (size_t i = 0; i < tasks.size(); ++i) {
    const auto known = images_.find(tasks[i]);
    if (!tasks[i].icon || known == images_.end()) continue;
    shown[i] = known->second;
    kept.emplace(tasks[i], known->second);
    imageOfIcon.emplace(tasks[i].icon, known->second);
    taken[static_cast<size_t>(known->second)] = true;
  }
  for (size_t i = 0; i < tasks.size(); ++i) {
    if (!tasks[i].icon || shown[i] >= 0) continue;
    const auto same = imageOfIcon.find(tasks[i].icon);
    shown[i] = same != imageOfIcon.end() ? same->second : Copy(tasks[i].icon, taken);
    if (shown[i] < 0) continue;
    kept.emplace(tasks[i], shown[i]);
    imageOfIcon.emplace(tasks[i].icon, shown[i]);
  }
  images_ = std::move(kept);
  return shown;
}

int TaskImages::Add(const TaskImageKey& task) {
  if (const auto known = images_.find(task); known != images_.end()) return known->second;
  std::vector<bool> taken(static_cast<size_t>(::ImageList_GetImageCount(list_.get())), false);
  for (const auto& [key, image] : images_) taken[static_cast<size_t>(image)] = true;
  const int image = Copy(task.icon, taken);
  if (image >= 0) images_.emplace(task, image);
  return image;
}

// Into the first place no image of this popup takes, else at the end.
int TaskImages::Copy(HICON icon, std::vector<bool>& taken) {
  size_t free = 0;
  while (free < taken.size() && taken[free]) ++free;
  const int image = ::ImageList_ReplaceIcon(list_.get(), free < taken.size() ? static_cast<int>(free) : -1, icon);
  if (image < 0) return -1;
  if (static_cast<size_t>(image) >= taken.size()) taken.resize(static_cast<size_t>(image) + 1, false);
  taken[static_cast<size_t>(image)] = true;
  return image;
}

}  // namespace taskmenu
