// The thumbnail window in a state worth a picture: a search below the
// folder given as the first argument has listed the files of a few wanted
// names (photos, raw files, a document), some rows are ticked, and the
// thumbnail window is open on them; with "large" as the second argument it
// shows the large view of the second row (a photo turned upright). Raw containers around the
// folder's preview.jpg and thumbnail.jpg are written into it first. The
// process stays until the window is closed.
// scripts/screenshot-thumbnails.sh captures it.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/text/gb18030_utf8.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/event_pump_win.h"
#include "platform/window/window_properties_win.h"
#include "tests/win/support/picture_files.h"
#include "tests/win/support/temporary_folder.h"
#include "ui/program_directory_win.h"
#include "tests/win/probe/scene_search.h"
#include "ui/program_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  using namespace tarnwell;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) return 2;
  const Text folder = WideToGb18030(arguments[1]);
  const bool large = count > 2 && std::wstring(arguments[2]) == L"large";
  LocalFree(arguments);

  const std::string preview = testing_support::FileBytes(Concat(folder, "\\preview.jpg"));
  const std::string thumbnail = testing_support::FileBytes(Concat(folder, "\\thumbnail.jpg"));
  testing_support::MakeFolder(Concat(folder, "\\raw"));
  testing::WriteRawFiles(Concat(folder, "\\raw"), preview, thumbnail, 0x6A17E8);

  EnterProgramDirectory();
  Program program(ProgramDirectory());
  if (!program.Open(showCommand)) return 1;
  SearchTheFolder(program, Utf8ToGb18030("IMG_0012\r\nIMG_0013\r\nIMG_0014\r\nIMG_0015\r\nshot\r\n报价单"), folder);
  MainWindow& window = program.Window();
  ResultList& rows = window.Results();
  for (int row : {1, 3, 4}) rows.SetChecked(row, true);

  ThumbnailWindow& thumbnails = program.Thumbnails();
  thumbnails.Open();
  if (large) {
    DelayProcessingEvents(500);
    PostMessageW(thumbnails.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageW(thumbnails.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageW(thumbnails.Handle(), WM_KEYDOWN, VK_RETURN, 0);
  } else {
    PostMessageW(thumbnails.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageW(thumbnails.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  }
  RunMessageLoop();
  return 0;
}
