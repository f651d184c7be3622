// Modal message boxes. The box has no owner and is task-modal, so none of the
// thread's top-level windows takes input while it is open. The thread keeps
// dispatching its messages meanwhile (the box runs its own loop), so
// hand-offs from workers still run.
#pragma once

#include "platform/base/message_box.h"
#include "platform/text/text.h"

namespace tarnwell {

// Without a caption the box's caption is "信息：".
MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style = MessageBoxStyle::Ok);
MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption);

}  // namespace tarnwell
