#include "platform/window/message_box_win.h"

#include <windows.h>

#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {

MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style) {
  return ShowMessageBox(message, style, "信息："_gbk);
}

MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) {
  const UINT buttons = style == MessageBoxStyle::OkCancel ? MB_OKCANCEL : MB_OK;
  int answer = MessageBoxW(nullptr, Gb18030ToWide(message).c_str(), Gb18030ToWide(caption).c_str(), buttons | MB_TASKMODAL);
  // Esc on a box with OK alone means OK, as Windows documents; Wine reports Cancel.
  if (answer == IDCANCEL && buttons == MB_OK) answer = IDOK;
  switch (answer) {
    case IDCANCEL: return MessageBoxButton::Cancel;
    case IDABORT: return MessageBoxButton::Abort;
    case IDRETRY: return MessageBoxButton::Retry;
    case IDIGNORE: return MessageBoxButton::Ignore;
    case IDYES: return MessageBoxButton::Yes;
    case IDNO: return MessageBoxButton::No;
    default: return MessageBoxButton::Ok;  // IDOK, and anything unexpected
  }
}

}  // namespace tarnwell
