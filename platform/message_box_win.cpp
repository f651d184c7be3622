#include "platform/message_box_win.h"

#include <windows.h>

#include "platform/gbk_literal.h"
#include "platform/gbk_win.h"

namespace tarnwell {

int ShowMessageBox(const Text& message, unsigned style) { return ShowMessageBox(message, style, "信息："_gbk); }

int ShowMessageBox(const Text& message, unsigned style, const Text& caption) {
  if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  int answer = MessageBoxW(nullptr, GbkToWide(message).c_str(), GbkToWide(caption).c_str(), style);
  // Esc on a box with OK alone means OK, as Windows documents; Wine reports Cancel.
  if (answer == IDCANCEL && (style & MB_TYPEMASK) == MB_OK) answer = IDOK;
  switch (answer) {
    case IDCANCEL: return 1;
    case IDABORT: return 2;
    case IDRETRY: return 3;
    case IDIGNORE: return 4;
    case IDYES: return 5;
    case IDNO: return 6;
    default: return 0;  // IDOK, and anything unexpected
  }
}

}  // namespace tarnwell
