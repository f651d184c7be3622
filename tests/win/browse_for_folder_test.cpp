// The folder browser, driven through the real dialog by a helper thread while
// the test's thread runs BrowseForFolder.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/shell.h"
#include "tests/win/support/folder_browser.h"
#include "tests/win/support/temporary_folder.h"

namespace tarnwell {
namespace {

using testing_support::Choose;
using testing_support::FindBrowseDialog;
using testing_support::FindChild;
using testing_support::TemporaryFolder;

// What the helper thread saw while the dialog was open.
struct Seen {
  bool dialogFound = false;
  bool titleShown = false;
  bool editBoxShown = false;
  bool mainDisabled = false;
  bool otherDisabled = false;
};

class BrowseForFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    main_ = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
    other_ = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 10, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
    disabledBefore_ = CreateWindowExW(0, L"STATIC", L"disabled", WS_OVERLAPPEDWINDOW | WS_DISABLED, 10, 300, 300,
                                      200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(main_ && other_ && disabledBefore_);
    SetForegroundWindow(main_);
    SetActiveWindow(main_);
  }
  void TearDown() override {
    DestroyWindow(main_);
    DestroyWindow(other_);
    DestroyWindow(disabledBefore_);
  }

  // Runs BrowseForFolder on this thread while `answer` handles the dialog on another.
  Text Browse(std::string_view title, const std::function<void(HWND)>& answer) {
    std::thread helper([&] {
      HWND dialog = FindBrowseDialog();
      if (!dialog) return;
      seen_.dialogFound = true;
      seen_.titleShown = FindChild(dialog, L"Static", Gb18030ToWide(title)) != nullptr;
      seen_.editBoxShown = FindChild(dialog, L"Edit", L"") != nullptr;
      seen_.mainDisabled = !IsWindowEnabled(main_);
      seen_.otherDisabled = !IsWindowEnabled(other_);
      answer(dialog);
    });
    Text chosen = BrowseForFolder(title);
    helper.join();
    return chosen;
  }

  void ExpectWindowsRestored() {
    EXPECT_TRUE(seen_.dialogFound);
    EXPECT_TRUE(seen_.titleShown);
    EXPECT_TRUE(seen_.editBoxShown);
    EXPECT_TRUE(seen_.mainDisabled);
    EXPECT_TRUE(seen_.otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(main_));
    EXPECT_TRUE(IsWindowEnabled(other_));
    EXPECT_FALSE(IsWindowEnabled(disabledBefore_));
    EXPECT_EQ(GetActiveWindow(), main_);
  }

  HWND main_ = nullptr;
  HWND other_ = nullptr;
  HWND disabledBefore_ = nullptr;
  Seen seen_;
};

TEST_F(BrowseForFolderTest, GivesTheChosenFolder) {
  TemporaryFolder folder("选择目录"_gbk);
  EXPECT_EQ(Browse("选择目录"_gbk, Choose(folder.path())), folder.path());
  ExpectWindowsRestored();
}

TEST_F(BrowseForFolderTest, GivesADriveRootWithItsBackslash) {
  EXPECT_EQ(Browse("root", Choose("C:\\")), "C:\\");
  ExpectWindowsRestored();
}

TEST_F(BrowseForFolderTest, AChoiceWithoutAFileSystemPathGivesTheEmptyText) {
  Text chosen = Browse("computer", [](HWND dialog) {
    PIDLIST_ABSOLUTE computer = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) return;
    HWND tree = FindChild(dialog, WC_TREEVIEWW, L"");
    LRESULT initial = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    for (int i = 0; i < 50 && SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == initial; ++i) {
      SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
      Sleep(100);
    }
    CoTaskMemFree(computer);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  EXPECT_EQ(chosen, "");
  ExpectWindowsRestored();
}

TEST_F(BrowseForFolderTest, CancelGivesTheEmptyText) {
  TemporaryFolder folder;
  Text chosen = Browse("cancel", [&](HWND dialog) {
    std::wstring wide = Gb18030ToWide(folder.path());
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  EXPECT_EQ(chosen, "");
  ExpectWindowsRestored();
}

}  // namespace
}  // namespace tarnwell
