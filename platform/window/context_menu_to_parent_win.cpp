#include "platform/window/context_menu_to_parent_win.h"

#include <commctrl.h>

namespace tarnwell {
namespace {

constexpr UINT_PTR kContextMenuSubclass = 3;

LRESULT CALLBACK ContextMenuProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_CONTEXTMENU:
      SendMessageW(GetParent(control), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), lParam);
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, ContextMenuProc, kContextMenuSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

bool SendContextMenuToParent(HWND control) {
  return SetWindowSubclass(control, ContextMenuProc, kContextMenuSubclass, 0) != FALSE;
}

}  // namespace tarnwell
