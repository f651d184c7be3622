// Program entry: the current directory becomes the program's folder, the
// main window opens with every operation connected, and the message loop
// runs until the window is closed (close button, system menu, Alt+F4, Esc).
// The window's closing cancels a running search before the process ends.
#include <windows.h>

#include "platform/window/event_pump_win.h"
#include "platform/files/file_system.h"
#include "ui/program_directory_win.h"
#include "ui/program_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  using namespace tarnwell;
  EnterProgramDirectory();
  Program program(ProgramDirectory());
  if (!program.Open(showCommand)) return 1;
  RunMessageLoop();
  return 0;
}
