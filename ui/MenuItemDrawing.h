// How one item of a menu of ours is drawn: the look's fill, the image in the icon column and the
// text beside it, in the sizes of the menu's opening.
#pragma once

#include "ui/MenuItem.h"
#include "ui/MenuLayout.h"
#include "ui/MenuTheme.h"

#include <windows.h>
#include <commctrl.h>

namespace ui {

// Draws the item at `position` of the layout into `draw`'s context; `images` may be null.
void DrawMenuItem(const DRAWITEMSTRUCT& draw, const TMenuItem& item, const MenuLayout& layout, size_t position,
                  const MenuPainter& painter, HIMAGELIST images);

}  // namespace ui
