#include "ui/MenuLayout.h"

#include "base/Error.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace ui {
namespace {

// What the menu window's border and padding add to the items' height, generous for every style.
constexpr int kMenuFrameHeight = 16;

}  // namespace

MenuLayout::MenuLayout(UINT dpi, const RECT& workArea)
    : metrics_(MenuMetricsAt(dpi)),
      workArea_(workArea),
      checkMarkWidth_(::GetSystemMetrics(SM_CXMENUCHECK)),
      maxTextWidth_((workArea.right - workArea.left) * kMaxItemWidthPercent / 100 - ShownWidth({})),
      font_(CreateMenuFont(dpi)),
      measureDc_(::CreateCompatibleDC(nullptr)) {
  if (!measureDc_) throw base::Error("cannot create a device context to measure the menu's items");
  ::SelectObject(measureDc_.get(), Font());
}

HFONT MenuLayout::Font() const { return font_ ? font_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

// Sized once, so that every item's name stays where its native item points.
void MenuLayout::LayOut(const std::vector<const ItemText*>& texts) {
  items_ = std::vector<AccessibleItemData>(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    items_[i].SetName(AccessibleText(*texts[i]));
    items_[i].layout = LayOutItemText(measureDc_.get(), *texts[i], maxTextWidth_);
  }
}

int MenuLayout::PositionOfData(ULONG_PTR data) const {
  const auto first = reinterpret_cast<uintptr_t>(items_.data());
  if (data < first || (data - first) % sizeof(AccessibleItemData) != 0) return -1;
  const size_t position = (data - first) / sizeof(AccessibleItemData);
  return position < items_.size() ? static_cast<int>(position) : -1;
}

// Every item is one line in one font: the first one's height stands for all.
int MenuLayout::RowsPerColumn() const {
  if (items_.empty()) return 1;
  const LONG itemHeight = std::max<LONG>(1, SizeOf(items_.front().layout).cy);
  const int rows = std::max<int>(1, (workArea_.bottom - workArea_.top - kMenuFrameHeight) / itemHeight);
  const int count = static_cast<int>(items_.size());
  if (count <= rows) return rows;
  LONG width = 0;
  LONG columnWidth = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (i % static_cast<size_t>(rows) == 0) width += std::exchange(columnWidth, 0);
    columnWidth = std::max<LONG>(columnWidth, ShownWidth(items_[i].layout));
  }
  return width + columnWidth <= workArea_.right - workArea_.left ? rows : count;
}

SIZE MenuLayout::SizeOf(const ItemTextLayout& text) const {
  const MenuMetrics& m = metrics_;
  return {m.margin + m.iconSize + m.textGap + text.Width() + m.margin,
          std::max(m.iconSize, text.height) + 2 * m.margin};
}

}  // namespace ui
