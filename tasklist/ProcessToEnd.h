// A process the user asked to end from the menu because its window stopped responding: opened
// with the right to end it and no other, and ended on a thread of the plug-in's own.
#pragma once

#include "base/Handle.h"

#include <windows.h>

#include <string_view>

namespace tasklist {

class ProcessToEnd {
 public:
  ProcessToEnd() = default;

  // Opens the process unless ending it is refused: the host's own (ours), the shell's
  // (explorer.exe, by its lower-cased file name) and one that cannot be opened for ending (a
  // program running as administrator, or gone). Empty when refused.
  static ProcessToEnd Open(DWORD processId, std::string_view exeName);

  explicit operator bool() const { return static_cast<bool>(process_); }

  // Ends the process on a thread of the plug-in's own and returns at once: the host's thread never
  // waits for it. False when empty or no thread could start; the process is let go either way.
  [[nodiscard]] bool EndOnOwnThread();

 private:
  base::unique_kernel_handle process_;
};

}  // namespace tasklist
