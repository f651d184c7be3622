// Modal message boxes. The box has no owner; unless the style asks for a
// system-modal box it is task-modal, so none of the thread's top-level windows
// takes input while it is open. The thread keeps dispatching its messages
// meanwhile (the box runs its own loop), so hand-offs from workers still run.
#pragma once

#include "platform/text.h"

namespace tarnwell {

// The Win32 style word: 0 is one OK button, 1 OK and Cancel.
enum MessageBoxStyle : unsigned { kMessageBoxOk = 0, kMessageBoxOkCancel = 1 };

// The button that closed the box: 0 OK, 1 Cancel, 2 Abort, 3 Retry, 4 Ignore,
// 5 Yes, 6 No. Esc or the close button count as Cancel where there is one.
int ShowMessageBox(const Text& message, unsigned style = kMessageBoxOk);
int ShowMessageBox(const Text& message, unsigned style, const Text& caption);

}  // namespace tarnwell
