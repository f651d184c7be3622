// 问题列表: a small window, owned by the main window, that lists what the
// last search and the last batch could not do: one row per failure with the
// path, what was being done and the system's own message. Its rows can be
// selected (Ctrl+A selects all) and copied with Ctrl+C as text, one failure
// per line. Resizable; Esc or the close box close it. Opening it again
// shows the problems as they are then.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/base/failure.h"
#include "platform/window/owned_window_objects_win.h"

namespace tarnwell {

class ProblemListWindow {
 public:
  ProblemListWindow() = default;
  ProblemListWindow(const ProblemListWindow&) = delete;
  ProblemListWindow& operator=(const ProblemListWindow&) = delete;

  // Shows `problems` in the window, creating it over `owner` when it is not
  // open, and brings it to the front.
  void Show(HWND owner, std::vector<Failure> problems);
  void Close() { window_.reset(); }

  HWND Handle() const { return window_.get(); }
  HWND List() const { return window_ ? list_ : nullptr; }
  // The text Ctrl+C puts on the clipboard: the selected rows, one per line
  // ("path<TAB>action<TAB>message"), CR LF between them.
  std::wstring SelectedRowsText() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create(HWND owner);
  void Fill();
  void Layout();
  // Keys of the list: Ctrl+C, Ctrl+A and Esc.
  bool OnListKey(WORD key);

  UniqueWindow window_;
  HWND list_ = nullptr;
  std::vector<Failure> problems_;
};

}  // namespace tarnwell
