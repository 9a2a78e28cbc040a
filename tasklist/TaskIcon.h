// A task's small icon. An icon of a window class belongs to that class and is only borrowed; an
// icon that the shell made for us is destroyed when its last holder lets go of it.
#pragma once

#include "ui/Handle.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace tasklist {

class TaskIcon {
 public:
  TaskIcon() = default;

  static TaskIcon Borrowed(HICON classIcon) {
    if (!classIcon) return {};
    return TaskIcon(Shared(classIcon, [](HICON) {}), false);
  }
  static TaskIcon Owned(ui::unique_hicon shellIcon) {
    if (!shellIcon) return {};
    return TaskIcon(Shared(shellIcon.release(), [](HICON icon) { ::DestroyIcon(icon); }), true);
  }

  HICON Handle() const { return icon_.get(); }
  bool MadeByShell() const { return madeByShell_; }
  explicit operator bool() const { return Handle() != nullptr; }

 private:
  using Shared = std::shared_ptr<std::remove_pointer_t<HICON>>;
  TaskIcon(Shared icon, bool madeByShell) : icon_(std::move(icon)), madeByShell_(madeByShell) {}

  Shared icon_;
  bool madeByShell_ = false;
};

}  // namespace tasklist
