#include "ui/main_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "platform/window/context_menu_to_parent_win.h"
#include "platform/base/debug_output.h"
#include "platform/window/edit_text_win.h"
#include "platform/base/entry_guard.h"
#include "platform/window/event_pump_win.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/transparent_label_win.h"
#include "platform/window/window_owner_win.h"
#include "platform/window/window_properties_win.h"
#include "ui/frame_control_win.h"

namespace tarnwell {
namespace {

constexpr wchar_t kWindowClass[] = L"TarnwellMainWindow";
constexpr wchar_t kTitle[] = L"Tarnwell";
// A fixed frame (no sizing border), a title bar with the system menu, the
// close and the minimize button; no maximize button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kWakeMessage = WM_APP + 1;
constexpr UINT_PTR kClockTimerId = 1;  // 时钟1
constexpr UINT_PTR kDrainTimerId = 2;

int Scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

// Wakes the window thread for the hand-off queue. Other threads post a
// message. The window thread itself only wakes up again when a drain ran out
// of time; it then uses a short timer instead, because timer messages come
// after input and painting, which a stream of posted messages would starve.
void WakeWindow(HWND window, DWORD windowThread) {
  if (GetCurrentThreadId() == windowThread) {
    SetTimer(window, kDrainTimerId, USER_TIMER_MINIMUM, nullptr);
  } else {
    PostMessageW(window, kWakeMessage, 0, 0);
  }
}

bool FirstInContainer(const ControlSpec& entry) {
  auto index = static_cast<std::size_t>(entry.control);
  return index == 0 || ControlTable()[index - 1].container != entry.container;
}

}  // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  window_.reset();
  ole_.reset();  // after the window, whose drops need it
}

bool MainWindow::AcceptDrops(IDropTarget* target) {
  if (!window_ || dropsRegistered_) return false;
  // Drag and drop needs OLE on the window's thread for the window's life.
  if (!ole_ || !ole_->Started()) {
    ole_.reset();
    ole_.emplace();
  }
  if (!ole_->Started()) return false;
  dropsRegistered_ = SUCCEEDED(RegisterDragDrop(window_.get(), target));
  return dropsRegistered_;
}

bool MainWindow::Create(int showCommand) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX commonControls{sizeof commonControls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&commonControls);
  if (!RegisterOwnedWindowClass(instance, kWindowClass, &MainWindow::WindowProc) || !RegisterFrameClass(instance)) {
    return false;
  }
  thread_ = GetCurrentThreadId();
  UINT dpi = GetDpiForSystem();
  HWND window = CreateWindowExW(0, kWindowClass, kTitle, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                Scale(kOuterWidth, dpi), Scale(kOuterHeight, dpi), nullptr, nullptr, instance, this);
  if (!window) return false;
  PlaceWindow();
  SetMessageFilter([this](MSG& message) { return FilterMessage(message); });
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = WindowOwner(window, message, lParam, &MainWindow::window_);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  // No exception may unwind into the system code that called us.
  return CatchAtEntry("the main window's procedure", LRESULT{message == WM_CREATE ? -1 : 0},
                      [&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnLabelColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NEXTDLGCTL:
      OnNextControl(wParam, LOWORD(lParam) != 0);
      return 0;
    case WM_CONTEXTMENU:
      return OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kWakeMessage:
      queue_->Drain();
      return 0;
    case WM_DEVICECHANGE:
      // Every removal is granted; what holds the volume lets it go first.
      if (deviceChange_) deviceChange_(wParam, lParam);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcW(window_.get(), message, wParam, lParam);
  }
}

bool MainWindow::OnCreate() {
  HWND window = window_.get();
  queue_ = std::make_shared<WindowThreadQueue>([window, thread = thread_] { WakeWindow(window, thread); });
  timer_ = std::make_unique<WindowTimer>(window, kClockTimerId);
  for (const ControlSpec& entry : ControlTable()) {
    if (entry.kind != ControlKind::NoWindow && !CreateControl(entry)) return false;
  }
  ApplyDpi(GetDpiForWindow(window));
  events_.Raise(Control::MainWindow, Event::Created);
  return true;
}

bool MainWindow::CreateControl(const ControlSpec& entry) {
  const KindSpec& kind = KindOf(entry.kind);
  HWND parent = entry.container == Control::MainWindow ? window_.get() : ControlWindow(entry.container);
  DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
  if (entry.state & kDisabled) style |= WS_DISABLED;
  // Each frame's radio pair is one group of its own.
  if (entry.kind == ControlKind::RadioButton && FirstInContainer(entry)) style |= WS_GROUP;
  std::wstring text = entry.kind == ControlKind::ListView ? std::wstring() : Gb18030ToWide(*entry.text);
  HWND control = CreateWindowExW(kind.extendedStyle, kind.windowClass, text.c_str(), style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(entry.control))),
                                 GetModuleHandleW(nullptr), nullptr);
  if (!control) return false;
  controls_[static_cast<std::size_t>(entry.control)] = control;
  switch (entry.kind) {
    case ControlKind::RadioButton:
      SetChecked(control, (entry.state & kChecked) != 0);
      break;
    case ControlKind::LineEdit:
    case ControlKind::MultiLineEdit:
      SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no limit but the platform's own
      // The names box shows a menu of the program's own (see OnContextMenu).
      if (entry.control == Control::NamesBox && !SendContextMenuToParent(control)) {
        WriteDebugLine("the names box keeps the system's menu: it could not be subclassed");
      }
      break;
    case ControlKind::TransparentLabel:
      // It lies above the control listed right before it in the table, on
      // top of the stacking order; labels are no Tab stops, so the Tab order stays.
      SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      MakeTransparentLabel(control, ControlWindow(ControlTable()[static_cast<std::size_t>(entry.control) - 1].control));
      break;
    case ControlKind::ListView:
      ListView_SetExtendedListViewStyle(control, kResultListExtendedStyle);
      resultView_.Attach(control);
      resultView_.View().AddColumn(*entry.text, kResultColumnWidth);
      break;
    default:
      break;
  }
  return true;
}

RECT MainWindow::PlaceOf(const ControlSpec& entry) const {
  int left = Scale(entry.left, dpi_);
  int top = Scale(entry.top, dpi_);
  return {left, top, left + Scale(entry.width, dpi_), top + Scale(entry.height, dpi_)};
}

void MainWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  // The default GUI font is made for the system's DPI; another monitor's DPI
  // gets the same font scaled.
  auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  UniqueFont scaled;
  if (UINT systemDpi = GetDpiForSystem(); dpi != systemDpi) {
    LOGFONTW logFont{};
    GetObjectW(font, sizeof logFont, &logFont);
    logFont.lfHeight = MulDiv(logFont.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi));
    scaled.reset(CreateFontIndirectW(&logFont));
    if (scaled) font = scaled.get();
  }
  for (const ControlSpec& entry : ControlTable()) {
    HWND control = entry.kind == ControlKind::NoWindow ? nullptr : ControlWindow(entry.control);
    if (!control) continue;
    RECT place = PlaceOf(entry);
    SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  ListView_SetColumnWidth(ControlWindow(Control::ResultView), 0, Scale(kResultColumnWidth, dpi));
  scaledFont_ = std::move(scaled);  // the old font goes only now that no control uses it
  InvalidateRect(window_.get(), nullptr, TRUE);
}

void MainWindow::PlaceWindow() {
  int width = Scale(kOuterWidth, dpi_);
  int height = Scale(kOuterHeight, dpi_);
  int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window_.get(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnCommand(int id, int code) {
  int index = id - kFirstControlId;
  // IDOK and IDCANCEL from the dialog-style keys land here too: there is no
  // default button, so Enter clicks nothing.
  if (index < 0 || index >= kControlCount) return;
  auto control = static_cast<Control>(index);
  switch (SpecOf(control).kind) {
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
      if (code == BN_CLICKED) events_.Raise(control, Event::Click);
      break;
    case ControlKind::LineEdit:
    case ControlKind::MultiLineEdit:
      if (code == EN_CHANGE) events_.Raise(control, Event::ContentChanged);
      break;
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
      if (code == STN_CLICKED) events_.Raise(control, Event::LeftButtonDown);
      break;
    default:
      break;
  }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  LRESULT result = 0;
  if (resultView_.View().OnNotify(header, &result)) return result;
  if (header.hwndFrom == ControlWindow(Control::ResultView) && header.code == NM_DBLCLK) {
    events_.Raise(Control::ResultView, Event::DoubleClick);
  }
  return 0;
}

void MainWindow::OnTimer(UINT_PTR id) {
  if (id == kClockTimerId) {
    // A tick that was already due when the program stopped the timer is dropped.
    if (timer_->Interval() > 0) events_.Raise(Control::Timer, Event::Tick);
  } else if (id == kDrainTimerId) {
    KillTimer(window_.get(), kDrainTimerId);
    queue_->Drain();
  }
}

LRESULT MainWindow::OnLabelColour(HDC dc, HWND label) {
  if (label != ControlWindow(Control::HintLabel)) {
    return DefWindowProcW(window_.get(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(label));
  }
  // Light grey text, and no background of its own.
  SetTextColor(dc, kHintColour);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

// Tab and Shift+Tab, as a dialog box moves the focus: to the next control that
// is a Tab stop, into the frames, and to the checked button of a radio pair.
void MainWindow::OnNextControl(WPARAM which, bool isHandle) {
  HWND next = isHandle ? reinterpret_cast<HWND>(which) : GetNextDlgTabItem(window_.get(), GetFocus(), which != 0);
  if (!next) return;
  SetFocus(next);
  if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
  ApplyDpi(dpi);
  SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT MainWindow::OnContextMenu(HWND source, LPARAM where) {
  HWND list = ControlWindow(Control::ResultView);
  HWND namesBox = ControlWindow(Control::NamesBox);
  // The hint lies over the names box: a right click on it is one in the box.
  if (source == namesBox || source == ControlWindow(Control::HintLabel)) {
    namesBoxMenuPoint_ = where == -1 ? EditKeyboardMenuPoint(namesBox) : POINT{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    events_.Raise(Control::NamesBox, Event::ContextMenu);
    return 0;
  }
  if (source != list) return DefWindowProcW(window_.get(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(source), where);
  // -1 comes from a key.
  listMenuPoint_ = where == -1 ? resultView_.View().KeyboardMenuPoint()
                               : POINT{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  events_.Raise(Control::ResultView, Event::ContextMenu);
  return 0;
}

void MainWindow::OnListKey(ListKey key) {
  switch (key) {
    case ListKey::SelectAll: resultView_.View().SelectAll(); break;
    case ListKey::ToggleTicks: resultView_.View().ToggleSelectedTicks(); break;
    case ListKey::Open: events_.Raise(Control::ResultView, Event::EnterKey); break;
    case ListKey::CopyPaths: events_.Raise(Control::ResultView, Event::CopyKey); break;
    case ListKey::Menu:
      listMenuPoint_ = resultView_.View().KeyboardMenuPoint();
      events_.Raise(Control::ResultView, Event::ContextMenu);
      break;
    case ListKey::Thumbnails: events_.Raise(Control::ResultView, Event::ThumbnailKey); break;
    case ListKey::Swallow: break;
  }
}

void MainWindow::OnDestroy() {
  SetMessageFilter(nullptr);
  // OLE lets the drop target go while the window still exists.
  if (dropsRegistered_) RevokeDragDrop(window_.get());
  dropsRegistered_ = false;
  KillTimer(window_.get(), kDrainTimerId);
  // Whatever workers still post after this is dropped.
  if (queue_) queue_->Close();
  PostQuitMessage(0);
}

// Every key meant for this window or its controls passes here first. Esc
// closes the window wherever the focus is, also in the multi-line names box,
// which would otherwise take the key; the result list's keys go to the list's
// commands; the other keys get dialog-box handling (Tab order, arrow keys in
// the radio pairs).
bool MainWindow::FilterMessage(MSG& message) {
  HWND window = window_.get();
  if (!window || (message.hwnd != window && !IsChild(window, message.hwnd))) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    return true;
  }
  // The list's own keys never reach the dialog-style handling, which would
  // take Enter for a default button.
  if (message.hwnd == ControlWindow(Control::ResultView)) {
    if (std::optional<ListKey> key = ListKeyOf(message)) {
      OnListKey(*key);
      return true;
    }
  }
  // Of those keys the names box takes only its menu's; the others are its own.
  if (message.hwnd == ControlWindow(Control::NamesBox)) {
    const std::optional<ListKey> key = ListKeyOf(message);
    if (key == ListKey::Menu) {
      namesBoxMenuPoint_ = EditKeyboardMenuPoint(message.hwnd);
      events_.Raise(Control::NamesBox, Event::ContextMenu);
      return true;
    }
    if (key == ListKey::Swallow) return true;
  }
  return IsDialogMessageW(window, &message) != FALSE;
}

}  // namespace tarnwell
