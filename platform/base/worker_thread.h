// One thread kept for work that may take long (the copy of a large file), so
// that the window thread stays free to answer meanwhile. The window thread
// hands it one task at a time and waits for the task's end in its own way
// (dispatching its events). A task that ends soon (a small file's copy) is
// waited for cheaply with WaitForEnd; for a longer one the window thread
// asks with NotifyAtEnd to be told of its end through `ended`, called on the
// worker right after the task, which wakes its own wait.
#pragma once

#include <functional>
#include <thread>

#include "platform/base/wait_gate.h"

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
  // Waits at most `milliseconds` for the task handed over last to end;
  // whether it has.
  bool WaitForEnd(int milliseconds);
  // Has `ended` called when the task handed over last ends; false (and
  // nothing will be called) when it has already ended.
  bool NotifyAtEnd();

 private:
  void Loop();

  std::function<void()> ended_;
  // Guards what follows; woken when a task is handed over, when one ends
  // and when the thread is to quit.
  mutable WaitGate gate_;
  std::function<void()> task_;  // the task to run; empty while none waits
  bool running_ = false;        // handed over and not yet ended
  bool notify_ = false;         // `ended` is to be called at the task's end
  bool quit_ = false;
  std::thread thread_;  // last: started once everything it uses is made
};

}  // namespace tarnwell
