// The main window: one window class, `this` attached at creation, one switch
// that hands each message to a named handler, and every control created
// from the control table. The rest of the program binds its operations to
// the window's events through Events() before Create(), works the controls
// through ControlWindow(), and hands work from other threads to this window
// through Queue().
#pragma once

#include <windows.h>
#include <ole2.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "platform/base/ole_scope_win.h"
#include "platform/window/owned_window_objects_win.h"
#include "platform/base/window_thread_queue.h"
#include "platform/window/window_timer_win.h"
#include "results/result_list.h"
#include "ui/controls_win.h"
#include "ui/events_win.h"
#include "ui/result_list_keys_win.h"
#include "ui/result_list_view_win.h"

namespace tarnwell {

class MainWindow {
 public:
  MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  EventBindings& Events() { return events_; }

  // Creates the window with all its controls, centred on the screen, raises
  // its Created event and shows it. False when Win32 refuses.
  bool Create(int showCommand = SW_SHOWNORMAL);

  HWND Handle() const { return window_.get(); }
  // The control's window; null for the timer.
  HWND ControlWindow(Control control) const { return controls_[static_cast<std::size_t>(control)]; }
  WindowTimer& Timer() { return *timer_; }  // 时钟1
  ResultList& Results() { return results_; }
  CheckListView& ResultView() { return resultView_.View(); }
  // Where the list's context menu opens (screen coordinates): at the mouse
  // for a right click, below the focused row for a key.
  POINT ListMenuPoint() const { return listMenuPoint_; }
  // Where the names box's context menu opens: at the mouse for a right
  // click, below the caret for a key.
  POINT NamesBoxMenuPoint() const { return namesBoxMenuPoint_; }
  // Any thread may post to it; the tasks run on the window thread, in order.
  // Valid from Create() on; it refuses tasks once the window is closed.
  const std::shared_ptr<WindowThreadQueue>& Queue() const { return queue_; }
  // Registers the target for drops on the window (OLE drag and drop) until
  // the window is destroyed. Call after Create(), on the window thread;
  // false when OLE refuses.
  bool AcceptDrops(IDropTarget* target);
  // Runs on every WM_DEVICECHANGE (a drive going or gone), with its event
  // and data.
  void OnDeviceChange(std::function<void(WPARAM, LPARAM)> handler) { deviceChange_ = std::move(handler); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool OnCreate();
  void OnCommand(int id, int code);
  LRESULT OnNotify(const NMHDR& header);
  void OnTimer(UINT_PTR id);
  LRESULT OnLabelColour(HDC dc, HWND label);
  void OnNextControl(WPARAM which, bool isHandle);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  LRESULT OnContextMenu(HWND source, LPARAM where);
  void OnListKey(ListKey key);
  void OnDestroy();

  bool FilterMessage(MSG& message);
  bool CreateControl(const ControlSpec& entry);
  void ApplyDpi(UINT dpi);
  RECT PlaceOf(const ControlSpec& entry) const;
  void PlaceWindow();

  UniqueWindow window_;
  std::array<HWND, kControlCount> controls_{};
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  UniqueFont scaledFont_;
  std::unique_ptr<WindowTimer> timer_;
  ResultList results_;
  ResultListView resultView_{results_};
  std::shared_ptr<WindowThreadQueue> queue_;
  DWORD thread_ = 0;
  EventBindings events_;
  std::optional<OleOnThisThread> ole_;
  bool dropsRegistered_ = false;
  POINT listMenuPoint_{};
  POINT namesBoxMenuPoint_{};
  std::function<void(WPARAM, LPARAM)> deviceChange_;
};

}  // namespace tarnwell
