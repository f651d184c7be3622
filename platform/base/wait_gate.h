// A lock with a condition to wait on under it, as std::mutex and
// std::condition_variable are, but built on what each system does cheapest:
// under Windows the slim reader/writer lock and its condition variable,
// which wait in the process (and under Wine without a round trip to its
// server, where the C++ library's condition variable takes several).
#pragma once

#include <memory>

namespace tarnwell {

class WaitGate {
 public:
  WaitGate();
  ~WaitGate();
  WaitGate(const WaitGate&) = delete;
  WaitGate& operator=(const WaitGate&) = delete;

  void Lock();
  void Unlock();
  // With the lock held: lets it go, waits until woken or until `milliseconds`
  // have passed (never, when negative), and takes it again. May wake early:
  // callers look at what they wait for again.
  void Wait(int milliseconds);
  // Wakes every thread waiting in Wait.
  void WakeAll();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

// Holds the gate's lock for its life.
class GateLock {
 public:
  explicit GateLock(WaitGate& gate) : gate_(gate) { gate_.Lock(); }
  ~GateLock() { gate_.Unlock(); }
  GateLock(const GateLock&) = delete;
  GateLock& operator=(const GateLock&) = delete;

 private:
  WaitGate& gate_;
};

}  // namespace tarnwell
