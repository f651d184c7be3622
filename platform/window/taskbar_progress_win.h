// A bar on a window's taskbar button, as Explorer shows a copy's progress.
// The progress window talks to it through this small interface, so that
// its logic can be tested with a stand-in where the system shows no bar
// (Wine draws no taskbar).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace tarnwell {

class TaskbarProgress {
 public:
  virtual ~TaskbarProgress() = default;
  // The button of `window` shows `done` of `total` as a bar.
  virtual void Show(HWND window, std::uint64_t done, std::uint64_t total) = 0;
  // The button shows no bar any more.
  virtual void Clear(HWND window) = 0;
};

// The system's (ITaskbarList3), made when first used on the calling thread,
// which must have COM. A system without it, or a call it refuses, shows
// nothing and tells nothing: the bar is a help, never a need.
std::unique_ptr<TaskbarProgress> SystemTaskbarProgress();

}  // namespace tarnwell
