// What the program's logic asks of a modal message box: which buttons it
// has, and which button closed it. The window layer shows the box
// (message_box_win.h); the result operations ask for it through their host.
#pragma once

namespace tarnwell {

enum class MessageBoxStyle {
  Ok,        // one OK button
  OkCancel,  // OK and Cancel
};

// Esc or the close button count as Cancel where there is one, as OK where
// there is not.
enum class MessageBoxButton { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

}  // namespace tarnwell
