#include "tasklist/TaskList.h"

namespace tasklist {

// The entries keep the order in which the root pass met them.
void TWinInfos::ArrangeTasks() {}

}  // namespace tasklist
