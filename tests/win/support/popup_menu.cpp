#include "tests/win/support/popup_menu.h"

#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

HWND FindPopupMenu(DWORD thread) { return FindVisibleWindowOfClass(thread, L"#32768"); }

void PostKeyTo(HWND window, WORD key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 1 | (LPARAM{3} << 30));
}

std::vector<MenuItemSeen> ReadItems(HMENU menu) {
  std::vector<MenuItemSeen> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MenuItemSeen item;
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    item.separator = (state & MF_SEPARATOR) != 0;
    item.greyed = (state & MF_GRAYED) != 0;
    item.checked = (state & MF_CHECKED) != 0;
    if (!item.separator) {
      wchar_t text[128]{};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
      item.text = text;
    }
    if (HMENU sub = GetSubMenu(menu, i)) item.submenu = ReadItems(sub);
    items.push_back(item);
  }
  return items;
}

}  // namespace

std::future<MenuSeen> AnswerPopupMenu(DWORD thread, int choose, int timeoutMilliseconds, int chooseInSubmenu) {
  return std::async(std::launch::async, [thread, choose, timeoutMilliseconds, chooseInSubmenu] {
    MenuSeen seen;
    HWND popup = nullptr;
    ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMilliseconds);
    while (!(popup = FindPopupMenu(thread)) && GetTickCount64() < deadline) Sleep(10);
    if (!popup) return seen;
    seen.shown = true;
    DWORD_PTR handle = 0;
    SendMessageTimeoutW(popup, kGetMenuHandle, 0, 0, SMTO_NORMAL, 5000, &handle);
    auto menu = reinterpret_cast<HMENU>(handle);
    seen.items = ReadItems(menu);
    int steps = 0;
    for (int i = 0; i <= choose && i < static_cast<int>(seen.items.size()); ++i) steps += !seen.items[i].separator;
    if (choose < 0) {
      PostKeyTo(popup, VK_ESCAPE);
    } else {
      for (int i = 0; i < steps; ++i) PostKeyTo(popup, VK_DOWN);
      if (chooseInSubmenu >= 0 && choose < static_cast<int>(seen.items.size())) {
        // The submenu opens with its first item chosen.
        PostKeyTo(popup, VK_RIGHT);
        const auto& inside = seen.items[static_cast<std::size_t>(choose)].submenu;
        for (int i = 0; i < chooseInSubmenu && i < static_cast<int>(inside.size()); ++i) {
          if (!inside[static_cast<std::size_t>(i) + 1].separator) PostKeyTo(popup, VK_DOWN);
        }
      }
      PostKeyTo(popup, VK_RETURN);
    }
    // Until the menu has gone, so that the next one is not taken for it.
    while (IsWindow(popup) && IsWindowVisible(popup) && GetTickCount64() < deadline + 5000) Sleep(10);
    return seen;
  });
}

}  // namespace tarnwell::testing
