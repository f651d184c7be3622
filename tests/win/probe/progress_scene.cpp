// The whole program's window with a long copy under way and its progress
// window shown: a search below the folder given as the first argument has
// listed three raw photos, every row is ticked, and they are being copied
// into the folder given as the second argument, each piece of a file slowed
// to 40 MB a second, so that the progress window stays a while. The process
// stays until the window is closed. scripts/screenshot-progress.sh
// captures it.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/text/gb18030_wide_win.h"
#include "platform/window/event_pump_win.h"
#include "platform/window/window_properties_win.h"
#include "tests/win/support/answering_host.h"
#include "ui/batch_commands_win.h"
#include "ui/program_directory_win.h"
#include "tests/win/probe/scene_search.h"
#include "ui/program_win.h"

namespace tarnwell {
namespace {

class SlowWatch final : public CopyWatch {
 public:
  explicit SlowWatch(CopyWatch& inner) : inner_(inner) {}
  void Copied(std::uint64_t bytes) override {
    inner_.Copied(bytes);
    Sleep(25);
  }
  bool StopWanted() override { return inner_.StopWanted(); }

 private:
  CopyWatch& inner_;
};

class SceneHost final : public testing::AnsweringHost {
 public:
  using AnsweringHost::AnsweringHost;
  FileOutcome CopyOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    if (!options.watch) return WindowResultHost::CopyOneFile(source, destination, options);
    SlowWatch watch(*options.watch);
    CopyOptions slow = options;
    slow.watch = &watch;
    return WindowResultHost::CopyOneFile(source, destination, slow);
  }
};

}  // namespace
}  // namespace tarnwell

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  using namespace tarnwell;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 3) return 2;
  const Text folder = WideToGb18030(arguments[1]);
  const Text target = WideToGb18030(arguments[2]);
  LocalFree(arguments);

  EnterProgramDirectory();
  Program program(ProgramDirectory());
  if (!program.Open(showCommand)) return 1;
  SearchTheFolder(program, "IMG_0012\r\nIMG_0013\r\nIMG_0014", folder);
  MainWindow& window = program.Window();
  window.Results().SetAllChecked(true);

  SceneHost host(window, ProgramDirectory());
  host.folderChoice = target;
  BatchCommands commands(window, host, program.Searches(), ProgramDirectory());
  commands.Copy();
  if (window.Handle()) RunMessageLoop();
  return 0;
}
