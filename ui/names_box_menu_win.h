// The names box's context menu: one table of its items, in the order shown,
// each bound to the names box command it runs. First the edit box's usual
// items, working and greyed as the system's own menu of an edit box, then
// the items that tidy the whole list, greyed while the box holds no text,
// and last the number rule's check item. Right click in the box, Shift+F10
// and the menu key there open it.
#pragma once

#include <windows.h>

#include <span>

#include "platform/text/text.h"

namespace tarnwell {

class NamesBoxCommands;

// What an item needs to be offered rather than greyed.
enum class NamesBoxItemNeeds {
  Nothing,
  Undo,              // something to undo
  Selection,         // a selection of at least one character
  ClipboardText,     // text on the clipboard
  MoreToSelect,      // text, not all of it selected
  AnyText,           // text in the box
};

struct NamesBoxMenuItem {
  const Text* text;  // null: a separator
  void (NamesBoxCommands::*command)();
  NamesBoxItemNeeds needs;
  bool checkItem;  // shows the number rule's choice as its check mark
};

std::span<const NamesBoxMenuItem> NamesBoxMenuTable();

// What the menu shows besides its items.
struct NamesBoxMenuState {
  bool canUndo = false;
  bool hasSelection = false;
  bool clipboardHoldsText = false;
  bool selectsAll = false;
  bool hasText = false;
  bool numberRuleChosen = false;
};

// Shows the menu at `at` (screen coordinates) for `owner` and waits until it
// closes. Gives the chosen item, or null when none was chosen.
const NamesBoxMenuItem* ShowNamesBoxMenu(HWND owner, POINT at, const NamesBoxMenuState& state);

}  // namespace tarnwell
