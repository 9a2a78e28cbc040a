// Fixture processes with many real top-level windows, started together: one 32-bit start under
// qemu takes seconds, so starting dozens one after another would dominate a run.
#pragma once

#include "base/Handle.h"

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

  // Starts `processes` more fixture processes that open `windows` windows between them. Every
  // other process uses a window class without icons, so that the menu also needs shell icons,
  // and every other window has an icon of its own.
  // Throws std::runtime_error when they do not all get ready.
  void Grow(int processes, int windows);
  int Processes() const { return static_cast<int>(members_.size()); }
  int Windows() const { return windows_; }

 private:
  struct Member {
    base::unique_kernel_handle process;
    DWORD threadId = 0;
  };
  std::vector<Member> members_;
  int windows_ = 0;
};

}  // namespace bench
