// One thread kept for work that may take long (the copy of a large file), so
// that the window thread stays free to answer meanwhile. The window thread
// hands it one task at a time and waits for the task's end in its own way
// (dispatching its events); the worker tells of each end through `ended`,
// called on the worker right after the task, which wakes that wait.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tarnwell {

class WorkerThread {
 public:
  explicit WorkerThread(std::function<void()> ended);
  // Waits for the task under way, then ends the thread.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Hands `task` over; the task handed over before must have ended. A task
  // that throws is reported (platform/base/entry_guard.h) and counts as ended.
  void Start(std::function<void()> task);
  // Whether the task handed over last has ended; once it says so, all that
  // the task did is seen by the caller.
  bool Ended() const;

 private:
  void Loop();

  std::function<void()> ended_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::function<void()> task_;  // the task to run; empty while none waits
  bool running_ = false;        // handed over and not yet ended
  bool quit_ = false;
  std::thread thread_;  // last: started once everything it uses is made
};

}  // namespace tarnwell
