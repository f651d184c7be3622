// The object that a window of one of the program's own classes belongs to:
// attached when the window is created (the last argument of CreateWindowEx),
// let go when it is destroyed, so that each class's procedure is one switch
// of named handlers on its object.
#pragma once

#include <windows.h>

#include "platform/window/owned_window_objects_win.h"

namespace tarnwell {

// Registers a window class of the program's (the program's icon, the arrow,
// the dialog colour); true when it is registered, now or before.
bool RegisterOwnedWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);

// The object of `window` for `message`, its `handle` member holding the
// window from WM_NCCREATE to WM_NCDESTROY; null before and from
// WM_NCDESTROY on, when the procedure only calls DefWindowProcW.
template <class Owner>
Owner* WindowOwner(HWND window, UINT message, LPARAM lParam, UniqueWindow Owner::*handle) {
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    (owner->*handle).reset(window);
  }
  if (owner != nullptr && message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    (owner->*handle).release();
    return nullptr;
  }
  return owner;
}

}  // namespace tarnwell
