// Fixture processes with many real top-level windows, started together: one 32-bit start under
// qemu takes seconds, so starting dozens one after another would dominate a run.
#pragma once

#include "base/Handle.h"
#include "bench/IconWindows.h"

#include <windows.h>

#include <vector>

namespace bench {

class Fleet {
 public:
  Fleet() = default;
  Fleet(const Fleet&) = delete;
  Fleet& operator=(const Fleet&) = delete;
  // Asks every process to quit; terminates those that do not.
  ~Fleet();

  // Opens `windows` more windows: half of them in this process, each with an icon of its own, the
  // others in `processes` more fixture processes. Every other process uses a window class without
  // icons, so that the menu also needs shell icons. Throws std::runtime_error when they do not all
  // get ready.
  void Grow(int processes, int windows);
  int Processes() const { return static_cast<int>(members_.size()); }
  int Windows() const { return windows_ + iconWindows_.Count(); }

 private:
  struct Member {
    base::unique_kernel_handle process;
    DWORD threadId = 0;
  };
  std::vector<Member> members_;
  int windows_ = 0;  // of the processes
  IconWindows iconWindows_;
};

}  // namespace bench
