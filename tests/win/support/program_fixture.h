// A fixture that opens the whole program (main window and every operation
// behind it) in the test's process, with its own program folder, and helpers
// to click, type, answer the real message boxes and wait for the status line.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/gb18030_utf8.h"
#include "platform/window/window_properties_win.h"
#include "tests/win/support/temporary_folder.h"
#include "ui/program_win.h"

namespace tarnwell::testing {

inline Text G(const char* utf8) { return Utf8ToGb18030(utf8); }

// A text the status line was given, with the rows the list control showed
// and the rows the result list held at that moment.
struct StatusChange {
  Text text;
  int shownRows = 0;
  int rows = 0;
};

// What a message box showed before the helper thread answered it.
struct AnsweredBox {
  Text text;
  Text caption;
  bool shown = false;
};

class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Closes the fixture's program and opens one whose searches list folders
  // with `lister` (which outlives the program).
  void ReopenWith(const DirectoryLister& lister);
  // From now on, every text the status line is given lands in statusChanges.
  void LogStatusChanges();

  HWND C(Control control) { return program->Window().ControlWindow(control); }
  ResultList& Rows() { return program->Window().Results(); }
  Text Status() { return GetCaption(C(Control::StatusLabel)); }

  // Clicks a button or radio as the user would (BN_CLICKED through the window).
  void Click(Control control);
  // Starts a thread that answers the next message box of this thread with
  // `button` (IDOK, IDCANCEL) and reports what it showed.
  std::future<AnsweredBox> AnswerNextBox(int button = IDOK, int timeoutMilliseconds = 5000);
  // Answers the next `count` message boxes with OK, one after the other.
  std::future<std::vector<AnsweredBox>> AnswerBoxes(int count);
  // Clicks `control` and answers the message box it shows.
  AnsweredBox ClickAndAnswer(Control control, int button = IDOK);

  void SearchFor(const char* namesUtf8, const Text& root, bool fuzzy = false);
  bool WaitForStatus(const Text& expected, int timeoutMilliseconds = 20000);
  bool WaitForCompletion(int timeoutMilliseconds = 20000);

  testing_support::TemporaryFolder programFolder{"program"};
  testing_support::TemporaryFolder tree{"tree"};
  std::unique_ptr<Program> program;
  std::vector<StatusChange> statusChanges;

 private:
  static LRESULT CALLBACK StatusProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
};

}  // namespace tarnwell::testing
