// The visual-styles functions of uxtheme.dll, loaded from the system folder once and only when a
// menu first needs them: a bare import would be looked for in the host's folder first.
#pragma once

#include "base/Handle.h"

#include <windows.h>
#include <uxtheme.h>

namespace ui {

class UxTheme {
 public:
  // Loads the library at the first call; false when it or one of its functions is missing.
  [[nodiscard]] bool Load();
  HMODULE Module() const { return library_.get(); }

  decltype(&::OpenThemeData) open = nullptr;
  decltype(&::CloseThemeData) close = nullptr;
  decltype(&::DrawThemeBackground) drawBackground = nullptr;
  decltype(&::GetThemeColor) color = nullptr;

 private:
  base::unique_hmodule library_;
  bool tried_ = false;
};

}  // namespace ui
