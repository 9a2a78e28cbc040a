// What the platform alone takes to open a popup menu of N owner-drawn items: items of a fixed
// size that draw nothing, from the tracking's start to the menu waiting for input. The task menu
// cannot open faster than this, however little it does per item.
#pragma once

namespace bench {

double TimeBareMenu(int items);

}  // namespace bench
