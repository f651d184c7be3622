// Owned GDI objects and windows, in the shape of the other owned handles: a
// font or window is deleted or destroyed exactly once, when its owner goes.
#pragma once

#include <windows.h>

#include "platform/unique_handle_win.h"

namespace tarnwell {

struct FontTraits {
  using pointer = HFONT;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer value) { DeleteObject(value); }
};

struct WindowTraits {
  using pointer = HWND;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer value) {
    if (IsWindow(value)) DestroyWindow(value);
  }
};

using UniqueFont = UniqueAny<FontTraits>;
using UniqueWindow = UniqueAny<WindowTraits>;

}  // namespace tarnwell
