// A timer owned by a window: its ticks arrive as WM_TIMER with this timer's id
// on the window's thread. The interval is in milliseconds; 0 means stopped.
// Writing the interval the timer already has does nothing, so a running timer
// keeps its phase; any other value restarts the period at the moment of the
// write. Windows never queues up ticks: a busy thread sees one tick, not many.
#pragma once

#include <windows.h>

namespace tarnwell {

class WindowTimer {
 public:
  WindowTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;
  ~WindowTimer() { SetInterval(0); }

  UINT_PTR Id() const { return id_; }
  int Interval() const { return interval_; }
  // A negative value counts as 0.
  void SetInterval(int milliseconds);

 private:
  HWND window_;
  UINT_PTR id_;
  int interval_ = 0;
};

}  // namespace tarnwell
