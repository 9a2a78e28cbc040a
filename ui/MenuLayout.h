// How the items of one opening of a menu fit on its monitor: the sizes at that monitor's DPI, the
// menu font and a context to measure in, each item's text layout and name for screen readers, and
// the rows of a column. Made when the menu is about to open and dropped once it has closed: the
// native items point into it meanwhile.
#pragma once

#include "base/Handle.h"
#include "ui/ItemText.h"
#include "ui/MenuMetrics.h"

#include <windows.h>

#include <vector>

namespace ui {

// The widest an item may be, in percent of the width of the work area the menu opens in.
inline constexpr int kMaxItemWidthPercent = 45;

class MenuLayout {
 public:
  // For the thread's DPI awareness at the time. Throws base::Error when no context to measure in
  // can be made.
  MenuLayout(UINT dpi, const RECT& workArea);

  const MenuMetrics& Metrics() const { return metrics_; }
  // The menu font; out of GDI objects, the stock interface font, which needs no object of ours.
  HFONT Font() const;

  // Measures every item at once: the items' data stays where it is from then on.
  void LayOut(const std::vector<const ItemText*>& texts);
  size_t Count() const { return items_.size(); }
  const AccessibleItemData& Data(size_t position) const { return items_[position]; }
  // The position of the item whose native item has this data, or -1.
  [[nodiscard]] int PositionOfData(ULONG_PTR data) const;
  [[nodiscard]] SIZE ItemSize(size_t position) const { return SizeOf(items_[position].layout); }
  // Columns only while they all fit the work area's width; past that one column, which the
  // platform scrolls, keeps every item on the screen.
  [[nodiscard]] int RowsPerColumn() const;

 private:
  SIZE SizeOf(const ItemTextLayout& text) const;
  // The platform widens each owner-drawn item by its check-mark column.
  int ShownWidth(const ItemTextLayout& text) const { return SizeOf(text).cx + checkMarkWidth_; }

  MenuMetrics metrics_;
  RECT workArea_;
  // Read once: the platform takes its time to answer, and there may be thousands of items.
  int checkMarkWidth_;
  int maxTextWidth_;  // an item's text is cut to this width
  base::unique_hfont font_;
  base::unique_hdc measureDc_;  // the font selected; deleted before it
  std::vector<AccessibleItemData> items_;
};

}  // namespace ui
