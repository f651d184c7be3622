#include "platform/window/window_properties_win.h"

#include <commctrl.h>

#include <string>

#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {
namespace {

Text WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  length = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return WideToGb18030(text);
}

}  // namespace

Text GetContent(HWND edit) { return WindowText(edit); }

void SetContent(HWND edit, const Text& content) { SetWindowTextW(edit, Gb18030ToWide(content).c_str()); }

Text GetCaption(HWND label) { return WindowText(label); }

void SetCaption(HWND label, const Text& caption) { SetWindowTextW(label, Gb18030ToWide(caption).c_str()); }

bool GetChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool checked) {
  // Some platforms clear the rest of the group when an automatic radio button
  // is checked by message; as a plain radio button for the moment, it changes
  // only itself.
  LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  bool automatic = (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
  if (automatic) SetWindowLongPtrW(button, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_RADIOBUTTON);
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (automatic) {
    // BM_SETCHECK may have changed WS_TABSTOP meanwhile: keep that.
    style = GetWindowLongPtrW(button, GWL_STYLE);
    SetWindowLongPtrW(button, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_AUTORADIOBUTTON);
  }
}

bool GetVisible(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

void SetVisible(HWND control, bool visible) { ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE); }

bool GetDisabled(HWND control) { return !IsWindowEnabled(control); }

void SetDisabled(HWND control, bool disabled) { EnableWindow(control, disabled ? FALSE : TRUE); }

int GetSelectedRow(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace tarnwell
