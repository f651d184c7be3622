#include "platform/window/edit_text_win.h"

#include <algorithm>

#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {
namespace {

struct Selection {
  DWORD start = 0;
  DWORD end = 0;
};

Selection SelectionOf(HWND edit) {
  Selection selection;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selection.start), reinterpret_cast<LPARAM>(&selection.end));
  return selection;
}

}  // namespace

void AppendEditText(HWND edit, const Text& text) {
  LRESULT end = GetWindowTextLengthW(edit);
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Gb18030ToWide(text).c_str()));
}

void ReplaceEditTextUndoably(HWND edit, const Text& text) {
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Gb18030ToWide(text).c_str()));
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

bool EditHasSelection(HWND edit) {
  const Selection selection = SelectionOf(edit);
  return selection.end > selection.start;
}

bool EditSelectsAll(HWND edit) {
  const Selection selection = SelectionOf(edit);
  const auto length = static_cast<DWORD>(GetWindowTextLengthW(edit));
  return length > 0 && selection.start == 0 && selection.end == length;
}

POINT EditKeyboardMenuPoint(HWND edit) {
  POINT point{0, 0};
  RECT client{};
  GetClientRect(edit, &client);
  POINT caret{};
  if (GetFocus() == edit && GetCaretPos(&caret) && PtInRect(&client, caret)) {
    // Below the caret's line: the caret is as high as the box's font.
    TEXTMETRICW metrics{};
    if (HDC dc = GetDC(edit)) {
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
      GetTextMetricsW(dc, &metrics);
      SelectObject(dc, old);
      ReleaseDC(edit, dc);
    }
    point = {caret.x, std::min<LONG>(caret.y + metrics.tmHeight, client.bottom)};
  }
  ClientToScreen(edit, &point);
  return point;
}

}  // namespace tarnwell
