// Which operation runs for which event of which control. The program binds
// every operation with On() in one place that reads as the table of
// bindings (Program::Connect); the window raises events, and an event that
// nobody bound does nothing. Adding a button is a row of the control table
// and its binding there.
#pragma once

#include <functional>
#include <vector>

#include "ui/controls_win.h"

namespace tarnwell {

enum class Event {
  Created,         // the window and all its controls exist
  Click,           // push button or radio button clicked
  ContentChanged,  // an edit box's text changed, also when set by the program
  LeftButtonDown,  // left mouse button pressed on a label
  DoubleClick,     // double click with the left mouse button on the list
  Tick,            // the timer fired
  EnterKey,        // Enter on the list
  CopyKey,         // Ctrl+C on the list
  ContextMenu,     // right click, Shift+F10 or the menu key on the list or in the names box
  ThumbnailKey,    // Ctrl+T on the list
};

class EventBindings {
 public:
  using Handler = std::function<void()>;

  // Binds the handler to this event of this control, in place of what was
  // bound to it before; an empty handler unbinds it.
  void On(Control control, Event event, Handler handler);
  // Runs the handler bound to this event of this control, if there is one.
  void Raise(Control control, Event event) const;

 private:
  struct Binding {
    Control control;
    Event event;
    Handler handler;
  };
  std::vector<Binding> bindings_;
};

}  // namespace tarnwell
