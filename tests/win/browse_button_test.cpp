// The browse button beside the path box, through the real folder browser:
// a drive root loses its backslash, a Chinese folder comes back unchanged
// (also one whose last character ends in the byte of "\"), cancelling
// empties the box, and the settings file follows every time.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "tests/win/support/folder_browser.h"
#include "tests/win/support/program_fixture.h"

namespace tarnwell::testing {
namespace {

using testing_support::FileBytes;
using testing_support::MakeFolder;

class BrowseButton : public ProgramFixture {
 protected:
  // Clicks the browse button while a helper thread answers the browser.
  void BrowseWith(const std::function<void(HWND)>& answer) {
    std::thread helper([&] {
      if (HWND dialog = testing_support::FindBrowseDialog()) answer(dialog);
    });
    Click(Control::BrowseButton);
    helper.join();
  }
  Text PathBox() { return GetContent(C(Control::PathBox)); }
  Text Stored() { return FileBytes(programFolder / "config.ini"); }
};

TEST_F(BrowseButton, FillsThePathBoxAndStoresIt) {
  const Text chinese = tree / G("资料");
  MakeFolder(chinese);
  BrowseWith(testing_support::Choose(chinese));
  EXPECT_EQ(PathBox(), chinese);
  EXPECT_EQ(Stored(), Concat(G("[zhuce]\r\n搜索路径="), chinese, "\r\n"));

  // 運 is 0xDF 0x5C: its trail byte is the byte of "\", and it stays whole.
  const Text trailBackslash = tree / G("命運");
  MakeFolder(trailBackslash);
  BrowseWith(testing_support::Choose(trailBackslash));
  EXPECT_EQ(PathBox(), trailBackslash);
  EXPECT_EQ(Stored(), Concat(G("[zhuce]\r\n搜索路径="), trailBackslash, "\r\n"));

  BrowseWith(testing_support::Choose("C:\\"));
  EXPECT_EQ(PathBox(), "C:");

  BrowseWith([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
  EXPECT_EQ(PathBox(), "");
  EXPECT_EQ(Stored(), G("[zhuce]\r\n搜索路径=\r\n"));
}

}  // namespace
}  // namespace tarnwell::testing
