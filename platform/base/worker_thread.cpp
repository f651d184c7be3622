#include "platform/base/worker_thread.h"

#include <utility>

#include "platform/base/entry_guard.h"
#include "platform/base/invariant.h"

namespace tarnwell {

WorkerThread::WorkerThread(std::function<void()> ended)
    : ended_(std::move(ended)), thread_([this] { CatchAtEntry("the batch worker thread", [this] { Loop(); }); }) {}

WorkerThread::~WorkerThread() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void WorkerThread::Start(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    TARNWELL_INVARIANT(!running_);
    task_ = std::move(task);
    running_ = true;
  }
  wake_.notify_one();
}

bool WorkerThread::Ended() const {
  std::lock_guard lock(mutex_);
  return !running_;
}

void WorkerThread::Loop() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || task_; });
      if (!task_) return;  // asked to quit with nothing left to do
      task = std::move(task_);
      task_ = nullptr;
    }
    CatchAtEntry("a task of the batch worker thread", task);
    {
      std::lock_guard lock(mutex_);
      running_ = false;
    }
    if (ended_) ended_();
  }
}

}  // namespace tarnwell
