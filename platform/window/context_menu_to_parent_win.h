// Hands a control's context menu requests (right click, Shift+F10, the menu
// key, as WM_CONTEXTMENU) to its parent window instead of the control's own
// menu, so that the parent shows a menu of its choosing for it.
#pragma once

#include <windows.h>

namespace tarnwell {

// From now on until the control is destroyed. False when the control could
// not be subclassed (it then keeps its own menu).
bool SendContextMenuToParent(HWND control);

}  // namespace tarnwell
