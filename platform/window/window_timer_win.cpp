#include "platform/window/window_timer_win.h"

namespace tarnwell {

void WindowTimer::SetInterval(int milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (milliseconds == interval_) return;
  if (interval_ > 0) KillTimer(window_, id_);
  interval_ = milliseconds;
  if (interval_ > 0) SetTimer(window_, id_, static_cast<UINT>(interval_), nullptr);
}

}  // namespace tarnwell
