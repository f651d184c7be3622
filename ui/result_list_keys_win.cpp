#include "ui/result_list_keys_win.h"

namespace tarnwell {
namespace {

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

std::optional<ListKey> ListKeyOf(const MSG& message) {
  const auto key = static_cast<UINT>(message.wParam);
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const bool control = Down(VK_CONTROL);
      const bool shift = Down(VK_SHIFT);
      // F10 comes as a system key without Alt.
      const bool alt = Down(VK_MENU) || (message.message == WM_SYSKEYDOWN && key != VK_F10);
      if (alt) return std::nullopt;
      if (key == VK_APPS || (key == VK_F10 && shift && !control)) return ListKey::Menu;
      if (control && !shift && key == 'A') return ListKey::SelectAll;
      if (control && !shift && key == 'C') return ListKey::CopyPaths;
      if (control && !shift && key == 'T') return ListKey::Thumbnails;
      if (control || shift) return std::nullopt;
      if (key == VK_SPACE) return ListKey::ToggleTicks;
      if (key == VK_RETURN) return ListKey::Open;
      return std::nullopt;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // Windows makes a context menu of the menu key's release as well. (The
      // release of Shift+F10 does nothing: its press never reached the
      // default handling that would enter the menu bar.)
      if (key == VK_APPS) return ListKey::Swallow;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace tarnwell
