// The final order of the task entries. Apart from the editor query it needs nothing but the
// entries themselves, so it also runs on entries made by hand.
#pragma once

#include "tasklist/TaskList.h"

namespace tasklist {

// Executable names of the Velnote editor and its companion as Refresh stores them, and the marks
// that editor mode gives them: '!' sorts before every other printable byte, and the editor's
// longer run of them puts it ahead of the companion.
inline constexpr char kEditorExeName[] = "velnote.exe";
inline constexpr char kMarkedEditorExeName[] = "!!!!!!!!!!velnote.exe";
inline constexpr char kCompanionExeName[] = "velaux.exe";
inline constexpr char kMarkedCompanionExeName[] = "!!!!!!!!velaux.exe";

// Marks the editor's and the companion's entries (editor mode only), then orders all entries as
// the collection's flags say.
void OrderTasks(TWinInfos& tasks);

}  // namespace tasklist
