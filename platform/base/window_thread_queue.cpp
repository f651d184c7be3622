#include "platform/base/window_thread_queue.h"

#include <utility>

#include "platform/base/entry_guard.h"

namespace tarnwell {

WindowThreadQueue::WindowThreadQueue(std::function<void()> wake) : wake_(std::move(wake)) {}

void WindowThreadQueue::Post(Task task) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    tasks_.push_back(std::move(task));
    if (!wakePending_) wakePending_ = wake = true;
  }
  if (wake) wake_();
}

void WindowThreadQueue::Drain(std::chrono::milliseconds budget) {
  auto deadline = std::chrono::steady_clock::now() + budget;
  for (;;) {
    Task task;
    {
      std::lock_guard lock(mutex_);
      if (tasks_.empty()) {
        wakePending_ = false;
        return;
      }
      if (std::chrono::steady_clock::now() >= deadline) break;  // wakePending_ stays set: we wake below
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    // A task that throws is reported and the queue goes on: leaving here
    // would leave the wake-up pending with nobody to drain, and no later
    // task (rows, a search's end) would ever run.
    CatchAtEntry("a task of the window thread's queue", task);
  }
  wake_();
}

void WindowThreadQueue::Close() {
  std::deque<Task> dropped;
  std::lock_guard lock(mutex_);
  closed_ = true;
  dropped.swap(tasks_);
}

bool WindowThreadQueue::Empty() const {
  std::lock_guard lock(mutex_);
  return tasks_.empty();
}

}  // namespace tarnwell
