// The result list's context menu: one table of its items, in the order
// shown, each bound to the list command it runs. Right click on a row,
// Shift+F10 and the menu key open it.
#pragma once

#include <windows.h>

#include <span>

#include "platform/text.h"

namespace tarnwell {

class ResultListCommands;

struct ListMenuItem {
  const Text* text;  // null: a separator
  void (ResultListCommands::*command)();
  bool needsSelection;  // greyed while no row is selected
  bool checkItem;       // shows the Recycle Bin choice as its check mark
};

std::span<const ListMenuItem> ListMenuTable();

// What the menu shows besides its items.
struct ListMenuState {
  bool rowsSelected = false;
  bool recycleBinChosen = false;
};

// Shows the menu at `at` (screen coordinates) for `owner` and waits until it
// closes. Gives the chosen item, or null when none was chosen.
const ListMenuItem* ShowListMenu(HWND owner, POINT at, const ListMenuState& state);

}  // namespace tarnwell
