// The program's message loops: the main loop and the short loops that long
// operations on the window thread run to keep the window responsive. All of
// them pass each message through the thread's message filter first, so a
// window sees keys before the control with the focus does (Esc, Tab).
#pragma once

#include <windows.h>

#include <functional>

namespace tarnwell {

// Returns true when it has dealt with the message, which is then not dispatched.
using MessageFilter = std::function<bool(MSG& message)>;

// For the calling thread; an empty filter removes it.
void SetMessageFilter(MessageFilter filter);

// Runs until WM_QUIT and returns its exit code.
int RunMessageLoop();

// Dispatches the messages waiting in the calling thread's queue and returns.
// A quit request ends it and stays queued for the loop further out. Messages
// that arrive while it runs end it after the first of them, so a steady
// stream from other threads cannot keep it from returning.
void ProcessPendingEvents();

// Dispatches the thread's messages until `done` holds, calling `between`
// after each round of them; `signal` (an event another thread sets) wakes
// the wait when `done` may have come to hold. It waits for messages or the
// signal rather than spinning. Once the thread has been asked to quit, it
// only waits for the signal: nothing is left to answer.
void DispatchEventsUntil(HANDLE signal, const std::function<bool()>& done, const std::function<void()>& between);

// Waits the given time while dispatching the thread's messages; returns at
// once for 0 or less. It waits for messages rather than spinning, so the
// thread serves every event of the wait without burning a processor.
void DelayProcessingEvents(int milliseconds);

}  // namespace tarnwell
