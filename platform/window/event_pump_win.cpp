#include "platform/window/event_pump_win.h"

#include <utility>

namespace tarnwell {
namespace {

thread_local MessageFilter threadFilter;

void Dispatch(MSG& message) {
  if (threadFilter && threadFilter(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// ProcessPendingEvents; false when it met a quit request (left queued).
bool DispatchPending() {
  const DWORD start = GetTickCount();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(message);
    if (static_cast<LONG>(message.time - start) > 0) return true;  // arrived after we began
  }
  return true;
}

}  // namespace

void SetMessageFilter(MessageFilter filter) { threadFilter = std::move(filter); }

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

void ProcessPendingEvents() { DispatchPending(); }

void DispatchEventsUntil(HANDLE signal, const std::function<bool()>& done, const std::function<void()>& between) {
  bool quitting = false;
  while (!done()) {
    if (quitting) {
      WaitForSingleObject(signal, 100);
      continue;
    }
    // A time limit as well: a signal set before the wait began is not missed for long.
    if (MsgWaitForMultipleObjectsEx(1, &signal, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) continue;
    quitting = !DispatchPending();
    between();
  }
}

void DelayProcessingEvents(int milliseconds) {
  if (milliseconds <= 0) return;
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG wait = static_cast<ULONGLONG>(milliseconds);
  for (;;) {
    ProcessPendingEvents();
    ULONGLONG elapsed = GetTickCount64() - start;
    if (elapsed > wait) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait - elapsed + 1), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

}  // namespace tarnwell
