// Closing the program while a search runs: the walks are cancelled and the
// process ends with 0, every time, twenty times at different moments.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/gbk.h"
#include "platform/gbk_win.h"
#include "platform/unique_handle_win.h"
#include "tests/win/support/temporary_folder.h"
#include "tests/win/support/window_test_support.h"
#include "ui/controls_win.h"

namespace tarnwell {
namespace {

using testing_support::MakeFolder;
using testing_support::PutFile;
using testing_support::TemporaryFolder;

HWND FindChild(HWND parent, const wchar_t* className, const std::wstring& text) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32]{};
    GetClassNameW(child, name, 32);
    if (lstrcmpiW(name, className) == 0 && (text.empty() || testing::WindowTextOf(child) == text)) return child;
  }
  return nullptr;
}

// The status line's text, read from the other process's window.
std::wstring StatusOf(HWND main) {
  return testing::WindowTextOf(GetDlgItem(main, ControlId(Control::StatusLabel)));
}

TEST(CloseDuringSearch, EndsTheProgramWithZeroEveryTime) {
  TemporaryFolder tree("tree");
  for (int f = 0; f < 3000; ++f) {
    Text folder = tree / ("d" + std::to_string(f));
    MakeFolder(folder);
    for (int i = 0; i < 4; ++i) PutFile(Concat(folder, "\\file", NumberToText(i), ".txt"), "x");
  }
  TemporaryFolder home("home");
  const Text program = home / "tarnwell.exe";
  ASSERT_TRUE(CopyFileW(testing::BuiltProgramPath().c_str(), GbkToWide(program).c_str(), FALSE)) << "build tarnwell.exe first";
  PutFile(home / "config.ini", Concat("[zhuce]\r\n", Utf8ToGbk("搜索路径="), tree.path(), "\r\n",
                                      Utf8ToGbk("精确=假"), "\r\n"));

  constexpr int kRounds = 20;
  int closedMidSearch = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::wstring path = GbkToWide(program);
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               GbkToWide(home.path()).c_str(), &startup, &info));
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    HWND main = nullptr;
    for (int i = 0; i < 300 && !main; ++i) {
      main = testing::FindMainWindowOf(info.dwProcessId);
      if (!main) Sleep(50);
    }
    ASSERT_NE(main, nullptr);
    HWND names = nullptr;
    for (int i = 0; i < 200 && !names; ++i) {
      for (HWND child = GetWindow(main, GW_CHILD); child && !names; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16]{};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Edit") == 0 && (GetWindowLongPtrW(child, GWL_STYLE) & ES_MULTILINE)) names = child;
      }
      if (!names) Sleep(25);
    }
    ASSERT_NE(names, nullptr);
    SendMessageW(names, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"file"));
    HWND search = FindChild(main, L"Button", L"\u7ACB\u5373\u641C\u7D22");  // 立即搜索
    ASSERT_NE(search, nullptr);
    PostMessageW(search, BM_CLICK, 0, 0);
    Sleep(100 + 37 * round);  // close at different moments of the walk
    const std::wstring status = StatusOf(main);
    if (!status.starts_with(L"\u641C\u7D22\u5B8C\u6BD5")) ++closedMidSearch;  // not yet 搜索完毕
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.get(), 15000), WAIT_OBJECT_0) << "round " << round;
    DWORD exitCode = 1;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u) << "round " << round;
  }
  std::printf("%d closes, %d of them while the search ran\n", kRounds, closedMidSearch);
  EXPECT_GE(closedMidSearch, kRounds / 2) << "the tree is walked too fast for the closes to meet the search";
}

}  // namespace
}  // namespace tarnwell
