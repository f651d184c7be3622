#include "platform/base/worker_thread.h"

#include <chrono>
#include <utility>

#include "platform/base/entry_guard.h"
#include "platform/base/invariant.h"

namespace tarnwell {

WorkerThread::WorkerThread(std::function<void()> ended)
    : ended_(std::move(ended)), thread_([this] { CatchAtEntry("the batch worker thread", [this] { Loop(); }); }) {}

WorkerThread::~WorkerThread() {
  {
    GateLock lock(gate_);
    quit_ = true;
  }
  gate_.WakeAll();
  thread_.join();
}

void WorkerThread::Start(std::function<void()> task) {
  {
    GateLock lock(gate_);
    TARNWELL_INVARIANT(!running_);
    task_ = std::move(task);
    running_ = true;
  }
  gate_.WakeAll();
}

bool WorkerThread::Ended() const {
  GateLock lock(gate_);
  return !running_;
}

bool WorkerThread::WaitForEnd(int milliseconds) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
  GateLock lock(gate_);
  while (running_) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) return false;
    gate_.Wait(static_cast<int>(left));
  }
  return true;
}

bool WorkerThread::NotifyAtEnd() {
  GateLock lock(gate_);
  notify_ = running_;
  return running_;
}

void WorkerThread::Loop() {
  for (;;) {
    std::function<void()> task;
    {
      GateLock lock(gate_);
      while (!quit_ && !task_) gate_.Wait(-1);
      if (!task_) return;  // asked to quit with nothing left to do
      task = std::move(task_);
      task_ = nullptr;
    }
    CatchAtEntry("a task of the batch worker thread", task);
    bool notify = false;
    {
      GateLock lock(gate_);
      running_ = false;
      notify = std::exchange(notify_, false);
    }
    gate_.WakeAll();
    if (notify && ended_) ended_();
  }
}

}  // namespace tarnwell
