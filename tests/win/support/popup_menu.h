// Reading and answering a popup menu that the test's own thread shows (a
// context menu waits in its own loop until it closes, so another thread
// reads it and answers with keys).
#pragma once

#include <windows.h>

#include <future>
#include <string>
#include <vector>

namespace tarnwell::testing {

struct MenuItemSeen {
  std::wstring text;  // empty for a separator
  bool separator = false;
  bool greyed = false;
  bool checked = false;
  std::vector<MenuItemSeen> submenu;  // the items of the submenu it opens
};

struct MenuSeen {
  bool shown = false;
  std::vector<MenuItemSeen> items;
};

// Waits on another thread for the popup menu of `thread`, reads its items,
// then chooses the item at `choose` (its position, separators counted) with
// the arrow keys and Enter, or closes the menu with Esc when `choose` is -1.
// With `chooseInSubmenu`, the item at `choose` opens a submenu (right arrow)
// and the item at that position in it is chosen.
std::future<MenuSeen> AnswerPopupMenu(DWORD thread, int choose, int timeoutMilliseconds = 5000,
                                      int chooseInSubmenu = -1);

}  // namespace tarnwell::testing
