#include "platform/edit_text_win.h"

#include "platform/gb18030_wide_win.h"

namespace tarnwell {

void AppendEditText(HWND edit, const Text& text) {
  LRESULT end = GetWindowTextLengthW(edit);
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Gb18030ToWide(text).c_str()));
}

}  // namespace tarnwell
