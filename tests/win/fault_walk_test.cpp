// Searches of trees that change or resist under the walk: folders deleted
// while the search runs, and folders that cannot be listed at all. The
// search ends with the right count, lists only real finds once each, finds
// everything that stayed, and the commands on its rows handle the rest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <set>
#include <thread>

#include "platform/text/gb18030_wide_win.h"
#include "results/batch_transfer.h"
#include "results/not_found_report.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;
using testing_support::RemoveTree;

// The real window and file system, with the test's answer to the folder browser.
class ChosenFolderHost : public WindowResultHost {
 public:
  ChosenFolderHost(MainWindow& window, const Text& programFolder, Text folder)
      : WindowResultHost(window, programFolder), folder_(std::move(folder)) {}
  Text BrowseForFolder(const Text&) override { return folder_; }
  // The boxes that only tell (a count of files that failed) are kept, not shown.
  TextList told;
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) override {
    if (style == MessageBoxStyle::OkCancel) return WindowResultHost::ShowMessageBox(message, style, caption);
    told.push_back(message);
    return MessageBoxButton::Ok;
  }

 private:
  Text folder_;
};

// The real window and file system; the boxes that only tell are kept, and
// nothing is opened.
class QuietHost : public WindowResultHost {
 public:
  using WindowResultHost::WindowResultHost;
  TextList told;
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle, const Text&) override {
    told.push_back(message);
    return MessageBoxButton::Ok;
  }
  void ShellOpen(const Text&) override {}
};

class WalkFaults : public ProgramFixture {
 protected:
  std::set<Text> RowSet() {
    std::set<Text> rows;
    for (int i = 0; i < Rows().RowCount(); ++i) rows.insert(Rows().RowText(i));
    return rows;
  }
  void ExpectCompletionCountsTheRows(const char* unread = "") {
    EXPECT_EQ(Status(), Concat(G("搜索完毕！共搜索到文件"), NumberToText(Rows().RowCount()), G("个."), G(unread)));
  }
};

TEST_F(WalkFaults, FoldersDeletedDuringTheSearchEndItSoundly) {
  // 100 top folders of two subfolders of three files; every file name is unique.
  constexpr int kTop = 100;
  TextList files;
  for (int d = 0; d < kTop; ++d) {
    Text top = tree / ("d" + std::to_string(d));
    MakeFolder(top);
    for (int s = 0; s < 2; ++s) {
      Text sub = Concat(top, "\\s", NumberToText(s));
      MakeFolder(sub);
      for (int f = 0; f < 3; ++f) {
        files.push_back(Concat(sub, "\\wanted_", NumberToText(d), "_", NumberToText(s), "_", NumberToText(f), ".dat"));
        PutFile(files.back(), files.back());
      }
    }
  }
  // Every odd top folder goes while the walk runs, from the last one back,
  // so that some go before the walk reaches them and some after.
  std::promise<void> started;
  std::thread remover([&, searchStarted = started.get_future()] {
    searchStarted.wait();
    for (int d = kTop - 1; d >= 0; d -= 2) RemoveTree(LongForm(tree / ("d" + std::to_string(d))));
  });
  SearchFor("wanted", tree.path(), true);
  started.set_value();
  bool completed = WaitForCompletion(60000);
  remover.join();
  ASSERT_TRUE(completed);
  ExpectCompletionCountsTheRows();

  // Only real finds, each once; every file that stayed is found.
  std::set<Text> rows = RowSet();
  EXPECT_EQ(rows.size(), static_cast<std::size_t>(Rows().RowCount()));
  std::set<Text> created(files.begin(), files.end());
  int stayed = 0;
  for (const Text& row : rows) EXPECT_TRUE(created.count(row)) << row;
  for (const Text& file : files) {
    if (!Exists(file)) continue;
    ++stayed;
    EXPECT_TRUE(rows.count(file)) << file;
  }
  EXPECT_EQ(stayed, kTop / 2 * 6);

  // Copy every row: the files that stayed arrive whole, the vanished rows are skipped.
  testing_support::TemporaryFolder target("target");
  ChosenFolderHost host(program->Window(), programFolder.path(), target.path());
  Click(Control::CheckAllButton);
  BatchCopy(Rows(), host);
  EXPECT_EQ(Status(), G("复制完毕！"));
  TextList copied = FolderNames(target.path());
  EXPECT_EQ(copied.size(), static_cast<std::size_t>(stayed));
  for (const Text& name : copied) {
    Text original;
    for (const Text& row : rows) {
      if (FileNameOf(row) == name) original = row;
    }
    EXPECT_EQ(FileBytes(target / name), original) << name;
  }
}

bool CanList(const Text& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((LongForm(folder) + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}

// A chain of nested folders, each named by 250 "n"s, with one file in each.
// Under Wine its deep end cannot be listed: the host path outgrows what the
// host's file calls take (4,096 bytes). (On Windows it all lists.) The chain is built with short names and renamed from
// the deepest folder up, so that no single call ever meets a path too long;
// at the end it is renamed back from the top down and removed.
class TooDeepChain {
 public:
  TooDeepChain(const Text& parent, int levels) : parent_(parent), levels_(levels) {
    Text folder = parent_;
    for (int level = 0; level < levels_; ++level) {
      folder = Concat(folder, "\\n");
      MakeFolder(folder);
      PutFile(Concat(folder, "\\level", NumberToText(level), ".txt"), "x");
    }
    for (int level = levels_ - 1; level >= 0; --level) Rename(level, true);
  }
  ~TooDeepChain() {
    for (int level = 0; level < levels_; ++level) Rename(level, false);
  }
  // The folder at that level (0 is the top), with its long name.
  Text Folder(int level) const {
    Text folder = parent_;
    for (int i = 0; i <= level; ++i) folder = Concat(folder, "\\", LongName());
    return folder;
  }

 private:
  static Text LongName() { return Text(250, 'n'); }
  // Gives the folder at `level` its long or its short name; the folders above
  // it have their short names then, the ones below it their long names.
  void Rename(int level, bool toLong) {
    Text above = parent_;
    for (int i = 0; i < level; ++i) above = Concat(above, "\\n");
    Text shortName = Concat(above, "\\n");
    Text longName = Concat(above, "\\", LongName());
    MoveFileW(LongForm(toLong ? shortName : longName).c_str(), LongForm(toLong ? longName : shortName).c_str());
  }

  Text parent_;
  int levels_;
};

TEST_F(WalkFaults, FoldersThatCannotBeListedAreSkippedAndTheRestIsFound) {
  MakeFolder(tree / "near");
  PutFile(tree / "near\\level_near.txt", "x");
  constexpr int kLevels = 20;
  TooDeepChain chain(tree.path(), kLevels);
  // The rows the walk can give: the file of every level that lists.
  std::set<Text> listable{tree / "near\\level_near.txt"};
  int unlistable = 0;
  for (int level = 0; level < kLevels; ++level) {
    if (CanList(chain.Folder(level))) {
      listable.insert(Concat(chain.Folder(level), "\\level", NumberToText(level), ".txt"));
    } else {
      ++unlistable;
    }
  }
  if (unlistable == 0) GTEST_SKIP() << "every folder of the chain can be listed here";
  ASSERT_GT(listable.size(), 2u);

  SearchFor("level", tree.path(), true);
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(RowSet(), listable);
  EXPECT_EQ(static_cast<std::size_t>(Rows().RowCount()), listable.size());

  // The walk stops at the first folder it cannot list, and says so: in the
  // completion text, in the problem list, and after the not-found report.
  Text unlisted;
  for (int level = 0; level < kLevels && unlisted.empty(); ++level) {
    if (!CanList(chain.Folder(level))) unlisted = chain.Folder(level);
  }
  ExpectCompletionCountsTheRows("（有1个文件夹无法读取）");
  const std::vector<Failure> problems = program->Problems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].path, unlisted);
  EXPECT_EQ(problems[0].action, G("读取文件夹"));
  EXPECT_NE(problems[0].code, 0u);
  EXPECT_FALSE(problems[0].message.empty());
  SetContent(C(Control::NamesBox), G("level_near\r\nlevel19"));
  QuietHost host(program->Window(), programFolder.path());
  NotFoundReport(Rows(), host, program->Searches().UnreadFolders());
  EXPECT_EQ(FileBytes(programFolder / G("未搜到文件列表.txt")), "level19\r\n");
  EXPECT_EQ(host.told, TextList{G("另有1个文件夹无法读取，其中的文件未能查找。")});
}

}  // namespace
}  // namespace tarnwell::testing
