#include "ui/names_box_commands_win.h"

#include "platform/text/gbk_literal.h"
#include "platform/window/edit_text_win.h"
#include "platform/window/message_box_win.h"
#include "platform/window/window_properties_win.h"
#include "search/names/list_tidying.h"
#include "ui/names_box_menu_win.h"
#include "ui/settings_handlers.h"

namespace tarnwell {

NamesBoxCommands::NamesBoxCommands(MainWindow& window, const Text& programDirectory)
    : window_(window), programDirectory_(programDirectory) {}

void NamesBoxCommands::Undo() { SendMessageW(Box(), EM_UNDO, 0, 0); }

void NamesBoxCommands::Cut() { SendMessageW(Box(), WM_CUT, 0, 0); }

void NamesBoxCommands::Copy() { SendMessageW(Box(), WM_COPY, 0, 0); }

void NamesBoxCommands::Paste() { SendMessageW(Box(), WM_PASTE, 0, 0); }

void NamesBoxCommands::Delete() { SendMessageW(Box(), WM_CLEAR, 0, 0); }

void NamesBoxCommands::SelectAll() { SendMessageW(Box(), EM_SETSEL, 0, -1); }

void NamesBoxCommands::SplitAtSeparators() { Rewrite(tarnwell::SplitAtSeparators); }

void NamesBoxCommands::SplitAtSpaces() { Rewrite(tarnwell::SplitAtSeparatorsAndSpaces); }

void NamesBoxCommands::DropListMarkers() { Rewrite(tarnwell::DropListMarkers); }

void NamesBoxCommands::ExpandNumberRanges() { Rewrite(tarnwell::ExpandNumberRanges); }

void NamesBoxCommands::FullWidthToHalfWidth() { Rewrite(tarnwell::FullWidthToHalfWidth); }

void NamesBoxCommands::DropRepeatedLines() { Rewrite(tarnwell::DropRepeatedLines); }

void NamesBoxCommands::TidyAll() { Rewrite(tarnwell::TidyNameList); }

void NamesBoxCommands::ToggleNumberRule() { ToggleNumberRuleChoice(programDirectory_); }

void NamesBoxCommands::Rewrite(Text (*rewrite)(std::string_view box)) {
  HWND box = Box();
  const Text content = GetContent(box);
  Show(content, rewrite(content));
}

void NamesBoxCommands::Rewrite(std::optional<Text> (*rewrite)(std::string_view box)) {
  HWND box = Box();
  const Text content = GetContent(box);
  const std::optional<Text> rewritten = rewrite(content);
  if (!rewritten) {
    ShowMessageBox("展开后的列表太长（超过100万行或64MB），名称框保持不变。"_gbk);
    return;
  }
  Show(content, *rewritten);
}

void NamesBoxCommands::Show(const Text& content, const Text& rewritten) {
  HWND box = Box();
  if (rewritten == content) return;
  ReplaceEditTextUndoably(box, rewritten);
  // The hint over the box would cover the names the user is to see.
  SetVisible(window_.ControlWindow(Control::HintLabel), false);
}

void NamesBoxCommands::ShowMenu() {
  HWND box = Box();
  NamesBoxMenuState state;
  state.canUndo = SendMessageW(box, EM_CANUNDO, 0, 0) != 0;
  state.hasSelection = EditHasSelection(box);
  state.clipboardHoldsText = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
  state.selectsAll = EditSelectsAll(box);
  state.hasText = GetWindowTextLengthW(box) > 0;
  state.numberRuleChosen = NumberRuleChosen(programDirectory_);
  if (const NamesBoxMenuItem* chosen = ShowNamesBoxMenu(window_.Handle(), window_.NamesBoxMenuPoint(), state)) {
    (this->*chosen->command)();
  }
}

void ConnectNamesBoxCommands(EventBindings& on, NamesBoxCommands& commands) {
  on.On(Control::NamesBox, Event::ContextMenu, [&commands] { commands.ShowMenu(); });
}

}  // namespace tarnwell
