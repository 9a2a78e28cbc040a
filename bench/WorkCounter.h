// What a popup does besides taking time, counted exactly through this program's import table
// (the task menu is linked into the benchmark): the WM_GETICON asks it sends to windows and the
// icons it copies into the menu's image list, before the menu is shown and while it is open.
#pragma once

#include "tests/support/ImportPatch.h"

namespace bench {

struct WorkCount {
  int iconAsks = 0;
  int iconsCopied = 0;      // before the menu was shown
  int iconsCopiedOpen = 0;  // from then until the popup returned
};

// The menu is shown: the copies from here on, until the next Take, are made while it is open.
void NoteMenuShown();

class WorkCounter {
 public:
  // Throws std::runtime_error when the program does not import what is counted: a count that
  // sees nothing must not read as no work.
  WorkCounter();

  // The counts since the last call, which starts new ones, before the menu is shown again.
  WorkCount Take();

 private:
  testing_support::ImportPatch asksA_;
  testing_support::ImportPatch asksW_;
  testing_support::ImportPatch replaceIcon_;
  testing_support::ImportPatch add_;
  testing_support::ImportPatch addMasked_;
};

}  // namespace bench
