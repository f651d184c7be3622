// The one way other threads hand work to the window thread. Any thread posts
// closures; the window thread runs them in posting order when it drains the
// queue. The queue calls `wake` (from the posting thread) only when it turns
// non-empty, so the window gets at most one wake-up message per drain. A
// worker never touches a window itself and never waits for the window thread.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>

namespace tarnwell {

class WindowThreadQueue {
 public:
  using Task = std::function<void()>;

  explicit WindowThreadQueue(std::function<void()> wake);
  WindowThreadQueue(const WindowThreadQueue&) = delete;
  WindowThreadQueue& operator=(const WindowThreadQueue&) = delete;

  // Any thread. Tasks posted after Close() are dropped.
  void Post(Task task);

  // Window thread. Runs queued tasks in order until the queue is empty or the
  // time budget is spent; in the latter case it wakes the window again and
  // returns, so that painting and input are served between drains. A task
  // that throws is reported (platform/entry_guard.h) and the later ones run.
  void Drain(std::chrono::milliseconds budget = std::chrono::milliseconds(30));

  // Drops what is queued and refuses further tasks (at shutdown).
  void Close();

  bool Empty() const;

 private:
  std::function<void()> wake_;
  mutable std::mutex mutex_;
  std::deque<Task> tasks_;
  bool wakePending_ = false;
  bool closed_ = false;
};

}  // namespace tarnwell
