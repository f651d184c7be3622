// File names that GBK cannot hold (an emoji, Korean, accented Latin, CJK of
// Extensions A and B) through the real window: the names box keeps what was
// typed, rows show the real names, "?" never stands in for a character (it
// is a wildcard: a lossy name would match, and delete, files nobody named),
// and every command and the program's own folder work with such names. The
// files are made and checked with the wide Win32 functions and UTF-16 names,
// never through the program's own conversion.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/text/gb18030_wide_win.h"
#include "results/not_found_report.h"
#include "tests/win/support/folder_browser.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"
#include "ui/settings_file.h"

namespace tarnwell::testing {
namespace {

using WideList = std::vector<std::wstring>;

void PutWide(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool ExistsWide(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string BytesOf(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(unreadable)";
  std::string bytes(1 << 16, '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

class NamesBeyondGbk : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    root = Gb18030ToWide(tree.path());
    for (const char* name : {"张三.jpg", "张四.jpg", "张三丰.jpg", "张🙂.jpg", "김치.txt", "año.txt", "䶮.txt", "𠮷.jpg"}) {
      PutWide(root + L"\\" + Wide(name), name);
    }
    ASSERT_TRUE(CreateDirectoryW((root + Wide("\\夹🙂")).c_str(), nullptr));
    PutWide(root + Wide("\\夹🙂\\里面.txt"), "inside");
  }

  // The names box as the user sees it.
  void TypeNames(const char* utf8) { SetWindowTextW(C(Control::NamesBox), Wide(utf8).c_str()); }
  void Search(bool fuzzy) {
    Click(fuzzy ? Control::FuzzyRadio : Control::ExactRadio);
    Click(Control::SpecifiedPathRadio);
    SetContent(C(Control::PathBox), tree.path());
    Click(Control::SearchButton);
    ASSERT_TRUE(WaitForCompletion());
  }
  // The rows as the list control shows them, in UTF-16.
  WideList ShownRows() {
    program->Window().ResultView().SyncRowCount();
    HWND list = C(Control::ResultView);
    WideList rows;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
      std::wstring shown(4096, L'\0');
      LVITEMW item{};
      item.pszText = shown.data();
      item.cchTextMax = static_cast<int>(shown.size());
      shown.resize(static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item))));
      rows.push_back(shown);
    }
    return rows;
  }
  WideList Paths(std::initializer_list<const char*> names) {
    WideList paths;
    for (const char* name : names) paths.push_back(root + L"\\" + Wide(name));
    return paths;
  }
  // Ticks every row and clicks `button`, whose folder browser (copy, move)
  // is answered with `target`.
  void TickAllAndClick(Control button, const Text& target) {
    Click(Control::CheckAllButton);
    std::thread helper([&] {
      if (HWND dialog = testing_support::FindBrowseDialog()) testing_support::Choose(target)(dialog);
    });
    Click(button);
    helper.join();
  }

  std::wstring root;
};

TEST_F(NamesBeyondGbk, AnExactNameFindsOnlyItsOwnFileWhichTheDeleteButtonDeletes) {
  TypeNames("张🙂");
  Search(false);
  EXPECT_EQ(WindowTextOf(C(Control::NamesBox)), Wide("张🙂\r\n"));
  ASSERT_EQ(ShownRows(), Paths({"张🙂.jpg"}));

  Click(Control::CheckAllButton);
  auto answer = AnswerNextBox(IDOK);
  Click(Control::DeleteButton);
  EXPECT_TRUE(answer.get().shown);
  EXPECT_EQ(Status(), G("删除完毕！"));
  EXPECT_FALSE(ExistsWide(root + Wide("\\张🙂.jpg")));
  for (const char* kept : {"\\张三丰.jpg", "\\张三.jpg", "\\张四.jpg"}) EXPECT_TRUE(ExistsWide(root + Wide(kept))) << kept;
}

TEST_F(NamesBeyondGbk, FuzzyListsEveryFileByItsRealNameAndWalksIntoFoldersBeyondGbk) {
  TypeNames("jpg\r\ntxt");
  Search(true);
  WideList rows = ShownRows();
  std::sort(rows.begin(), rows.end());
  WideList expected = Paths({"张三.jpg", "张四.jpg", "张三丰.jpg", "张🙂.jpg", "𠮷.jpg", "김치.txt", "año.txt", "䶮.txt",
                             "夹🙂\\里面.txt"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(rows, expected);
  for (const std::wstring& row : rows) EXPECT_EQ(row.find(L'?'), std::wstring::npos);

  // "?" is one character, whatever its length: 张 and one more.
  TypeNames("张?\r\n䶮\r\n𠮷");
  Search(false);
  rows = ShownRows();
  std::sort(rows.begin(), rows.end());
  expected = Paths({"张三.jpg", "张四.jpg", "张🙂.jpg", "䶮.txt", "𠮷.jpg"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(rows, expected);
}

TEST_F(NamesBeyondGbk, CopyAndMoveCarryTheFilesIntoAFolderBeyondGbk) {
  const std::wstring target = root + Wide("\\目标🙂");
  ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
  TypeNames("김치\r\n𠮷");
  Search(false);
  ASSERT_EQ(ShownRows().size(), 2u);
  TickAllAndClick(Control::CopyButton, WideToGb18030(target));
  EXPECT_EQ(Status(), G("复制完毕！"));
  EXPECT_EQ(BytesOf(target + Wide("\\김치.txt")), "김치.txt");
  EXPECT_EQ(BytesOf(target + Wide("\\𠮷.jpg")), "𠮷.jpg");
  EXPECT_TRUE(ExistsWide(root + Wide("\\김치.txt")));

  TypeNames("año");
  Search(false);
  ASSERT_EQ(ShownRows(), Paths({"año.txt"}));
  TickAllAndClick(Control::MoveButton, WideToGb18030(target));
  EXPECT_EQ(Status(), G("移动完毕！"));
  EXPECT_EQ(BytesOf(target + Wide("\\año.txt")), "año.txt");
  EXPECT_FALSE(ExistsWide(root + Wide("\\año.txt")));
}

// The not-found report and the settings live in the program's folder, here
// one whose name holds an emoji; the report holds the names that matched
// nothing in their GB18030 bytes.
TEST_F(NamesBeyondGbk, AProgramFolderBeyondGbkKeepsItsSettingsAndReport) {
  const std::wstring home = Gb18030ToWide(programFolder.path()) + Wide("\\程序🙂");
  ASSERT_TRUE(CreateDirectoryW(home.c_str(), nullptr));
  const Text homeText = WideToGb18030(home);
  ASSERT_EQ(homeText.find('?'), Text::npos);

  const Text searchPath = tree.path() + "\\" + WideToGb18030(Wide("夹🙂"));
  EXPECT_TRUE(WriteSetting(homeText, G("搜索路径"), searchPath));
  EXPECT_EQ(ReadSetting(homeText, G("搜索路径")), searchPath);
  // 搜索路径=<tree>\夹🙂, the emoji as 95 30 85 32.
  EXPECT_EQ(BytesOf(home + L"\\config.ini"),
            Concat("[zhuce]\r\n", G("搜索路径"), "=", tree.path(), "\\\xBC\xD0\x95\x30\x85\x32\r\n"));

  TypeNames("䶮\r\n没有🙂");
  Search(false);
  ASSERT_EQ(ShownRows(), Paths({"䶮.txt"}));
  struct ReportHost : WindowResultHost {
    using WindowResultHost::WindowResultHost;
    TextList opened;
    void ShellOpen(const Text& path) override { opened.push_back(path); }
  } host(program->Window(), homeText);
  NotFoundReport(Rows(), host);
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(Gb18030ToWide(host.opened[0]), home + Wide("\\未搜到文件列表.txt"));
  EXPECT_EQ(BytesOf(home + Wide("\\未搜到文件列表.txt")), "\xC3\xBB\xD3\xD0\x95\x30\x85\x32\r\n");
}

}  // namespace
}  // namespace tarnwell::testing
