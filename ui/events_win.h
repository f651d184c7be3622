// Which event of which control runs which operation. The operations belong
// to the rest of the program, which fills in MainWindowHandlers before the
// window is created; an empty handler means the event does nothing yet.
#pragma once

#include <functional>
#include <span>

#include "ui/controls_win.h"

namespace tarnwell {

enum class Event {
  Created,         // the window and all its controls exist
  Click,           // push button or radio button clicked
  ContentChanged,  // an edit box's text changed, also when set by the program
  LeftButtonDown,  // left mouse button pressed on a label
  DoubleClick,     // double click with the left mouse button on the list
  Tick,            // the timer fired
};

struct MainWindowHandlers {
  using Handler = std::function<void()>;
  Handler LoadSettings;
  Handler StartSearch;
  Handler BrowseSearchFolder;
  Handler SaveSearchPath;
  Handler SaveScopeWholeComputer;
  Handler SaveScopeSpecifiedPaths;
  Handler SaveMatchModeExact;
  Handler SaveMatchModeFuzzy;
  Handler HideHint;
  Handler OpenCurrentRow;
  Handler CheckAll;
  Handler UncheckAll;
  Handler BatchCopy;
  Handler BatchMove;
  Handler BatchDelete;
  Handler NotFoundReport;
  Handler CompletionTick;
};

struct EventBinding {
  Control control;
  Event event;
  MainWindowHandlers::Handler MainWindowHandlers::*handler;
};

// Runs the handler bound to this event of this control, if there is one.
void RaiseEvent(const MainWindowHandlers& handlers, Control control, Event event);

}  // namespace tarnwell
