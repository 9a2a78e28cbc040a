#include "ui/MenuItemDrawing.h"

#include "base/Handle.h"

namespace ui {

void DrawMenuItem(const DRAWITEMSTRUCT& draw, const TMenuItem& item, const MenuLayout& layout, size_t position,
                  const MenuPainter& painter, HIMAGELIST images) {
  const bool selected = draw.itemState & ODS_SELECTED;
  const bool grey = draw.itemState & (ODS_GRAYED | ODS_DISABLED);
  painter.FillItem(draw.hDC, draw.rcItem, selected, grey);
  const MenuMetrics& m = layout.Metrics();
  const int top = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - m.iconSize) / 2;
  if (images && item.ImageIndex >= 0) {
    ::ImageList_Draw(images, item.ImageIndex, draw.hDC, draw.rcItem.left + m.margin, top,
                     ILD_TRANSPARENT | (grey ? ILD_BLEND50 : 0));
  }
  RECT text = draw.rcItem;
  text.left += m.margin + m.iconSize + m.textGap;
  base::ScopedSelect font(draw.hDC, layout.Font());
  ::SetBkMode(draw.hDC, TRANSPARENT);
  ::SetTextColor(draw.hDC, painter.TextColor(selected, grey));
  // DrawText underlines the accelerator and hides its '&'; "&&" shows one '&'. Until the user
  // reaches for the keyboard, the system's menus hide the underline (ODS_NOACCEL).
  const UINT prefix = (draw.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
  DrawItemText(draw.hDC, item.Text, layout.Data(position).layout, text, painter.TextColor(false, true), prefix);
}

}  // namespace ui
