// The settings file through the real window: what a start restores, what each
// click and each edit writes, in GBK bytes whatever the system's code page.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::PutFile;

class SettingsWindow : public ProgramFixture {
 protected:
  // Opens the program again, so that it reads the settings file anew.
  void Reopen() {
    TearDown();
    program = std::make_unique<Program>(programFolder.path());
    ASSERT_TRUE(program->Open(SW_SHOWNORMAL));
  }
  Text ConfigPath() { return programFolder / "config.ini"; }
  bool Checked(Control control) { return GetChecked(C(control)); }
  bool Enabled(Control control) { return IsWindowEnabled(C(control)) != FALSE; }
};

TEST_F(SettingsWindow, WithoutAFileTheFormsStateStaysAndNothingIsWritten) {
  EXPECT_TRUE(Checked(Control::ExactRadio));
  EXPECT_FALSE(Checked(Control::FuzzyRadio));
  EXPECT_TRUE(Checked(Control::SpecifiedPathRadio));
  EXPECT_FALSE(Checked(Control::WholeComputerRadio));
  EXPECT_EQ(GetContent(C(Control::PathBox)), "");
  EXPECT_TRUE(Enabled(Control::PathBox));
  EXPECT_TRUE(Enabled(Control::BrowseButton));
  EXPECT_FALSE(Exists(ConfigPath()));

  Click(Control::FuzzyRadio);
  EXPECT_EQ(FileBytes(ConfigPath()), G("[zhuce]\r\n精确=假\r\n"));
  Click(Control::WholeComputerRadio);
  EXPECT_FALSE(Enabled(Control::PathBox));
  EXPECT_FALSE(Enabled(Control::BrowseButton));
  EXPECT_EQ(FileBytes(ConfigPath()), G("[zhuce]\r\n精确=假\r\n全盘搜索=真\r\n"));
}

TEST_F(SettingsWindow, AStoredWholeComputerScopeShowsThePathGreyed) {
  PutFile(ConfigPath(), G("[zhuce]\r\n全盘搜索=真\r\n搜索路径=D:\\照片\r\n精确=假\r\n"));
  Reopen();
  EXPECT_TRUE(Checked(Control::WholeComputerRadio));
  EXPECT_FALSE(Checked(Control::SpecifiedPathRadio));
  EXPECT_EQ(GetContent(C(Control::PathBox)), G("D:\\照片"));
  EXPECT_FALSE(Enabled(Control::PathBox));
  EXPECT_FALSE(Enabled(Control::BrowseButton));
  EXPECT_TRUE(Checked(Control::FuzzyRadio));
  EXPECT_FALSE(Checked(Control::ExactRadio));
}

TEST_F(SettingsWindow, OtherValuesTakeTheFallbacks) {
  PutFile(ConfigPath(), G("[zhuce]\r\n全盘搜索=1\r\n精确=1\r\n"));
  Reopen();
  EXPECT_TRUE(Checked(Control::SpecifiedPathRadio));
  EXPECT_TRUE(Checked(Control::ExactRadio));
  PutFile(ConfigPath(), G("[zhuce]\r\n精确=\r\n"));
  Reopen();
  EXPECT_TRUE(Checked(Control::ExactRadio));
}

TEST_F(SettingsWindow, EveryEditOfThePathIsStoredAndTheLastOneIsRead) {
  SetFocus(C(Control::PathBox));
  const char* typed = "D:\\ab";
  for (int i = 0; typed[i]; ++i) {
    SendMessageW(C(Control::PathBox), WM_CHAR, static_cast<WPARAM>(typed[i]), 0);
    EXPECT_EQ(FileBytes(ConfigPath()), Concat(G("[zhuce]\r\n搜索路径="), Text(typed, i + 1), "\r\n"));
  }
  SetContent(C(Control::PathBox), G("E:\\资料"));
  EXPECT_EQ(FileBytes(ConfigPath()), G("[zhuce]\r\n搜索路径=E:\\资料\r\n"));
  Reopen();
  EXPECT_EQ(GetContent(C(Control::PathBox)), G("E:\\资料"));

  SetContent(C(Control::PathBox), "");  // an emptied box is stored empty and read back empty
  EXPECT_EQ(FileBytes(ConfigPath()), G("[zhuce]\r\n搜索路径=\r\n"));
  Reopen();
  EXPECT_EQ(GetContent(C(Control::PathBox)), "");
}

TEST_F(SettingsWindow, ModeRadiosFormOneGroupAndStoreEveryClick) {
  Click(Control::FuzzyRadio);
  EXPECT_TRUE(Checked(Control::FuzzyRadio));
  EXPECT_FALSE(Checked(Control::ExactRadio));
  EXPECT_TRUE(Checked(Control::SpecifiedPathRadio));  // the other pair is left alone
  Click(Control::ExactRadio);
  EXPECT_EQ(FileBytes(ConfigPath()), G("[zhuce]\r\n精确=真\r\n"));
}

}  // namespace
}  // namespace tarnwell::testing
