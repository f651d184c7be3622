#include "ui/events_win.h"

#include <algorithm>
#include <utility>

namespace tarnwell {

void EventBindings::On(Control control, Event event, Handler handler) {
  std::erase_if(bindings_, [&](const Binding& b) { return b.control == control && b.event == event; });
  if (handler) bindings_.push_back({control, event, std::move(handler)});
}

void EventBindings::Raise(Control control, Event event) const {
  auto bound = std::find_if(bindings_.begin(), bindings_.end(),
                            [&](const Binding& b) { return b.control == control && b.event == event; });
  if (bound == bindings_.end()) return;
  // A copy: the handler may bind this event anew while it runs.
  const Handler handler = bound->handler;
  handler();
}

}  // namespace tarnwell
