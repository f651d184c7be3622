// Program entry: the current directory becomes the program's folder, the
// program-wide state is created, the main window opens, and the message loop
// runs until the window is closed (close button, system menu, Alt+F4, Esc).
#include <windows.h>

#include <memory>

#include "platform/event_pump_win.h"
#include "ui/main_window_win.h"
#include "ui/program_directory_win.h"
#include "ui/program_state.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  using namespace tarnwell;
  EnterProgramDirectory();
  auto state = std::make_unique<ProgramState>();
  {
    MainWindow window;
    // The operations behind the window's events are connected here, through
    // window.Handlers(), before the window is created.
    if (!window.Create(showCommand)) return 1;
    RunMessageLoop();
  }
  // Released only now: the loop has ended and no handler runs any more.
  state.reset();
  return 0;
}
