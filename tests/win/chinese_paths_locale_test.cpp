// Chinese folder and file names, and the GBK bytes of config.ini, whatever
// the system's code page: this runs under a Western and a Chinese locale.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/files/file_system.h"
#include "platform/files/whole_file.h"
#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/shell.h"
#include "platform/base/unique_handle_win.h"
#include "tests/win/support/temporary_folder.h"
#include "ui/settings_file.h"

namespace tarnwell {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::MakeFolder;
using testing_support::PutFile;
using testing_support::TemporaryFolder;

// "昞" is 0x95 0x5C in GBK: its trail byte is the byte of "\".
const Text kTrailBackslash = "\x95\x5C";

// The probe program, built beside this test, copied into `folder` under a
// name whose last character ends in the byte of "\".
Text PlaceProbe(const Text& folder) {
  wchar_t self[MAX_PATH];
  std::wstring probe(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  probe = probe.substr(0, probe.rfind(L'\\')) + L"\\program_directory_probe.exe";
  Text copy = Concat(folder, "\\", "探针"_gbk, kTrailBackslash, ".exe");
  EXPECT_TRUE(CopyFileW(probe.c_str(), testing_support::LongForm(copy).c_str(), FALSE)) << GetLastError();
  return copy;
}

// Waits until the file is there and its writer has closed it: the writer
// holds it open for itself alone, so it opens for reading alone only then.
bool WaitForFile(const Text& path) {
  for (int i = 0; i < 300; ++i) {
    UniqueFile file(CreateFileW(Gb18030ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return true;
    Sleep(100);
  }
  return false;
}

// Starts the probe placed in `folder` and waits for its end.
void RunProbe(const Text& probe) {
  std::wstring command = L"\"" + Gb18030ToWide(probe) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\", &startup,
                             &process));
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD exitCode = 99;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u);
}

TEST(ChinesePaths, ProgramDirectoryOfAProgramInAChineseFolder) {
  TemporaryFolder folder(Concat("程序目录"_gbk, kTrailBackslash));
  RunProbe(PlaceProbe(folder.path()));
  EXPECT_EQ(FileBytes(folder / "probe.txt"), folder.path());
}

// A folder name GBK cannot hold: 🙂 is the four bytes 95 30 85 32 there.
TEST(ChinesePaths, ProgramDirectoryOfAProgramInAFolderBeyondGbk) {
  TemporaryFolder folder(Concat("程序"_gbk, "\x95\x30\x85\x32"));
  ASSERT_NE(Gb18030ToWide(folder.path()).find(L"\U0001F642"), std::wstring::npos);
  RunProbe(PlaceProbe(folder.path()));
  EXPECT_EQ(FileBytes(folder / "probe.txt"), folder.path());
}

TEST(ChinesePaths, TheShellStartsAProgramFromAChineseFolder) {
  TemporaryFolder folder("外壳"_gbk);
  Text probe = PlaceProbe(folder.path());
  ShellOpen(probe);
  ASSERT_TRUE(WaitForFile(folder / "probe.txt"));
  EXPECT_EQ(FileBytes(folder / "probe.txt"), folder.path());

  // The same with the browser's window present, which becomes the owner.
  HWND browser = CreateWindowExW(0, L"STATIC", L"Microsoft Internet Explorer", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(browser, nullptr);
  ASSERT_TRUE(DeleteFileW(Gb18030ToWide(folder / "probe.txt").c_str()));
  OpenWithBrowserOwner(probe);
  EXPECT_TRUE(WaitForFile(folder / "probe.txt"));
  DestroyWindow(browser);
}

// The shell takes no path of 260 characters or more: the program goes by
// its short form.
TEST(ChinesePaths, TheShellStartsAProgramWhosePathIsTooLongForIt) {
  TemporaryFolder folder("长路径"_gbk);
  Text deep = folder.path();
  while (deep.size() < 300) {
    deep = Concat(deep, "\\", "文件夹"_gbk, Text(40, 'k'));
    MakeFolder(deep);
  }
  Text probe = PlaceProbe(deep);
  EXPECT_TRUE(ShellOpen(probe));
  EXPECT_TRUE(WaitForFile(Concat(deep, "\\probe.txt")));
}

TEST(ChinesePaths, FilesWithChineseNamesAreCopiedMovedAndDeleted) {
  TemporaryFolder folder("文件"_gbk);
  Text source = folder / Concat("照片"_gbk, kTrailBackslash, ".jpg");
  ASSERT_TRUE(WriteWholeFile(source, TextToBytes("jpeg")));
  EXPECT_EQ(FileBytes(source), "jpeg");
  Text copy = folder / Concat("副本"_gbk, ".jpg");
  EXPECT_TRUE(CopyOneFile(source, copy));
  EXPECT_TRUE(MoveOneFile(copy, folder / "moved.jpg"));
  EXPECT_TRUE(DeleteOneFile(source));
  EXPECT_EQ(FolderNames(folder.path()), TextList{"moved.jpg"});
}

TEST(ChinesePaths, SettingsFileHoldsGbkBytes) {
  TemporaryFolder folder(Concat("设置"_gbk, kTrailBackslash));
  const Text path = Concat("D:\\", "照片"_gbk, kTrailBackslash);
  EXPECT_EQ(SettingsPath(folder.path()), folder / "config.ini");
  EXPECT_TRUE(WriteSetting(folder.path(), "精确"_gbk, "假"_gbk));
  EXPECT_TRUE(WriteSetting(folder.path(), "全盘搜索"_gbk, "真"_gbk));
  EXPECT_TRUE(WriteSetting(folder.path(), "搜索路径"_gbk, path));
  // [zhuce] 精确=假 全盘搜索=真 搜索路径=D:\照片昞, byte for byte.
  EXPECT_EQ(FileBytes(folder / "config.ini"),
            "[zhuce]\r\n"
            "\xBE\xAB\xC8\xB7=\xBC\xD9\r\n"
            "\xC8\xAB\xC5\xCC\xCB\xD1\xCB\xF7=\xD5\xE6\r\n"
            "\xCB\xD1\xCB\xF7\xC2\xB7\xBE\xB6=D:\\\xD5\xD5\xC6\xAC\x95\x5C\r\n");
  EXPECT_EQ(ReadSetting(folder.path(), "搜索路径"_gbk), path);

  // A file another editor wrote, with other sections, comments and odd spacing.
  const Text handWritten = Concat("; mine\r\n[Other]\r\nx=1\r\n[ZHUCE]\r\n", "全盘搜索"_gbk, " = ", "真"_gbk,
                                  "\r\n");
  PutFile(folder / "config.ini", handWritten);
  EXPECT_EQ(ReadSetting(folder.path(), "全盘搜索"_gbk), "真"_gbk);
  EXPECT_TRUE(WriteSetting(folder.path(), "精确"_gbk, "真"_gbk));
  EXPECT_EQ(FileBytes(folder / "config.ini"), Concat(handWritten, "精确"_gbk, "=", "真"_gbk, "\r\n"));
  EXPECT_EQ(FolderNames(folder.path()), TextList{"config.ini"});
}

}  // namespace
}  // namespace tarnwell
