// The open-file query of the Velnote editor: each editor main window among the task entries is
// asked through a registered window message which file it has open, and the entry's caption then
// shows that file's folder in place of the editor's name.
#pragma once

#include "tasklist/TaskList.h"

#include <windows.h>

namespace tasklist {

// Executable names of the Velnote editor and its companion as Refresh stores them, and the marks
// that editor mode gives them: '!' sorts before every other printable byte, and the editor's
// longer run of them puts it ahead of the companion.
inline constexpr char kEditorExeName[] = "velnote.exe";
inline constexpr char kMarkedEditorExeName[] = "!!!!!!!!!!velnote.exe";
inline constexpr char kCompanionExeName[] = "velaux.exe";
inline constexpr char kMarkedCompanionExeName[] = "!!!!!!!!velaux.exe";

// How long the queries of one refresh wait for the editor's replies in all. An editor that has
// stopped responding must not hold the menu, however many windows it has; no reply in time counts
// as no answer.
inline constexpr UINT kEditorReplyTimeoutMs = 1000;

// Queries the windows of the entries whose executable carries the editor's mark, in entry order.
void QueryEditorFiles(TWinInfos& tasks);

}  // namespace tasklist
