// What every scene starts with: the program's window open, as the user
// leaves it after a search of a folder for some names, with the hint over the
// names box gone and every row of the search in the list.
#pragma once

#include <windows.h>

#include "platform/window/event_pump_win.h"
#include "platform/window/window_properties_win.h"
#include "ui/program_win.h"

namespace tarnwell {

// `names` as the names box holds them (program text, one a line).
inline void SearchTheFolder(Program& program, const Text& names, const Text& folder) {
  MainWindow& window = program.Window();
  SetVisible(window.ControlWindow(Control::HintLabel), false);
  SetContent(window.ControlWindow(Control::NamesBox), names);
  SendMessageW(window.ControlWindow(Control::SpecifiedPathRadio), BM_CLICK, 0, 0);
  SetContent(window.ControlWindow(Control::PathBox), folder);
  SendMessageW(window.ControlWindow(Control::SearchButton), BM_CLICK, 0, 0);
  while (program.Searches().Walking()) DelayProcessingEvents(50);
  DelayProcessingEvents(300);
}

}  // namespace tarnwell
