#include "ui/MenuItemDrawing.h"

#include "base/Handle.h"
#include "ui/CaptionMarks.h"

namespace ui {

void DrawMenuItem(const DRAWITEMSTRUCT& draw, const TMenuItem& item, const MenuLayout& layout, size_t position,
                  const MenuPainter& painter, HIMAGELIST images) {
  const bool selected = draw.itemState & ODS_SELECTED;
  const bool grey = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) || item.Dimmed;
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
  const ItemTextLayout& textLayout = layout.Data(position).layout;
  DrawItemText(draw.hDC, item.Text, textLayout, text, painter.TextColor(false, true), prefix);
  DrawCaptionMarks(draw.hDC, item.Text.Caption, item.Marks,
                   {text.left, text.top, text.left + textLayout.captionWidth, text.bottom}, textLayout.height,
                   m.margin - 1, prefix);
}

}  // namespace ui
