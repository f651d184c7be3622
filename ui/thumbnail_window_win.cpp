#include "ui/thumbnail_window_win.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pictures/picture_maker_win.h"
#include "platform/base/entry_guard.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/text/gbk_literal.h"
#include "ui/main_window_win.h"
#include "ui/picture_drawing_win.h"
#include "ui/picture_info_line.h"
#include "ui/thumbnail_place.h"

namespace tarnwell {
namespace {

constexpr wchar_t kWindowClass[] = L"TarnwellThumbnails";
constexpr UINT_PTR kCountTimer = 1;
constexpr UINT kCountInterval = 100;  // as the list takes its row count
constexpr int kDefaultWidth = 940;
constexpr int kDefaultHeight = 640;
constexpr int kSmallestWidth = 240;
constexpr int kSmallestHeight = 260;
constexpr int kInfoLineHeight = 26;
constexpr COLORREF kLargeBackground = RGB(40, 40, 40);
constexpr COLORREF kWaitingPicture = RGB(232, 232, 232);

bool RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;  // every pixel is painted
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// 0xAARRGGBB of a system colour, for what is drawn behind icons.
std::uint32_t Argb(COLORREF colour) {
  return 0xFF000000u | (std::uint32_t{GetRValue(colour)} << 16) | (std::uint32_t{GetGValue(colour)} << 8) |
         GetBValue(colour);
}

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

void FillRectColour(HDC dc, const RECT& rect, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void DrawTick(HDC dc, const RECT& box, bool ticked) {
  RECT frame = box;
  DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONCHECK | (ticked ? DFCS_CHECKED : 0u));
}

void DrawLine(HDC dc, const Text& text, RECT rect, UINT extra = 0) {
  const std::wstring wide = Gb18030ToWide(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect,
            DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | extra);
}

}  // namespace

ThumbnailWindow::ThumbnailWindow(MainWindow& main, Text programDirectory, Wanted wanted, PictureWork::Maker maker)
    : main_(main),
      rows_(main.Results()),
      directory_(std::move(programDirectory)),
      wanted_(std::move(wanted)),
      maker_(maker ? std::move(maker) : PictureWork::Maker(&MakePicture)) {}

ThumbnailWindow::~ThumbnailWindow() { Close(); }

void ThumbnailWindow::Open() {
  if (HWND window = window_.get()) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    return;
  }
  wantedNames_ = std::make_unique<WantedNameOfRow>(wanted_.namesBox(), wanted_.lastSearchRules());
  wantedNameCache_.clear();
  shownRows_ = rows_.RowCount();
  topLine_ = 0;
  large_.reset();
  const int listFocus = main_.ResultView().FocusedRow();
  selection_.Reset(-1);
  if (listFocus >= 0 && listFocus < shownRows_) selection_.Choose(listFocus);
  focusId_ = rows_.IdOf(selection_.Focus());
  listener_ = rows_.AddListener([this](ResultList::Change change, int row) { OnRowsChanged(change, row); });

  // Pictures made on the picture threads come back as a task that runs only
  // while this window is open.
  alive_ = std::make_shared<ThumbnailWindow*>(this);
  auto announce = [queue = main_.Queue(), alive = std::weak_ptr<ThumbnailWindow*>(alive_)](const std::string& key) {
    if (!queue) return;
    queue->Post([alive, key] {
      if (const auto self = alive.lock()) (*self)->OnPictureMade(key);
    });
  };
  work_ = std::make_unique<PictureWork>(cache_, maker_, std::move(announce), PictureWork::DefaultThreads(),
                                        &PreparePictureThread);
  if (!Create()) {
    Close();
    return;
  }
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  SetForegroundWindow(window_.get());
  SetFocus(window_.get());
}

void ThumbnailWindow::Close() {
  if (window_) {
    DestroyWindow(window_.get());  // OnDestroy lets the rest go
  }
  window_.reset();
}

bool ThumbnailWindow::Create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance, &ThumbnailWindow::WindowProc)) return false;
  const UINT dpi = GetDpiForWindow(main_.Handle());
  auto scale = [dpi](int value) { return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); };
  RECT place{0, 0, scale(kDefaultWidth), scale(kDefaultHeight)};
  RECT owner{};
  GetWindowRect(main_.Handle(), &owner);
  OffsetRect(&place, (owner.left + owner.right - place.right) / 2, (owner.top + owner.bottom - place.bottom) / 2);
  if (const std::optional<WindowPlace> kept = ThumbnailPlaceChosen(directory_)) {
    const RECT keptRect{kept->left, kept->top, kept->left + kept->width, kept->top + kept->height};
    // Only a place that is still on a screen (a monitor may have gone).
    if (MonitorFromRect(&keptRect, MONITOR_DEFAULTTONULL)) place = keptRect;
  }
  const std::wstring title = Gb18030ToWide("缩略图"_gbk);
  HWND window = CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, place.left,
                                place.top, place.right - place.left, place.bottom - place.top, main_.Handle(),
                                nullptr, instance, this);
  return window != nullptr;
}

LRESULT CALLBACK ThumbnailWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ThumbnailWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<ThumbnailWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(window);
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_.release();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return CatchAtEntry("the thumbnail window's procedure", LRESULT{0},
                      [&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT ThumbnailWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_.get();
  switch (message) {
    case WM_CREATE:
      ApplyDpi(GetDpiForWindow(window));
      return 0;
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {Scaled(kSmallestWidth), Scaled(kSmallestHeight)};
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window, &paint);
      Paint(dc, paint.rcPaint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      OnKey(wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(window);
      OnClick({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_CONTROL) != 0, (wParam & MK_SHIFT) != 0,
              message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_VSCROLL:
      OnScroll(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == window) OnScrollBarDrag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    case WM_MOUSEWHEEL:
      OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window, nullptr, FALSE);  // the focus rectangle
      return 0;
    case WM_TIMER:
      if (wParam == kCountTimer) {
        KillTimer(window, kCountTimer);
        countTimer_ = false;
        SyncRowCount();
      }
      return 0;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void ThumbnailWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  // The main window's font, scaled as the main window scales it.
  auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW logFont{};
  GetObjectW(font, sizeof logFont, &logFont);
  logFont.lfHeight = MulDiv(logFont.lfHeight, static_cast<int>(dpi), static_cast<int>(GetDpiForSystem()));
  font_.reset(CreateFontIndirectW(&logFont));
  OnSize();
}

void ThumbnailWindow::OnSize() {
  RECT client{};
  GetClientRect(window_.get(), &client);
  layout_.Resize(client.right - (large_ ? 0 : Scaled(kScrollBarWidth)), client.bottom, Scaled(kCellWidth),
                 Scaled(kCellHeight));
  topLine_ = layout_.ClampTopLine(topLine_, RowCount());
  if (selection_.Focus() >= 0) topLine_ = layout_.TopLineShowing(selection_.Focus(), topLine_);
  UpdateScrollBar();
  InvalidateRect(window_.get(), nullptr, FALSE);
  AskForPictures();
}

void ThumbnailWindow::UpdateScrollBar() {
  // The large view has none: the picture takes the whole width.
  if (large_ || !window_) return;
  const RECT bar = ScrollBarRect();
  InvalidateRect(window_.get(), &bar, FALSE);
}

RECT ThumbnailWindow::ScrollBarRect() const {
  RECT client{};
  GetClientRect(window_.get(), &client);
  return {client.right - Scaled(kScrollBarWidth), 0, client.right, client.bottom};
}

RECT ThumbnailWindow::ScrollThumbRect() const {
  const RECT bar = ScrollBarRect();
  const int lines = layout_.Lines(RowCount());
  const int inView = layout_.LinesInView();
  if (lines <= inView) return {bar.left, bar.top, bar.right, bar.top};  // nothing to scroll
  const int track = bar.bottom - bar.top;
  const int thumb = std::max(Scaled(24), MulDiv(track, inView, lines));
  const int top = bar.top + MulDiv(track - thumb, topLine_, lines - inView);
  return {bar.left + Scaled(3), top, bar.right - Scaled(3), top + thumb};
}

void ThumbnailWindow::PaintScrollBar(HDC dc) {
  const RECT bar = ScrollBarRect();
  FillRectColour(dc, bar, GetSysColor(COLOR_BTNFACE));
  const RECT thumb = ScrollThumbRect();
  if (thumb.bottom > thumb.top) FillRectColour(dc, thumb, GetSysColor(COLOR_BTNSHADOW));
}

// A press on the bar: on the thumb it is taken to be dragged; above or
// below it, a page up or down.
bool ThumbnailWindow::OnScrollBarPress(POINT at) {
  const RECT bar = ScrollBarRect();
  if (!PtInRect(&bar, at)) return false;
  const RECT thumb = ScrollThumbRect();
  if (thumb.bottom <= thumb.top) return true;
  if (at.y < thumb.top) {
    ScrollTo(topLine_ - layout_.LinesInView());
  } else if (at.y >= thumb.bottom) {
    ScrollTo(topLine_ + layout_.LinesInView());
  } else {
    dragOffset_ = at.y - thumb.top;
    SetCapture(window_.get());
  }
  return true;
}

void ThumbnailWindow::OnScrollBarDrag(POINT at) {
  const RECT bar = ScrollBarRect();
  const RECT thumb = ScrollThumbRect();
  const int travel = (bar.bottom - bar.top) - (thumb.bottom - thumb.top);
  const int lines = layout_.Lines(RowCount()) - layout_.LinesInView();
  if (travel <= 0 || lines <= 0) return;
  ScrollTo(MulDiv(std::clamp(static_cast<int>(at.y) - dragOffset_ - static_cast<int>(bar.top), 0, travel), lines, travel));
}

void ThumbnailWindow::OnRowsChanged(ResultList::Change change, int row) {
  HWND window = window_.get();
  if (!window) return;
  switch (change) {
    case ResultList::Change::Appended:
      // Taken at most every kCountInterval ms: a search appends row by row.
      if (!countTimer_) countTimer_ = SetTimer(window, kCountTimer, kCountInterval, nullptr) != 0;
      break;
    case ResultList::Change::RowChanged:
      if (large_) {
        InvalidateRect(window, nullptr, FALSE);
      } else if (row >= layout_.FirstShown(topLine_) && row < layout_.EndShown(topLine_, RowCount())) {
        const RECT cell = CellRect(row);
        InvalidateRect(window, &cell, FALSE);
      }
      break;
    case ResultList::Change::AllTicks:
      InvalidateRect(window, nullptr, FALSE);
      break;
    case ResultList::Change::Reset: {
      // Rows went, or a new search began: the rows that are still there
      // keep their ids; the focus and the large view stay on their row, or
      // go to the next one still there.
      const auto stayOn = [&](ResultList::RowId id) {
        if (id == ResultList::kNoRow) return -1;
        if (const int kept = rows_.RowOf(id); kept >= 0) return kept;
        const int next = rows_.FirstRowAfter(id);
        return next >= 0 ? next : rows_.RowCount() - 1;
      };
      const ResultList::RowId focusId = focusId_;
      shownRows_ = rows_.RowCount();
      wantedNames_.reset();  // a new search may have new names and rules
      const int focus = stayOn(focusId);
      selection_.Reset(focus);
      focusId_ = rows_.IdOf(focus);
      if (large_) {
        const int largeRow = stayOn(*large_);
        if (largeRow < 0) {
          CloseLargeView();
        } else {
          large_ = rows_.IdOf(largeRow);
          selection_.Choose(largeRow);
          focusId_ = *large_;
        }
      }
      topLine_ = layout_.ClampTopLine(topLine_, RowCount());
      UpdateScrollBar();
      InvalidateRect(window, nullptr, FALSE);
      AskForPictures();
      break;
    }
  }
}

void ThumbnailWindow::SyncRowCount() {
  const int count = rows_.RowCount();
  if (count == shownRows_) return;
  const int endBefore = layout_.EndShown(topLine_, shownRows_);
  shownRows_ = count;
  UpdateScrollBar();
  // Only rows that land in view need painting and pictures.
  if (layout_.EndShown(topLine_, shownRows_) != endBefore || large_) {
    InvalidateRect(window_.get(), nullptr, FALSE);
    AskForPictures();
  }
}

void ThumbnailWindow::OnKey(WPARAM key) {
  if (large_) {
    OnLargeKey(key);
  } else {
    OnGridKey(key, Down(VK_CONTROL), Down(VK_SHIFT));
  }
}

void ThumbnailWindow::OnGridKey(WPARAM key, bool control, bool shift) {
  const int count = RowCount();
  const int focus = selection_.Focus();
  const int columns = layout_.Columns();
  const int page = columns * layout_.LinesInView();
  switch (key) {
    case VK_LEFT: MoveTo(focus - 1, control, shift); break;
    case VK_RIGHT: MoveTo(focus + 1, control, shift); break;
    case VK_UP: MoveTo(focus < 0 ? 0 : focus - columns, control, shift); break;
    case VK_DOWN: MoveTo(focus + columns, control, shift); break;
    case VK_PRIOR: MoveTo(focus < 0 ? 0 : focus - page, control, shift); break;
    case VK_NEXT: MoveTo(focus + page, control, shift); break;
    case VK_HOME: MoveTo(0, control, shift); break;
    case VK_END: MoveTo(count - 1, control, shift); break;
    case VK_SPACE:
      if (!control && !shift) selection_.Space(rows_);
      break;
    case 'A':
      if (control && !shift) {
        selection_.SelectAll(count);
        InvalidateRect(window_.get(), nullptr, FALSE);
      }
      break;
    case VK_RETURN:
      if (focus >= 0 && focus < count) OpenLargeView(focus);
      break;
    case VK_ESCAPE: Close(); break;
    default: break;
  }
}

void ThumbnailWindow::OnLargeKey(WPARAM key) {
  const int row = rows_.RowOf(*large_);
  switch (key) {
    case VK_LEFT:
    case VK_UP:
    case VK_PRIOR:
      if (row > 0) OpenLargeView(row - 1);
      break;
    case VK_RIGHT:
    case VK_DOWN:
    case VK_NEXT:
      if (row + 1 < RowCount()) OpenLargeView(row + 1);
      break;
    case VK_HOME:
      if (RowCount() > 0) OpenLargeView(0);
      break;
    case VK_END:
      if (RowCount() > 0) OpenLargeView(RowCount() - 1);
      break;
    case VK_SPACE:
      if (row >= 0) rows_.SetChecked(row, !rows_.IsChecked(row));
      break;
    case VK_ESCAPE: CloseLargeView(); break;
    default: break;
  }
}

void ThumbnailWindow::MoveTo(int row, bool control, bool shift) {
  const int count = RowCount();
  if (count == 0) return;
  row = std::clamp(row, 0, count - 1);
  if (shift) {
    selection_.ExtendTo(row);
  } else if (control) {
    selection_.MoveFocus(row);
  } else {
    selection_.Choose(row);
  }
  focusId_ = rows_.IdOf(row);
  ShowRow(row);
  InvalidateRect(window_.get(), nullptr, FALSE);
}

void ThumbnailWindow::ShowRow(int row) { ScrollTo(layout_.TopLineShowing(row, topLine_)); }

void ThumbnailWindow::ScrollTo(int topLine) {
  topLine = layout_.ClampTopLine(topLine, RowCount());
  if (topLine == topLine_) return;
  scrollingUp_ = topLine < topLine_;
  topLine_ = topLine;
  UpdateScrollBar();
  InvalidateRect(window_.get(), nullptr, FALSE);
  AskForPictures();
}

void ThumbnailWindow::OnScroll(int request, int position) {
  const int page = layout_.LinesInView();
  switch (request) {
    case SB_LINEUP: ScrollTo(topLine_ - 1); break;
    case SB_LINEDOWN: ScrollTo(topLine_ + 1); break;
    case SB_PAGEUP: ScrollTo(topLine_ - page); break;
    case SB_PAGEDOWN: ScrollTo(topLine_ + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(position); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(layout_.Lines(RowCount())); break;
    default: break;
  }
}

void ThumbnailWindow::OnWheel(int delta) {
  const int notches = delta / WHEEL_DELTA;
  if (notches == 0) return;
  if (large_) {
    OnLargeKey(notches > 0 ? VK_LEFT : VK_RIGHT);
  } else {
    ScrollTo(topLine_ - notches);
  }
}

void ThumbnailWindow::OnClick(POINT at, bool control, bool shift, bool twice) {
  if (!large_ && OnScrollBarPress(at)) return;
  if (large_) {
    if (twice) CloseLargeView();  // a double click goes back to the grid
    return;
  }
  const int row = layout_.RowAt(at.x, at.y, topLine_, RowCount());
  if (row < 0) return;
  const RECT tick = TickBoxRect(row);
  if (PtInRect(&tick, at)) {
    // As in the list, each click on the box flips it, the second of a double click too.
    rows_.SetChecked(row, !rows_.IsChecked(row));
    selection_.MoveFocus(row);
  } else if (twice) {
    OpenLargeView(row);
    return;
  } else if (control) {
    selection_.Flip(row);
  } else if (shift) {
    selection_.ExtendTo(row);
  } else {
    selection_.Choose(row);
  }
  focusId_ = rows_.IdOf(row);
  InvalidateRect(window_.get(), nullptr, FALSE);
}

void ThumbnailWindow::OpenLargeView(int row) {
  const bool opening = !large_;
  large_ = rows_.IdOf(row);
  focusId_ = *large_;
  selection_.Choose(row);
  if (opening) OnSize();  // the grid's scroll bar goes
  InvalidateRect(window_.get(), nullptr, FALSE);
  AskForPictures();
}

void ThumbnailWindow::CloseLargeView() {
  large_.reset();
  OnSize();  // the grid's scroll bar comes back
  const int focus = selection_.Focus();
  topLine_ = focus >= 0 ? layout_.ClampTopLine(layout_.LineOf(focus) - layout_.LinesInView() / 2, RowCount())
                        : layout_.ClampTopLine(topLine_, RowCount());
  UpdateScrollBar();
  InvalidateRect(window_.get(), nullptr, FALSE);
  AskForPictures();
}

RECT ThumbnailWindow::LargeBox() const {
  RECT client{};
  GetClientRect(window_.get(), &client);
  client.bottom = std::max(client.top, client.bottom - Scaled(kInfoLineHeight));
  return client;
}

std::string ThumbnailWindow::KeyOf(const Text& path, SIZE box, bool largest) const {
  return Concat(path, "|", std::to_string(box.cx), "x", std::to_string(box.cy), largest ? "|large" : "");
}

PictureRequest ThumbnailWindow::RequestFor(int row, SIZE box, bool largest) const {
  PictureRequest request;
  request.path = rows_.RowText(row);
  request.key = KeyOf(request.path, box, largest);
  request.boxWidth = box.cx;
  request.boxHeight = box.cy;
  request.largest = largest;
  request.background = Argb(largest ? kLargeBackground : GetSysColor(COLOR_WINDOW));
  return request;
}

void ThumbnailWindow::AskForPictures() {
  if (!work_ || !window_) return;
  std::vector<PictureRequest> requests;
  shownKeys_.clear();
  auto want = [&](int row, SIZE box, bool largest, bool shown) {
    PictureRequest request = RequestFor(row, box, largest);
    if (shown) shownKeys_[request.key] = row;
    if (!cache_->Holds(request.key)) requests.push_back(std::move(request));
  };
  if (large_) {
    const RECT box = LargeBox();
    const SIZE largeBox{box.right - box.left, box.bottom - box.top};
    const int row = rows_.RowOf(*large_);
    if (row >= 0 && largeBox.cx > 0 && largeBox.cy > 0) {
      want(row, largeBox, true, true);
      want(row, GridBox(), false, true);  // drawn stretched until the large one comes
      if (row + 1 < RowCount()) want(row + 1, largeBox, true, false);
      if (row > 0) want(row - 1, largeBox, true, false);
    }
  } else {
    const int first = layout_.FirstShown(topLine_);
    const int end = layout_.EndShown(topLine_, RowCount());
    for (int row : WantedRows(first, end, RowCount(), scrollingUp_)) want(row, GridBox(), false, row < end);
  }
  work_->Want(std::move(requests));
}

void ThumbnailWindow::OnPictureMade(const std::string& key) {
  const auto found = shownKeys_.find(key);
  if (found == shownKeys_.end() || !window_) return;
  if (large_) {
    InvalidateRect(window_.get(), nullptr, FALSE);
  } else {
    const RECT cell = CellRect(found->second);
    InvalidateRect(window_.get(), &cell, FALSE);
  }
}

RECT ThumbnailWindow::CellRect(int row) const {
  const CellPlace cell = layout_.Cell(row, topLine_);
  return {cell.left, cell.top, cell.right, cell.bottom};
}

RECT ThumbnailWindow::TickBoxRect(int row) const {
  const RECT cell = CellRect(row);
  const int side = Scaled(13);
  const int top = cell.top + Scaled(6) + Scaled(kPictureHeight) + Scaled(8);
  const int left = cell.left + Scaled(10);
  return {left, top + (Scaled(18) - side) / 2, left + side, top + (Scaled(18) - side) / 2 + side};
}

const Text& ThumbnailWindow::WantedNameOf(int row) {
  if (!wantedNames_) {
    wantedNames_ = std::make_unique<WantedNameOfRow>(wanted_.namesBox(), wanted_.lastSearchRules());
    wantedNameCache_.clear();
  }
  const ResultList::RowId id = rows_.IdOf(row);
  auto found = wantedNameCache_.find(id);
  if (found == wantedNameCache_.end()) {
    // Kept for the rows seen: a bound on what a long scroll leaves behind.
    if (wantedNameCache_.size() > 100'000) wantedNameCache_.clear();
    found = wantedNameCache_.emplace(id, wantedNames_->For(rows_.RowFileName(row))).first;
  }
  return found->second;
}

void ThumbnailWindow::Paint(HDC target, const RECT& dirty) {
  RECT client{};
  GetClientRect(window_.get(), &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  // Drawn off screen, then put on the screen at once: no flicker.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP surface = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ oldSurface = SelectObject(dc, surface);
  HGDIOBJ oldFont = SelectObject(dc, font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  if (large_) {
    PaintLargeView(dc, client);
  } else {
    FillRectColour(dc, dirty, GetSysColor(COLOR_WINDOW));
    const int end = layout_.EndShown(topLine_, RowCount());
    for (int row = layout_.FirstShown(topLine_); row < end; ++row) {
      const RECT cell = CellRect(row);
      RECT overlap{};
      if (IntersectRect(&overlap, &cell, &dirty)) PaintCell(dc, row);
    }
    PaintScrollBar(dc);
  }
  BitBlt(target, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, dc, dirty.left, dirty.top,
         SRCCOPY);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldSurface);
  DeleteObject(surface);
  DeleteDC(dc);
}

void ThumbnailWindow::PaintCell(HDC dc, int row) {
  const RECT cell = CellRect(row);
  const bool selected = selection_.Selected(row);
  RECT inner = cell;
  InflateRect(&inner, -Scaled(3), -Scaled(3));
  if (selected) FillRectColour(dc, inner, GetSysColor(COLOR_HIGHLIGHT));

  const SIZE box = GridBox();
  const RECT pictureBox{cell.left + (cell.right - cell.left - box.cx) / 2, cell.top + Scaled(6),
                        cell.left + (cell.right - cell.left - box.cx) / 2 + box.cx, cell.top + Scaled(6) + box.cy};
  const Text path = rows_.RowText(row);
  if (const std::shared_ptr<const MadePicture> made = cache_->Find(KeyOf(path, box, false))) {
    const RECT at = FittedRect(made->picture, pictureBox, false);
    DrawPicture(dc, made->picture, at.left, at.top);
  } else {
    FillRectColour(dc, pictureBox, kWaitingPicture);
  }

  const RECT tick = TickBoxRect(row);
  DrawTick(dc, tick, rows_.IsChecked(row));
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawLine(dc, rows_.RowFileName(row), {tick.right + Scaled(5), tick.top - Scaled(3), inner.right - Scaled(4), tick.bottom + Scaled(3)});
  const Text& wanted = WantedNameOf(row);
  if (!wanted.empty()) {
    if (!selected) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawLine(dc, Concat("匹配名称："_gbk, wanted),
             {inner.left + Scaled(7), tick.bottom + Scaled(3), inner.right - Scaled(4), tick.bottom + Scaled(21)});
  }
  if (row == selection_.Focus() && GetFocus() == window_.get()) DrawFocusRect(dc, &inner);
}

void ThumbnailWindow::PaintLargeView(HDC dc, const RECT& client) {
  const RECT box = LargeBox();
  FillRectColour(dc, box, kLargeBackground);
  const RECT lineRect{client.left, box.bottom, client.right, client.bottom};
  FillRectColour(dc, lineRect, GetSysColor(COLOR_BTNFACE));
  const int row = rows_.RowOf(*large_);
  if (row < 0) return;
  const Text path = rows_.RowText(row);
  const std::shared_ptr<const MadePicture> large =
      cache_->Find(KeyOf(path, {box.right - box.left, box.bottom - box.top}, true));
  const std::shared_ptr<const MadePicture> small = large ? nullptr : cache_->Find(KeyOf(path, GridBox(), false));
  if (large) {
    const RECT at = FittedRect(large->picture, box, false);
    DrawPicture(dc, large->picture, at.left, at.top);
  } else if (small && small->origin != PictureOrigin::Icon) {
    // The grid's picture, enlarged, until the large one comes.
    DrawPictureStretched(dc, small->picture, FittedRect(small->picture, box, true));
  } else if (small) {
    const RECT at = FittedRect(small->picture, box, false);
    DrawPicture(dc, small->picture, at.left, at.top);
  }
  const int side = Scaled(13);
  const RECT tick{lineRect.left + Scaled(8), (lineRect.top + lineRect.bottom - side) / 2, lineRect.left + Scaled(8) + side,
                  (lineRect.top + lineRect.bottom - side) / 2 + side};
  DrawTick(dc, tick, rows_.IsChecked(row));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawLine(dc, PictureInfoLine(rows_.RowFileName(row), large ? large.get() : small.get()),
           {tick.right + Scaled(6), lineRect.top, lineRect.right - Scaled(8), lineRect.bottom});
}

std::shared_ptr<const MadePicture> ThumbnailWindow::GridPicture(int row) const {
  if (row < 0 || row >= rows_.RowCount()) return nullptr;
  return cache_->Find(KeyOf(rows_.RowText(row), GridBox(), false));
}

std::shared_ptr<const MadePicture> ThumbnailWindow::LargePicture() const {
  if (!large_ || !window_) return nullptr;
  const int row = rows_.RowOf(*large_);
  if (row < 0) return nullptr;
  const RECT box = LargeBox();
  return cache_->Find(KeyOf(rows_.RowText(row), {box.right - box.left, box.bottom - box.top}, true));
}

Text ThumbnailWindow::LargeViewLine() const {
  if (!large_ || !window_) return {};
  const int row = rows_.RowOf(*large_);
  if (row < 0) return {};
  return PictureInfoLine(rows_.RowFileName(row), LargePicture().get());
}

void ThumbnailWindow::OnDestroy() {
  HWND window = window_.get();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(window, &placement)) {
    const RECT& normal = placement.rcNormalPosition;
    SaveThumbnailPlace(directory_, {normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top});
  }
  if (countTimer_) KillTimer(window, kCountTimer);
  countTimer_ = false;
  if (listener_ >= 0) rows_.RemoveListener(listener_);
  listener_ = -1;
  // The picture threads end; what they still post finds nothing to run on.
  work_.reset();
  alive_.reset();
  large_.reset();
  shownKeys_.clear();
  // Back to the main window, which owns this one.
  if (IsWindow(main_.Handle()) && IsWindowVisible(main_.Handle())) SetForegroundWindow(main_.Handle());
}

}  // namespace tarnwell
