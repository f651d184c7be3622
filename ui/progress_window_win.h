// The progress of a batch in a small window of its own, owned by the main
// window and shown once the batch has worked on its files for half a second
// (never for a quick one): what is being done, the current file, files and
// bytes done of the ticked ones, speed and time left, a bar, and 停止. 停止,
// Esc in the window and its close box ask the batch to stop. It is not
// modal: the main window's list scrolls and ticks meanwhile. The main
// window's taskbar button shows the same bar. The window goes when the batch
// ends, before the batch's end text and box.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/window/owned_window_objects_win.h"
#include "platform/window/taskbar_progress_win.h"
#include "results/batch_progress.h"
#include "results/progress_figures.h"

namespace tarnwell {

class ProgressWindow {
 public:
  // `owner` gives the main window when a batch begins.
  ProgressWindow(BatchProgress& progress, std::function<HWND()> owner, TaskbarProgress& taskbar);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // While a batch runs: the window (hidden for its first half second);
  // null otherwise.
  HWND Handle() const { return window_.get(); }
  HWND StopButton() const { return window_ ? stop_ : nullptr; }
  // Whether the window has been shown for the batch running or the last one.
  bool WasShown() const { return shown_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StopButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void BeginOrEnd();
  bool Create();
  void Tick();
  void Show(const ProgressLines& lines);
  void Stop();

  BatchProgress& progress_;
  std::function<HWND()> owner_;
  TaskbarProgress& taskbar_;
  UniqueWindow window_;
  HWND owned_ = nullptr;  // the owner of the batch running
  HWND labels_[5]{};      // file, files, bytes, speed, time left
  HWND bar_ = nullptr;
  HWND stop_ = nullptr;
  std::uint64_t began_ = 0;  // GetTickCount64 at the batch's begin
  bool shown_ = false;
  RateMeter meter_;
  ProgressLines lines_;  // what the controls show now
};

}  // namespace tarnwell
