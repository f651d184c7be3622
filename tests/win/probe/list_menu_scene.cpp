// The whole program's window in a state worth a picture: its names box holds
// three photo numbers, a search below the folder given as the first argument
// has listed their files, the first row is selected and the result list's
// context menu is open, as a right click on that row opens it. With "names"
// as the second argument the names box holds a list as clients send it and
// the names box's context menu is open instead, as a right click in the box
// opens it. The process stays until the window is closed.
// scripts/screenshot-menu.sh captures it.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "platform/window/event_pump_win.h"
#include "platform/files/file_system.h"
#include "platform/text/gb18030_utf8.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/window_properties_win.h"
#include "ui/program_directory_win.h"
#include "tests/win/probe/scene_search.h"
#include "ui/program_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  using namespace tarnwell;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) return 2;
  const Text folder = WideToGb18030(arguments[1]);
  const bool namesBoxMenu = count > 2 && std::wstring(arguments[2]) == L"names";
  LocalFree(arguments);

  EnterProgramDirectory();
  Program program(ProgramDirectory());
  if (!program.Open(showCommand)) return 1;
  SearchTheFolder(program, "201905200930150001\r\n201905200930150002\r\n201905200930150003", folder);
  MainWindow& window = program.Window();

  if (namesBoxMenu) {
    HWND box = window.ControlWindow(Control::NamesBox);
    SetContent(box, Utf8ToGb18030("1. IMG_0012-0014.jpg\r\n• 3551、3552\r\n１２, 15，27\r\n"));
    SetFocus(box);
    POINT at{60, 12};
    ClientToScreen(box, &at);
    PostMessageW(box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), MAKELPARAM(at.x, at.y));
    RunMessageLoop();
    return 0;
  }

  HWND list = window.ControlWindow(Control::ResultView);
  window.ResultView().SyncRowCount();
  SetFocus(list);
  ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  RECT row{};
  row.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  POINT at{row.left + 60, (row.top + row.bottom) / 2};
  ClientToScreen(list, &at);
  PostMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
  RunMessageLoop();
  return 0;
}
