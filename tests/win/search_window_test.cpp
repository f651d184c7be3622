// Searching through the real main window: the names box rebuild, the two
// messages, rows and their order against a one-listing-per-name walk, the
// completion text, overlapping searches, the whole-computer scope.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>

#include "platform/window/edit_text_win.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/files/long_path_win.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/held_lister.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

using testing_support::MakeFolder;
using testing_support::PutFile;

class SearchWindow : public ProgramFixture {
 protected:
  TextList RowTexts() {
    TextList rows;
    for (int i = 0; i < Rows().RowCount(); ++i) rows.push_back(Rows().RowText(i));
    return rows;
  }
};

TEST_F(SearchWindow, RebuildsTheNamesBoxWithoutBlankLines) {
  PutFile(tree / "a.txt", "1");
  SearchFor("a\r\n\r\n   \r\nb", tree.path());
  EXPECT_EQ(GetContent(C(Control::NamesBox)), "a\r\nb\r\n");
  ASSERT_TRUE(WaitForCompletion());

  // Full-width spaces alone make a blank line; a tab and spaces around a name are kept.
  SetContent(C(Control::NamesBox), G("\xE3\x80\x80\xE3\x80\x80\r\n\t\r\n x \r\n"));
  Click(Control::SearchButton);
  EXPECT_EQ(GetContent(C(Control::NamesBox)), "\t\r\n x \r\n");
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(program->Searches().Current()->Names(), (TextList{"\t", " x "}));
}

TEST_F(SearchWindow, EmptyPathBoxIsRefusedBeforeAnythingChanges) {
  SetContent(C(Control::NamesBox), "a\r\n\r\n");
  SetContent(C(Control::PathBox), "");
  SetCaption(C(Control::StatusLabel), "earlier");
  AnsweredBox box = ClickAndAnswer(Control::SearchButton);
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(box.text, G("您选择的是按指定路径搜索，请指定搜索路径后再搜索！"));
  EXPECT_EQ(box.caption, G("信息："));
  EXPECT_EQ(GetContent(C(Control::NamesBox)), "a\r\n\r\n");
  EXPECT_EQ(Status(), "earlier");
}

TEST_F(SearchWindow, BlankNamesAreRefusedAndTheOldRowsStay) {
  PutFile(tree / "a.txt", "1");
  SearchFor("a", tree.path());
  ASSERT_TRUE(WaitForCompletion());
  const Text finished = Status();
  SetContent(C(Control::NamesBox), "  \r\n\r\n");
  AnsweredBox box = ClickAndAnswer(Control::SearchButton);
  EXPECT_EQ(box.text, G("您没有输入任何要搜索的文件名！请输入后再执行搜索！"));
  EXPECT_EQ(GetContent(C(Control::NamesBox)), "");
  EXPECT_EQ(Rows().RowCount(), 1);
  EXPECT_EQ(Status(), finished);
}

TEST_F(SearchWindow, TwelveFilesEndInTheCompletionTextAndEnableTheReport) {
  for (int i = 0; i < 12; ++i) PutFile(tree / ("photo" + std::to_string(i) + ".jpg"), "x");
  PutFile(tree / "other.txt", "x");
  EXPECT_FALSE(IsWindowEnabled(C(Control::NotFoundButton)));
  LogStatusChanges();
  SearchFor("photo", tree.path(), true);
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(Status(), G("搜索完毕！共搜索到文件12个."));
  // When the text came, the list already showed every row it counts.
  ASSERT_FALSE(statusChanges.empty());
  EXPECT_EQ(statusChanges.back().text, Status());
  EXPECT_EQ(statusChanges.back().shownRows, 12);
  EXPECT_TRUE(IsWindowEnabled(C(Control::NotFoundButton)));
  EXPECT_EQ(program->Window().Timer().Interval(), 0);

  // Nothing found: 0, and the report button stays enabled.
  SearchFor("nothing-like-this", tree.path());
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(Status(), G("搜索完毕！共搜索到文件0个."));
  EXPECT_TRUE(IsWindowEnabled(C(Control::NotFoundButton)));
}

TEST_F(SearchWindow, MissingRootStillMakesOneProgressStepPerName) {
  SearchFor("x\r\ny", tree / "no-such-folder");
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(Rows().RowCount(), 0);
  EXPECT_EQ(program->Searches().Current()->ProgressSteps(), 2u);
}

// The rows that listing every folder once per wanted name gives, with the
// system's own wildcard matching: the order the program must reproduce. The
// system also matches a pattern against a file's short 8.3 name ("A1B2~1"),
// which the program does not; fuzzy matches that only the short name makes
// are left out.
void ReferenceWalk(const Text& folder, const TextList& names, bool fuzzy, TextList& rows) {
  for (const Text& name : names) {
    Text pattern = fuzzy ? Concat(folder, "\\*", name, "*") : Concat(folder, "\\", name, ".*");
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Win32PathOf(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      Text found = WideToGb18030(data.cFileName);
      bool byLongName = !fuzzy || FindText(found, name, true) != -1;
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && byLongName) rows.push_back(Concat(folder, "\\", found));
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(Win32PathOf(Concat(folder, "\\*.*")).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  TextList subfolders;
  do {
    Text name = WideToGb18030(data.cFileName);
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.back() != '.' &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      subfolders.push_back(name);
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const Text& sub : subfolders) ReferenceWalk(Concat(folder, "\\", sub), names, fuzzy, rows);
}

TEST_F(SearchWindow, RowsAndOrderEqualTheOneListingPerNameWalk) {
  std::mt19937 random(5);
  const char* stems[] = {"report", "REPORT", "photo", "\xD5\xD5\xC6\xAC", "a", "ab", "2024"};
  const char* extensions[] = {".doc", ".jpg", "", ".tar.gz", ".TXT"};
  TextList folders = {tree.path()};
  for (int i = 0; i < 30; ++i) {
    Text folder = Concat(folders[random() % folders.size()], "\\d", NumberToText(i));
    MakeFolder(folder);
    folders.push_back(folder);
  }
  for (int i = 0; i < 300; ++i) {
    Text name = Concat(stems[random() % 7], NumberToText(static_cast<int>(random() % 5)), extensions[random() % 5]);
    if (random() % 3 == 0) name = Concat(stems[random() % 7], extensions[random() % 5]);
    PutFile(Concat(folders[random() % folders.size()], "\\", name), "x");
  }
  TextList many;
  for (int i = 0; i < 1000; ++i) many.push_back(Concat(stems[random() % 7], NumberToText(static_cast<int>(random() % 8))));
  many.push_back("a");

  for (bool fuzzy : {false, true}) {
    for (const TextList& names : {TextList{"report"}, many}) {
      Text box;
      for (const Text& name : names) box += name + "\r\n";
      SetContent(C(Control::NamesBox), box);
      Click(fuzzy ? Control::FuzzyRadio : Control::ExactRadio);
      Click(Control::SpecifiedPathRadio);
      SetContent(C(Control::PathBox), tree.path());
      Click(Control::SearchButton);
      ASSERT_TRUE(WaitForCompletion());
      TextList expected;
      ReferenceWalk(tree.path(), names, fuzzy, expected);
      TextList rows = RowTexts();
      auto mismatch = std::mismatch(rows.begin(), rows.end(), expected.begin(), expected.end());
      EXPECT_TRUE(mismatch.first == rows.end() && mismatch.second == expected.end())
          << (fuzzy ? "fuzzy, " : "exact, ") << names.size() << " names: " << rows.size() << " rows, "
          << expected.size() << " expected; first difference at " << (mismatch.first - rows.begin()) << ": "
          << (mismatch.first == rows.end() ? "(end)" : *mismatch.first) << " vs "
          << (mismatch.second == expected.end() ? "(end)" : *mismatch.second);
    }
  }
}

TEST_F(SearchWindow, ASecondSearchLeavesOnlyItsOwnRows) {
  for (int f = 0; f < 200; ++f) {
    Text folder = tree / ("f" + std::to_string(f));
    MakeFolder(folder);
    for (int i = 0; i < 10; ++i) PutFile(Concat(folder, "\\first", NumberToText(i), ".txt"), "x");
  }
  PutFile(tree / "second.txt", "x");
  SearchFor("first", tree.path(), true);
  PumpUntil([&] { return Rows().RowCount() > 0; }, 5000);
  std::shared_ptr<Search> first = program->Searches().Current();
  SetContent(C(Control::NamesBox), "second");
  Click(Control::SearchButton);
  ASSERT_TRUE(WaitForCompletion());
  // Whatever the first search still handed over has reached the window.
  ASSERT_TRUE(first->WaitForWalks(std::chrono::steady_clock::now() + std::chrono::seconds(60)));
  ASSERT_TRUE(PumpUntil([&] { return program->Window().Queue()->Empty(); }));
  EXPECT_EQ(RowTexts(), TextList{tree / "second.txt"});
  EXPECT_EQ(Status(), G("搜索完毕！共搜索到文件1个."));
}

TEST_F(SearchWindow, CompletionComesAfterTheLastWalkOfTheSearchOnly) {
  // Two roots: the walk of the first is held at its subfolder while the
  // walk of the second ends.
  MakeFolder(tree / "held");
  MakeFolder(tree / "held\\sub");
  MakeFolder(tree / "quick");
  PutFile(tree / "held\\photo0.jpg", "x");
  PutFile(tree / "held\\sub\\photo1.jpg", "x");
  PutFile(tree / "quick\\photo2.jpg", "x");
  HeldLister lister(tree / "held\\sub");
  ReopenWith(lister);
  LogStatusChanges();
  SearchFor("photo", Concat(tree / "held", "\r\n", tree / "quick"), true);
  ASSERT_TRUE(PumpUntil([&] { return lister.Reached(); }, 60000));
  std::shared_ptr<Search> search = program->Searches().Current();
  // The second walk has ended and its end has reached the window.
  ASSERT_TRUE(PumpUntil([&] { return search->RunningWalks() == 1 && program->Window().Queue()->Empty(); }, 60000));
  const Text completion = G("搜索完毕！共搜索到文件");
  for (const StatusChange& change : statusChanges) EXPECT_NE(change.text.rfind(completion, 0), 0u) << change.text;

  lister.Release();
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(Status(), G("搜索完毕！共搜索到文件3个."));
  EXPECT_EQ(statusChanges.back().shownRows, 3);
  EXPECT_EQ(Rows().RowCount(), 3);
}

TEST_F(SearchWindow, AFolderSearchEndsAsOneWhateverTheScopeRadiosSayByThen) {
  MakeFolder(tree / "held");
  MakeFolder(tree / "held\\sub");
  PutFile(tree / "held\\sub\\photo1.jpg", "x");
  HeldLister lister(tree / "held\\sub");
  ReopenWith(lister);
  SearchFor("photo", tree / "held", true);
  ASSERT_TRUE(PumpUntil([&] { return lister.Reached(); }, 60000));
  Click(Control::WholeComputerRadio);
  lister.Release();
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(Status(), G("搜索完毕！共搜索到文件1个."));
  EXPECT_TRUE(IsWindowEnabled(C(Control::NotFoundButton)));
}

// The system's wildcard listing also matches a file through its 8.3 alias, a
// name nobody sees; Tarnwell matches the names people see only, so a row is
// always a file somebody named.
TEST_F(SearchWindow, AFileIsNeverFoundThroughItsShortAlias) {
  const Text file = tree / "network-offline-symbolic.symbolic.png";
  PutFile(file, "x");
  std::wstring shortPath(MAX_PATH, L'\0');
  const DWORD length = GetShortPathNameW(testing_support::LongForm(file).c_str(), shortPath.data(), MAX_PATH);
  shortPath.resize(length < MAX_PATH ? length : 0);
  const std::wstring alias = shortPath.substr(shortPath.find_last_of(L'\\') + 1);
  const std::size_t tilde = alias.find(L'~');
  if (tilde == std::wstring::npos) GTEST_SKIP() << "the file system gives the file no short alias";
  // A piece of the alias that the file's own name does not hold, in either case.
  const Text piece = WideToGb18030(alias.substr(tilde - 1, 3));
  ASSERT_EQ(FindText("network-offline-symbolic.symbolic.png", piece, true), -1) << piece;
  // Each wanted name that finds the file lists it once: the real name's row only.
  const std::string names = piece + "\r\nsymbolic";
  SearchFor(names.c_str(), tree.path(), true);
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(RowTexts(), (TextList{file}));
}

TEST_F(SearchWindow, FindsFilesBelowPathsLongerThan300Characters) {
  Text folder = tree.path();
  while (folder.size() < 320) {
    folder = Concat(folder, "\\", Text(40, 'd'));
    MakeFolder(folder);
  }
  PutFile(Concat(folder, "\\deep.txt"), "x");
  SearchFor("deep", tree.path());
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(RowTexts(), TextList{Concat(folder, "\\deep.txt")});
}

TEST_F(SearchWindow, WholeComputerReportsThroughTheTimerOnceTheWalksEnd) {
  // In the test prefix the only fixed drive is C:, which holds the temporary folder.
  const Text unique = Concat("wc", NumberToText(static_cast<int>(GetCurrentProcessId())), "_",
                             NumberToText(static_cast<int>(GetTickCount() % 100000)));
  PutFile(tree / (unique + ".dat"), "x");
  SetContent(C(Control::NamesBox), unique);
  Click(Control::WholeComputerRadio);
  Click(Control::SearchButton);
  EXPECT_EQ(program->Window().Timer().Interval(), 2000);
  ASSERT_TRUE(WaitForCompletion(60000));
  EXPECT_FALSE(program->Searches().Walking());
  ASSERT_EQ(Rows().RowCount(), 1);
  EXPECT_EQ(Rows().RowText(0), tree / (unique + ".dat"));
  EXPECT_EQ(Rows().RowText(0).substr(0, 3), "C:\\");
  EXPECT_EQ(Status(), G("搜索完毕！共搜索到文件1个."));
  // The search is over: the timer has stopped, and a later status text stays.
  EXPECT_EQ(program->Window().Timer().Interval(), 0);
  RemoveRowAt(Rows(), 0);
  SetCaption(C(Control::StatusLabel), "changed");
  EXPECT_FALSE(WaitForStatus(G("搜索完毕！共搜索到文件0个."), 3000));
  EXPECT_EQ(Status(), "changed");
}

}  // namespace
}  // namespace tarnwell::testing
