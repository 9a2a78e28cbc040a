// A task's small icon. An icon of a window or of its class belongs to them and is only borrowed;
// an icon that the shell made for us is destroyed when its last holder lets go of it.
#pragma once

#include "base/Handle.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace tasklist {

// Where a task's icon was found, in the order it is looked for.
// kAppIdentity, a store app's image found by its identity, is for the frame windows of store apps
// only, and comes before all of them once the shell's thread has made it.
enum class IconSource { kNone, kWindow, kWindowClass, kAppIdentity, kExecutable, kFileType };

class TaskIcon {
 public:
  TaskIcon() = default;

  static TaskIcon Borrowed(HICON icon, IconSource source = IconSource::kWindowClass) {
    if (!icon) return {};
    return TaskIcon(Shared(icon, [](HICON) {}), source);
  }
  static TaskIcon Owned(base::unique_hicon shellIcon, IconSource source = IconSource::kFileType) {
    if (!shellIcon) return {};
    return TaskIcon(Shared(shellIcon.release(), [](HICON icon) { ::DestroyIcon(icon); }), source);
  }

  HICON Handle() const { return icon_.get(); }
  IconSource Source() const { return source_; }
  bool MadeByShell() const {
    return source_ == IconSource::kAppIdentity || source_ == IconSource::kExecutable ||
           source_ == IconSource::kFileType;
  }
  explicit operator bool() const { return Handle() != nullptr; }

 private:
  using Shared = std::shared_ptr<std::remove_pointer_t<HICON>>;
  TaskIcon(Shared icon, IconSource source) : icon_(std::move(icon)), source_(source) {}

  Shared icon_;
  IconSource source_ = IconSource::kNone;
};

}  // namespace tasklist
