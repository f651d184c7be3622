// What the names box's context menu does: the edit box's own commands (undo,
// cut, copy, paste, delete, select all), the commands that tidy the whole
// list (search/list_tidying.h), each one step that the box's undo takes
// back, and the number rule's choice in config.ini.
#pragma once

#include <optional>
#include <string_view>

#include "platform/text/text.h"
#include "ui/events_win.h"
#include "ui/main_window_win.h"

namespace tarnwell {

class NamesBoxCommands {
 public:
  // config.ini lies in `programDirectory`, which outlives the commands.
  NamesBoxCommands(MainWindow& window, const Text& programDirectory);
  NamesBoxCommands(const NamesBoxCommands&) = delete;
  NamesBoxCommands& operator=(const NamesBoxCommands&) = delete;

  void Undo();
  void Cut();
  void Copy();
  void Paste();
  void Delete();
  void SelectAll();

  void SplitAtSeparators();
  void SplitAtSpaces();
  void DropListMarkers();
  void ExpandNumberRanges();
  void FullWidthToHalfWidth();
  void DropRepeatedLines();
  void TidyAll();

  // 按编号匹配: writes the opposite of the choice config.ini holds, at once.
  void ToggleNumberRule();

  // The context menu at the window's NamesBoxMenuPoint(); runs the chosen item.
  void ShowMenu();

 private:
  // Replaces the box's text by what `rewrite` makes of it, as one step that
  // undo takes back; a text the rewrite leaves as it is stays untouched.
  void Rewrite(Text (*rewrite)(std::string_view box));
  // The same for a rewrite that may find the result too long: then a box
  // says so and the names box stays as it is.
  void Rewrite(std::optional<Text> (*rewrite)(std::string_view box));
  // Puts `rewritten` in the box in place of `content`.
  void Show(const Text& content, const Text& rewritten);
  HWND Box() const { return window_.ControlWindow(Control::NamesBox); }

  MainWindow& window_;
  const Text& programDirectory_;
};

// Binds the names box's context menu to `commands`.
void ConnectNamesBoxCommands(EventBindings& on, NamesBoxCommands& commands);

}  // namespace tarnwell
