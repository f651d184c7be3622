// Closing the program while a search runs. In the test's process, with the
// walk held at a known folder when the close comes: the window closes and
// asks its thread to quit, the walks are cancelled and end, the walk lists
// no folder after the cancel, and nothing reaches the window after it
// closed. As a program of its own: the process ends with 0, whether the
// close comes as the search starts, while it walks or after it ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/text/gb18030_utf8.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/base/unique_handle_win.h"
#include "tests/win/support/held_lister.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/temporary_folder.h"
#include "tests/win/support/window_test_support.h"
#include "ui/controls_win.h"

namespace tarnwell::testing {
namespace {

using testing_support::MakeFolder;
using testing_support::PutFile;
using testing_support::TemporaryFolder;

// Folders d0 .. d<count - 1> below `root`, each with four files "file<n>.txt".
void MakeTree(const Text& root, int count) {
  for (int f = 0; f < count; ++f) {
    Text folder = Concat(root, "\\d", NumberToText(f));
    MakeFolder(folder);
    for (int i = 0; i < 4; ++i) PutFile(Concat(folder, "\\file", NumberToText(i), ".txt"), "x");
  }
}

class CloseDuringSearch : public ProgramFixture {};

TEST_F(CloseDuringSearch, TheWalkStopsAtTheFolderInProgressAndNothingReachesTheClosedWindow) {
  MakeTree(tree.path(), 20);
  HeldLister lister(tree / "d7");
  ReopenWith(lister);
  SearchFor("file", tree.path(), true);
  ASSERT_TRUE(PumpUntil([&] { return lister.Reached(); }, 60000));
  std::shared_ptr<Search> search = program->Searches().Current();
  lister.Watch(search);
  // What the walk handed over before it was held has reached the window.
  ASSERT_TRUE(PumpUntil([&] { return program->Window().Queue()->Empty(); }));
  const int rowsAtClose = Rows().RowCount();

  HWND main = program->Window().Handle();
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(main); }));
  // The thread is asked to quit: the message loop ends with its next message.
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

  // As the program ends: the walks are cancelled, and every one has ended.
  EXPECT_TRUE(program->Searches().Shutdown());
  EXPECT_TRUE(search->Cancelled());
  EXPECT_EQ(search->RunningWalks(), 0);
  EXPECT_EQ(lister.ListedAfterCancel(), 0);
  EXPECT_TRUE(program->Window().Queue()->Empty());
  EXPECT_EQ(Rows().RowCount(), rowsAtClose);
}

HWND FindChild(HWND parent, const wchar_t* className, const std::wstring& text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32]{};
    GetClassNameW(child, name, 32);
    if (lstrcmpiW(name, className) == 0 && (text.empty() || WindowTextOf(child) == text)) return child;
  }
  return nullptr;
}

// Waits for a condition on another process's window: no message of this
// thread is involved.
bool WaitFor(const std::function<bool()>& done, int timeoutMilliseconds = 30000) {
  ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMilliseconds);
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(10);
  }
  return true;
}

TEST(CloseDuringSearchProcess, EndsTheProgramWithZeroWheneverTheCloseComes) {
  TemporaryFolder tree("tree");
  MakeTree(tree.path(), 300);
  TemporaryFolder home("home");
  const Text program = home / "tarnwell.exe";
  ASSERT_TRUE(CopyFileW(BuiltProgramPath().c_str(), Gb18030ToWide(program).c_str(), FALSE)) << "build tarnwell.exe first";
  PutFile(home / "config.ini", Concat("[zhuce]\r\n", Utf8ToGb18030("搜索路径="), tree.path(), "\r\n",
                                      Utf8ToGb18030("精确=假"), "\r\n"));

  // When the close comes: as the search starts (the close is queued right
  // after the click), once the status line shows the walk's progress, and
  // after the completion text.
  const std::wstring searching = L"\u8BF7\u7A0D\u540E";  // 请稍后
  const std::wstring finished = L"\u641C\u7D22\u5B8C\u6BD5";  // 搜索完毕
  for (const std::wstring& closeAfter : {std::wstring(), searching, finished}) {
    std::wstring path = Gb18030ToWide(program);
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               Gb18030ToWide(home.path()).c_str(), &startup, &info));
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (main = FindMainWindowOf(info.dwProcessId)) != nullptr; }));
    HWND names = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      for (HWND child = GetWindow(main, GW_CHILD); child && !names; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16]{};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Edit") == 0 && (GetWindowLongPtrW(child, GWL_STYLE) & ES_MULTILINE)) names = child;
      }
      return names != nullptr;
    }));
    SendMessageW(names, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"file"));
    HWND search = FindChild(main, L"Button", L"\u7ACB\u5373\u641C\u7D22");  // 立即搜索
    ASSERT_NE(search, nullptr);
    HWND status = GetDlgItem(main, ControlId(Control::StatusLabel));
    PostMessageW(search, BM_CLICK, 0, 0);
    if (!closeAfter.empty()) {
      // A walk too quick to show its progress may end first; then the close comes after the end.
      ASSERT_TRUE(WaitFor([&] {
        std::wstring text = WindowTextOf(status);
        return text.starts_with(closeAfter) || text.starts_with(finished);
      }));
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    // Not a time limit: a program that never ends fails here instead of hanging the run.
    ASSERT_EQ(WaitForSingleObject(process.get(), 120000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
  }
}

}  // namespace
}  // namespace tarnwell::testing
