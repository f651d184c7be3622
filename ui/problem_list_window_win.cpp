#include "ui/problem_list_window_win.h"

#include <commctrl.h>

#include <string>

#include "platform/base/entry_guard.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/text/gbk_literal.h"
#include "platform/window/clipboard_win.h"
#include "platform/window/window_owner_win.h"

namespace tarnwell {
namespace {

constexpr wchar_t kWindowClass[] = L"TarnwellProblemList";
constexpr int kListId = 1;
// At 96 DPI: the window's first size and its columns' widths.
constexpr int kWidth = 720;
constexpr int kHeight = 360;
constexpr int kColumnWidths[] = {360, 90, 240};

int Scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

bool CtrlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

}  // namespace

void ProblemListWindow::Show(HWND owner, std::vector<Failure> problems) {
  problems_ = std::move(problems);
  if (!window_ && !Create(owner)) return;
  Fill();
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  SetForegroundWindow(window_.get());
  SetFocus(list_);
}

bool ProblemListWindow::Create(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterOwnedWindowClass(instance, kWindowClass, &ProblemListWindow::WindowProc)) return false;
  const UINT dpi = owner ? GetDpiForWindow(owner) : GetDpiForSystem();
  const std::wstring title = Gb18030ToWide("问题列表"_gbk);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, Scale(kWidth, dpi), Scale(kHeight, dpi), owner, nullptr,
                                instance, this);
  if (!window) return false;
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 0, 0, window,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
  if (!list_) {
    window_.reset();
    return false;
  }
  SendMessageW(list_, WM_SETFONT, SendMessageW(owner, WM_GETFONT, 0, 0), TRUE);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  const Text* headings[] = {&"路径"_gbk, &"操作"_gbk, &"原因"_gbk};
  for (int column = 0; column < 3; ++column) {
    std::wstring heading = Gb18030ToWide(*headings[column]);
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH;
    info.cx = Scale(kColumnWidths[column], dpi);
    info.pszText = heading.data();
    ListView_InsertColumn(list_, column, &info);
  }
  Layout();
  return true;
}

void ProblemListWindow::Fill() {
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list_);
  for (std::size_t row = 0; row < problems_.size(); ++row) {
    const Failure& problem = problems_[row];
    std::wstring texts[] = {Gb18030ToWide(problem.path), Gb18030ToWide(problem.action),
                            Gb18030ToWide(problem.message)};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = texts[0].data();
    const int at = ListView_InsertItem(list_, &item);
    if (at < 0) break;
    ListView_SetItemText(list_, at, 1, texts[1].data());
    ListView_SetItemText(list_, at, 2, texts[2].data());
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void ProblemListWindow::Layout() {
  RECT client{};
  GetClientRect(window_.get(), &client);
  MoveWindow(list_, 0, 0, client.right, client.bottom, TRUE);
}

std::wstring ProblemListWindow::SelectedRowsText() const {
  std::wstring text;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
    if (static_cast<std::size_t>(row) >= problems_.size()) break;
    if (!text.empty()) text += L"\r\n";
    text += Gb18030ToWide(FailureLine(problems_[static_cast<std::size_t>(row)]));
  }
  return text;
}

bool ProblemListWindow::OnListKey(WORD key) {
  if (key == VK_ESCAPE) {
    PostMessageW(window_.get(), WM_CLOSE, 0, 0);
    return true;
  }
  if (!CtrlDown()) return false;
  if (key == 'A') {
    ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
    return true;
  }
  if (key == 'C') {
    const std::wstring text = SelectedRowsText();
    if (!text.empty()) PutClipboardText(window_.get(), text);
    return true;
  }
  return false;
}

LRESULT CALLBACK ProblemListWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ProblemListWindow* self = WindowOwner(window, message, lParam, &ProblemListWindow::window_);
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return CatchAtEntry("the problem list's window procedure", LRESULT{0},
                      [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT ProblemListWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      SetFocus(list_);
      return 0;
    case WM_CLOSE:
      window_.reset();
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == list_ && header->code == LVN_KEYDOWN &&
          OnListKey(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey)) {
        return 0;
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

}  // namespace tarnwell
