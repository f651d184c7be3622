#include "ui/progress_window_win.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "platform/base/entry_guard.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/text/gbk_literal.h"
#include "platform/window/window_owner_win.h"

namespace tarnwell {
namespace {

constexpr wchar_t kWindowClass[] = L"TarnwellBatch";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMilliseconds = 250;
// A batch quicker than this never shows the window.
constexpr std::uint64_t kShowAfterMilliseconds = 500;
constexpr UINT_PTR kStopSubclass = 1;
constexpr int kStopId = 1;

// Places at 96 DPI, in the client area.
struct Place {
  int left, top, width, height;
};
constexpr int kClientWidth = 440;
constexpr int kClientHeight = 156;
// The current file, files, bytes, speed, time left.
constexpr Place kLabelPlaces[] = {{12, 12, 416, 18}, {12, 38, 200, 18}, {224, 38, 204, 18},
                                  {12, 60, 200, 18}, {224, 60, 204, 18}};
constexpr Place kBarPlace = {12, 88, 416, 18};
constexpr Place kStopPlace = {340, 118, 88, 26};

int Scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

HWND MakeControl(HWND parent, const wchar_t* windowClass, DWORD style, const Place& place, UINT dpi, int id) {
  HWND control = CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, Scale(place.left, dpi),
                                 Scale(place.top, dpi), Scale(place.width, dpi), Scale(place.height, dpi), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

void SetText(HWND control, const Text& text) { SetWindowTextW(control, Gb18030ToWide(text).c_str()); }

}  // namespace

ProgressWindow::ProgressWindow(BatchProgress& progress, std::function<HWND()> owner, TaskbarProgress& taskbar)
    : progress_(progress), owner_(std::move(owner)), taskbar_(taskbar) {
  progress_.OnBeginAndEnd([this] { BeginOrEnd(); });
}

ProgressWindow::~ProgressWindow() { progress_.OnBeginAndEnd(nullptr); }

void ProgressWindow::BeginOrEnd() {
  const BatchProgress::Figures figures = progress_.Read();
  if (figures.begun && !figures.ended) {
    window_.reset();
    shown_ = false;
    meter_.Clear();
    lines_ = ProgressLines{};
    began_ = GetTickCount64();
    owned_ = owner_ ? owner_() : nullptr;
    // Without its window the batch runs on, unseen.
    if (Create()) SetTimer(window_.get(), kTimerId, kTickMilliseconds, nullptr);
    return;
  }
  // The end: the window goes before the batch's end text and box, and the taskbar's bar with it.
  if (shown_ && owned_ && IsWindow(owned_)) taskbar_.Clear(owned_);
  window_.reset();
}

bool ProgressWindow::Create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterOwnedWindowClass(instance, kWindowClass, &ProgressWindow::WindowProc)) return false;
  const UINT dpi = owned_ ? GetDpiForWindow(owned_) : GetDpiForSystem();
  // Made at its size and place at once (a frame resized before it is first
  // shown may keep parts unpainted): the client area of the wanted size,
  // centred over the main window.
  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, style, FALSE, 0, dpi);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owned_) GetWindowRect(owned_, &over);
  HWND window = CreateWindowExW(0, kWindowClass, L"", style, over.left + (over.right - over.left - width) / 2,
                                over.top + (over.bottom - over.top - height) / 2, width, height, owned_, nullptr,
                                instance, this);
  if (!window) return false;
  for (std::size_t i = 0; i < std::size(labels_); ++i) {
    labels_[i] = MakeControl(window, L"STATIC", SS_LEFT | SS_NOPREFIX | (i == 0 ? SS_PATHELLIPSIS : 0),
                             kLabelPlaces[i], dpi, 0);
  }
  bar_ = MakeControl(window, PROGRESS_CLASSW, 0, kBarPlace, dpi, 0);
  SendMessageW(bar_, PBM_SETRANGE32, 0, 1000);
  stop_ = MakeControl(window, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kStopPlace, dpi, kStopId);
  SetText(stop_, "停止"_gbk);
  // Esc on the button, which holds the focus, stops as 停止 does.
  SetWindowSubclass(stop_, &ProgressWindow::StopButtonProc, kStopSubclass, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

void ProgressWindow::Tick() {
  const BatchProgress::Figures figures = progress_.Read();
  const std::uint64_t elapsed = GetTickCount64() - began_;
  meter_.Add(elapsed, MeteredAmount(figures));
  if (!shown_ && elapsed < kShowAfterMilliseconds) return;
  Show(DescribeProgress(figures, meter_.PerSecond()));
}

void ProgressWindow::Show(const ProgressLines& lines) {
  const Text* texts[] = {&lines.file, &lines.files, &lines.bytes, &lines.speed, &lines.timeLeft};
  const Text* shownTexts[] = {&lines_.file, &lines_.files, &lines_.bytes, &lines_.speed, &lines_.timeLeft};
  // Only what changed is written: the labels do not flicker.
  if (!shown_ || !TextEquals(lines.caption, lines_.caption)) SetText(window_.get(), lines.caption);
  for (std::size_t i = 0; i < std::size(labels_); ++i) {
    if (!shown_ || !TextEquals(*texts[i], *shownTexts[i])) SetText(labels_[i], *texts[i]);
  }
  if (!shown_ || lines.permille != lines_.permille) SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(lines.permille), 0);
  if (owned_) taskbar_.Show(owned_, static_cast<std::uint64_t>(lines.permille), 1000);
  if (!shown_) {
    shown_ = true;
    ShowWindow(window_.get(), SW_SHOWNORMAL);
    SetFocus(stop_);
  }
  lines_ = lines;
}

void ProgressWindow::Stop() {
  if (!progress_.StopRequested()) progress_.RequestStop();
  EnableWindow(stop_, FALSE);
  if (shown_) Show(DescribeProgress(progress_.Read(), meter_.PerSecond()));
}

LRESULT CALLBACK ProgressWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ProgressWindow* self = WindowOwner(window, message, lParam, &ProgressWindow::window_);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return CatchAtEntry("the progress window's procedure", LRESULT{0},
                      [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT CALLBACK ProgressWindow::StopButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                DWORD_PTR self) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    CatchAtEntry("the progress window's stop button", [&] { reinterpret_cast<ProgressWindow*>(self)->Stop(); });
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(button, &ProgressWindow::StopButtonProc, id);
  return DefSubclassProc(button, message, wParam, lParam);
}

LRESULT ProgressWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimerId) Tick();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kStopId && HIWORD(wParam) == BN_CLICKED) Stop();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) Stop();
      return 0;
    case WM_CLOSE:  // the close box stops the batch; the window goes when the batch has ended
      Stop();
      return 0;
    case WM_DESTROY:
      KillTimer(window_.get(), kTimerId);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

}  // namespace tarnwell
