#include "ScenarioProgram.h"

#include "base/Handle.h"

#include <windows.h>

#include <cstdio>

int RunScenarioProgram(int argc, char** argv, const char* programName, OpenArgumentFn open) {
  std::string readyEvent;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--ready" && i + 1 < argc) {
      readyEvent = argv[++i];
      continue;
    }
    const size_t colon = arg.find(':');
    if (!open(arg.substr(0, colon), colon == std::string::npos ? "" : arg.substr(colon + 1))) {
      std::fprintf(stderr, "%s: unknown argument '%s'\n", programName, arg.c_str());
      return 2;
    }
  }
  if (!readyEvent.empty()) {
    const base::unique_kernel_handle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEvent.c_str()));
    if (ready) ::SetEvent(ready.get());
  }
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
