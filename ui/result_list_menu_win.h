// The result list's context menu: one table of its items, in the order
// shown, each bound to the list command it runs. Right click on a row,
// Shift+F10 and the menu key open it. Items marked as in the submenu belong
// to the submenu that the nearest item above them without a command opens.
#pragma once

#include <windows.h>

#include <span>

#include "platform/text/text.h"
#include "results/same_name.h"

namespace tarnwell {

class ResultListCommands;

// What the menu shows besides its items.
struct ListMenuState {
  bool rowsSelected = false;
  bool recycleBinChosen = false;
  SameNameRule sameName = SameNameRule::Replace;
  bool keepFolders = false;
  bool verifyCopies = false;
  bool canUndo = false;
  bool hasProblems = false;
};

enum class MenuMark { None, Check, Radio };

struct ListMenuItem {
  const Text* text;  // null: a separator
  // Null for the item that opens the submenu.
  void (ResultListCommands::*command)();
  bool inSubmenu;
  // Greyed when this says so; null: never greyed.
  bool (*greyed)(const ListMenuState&);
  // Shows its check or radio mark when this says so.
  MenuMark mark;
  bool (*marked)(const ListMenuState&);
};

std::span<const ListMenuItem> ListMenuTable();

// Shows the menu at `at` (screen coordinates) for `owner` and waits until it
// closes. Gives the chosen item, or null when none was chosen.
const ListMenuItem* ShowListMenu(HWND owner, POINT at, const ListMenuState& state);

}  // namespace tarnwell
