#include "platform/base/wait_gate.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tarnwell {

struct WaitGate::Parts {
  std::mutex lock;
  std::condition_variable woken;
};

WaitGate::WaitGate() : parts_(std::make_unique<Parts>()) {}
WaitGate::~WaitGate() = default;

void WaitGate::Lock() { parts_->lock.lock(); }
void WaitGate::Unlock() { parts_->lock.unlock(); }

void WaitGate::Wait(int milliseconds) {
  // Adopts the lock the caller holds and leaves it held on return.
  std::unique_lock held(parts_->lock, std::adopt_lock);
  if (milliseconds < 0) {
    parts_->woken.wait(held);
  } else {
    parts_->woken.wait_for(held, std::chrono::milliseconds(milliseconds));
  }
  held.release();
}

void WaitGate::WakeAll() { parts_->woken.notify_all(); }

}  // namespace tarnwell
