// The keys of the result list, as Explorer's file lists have them: Ctrl+A
// selects every row, Space ticks or unticks the selection, Enter opens the
// current row as a double-click does, Ctrl+C copies the selected rows' paths,
// Shift+F10 and the menu key open the list's context menu, Ctrl+T the
// thumbnail window. The main window
// takes these keys from the message loop before the list sees them.
#pragma once

#include <windows.h>

#include <optional>

namespace tarnwell {

enum class ListKey {
  SelectAll,    // Ctrl+A
  ToggleTicks,  // Space
  Open,         // Enter
  CopyPaths,    // Ctrl+C
  Menu,         // Shift+F10, the menu key
  Thumbnails,   // Ctrl+T
  Swallow,      // the release of the menu key: no second menu
};

// What a key message meant for the list asks for; nothing for every other
// message, which goes on as before. Ctrl and Shift are read from the
// thread's key state, as they were when the message was posted.
std::optional<ListKey> ListKeyOf(const MSG& message);

}  // namespace tarnwell
