// The final order of the task entries. Apart from the editor query it needs nothing but the
// entries themselves, so it also runs on entries made by hand.
#pragma once

#include "tasklist/TaskList.h"

namespace tasklist {

// Marks the editor's and the companion's entries (editor mode only), then orders all entries as
// the collection's flags say.
void OrderTasks(TWinInfos& tasks);

}  // namespace tasklist
