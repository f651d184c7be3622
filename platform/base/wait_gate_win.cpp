#include "platform/base/wait_gate.h"

#include <windows.h>

namespace tarnwell {

struct WaitGate::Parts {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE woken = CONDITION_VARIABLE_INIT;
};

WaitGate::WaitGate() : parts_(std::make_unique<Parts>()) {}
WaitGate::~WaitGate() = default;

void WaitGate::Lock() { AcquireSRWLockExclusive(&parts_->lock); }
void WaitGate::Unlock() { ReleaseSRWLockExclusive(&parts_->lock); }

void WaitGate::Wait(int milliseconds) {
  SleepConditionVariableSRW(&parts_->woken, &parts_->lock, milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds),
                            0);
}

void WaitGate::WakeAll() { WakeAllConditionVariable(&parts_->woken); }

}  // namespace tarnwell
