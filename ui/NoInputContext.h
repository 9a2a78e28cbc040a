// A window of ours without an input context for a while: keys typed with the IME on reach it as
// plain letters. The window's own context comes back when the scope ends, however it ends.
#pragma once

#include "base/Handle.h"

#include <windows.h>
#include <imm.h>

namespace ui {

class NoInputContext {
 public:
  // Only for windows of this module: a host window's context is the host's. Nothing happens
  // where the system has no imm32.
  explicit NoInputContext(HWND ours);
  NoInputContext(const NoInputContext&) = delete;
  NoInputContext& operator=(const NoInputContext&) = delete;
  ~NoInputContext();

 private:
  // Loaded from the system folder: a bare name would be looked for in the host's folder first.
  base::unique_hmodule imm32_;
  decltype(&::ImmAssociateContext) associate_ = nullptr;
  HWND wnd_;
  HIMC previous_ = nullptr;
};

}  // namespace ui
