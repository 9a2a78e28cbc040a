#include "tasklist/AppIdentityThread.h"

#include "base/Handle.h"
#include "base/Module.h"

#include <deque>

namespace tasklist {

TaskIcon AppImages::Find(const std::wstring& appId, int size) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto found = images_.find({appId, size});
  return found == images_.end() ? TaskIcon() : found->second;
}

void AppImages::Keep(const std::wstring& appId, int size, TaskIcon image) {
  const std::lock_guard<std::mutex> lock(mutex_);
  images_[{appId, size}] = std::move(image);
}

struct AppIdentityThread::Queue {
  std::mutex mutex;
  std::deque<Ask> asks;
  bool stopped = false;
  base::unique_kernel_handle wake{::CreateEventA(nullptr, FALSE, FALSE, nullptr)};
};

AppIdentityThread::AppIdentityThread() : queue_(std::make_shared<Queue>()) {
  if (!queue_->wake || !base::StartModuleThread([queue = queue_] { Serve(queue); })) queue_.reset();
}

AppIdentityThread::~AppIdentityThread() {
  if (!queue_) return;
  std::deque<Ask> dropped;  // let go outside the lock
  {
    const std::lock_guard<std::mutex> lock(queue_->mutex);
    queue_->stopped = true;
    dropped.swap(queue_->asks);
  }
  ::SetEvent(queue_->wake.get());
}

// COM is held for the thread's life. The thread waits without a bound for its next ask: only
// this object gives it one, and its destructor wakes it for good.
void AppIdentityThread::Serve(const std::shared_ptr<Queue>& queue) {
  const AppIdentity shell;
  for (;;) {
    Ask ask;
    {
      const std::lock_guard<std::mutex> lock(queue->mutex);
      if (queue->stopped) return;
      if (!queue->asks.empty()) {
        ask = std::move(queue->asks.front());
        queue->asks.pop_front();
      }
    }
    if (!ask) {
      ::WaitForSingleObject(queue->wake.get(), INFINITE);
      continue;
    }
    try {
      ask(shell);
    } catch (...) {  // an ask that ran out of memory is lost; the next one may still be served
    }
  }
}

bool AppIdentityThread::Post(Ask ask) {
  if (!queue_) return false;
  {
    const std::lock_guard<std::mutex> lock(queue_->mutex);
    queue_->asks.push_back(std::move(ask));
  }
  ::SetEvent(queue_->wake.get());
  return true;
}

// The answer is shared with the thread, which fills it even after a wait that gave up.
std::optional<std::wstring> AppIdentityThread::IdOf(HWND wnd, DWORD timeoutMs) {
  struct Answer {
    base::unique_kernel_handle done{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::wstring id;
  };
  const auto answer = std::make_shared<Answer>();
  if (!answer->done || !Post([answer, wnd](const AppIdentity& shell) {
        answer->id = shell.IdOf(wnd);
        ::SetEvent(answer->done.get());
      })) {
    return std::wstring();
  }
  if (::WaitForSingleObject(answer->done.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  return std::move(answer->id);
}

void AppIdentityThread::AskImage(const std::wstring& appId, int size, size_t position,
                                 std::shared_ptr<AppImages> images, std::shared_ptr<LateAnswers::Sink> answers) {
  (void)Post(
      [appId, size, position, images = std::move(images), answers = std::move(answers)](const AppIdentity& shell) {
        if (answers->Stopped()) return;
        TaskIcon image = shell.ImageOf(appId, size);
        if (!image) return;
        images->Keep(appId, size, image);
        answers->Give(position, std::move(image));
      });
}

}  // namespace tasklist
