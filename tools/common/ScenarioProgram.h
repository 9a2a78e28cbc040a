// The shared frame of the test stand-ins: open what the command line asks for, signal a named
// event when it exists, and pump messages until the thread gets WM_QUIT.
//
//   PROGRAM [--ready EVENT] KIND[:ARGUMENT] ...
#pragma once

#include <string>

using OpenArgumentFn = bool (*)(const std::string& kind, const std::string& argument);

// Returns the program's exit code: 2 for an argument that `open` does not know.
int RunScenarioProgram(int argc, char** argv, const char* programName, OpenArgumentFn open);
