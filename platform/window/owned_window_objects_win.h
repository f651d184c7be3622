// Owned GDI objects, windows and menus, in the shape of the other owned
// handles: each is deleted or destroyed exactly once, when its owner goes.
#pragma once

#include <windows.h>

#include "platform/base/unique_handle_win.h"

namespace tarnwell {

struct FontTraits : NullWhenAbsent<HFONT> {
  static void Close(pointer value) { DeleteObject(value); }
};

struct WindowTraits : NullWhenAbsent<HWND> {
  static void Close(pointer value) {
    if (IsWindow(value)) DestroyWindow(value);
  }
};

struct MenuTraits : NullWhenAbsent<HMENU> {
  static void Close(pointer value) { DestroyMenu(value); }
};

using UniqueFont = UniqueAny<FontTraits>;
using UniqueWindow = UniqueAny<WindowTraits>;
using UniqueMenu = UniqueAny<MenuTraits>;

// A window's device context (GetDC), released when the scope ends; whatever
// was set on it by hand (font, clipping, colours) goes with it.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for the scope; the one it
// replaced is selected back when the scope ends.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace tarnwell
