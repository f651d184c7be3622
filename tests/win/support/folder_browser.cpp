#include "tests/win/support/folder_browser.h"

#include <commctrl.h>
#include <shlobj.h>

#include "platform/text/gb18030_wide_win.h"

namespace tarnwell::testing_support {

HWND FindBrowseDialog() {
  struct Search {
    HWND found = nullptr;
  } search;
  for (int i = 0; i < 300 && !search.found; ++i) {
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          wchar_t className[16]{};
          GetClassNameW(window, className, 16);
          if (process == GetCurrentProcessId() && std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
            reinterpret_cast<Search*>(param)->found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(100);
  }
  return search.found;
}

// The visible child of that class whose text is `text` (any text when empty).
HWND FindChild(HWND dialog, const wchar_t* className, const std::wstring& text) {
  struct Search {
    const wchar_t* className;
    const std::wstring* text;
    HWND found = nullptr;
  } search{className, &text};
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[64]{};
        GetClassNameW(child, name, 64);
        wchar_t caption[512]{};
        GetWindowTextW(child, caption, 512);
        if (_wcsicmp(name, s->className) == 0 && IsWindowVisible(child) &&
            (s->text->empty() || *s->text == caption)) {
          s->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Types the folder into the dialog's edit box, selects it in the tree (this
// Wine's dialog takes its answer from the tree only) and presses OK.
std::function<void(HWND)> Choose(const Text& folder) {
  return [folder](HWND dialog) {
    std::wstring wide = Gb18030ToWide(folder);
    SendMessageW(FindChild(dialog, L"Edit", L""), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    // The first dialog of a process may not find the folder at once: try
    // again until the tree's selection has moved.
    HWND tree = FindChild(dialog, WC_TREEVIEWW, L"");
    LRESULT initial = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    for (int i = 0; i < 50; ++i) {
      SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
      if (SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != initial) break;
      Sleep(100);
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  };
}

}  // namespace tarnwell::testing_support
