#include "tasklist/LateAnswers.h"

#include <utility>

namespace tasklist {

// Posted, never sent: the answering thread does not wait for the menu's.
void LateAnswers::Sink::Give(size_t position, TaskIcon icon) {
  if (stopped_) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    answers_[position] = std::move(icon);
  }
  ::PostMessageA(notify_, message_, position, serial_);
}

TaskIcon LateAnswers::Answer(size_t position) const {
  const std::lock_guard<std::mutex> lock(sink_->mutex_);
  const auto found = sink_->answers_.find(position);
  return found == sink_->answers_.end() ? TaskIcon() : found->second;
}

}  // namespace tasklist
