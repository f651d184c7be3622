// The program itself, started as a child process: it shows its window, Esc
// closes it even while the multi-line names box has the focus, and it exits
// with 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/base/unique_handle_win.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell {
namespace {

// The multi-line edit box among the window's children.
HWND FindNamesBox(HWND main) {
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16]{};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Edit") == 0 && (GetWindowLongPtrW(child, GWL_STYLE) & ES_MULTILINE)) return child;
  }
  return nullptr;
}

TEST(Startup, EscapeInTheNamesBoxClosesTheProgramWhichExitsWithZero) {
  std::wstring program = testing::BuiltProgramPath();
  ASSERT_NE(GetFileAttributesW(program.c_str()), INVALID_FILE_ATTRIBUTES) << "build tarnwell.exe first";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + program + L"\"";
  ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info));
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);

  HWND main = nullptr;
  for (int i = 0; i < 300 && !main; ++i) {
    main = testing::FindMainWindowOf(info.dwProcessId);
    if (!main) Sleep(50);
  }
  ASSERT_NE(main, nullptr) << "the main window did not appear";
  HWND names = FindNamesBox(main);
  ASSERT_NE(names, nullptr);

  // A click into the names box gives it the focus.
  PostMessageW(names, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(names, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  for (int i = 0; i < 100; ++i) {
    GetGUIThreadInfo(info.dwThreadId, &gui);
    if (gui.hwndFocus == names) break;
    Sleep(20);
  }
  ASSERT_EQ(gui.hwndFocus, names);

  PostMessageW(names, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageW(names, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  ASSERT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0) << "the program did not end";
  DWORD exitCode = 1;
  GetExitCodeProcess(process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace tarnwell
