// Windows of ours without an input context for a while: keys typed with the IME on reach them as
// plain letters. Each window's own context comes back when the scope ends, however it ends.
#pragma once

#include "base/Handle.h"

#include <windows.h>
#include <imm.h>

#include <utility>
#include <vector>

namespace ui {

class NoInputContext {
 public:
  // `ours`, and the window of this thread that has the keyboard focus when it is one of this
  // module's as well (the window the menu was opened for): a host window's context is the host's.
  // Nothing happens where the system has no imm32.
  explicit NoInputContext(HWND ours);
  NoInputContext(const NoInputContext&) = delete;
  NoInputContext& operator=(const NoInputContext&) = delete;
  ~NoInputContext();

 private:
  void Clear(HWND wnd);

  // Loaded from the system folder: a bare name would be looked for in the host's folder first.
  base::unique_hmodule imm32_;
  decltype(&::ImmAssociateContext) associate_ = nullptr;
  std::vector<std::pair<HWND, HIMC>> previous_;  // each window and the context it had
};

}  // namespace ui
