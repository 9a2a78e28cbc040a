// Icons that arrive for the tasks of one popup after the refresh that listed them, from threads
// of the plug-in's own, while the menu that shows them is open: the icon of a window that was too
// slow for the refresh (LateIconAsks), or a store app's image (AppIdentityThread). Both reach the
// menu the same way: each arrival is posted to the window `notify` as `message`, with the task's
// position in the list as wParam and `serial` as lParam, and Answer() then gives the icon.
//
// The menu owns this object; the answering threads hold its Sink. Once the object is gone the
// Sink drops what still comes, and the threads skip the asks not yet made.
#pragma once

#include "tasklist/TaskIcon.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

namespace tasklist {

class LateAnswers {
 public:
  class Sink {
   public:
    Sink(HWND notify, UINT message, LPARAM serial) : notify_(notify), message_(message), serial_(serial) {}

    // From any thread: keeps the icon of the task at `position` and tells the menu of it.
    void Give(size_t position, TaskIcon icon);
    // Whether the menu let go of the answers.
    [[nodiscard]] bool Stopped() const { return stopped_; }

   private:
    friend class LateAnswers;

    const HWND notify_;
    const UINT message_;
    const LPARAM serial_;
    std::atomic<bool> stopped_{false};
    mutable std::mutex mutex_;
    std::map<size_t, TaskIcon> answers_;
  };

  LateAnswers(HWND notify, UINT message, LPARAM serial) : sink_(std::make_shared<Sink>(notify, message, serial)) {}
  LateAnswers(const LateAnswers&) = delete;
  LateAnswers& operator=(const LateAnswers&) = delete;
  ~LateAnswers() { sink_->stopped_ = true; }

  // The icon that arrived for the task at `position`; empty until then.
  [[nodiscard]] TaskIcon Answer(size_t position) const;
  const std::shared_ptr<Sink>& Answers() const { return sink_; }

 private:
  std::shared_ptr<Sink> sink_;
};

}  // namespace tasklist
