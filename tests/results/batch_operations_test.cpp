#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/text/gb18030_utf8.h"
#include "results/batch_delete.h"
#include "results/batch_transfer.h"
#include "results/operation_record.h"
#include "results/undo_move.h"
#include "tests/results/fake_host.h"
#include "tests/support/result_rows.h"

namespace tarnwell {
namespace {

Text G(const char* utf8) { return Utf8ToGb18030(utf8); }
std::string Utf8Of(const char* utf8) { return utf8; }

class BatchOperations : public testing::Test {
 protected:
  ResultList list;
  FakeHost host;

  void AddFiles(int count) {
    for (int i = 0; i < count; ++i) {
      Text path = "C:\\d\\f" + std::to_string(i) + ".txt";
      host.Put(path, "content " + std::to_string(i));
      AppendPath(list, path);
    }
  }
};

TEST_F(BatchOperations, DeleteCancelledChangesNothing) {
  AddFiles(3);
  list.SetChecked(1, true);
  host.SetStatus("before");
  host.answer = MessageBoxButton::Cancel;
  BatchDelete(list, host);
  EXPECT_EQ(list.RowCount(), 3);
  EXPECT_EQ(host.files.size(), 3u);
  EXPECT_EQ(host.Status(), "before");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].second, G("确定删除吗？"));
}

TEST_F(BatchOperations, DeleteRemovesExactlyTheTickedFilesAndRows) {
  AddFiles(8);
  for (int row : {2, 5, 6}) list.SetChecked(row, true);
  BatchDelete(list, host);
  ASSERT_EQ(list.RowCount(), 5);
  int kept[] = {0, 1, 3, 4, 7};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list.RowText(i), "C:\\d\\f" + std::to_string(kept[i]) + ".txt");
  EXPECT_EQ(host.files.size(), 5u);
  EXPECT_FALSE(host.Has("C:\\d\\f5.txt"));
  EXPECT_EQ(host.Status(), G("删除完毕！"));
}

TEST_F(BatchOperations, DeleteWithNothingTickedShowsTheMessageAndKeepsTheProgressText) {
  AddFiles(2);
  BatchDelete(list, host);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].first, G("您没有选择任何文件！"));
  EXPECT_EQ(host.Status(), G("正在删除，请稍等..."));

  ResultList empty;
  FakeHost quiet;
  quiet.SetStatus("earlier");
  BatchDelete(empty, quiet);
  EXPECT_EQ(quiet.messages.size(), 2u);
  EXPECT_EQ(quiet.Status(), "earlier");
}

// A file that stays on disk keeps its row and tick, and the end says how
// many stayed; a file already gone loses its row like a deleted one.
TEST_F(BatchOperations, FilesThatStayKeepTheirRowsAndTicksAndAreCounted) {
  AddFiles(4);
  host.readOnly.push_back(FakeHost::Canonical("C:\\d\\f0.txt"));
  host.readOnly.push_back(FakeHost::Canonical("C:\\d\\f2.txt"));
  host.files.erase(FakeHost::Canonical("C:\\d\\f3.txt"));
  list.SetAllChecked(true);
  BatchDelete(list, host);
  EXPECT_TRUE(host.Has("C:\\d\\f0.txt"));
  EXPECT_FALSE(host.Has("C:\\d\\f1.txt"));
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.RowText(0), "C:\\d\\f0.txt");
  EXPECT_EQ(list.RowText(1), "C:\\d\\f2.txt");
  EXPECT_TRUE(list.IsChecked(0) && list.IsChecked(1));
  EXPECT_EQ(host.Status(), G("删除完毕！"));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1], std::make_pair(G("有2个文件未能删除，已保留在列表中并保持勾选。"), Text()));

  // All gone: no box after the end text.
  host.readOnly.clear();
  host.messages.clear();
  BatchDelete(list, host);
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(BatchOperations, RecycleAsksItsOwnQuestionAndRemovesOnlyTheRowsOfGoneFiles) {
  host.recycle = true;
  AddFiles(3);
  list.SetChecked(1, true);
  host.answer = MessageBoxButton::Cancel;  // nothing changes
  BatchDelete(list, host);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].first, G("您确定要将选定的文件放入回收站吗？"));
  EXPECT_EQ(host.messages[0].second, G("确定删除吗？"));
  EXPECT_EQ(host.files.size(), 3u);
  EXPECT_TRUE(host.recycleBatches.empty());

  // 150 rows, every other one ticked, and one ticked file that cannot be recycled.
  host.answer = MessageBoxButton::Ok;
  list.Clear();
  host.files.clear();
  AddFiles(150);
  for (int row = 0; row < 150; row += 2) list.SetChecked(row, true);
  host.readOnly.push_back(FakeHost::Canonical("C:\\d\\f4.txt"));
  BatchDelete(list, host);
  EXPECT_EQ(host.outrightDeletes, 0);
  EXPECT_EQ(host.recycleBatches, (std::vector<std::size_t>{64, 11}));
  EXPECT_EQ(host.recycled.size(), 74u);
  EXPECT_EQ(host.Status(), G("删除完毕！"));
  // Left: the unticked rows, and the refused file's row with its tick.
  ASSERT_EQ(list.RowCount(), 76);
  for (int row = 0; row < list.RowCount(); ++row) {
    EXPECT_TRUE(host.Has(list.RowText(row))) << list.RowText(row);
    EXPECT_EQ(list.IsChecked(row), list.RowText(row) == "C:\\d\\f4.txt");
  }
}

TEST_F(BatchOperations, RowUntickedOrAppendedDuringTheScanIsLeftAlone) {
  AddFiles(4);
  for (int row = 0; row < 4; ++row) list.SetChecked(row, true);
  int visits = 0;
  host.onEvents = [&] {
    if (++visits == 1) {
      list.SetChecked(2, false);      // the user unticks a row not yet visited
      AppendPath(list, "C:\\late");    // a worker appends a row
      list.SetChecked(4, true);
    }
  };
  BatchDelete(list, host);
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.RowText(0), "C:\\d\\f2.txt");
  EXPECT_EQ(list.RowText(1), "C:\\late");
}

TEST_F(BatchOperations, ANewSearchDuringTheScanNeverLosesItsRows) {
  AddFiles(3);
  for (int row = 0; row < 3; ++row) list.SetChecked(row, true);
  int visits = 0;
  host.onEvents = [&] {
    if (++visits == 2) {  // a new search clears the list and refills it
      list.Clear();
      for (int i = 0; i < 3; ++i) AppendPath(list, "C:\\new" + std::to_string(i));
      list.SetChecked(1, true);
    }
  };
  BatchDelete(list, host);
  EXPECT_EQ(list.RowCount(), 3);
  EXPECT_TRUE(host.Has("C:\\d\\f1.txt"));   // never visited: the scan stopped at the clear
  EXPECT_FALSE(host.Has("C:\\d\\f0.txt"));
}

TEST_F(BatchOperations, TwoRowsWithOnePathAreBothRemoved) {
  host.Put("C:\\a.txt", "x");
  AppendPath(list, "C:\\a.txt");
  AppendPath(list, "C:\\a.txt");
  list.SetChecked(0, true);
  list.SetChecked(1, true);
  BatchDelete(list, host);
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_FALSE(host.Has("C:\\a.txt"));
}

TEST_F(BatchOperations, CopyCancelledOrUntickedTellsTheRightThing) {
  AddFiles(2);
  host.SetStatus("kept");
  host.folderChoice = "";
  BatchCopy(list, host);
  EXPECT_EQ(host.Status(), "kept");
  EXPECT_EQ(host.browseTitles.at(0), G("复制文件到"));

  host.folderChoice = "E:\\out";
  BatchMove(list, host);
  EXPECT_EQ(host.Status(), G("您没有选择要移动的文件！"));
  EXPECT_TRUE(host.messages.empty());

  ResultList empty;
  BatchCopy(empty, host);
  EXPECT_EQ(host.Status(), G("您没有选择要复制的文件！"));
}

TEST_F(BatchOperations, CopyToADriveRootAndLaterRowWins) {
  host.Put("C:\\x\\report.doc", "first");
  host.Put("C:\\y\\REPORT.doc", "second");
  AppendPath(list, "C:\\x\\report.doc");
  AppendPath(list, "C:\\y\\REPORT.doc");
  list.SetChecked(0, true);
  list.SetChecked(1, true);
  host.folderChoice = "D:\\";
  BatchCopy(list, host);
  EXPECT_EQ(host.Content("D:\\report.doc"), "second");
  EXPECT_TRUE(host.Has("C:\\x\\report.doc"));
  EXPECT_EQ(host.Status(), G("复制完毕！"));
  EXPECT_EQ(list.RowCount(), 2);
}

TEST_F(BatchOperations, MoveNeverOverwritesAFileItMovedItself) {
  host.Put("C:\\x\\photo.jpg", "first");
  host.Put("C:\\y\\photo.jpg", "second");
  host.Put("D:\\out\\other.jpg", "old");
  host.Put("C:\\z\\other.jpg", "new");
  for (const char* path : {"C:\\x\\photo.jpg", "C:\\y\\photo.jpg", "C:\\z\\other.jpg"}) AppendPath(list, path);
  for (int row = 0; row < 3; ++row) list.SetChecked(row, true);
  host.folderChoice = "D:\\out";
  BatchMove(list, host);
  EXPECT_EQ(host.Content("D:\\out\\photo.jpg"), "first");
  EXPECT_EQ(host.Content("C:\\y\\photo.jpg"), "second");  // left where it was
  EXPECT_FALSE(host.Has("C:\\x\\photo.jpg"));
  // A file that was in the target folder before the command is replaced.
  EXPECT_EQ(host.Content("D:\\out\\other.jpg"), "new");
  EXPECT_FALSE(host.Has("C:\\z\\other.jpg"));
  EXPECT_EQ(host.Status(), G("移动完毕！"));
}

TEST_F(BatchOperations, MoveOrCopyIntoTheFilesOwnFolderLeavesItAlone) {
  host.Put("C:\\Data\\keep.txt", "precious");
  AppendPath(list, "C:\\Data\\keep.txt");
  list.SetChecked(0, true);
  host.folderChoice = "c:\\data";
  BatchMove(list, host);
  EXPECT_EQ(host.Content("C:\\Data\\keep.txt"), "precious");
  BatchCopy(list, host);
  EXPECT_EQ(host.Content("C:\\Data\\keep.txt"), "precious");
  EXPECT_EQ(host.files.size(), 1u);
  EXPECT_TRUE(host.messages.empty());  // passed over, not failed
}

TEST_F(BatchOperations, RepeatingAMoveOnGoneFilesStillReportsDone) {
  AddFiles(2);
  list.SetChecked(0, true);
  host.folderChoice = "E:\\t";
  BatchMove(list, host);
  BatchMove(list, host);
  EXPECT_EQ(host.Content("E:\\t\\f0.txt"), "content 0");
  EXPECT_EQ(host.Status(), G("移动完毕！"));
  EXPECT_EQ(list.RowText(0), "C:\\d\\f0.txt");  // the list never changes
}

// A close of the window, which the scan's events may bring at any row, ends
// the batch before its next file: the file in progress is done whole, no
// later one is touched, and nothing more is shown (no count, no message).
TEST_F(BatchOperations, AClosedWindowEndsTheBatchBeforeItsNextFileAndShowsNothingMore) {
  const Text target = "E:\\t";
  for (int closeAt : {0, 3}) {
    for (TransferKind kind : {TransferKind::Copy, TransferKind::Move}) {
      FakeHost transfer;
      ResultList rows;
      for (int i = 0; i < 6; ++i) {
        transfer.Put("C:\\d\\f" + std::to_string(i) + ".txt", "x");
        AppendPath(rows, "C:\\d\\f" + std::to_string(i) + ".txt");
      }
      rows.SetAllChecked(true);
      transfer.folderChoice = target;
      int visits = 0;
      transfer.onEvents = [&] { transfer.closed = visits++ == closeAt || transfer.closed; };
      BatchTransfer(rows, transfer, kind);
      int arrived = 0, left = 0;
      for (int i = 0; i < 6; ++i) {
        arrived += transfer.Has(target + "\\f" + std::to_string(i) + ".txt");
        left += transfer.Has("C:\\d\\f" + std::to_string(i) + ".txt");
      }
      EXPECT_EQ(arrived, closeAt);
      EXPECT_EQ(left, kind == TransferKind::Copy ? 6 : 6 - closeAt);
      EXPECT_EQ(transfer.statusHistory, TextList{kind == TransferKind::Copy ? G("正在复制，请稍等...") : G("正在移动，请稍等...")});
    }

    FakeHost removal;
    ResultList rows;
    for (int i = 0; i < 6; ++i) {
      removal.Put("C:\\d\\f" + std::to_string(i) + ".txt", "x");
      AppendPath(rows, "C:\\d\\f" + std::to_string(i) + ".txt");
    }
    rows.SetAllChecked(true);
    int visits = 0;
    removal.onEvents = [&] { removal.closed = visits++ == closeAt || removal.closed; };
    BatchDelete(rows, removal);
    EXPECT_EQ(removal.files.size(), 6u - closeAt);
    EXPECT_EQ(removal.messages.size(), 1u);  // the confirmation alone: no "nothing ticked" after a close at once
    EXPECT_EQ(removal.statusHistory, closeAt == 0 ? TextList{} : TextList{G("正在删除，请稍等...")});
  }
}

// Two ticked rows with one file name and a file of that name already in the
// target, under each rule, copied and moved: where every content ends up.
TEST(SameNameRules, TwoSameNamedRowsAndAFileAlreadyInTheTarget) {
  struct Case {
    SameNameRule rule;
    TransferKind kind;
    std::map<std::string, std::string> after;  // path -> content, every file there is
    int failed;
  };
  const Case cases[] = {
      {SameNameRule::Replace, TransferKind::Copy,
       {{"c:\\x\\img.jpg", "first"}, {"c:\\y\\img.jpg", "second"}, {"d:\\out\\img.jpg", "second"}}, 0},
      // The second row would replace the file the first one moved: it stays.
      {SameNameRule::Replace, TransferKind::Move, {{"c:\\y\\img.jpg", "second"}, {"d:\\out\\img.jpg", "first"}}, 1},
      {SameNameRule::Skip, TransferKind::Copy,
       {{"c:\\x\\img.jpg", "first"}, {"c:\\y\\img.jpg", "second"}, {"d:\\out\\img.jpg", "old"}}, 0},
      {SameNameRule::Skip, TransferKind::Move,
       {{"c:\\x\\img.jpg", "first"}, {"c:\\y\\img.jpg", "second"}, {"d:\\out\\img.jpg", "old"}}, 0},
      {SameNameRule::Rename, TransferKind::Copy,
       {{"c:\\x\\img.jpg", "first"},
        {"c:\\y\\img.jpg", "second"},
        {"d:\\out\\img.jpg", "old"},
        {"d:\\out\\img (2).jpg", "first"},
        {"d:\\out\\img (3).jpg", "second"}},
       0},
      {SameNameRule::Rename, TransferKind::Move,
       {{"d:\\out\\img.jpg", "old"}, {"d:\\out\\img (2).jpg", "first"}, {"d:\\out\\img (3).jpg", "second"}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.rule) * 10 + static_cast<int>(c.kind));
    FakeHost host;
    ResultList list;
    host.Put("C:\\x\\IMG.JPG", "first");
    host.Put("C:\\y\\IMG.JPG", "second");
    host.Put("D:\\out\\IMG.JPG", "old");
    AppendPath(list, "C:\\x\\IMG.JPG");
    AppendPath(list, "C:\\y\\IMG.JPG");
    list.SetAllChecked(true);
    host.folderChoice = "D:\\out";
    TransferOptions options;
    options.sameName = c.rule;
    MovedFiles moved;
    BatchTransfer(list, host, c.kind, options, &moved);
    EXPECT_EQ(host.files, c.after);
    const Text verb = c.kind == TransferKind::Copy ? G("复制") : G("移动");
    if (c.failed > 0) {
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].first, Concat(G("有1个文件未能"), verb, G("。")));
    } else {
      EXPECT_TRUE(host.messages.empty());
    }
    EXPECT_EQ(list.RowCount(), 2);
    // Only what a move put somewhere is there to take back.
    std::size_t arrived = 0;
    for (const auto& [path, content] : c.after) arrived += path.rfind("d:\\out\\", 0) == 0 && content != "old";
    EXPECT_EQ(moved.size(), c.kind == TransferKind::Move ? arrived : 0u);
  }
}

std::string RecordOf(const FakeHost& host) {
  auto found = host.appended.find(FakeHost::Canonical(OperationRecordPath(host.programDirectory)));
  return found == host.appended.end() ? std::string() : found->second;
}

// A file that another program puts at the destination after the batch has
// looked and before it acts is never replaced: 跳过 skips, 保留两者 takes the
// next number, and an undo leaves the file it was taking back where it is.
TEST(SameNameRules, AFileThatArrivesBetweenTheLookAndTheActIsNeverReplaced) {
  struct Case {
    SameNameRule rule;
    TransferKind kind;
    const char* destination;  // where the file went; empty: nowhere
  };
  const Case cases[] = {
      {SameNameRule::Skip, TransferKind::Copy, ""},
      {SameNameRule::Skip, TransferKind::Move, ""},
      {SameNameRule::Rename, TransferKind::Copy, "d:\\out\\img (2).jpg"},
      {SameNameRule::Rename, TransferKind::Move, "d:\\out\\img (2).jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.rule) * 10 + static_cast<int>(c.kind));
    FakeHost host;
    ResultList list;
    host.Put("C:\\x\\img.jpg", "picked");
    AppendPath(list, "C:\\x\\img.jpg");
    list.SetAllChecked(true);
    host.folderChoice = "D:\\out";
    host.beforeTransfer = [&host](const Text& destination) {
      if (!host.Has("D:\\out\\img.jpg")) host.Put(destination, "arrived meanwhile");
    };
    TransferOptions options;
    options.sameName = c.rule;
    BatchTransfer(list, host, c.kind, options);
    EXPECT_EQ(host.Content("D:\\out\\img.jpg"), "arrived meanwhile");
    if (*c.destination) {
      EXPECT_EQ(host.Content(c.destination), "picked");
    }
    EXPECT_EQ(host.Has("C:\\x\\img.jpg"), c.kind == TransferKind::Copy || !*c.destination);
    EXPECT_TRUE(host.messages.empty());
    const std::string record = RecordOf(host);
    EXPECT_NE(record.find(Utf8Of(*c.destination ? "改名为img (2).jpg" : "跳过")), std::string::npos) << record;
  }

  // Undo: the old path was free when it looked, taken when it acts.
  FakeHost host;
  ResultList list;
  host.Put("C:\\d\\f.txt", "moved");
  AppendPath(list, "C:\\d\\f.txt");
  list.SetAllChecked(true);
  host.folderChoice = "E:\\t";
  MovedFiles moved;
  BatchTransfer(list, host, TransferKind::Move, {}, &moved);
  ASSERT_EQ(moved.size(), 1u);
  host.beforeTransfer = [&host](const Text& destination) { host.Put(destination, "new at the old path"); };
  UndoMove(host, moved);
  EXPECT_EQ(host.Content("C:\\d\\f.txt"), "new at the old path");
  EXPECT_EQ(host.Content("E:\\t\\f.txt"), "moved");
  EXPECT_EQ(host.messages.back().first, G("已移回0个文件，1个文件未能移回。"));
}

// A file that two rows name (two wanted names found it; a pasted list named
// it twice) is copied or moved by its first row; the second is done, not
// failed, and no record line names a file that was never made.
TEST(SameNameRules, AFileThatTwoRowsNameIsActedOnOnce) {
  for (SameNameRule rule : {SameNameRule::Replace, SameNameRule::Skip, SameNameRule::Rename}) {
    for (TransferKind kind : {TransferKind::Copy, TransferKind::Move}) {
      SCOPED_TRACE(static_cast<int>(rule) * 10 + static_cast<int>(kind));
      FakeHost host;
      ResultList list;
      host.Put("C:\\s\\d.txt", "one file");
      AppendPath(list, "C:\\s\\d.txt");
      AppendPath(list, "C:\\s\\d.txt");
      list.SetAllChecked(true);
      host.folderChoice = "D:\\t";
      TransferOptions options;
      options.sameName = rule;
      MovedFiles moved;
      BatchTransfer(list, host, kind, options, &moved);
      EXPECT_EQ(host.Content("D:\\t\\d.txt"), "one file");
      EXPECT_FALSE(host.Has("D:\\t\\d (2).txt"));
      EXPECT_EQ(host.Has("C:\\s\\d.txt"), kind == TransferKind::Copy);
      EXPECT_TRUE(host.messages.empty());
      EXPECT_EQ(moved.size(), kind == TransferKind::Move ? 1u : 0u);
      const std::string record = RecordOf(host);
      EXPECT_EQ(record.find(Utf8Of("失败")), std::string::npos) << record;
      EXPECT_EQ(record.find("d (2).txt"), std::string::npos) << record;
      EXPECT_NE(record.find(Utf8Of("C:\\s\\d.txt,D:\\t\\d.txt,本次已处理过")), std::string::npos) << record;
    }
  }
}

// A move whose fallback copied the file but could not delete its source has
// the file in both places: it is told as a failure, and there is nothing to
// take back.
TEST(SameNameRules, AMoveThatLeavesItsSourceBehindIsNoMove) {
  FakeHost host;
  ResultList list;
  host.Put("C:\\d\\ro.txt", "read-only");
  host.readOnly.push_back(FakeHost::Canonical("C:\\d\\ro.txt"));
  host.Put("E:\\t\\ro.txt", "older");
  AppendPath(list, "C:\\d\\ro.txt");
  list.SetAllChecked(true);
  host.folderChoice = "E:\\t";
  MovedFiles moved;
  BatchTransfer(list, host, TransferKind::Move, {}, &moved);
  EXPECT_EQ(host.Content("C:\\d\\ro.txt"), "read-only");
  EXPECT_EQ(host.Content("E:\\t\\ro.txt"), "read-only");
  EXPECT_TRUE(moved.empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].first, G("有1个文件未能移动。"));
}

TEST(SameNameRules, NumberedNamesPutTheNumberBeforeTheExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"IMG_0012.JPG", "IMG_0012 (2).JPG"}, {"README", "README (2)"},        {".profile", ".profile (2)"},
      {"a.tar.gz", "a.tar (2).gz"},         {"照片.jpg", "照片 (2).jpg"}, {"dot.", "dot (2)."},
  };
  for (const auto& [name, numbered] : cases) EXPECT_EQ(NumberedName(G(name), 2), G(numbered)) << name;
  EXPECT_EQ(NumberedName("x.txt", 13), "x (13).txt");
  // The first free number, whatever the numbers before took.
  const std::set<Text> taken = {"D:\\t\\x (2).txt", "D:\\t\\x (3).txt", "D:\\t\\x (5).txt"};
  auto free = [&](const Text& path) { return !taken.count(path); };
  EXPECT_EQ(FirstFreeNumberedPath("D:\\t\\", "x.txt", free), Text("D:\\t\\x (4).txt"));
  EXPECT_EQ(FirstFreeNumberedPath("D:\\t\\", "x.txt", [](const Text&) { return false; }), std::nullopt);
}

TEST(SameNameRules, FolderBelowTheRootTheSearchRanWith) {
  struct Case {
    TextList roots;
    bool wholeComputer;
    const char* folder;
    const char* below;
  };
  const Case cases[] = {
      {{"D:\\photos"}, false, "D:\\photos\\2020\\May", "2020\\May"},
      {{"D:\\photos"}, false, "D:\\photos", ""},
      {{"D:\\"}, false, "D:\\", ""},                 // a root typed with its "\": rows "D:\\x"
      {{"D:\\"}, false, "D:\\\\sub", "sub"},
      {{"E:\\a", "D:\\ph"}, false, "D:\\photos\\x", "D\\photos\\x"},  // "D:\ph" is no folder of it
      {{"E:\\a", "D:\\ph"}, false, "D:\\ph\\x", "x"},
      {{"C:", "D:"}, true, "C:\\Users\\me", "C\\Users\\me"},
      {{"C:", "D:"}, true, "D:", "D"},
      {{}, false, "\\\\server\\share\\dir", "server\\share\\dir"},
      {{"D:\\照片"}, false, "D:\\照片\\二", "二"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderBelowRoot(G(c.folder), SearchRoots{[&] {
                                TextList gbk;
                                for (const Text& root : c.roots) gbk.push_back(G(root.c_str()));
                                return gbk;
                              }(),
                                                       c.wholeComputer}),
              G(c.below))
        << c.folder;
  }
}

TEST(SameNameRules, KeptFoldersAreMadeAndTheRuleAppliesInsideEach) {
  FakeHost host;
  ResultList list;
  for (const char* path : {"D:\\photos\\a\\IMG.JPG", "D:\\photos\\b\\IMG.JPG", "D:\\photos\\IMG.JPG"}) {
    host.Put(path, path);
    AppendPath(list, path);
  }
  host.Put("E:\\t\\a\\IMG.JPG", "old");
  list.SetAllChecked(true);
  host.folderChoice = "E:\\t";
  TransferOptions options;
  options.sameName = SameNameRule::Rename;
  options.keepFolders = true;
  options.roots = {{"D:\\photos"}, false};
  BatchTransfer(list, host, TransferKind::Copy, options);
  EXPECT_EQ(host.Content("E:\\t\\a\\IMG.JPG"), "old");
  EXPECT_EQ(host.Content("E:\\t\\a\\IMG (2).JPG"), "D:\\photos\\a\\IMG.JPG");
  EXPECT_EQ(host.Content("E:\\t\\b\\IMG.JPG"), "D:\\photos\\b\\IMG.JPG");
  EXPECT_EQ(host.Content("E:\\t\\IMG.JPG"), "D:\\photos\\IMG.JPG");
  EXPECT_EQ(host.folders, (std::vector<std::string>{"e:\\t\\a", "e:\\t\\b"}));

  // A folder that cannot be made (a file has its name): that file fails, the others go on.
  FakeHost blocked;
  blocked.Put("D:\\photos\\a\\x.txt", "x");
  blocked.Put("D:\\photos\\y.txt", "y");
  blocked.Put("E:\\t\\a", "a file");
  blocked.folderChoice = "E:\\t";
  ResultList rows;
  AppendPath(rows, "D:\\photos\\a\\x.txt");
  AppendPath(rows, "D:\\photos\\y.txt");
  rows.SetAllChecked(true);
  BatchTransfer(rows, blocked, TransferKind::Move, options);
  EXPECT_TRUE(blocked.Has("D:\\photos\\a\\x.txt"));
  EXPECT_EQ(blocked.Content("E:\\t\\y.txt"), "y");
  ASSERT_EQ(blocked.messages.size(), 1u);
  EXPECT_EQ(blocked.messages[0].first, G("有1个文件未能移动。"));
}

// Lines as the record holds them: UTF-8, RFC 4180, CR LF.
std::string RecordLines(std::initializer_list<const char*> lines) {
  std::string bytes;
  for (const char* line : lines) bytes += std::string(line) + "\r\n";
  return bytes;
}

TEST(OperationRecord, OneLinePerFileActedOnWithItsOutcome) {
  FakeHost host;
  ResultList list;
  host.Put("C:\\d\\a.txt", "a");
  host.Put("C:\\d\\b,\"q\".txt", "b");
  host.Put("C:\\d\\ro.txt", "r");
  host.readOnly.push_back(FakeHost::Canonical("C:\\d\\ro.txt"));
  for (const char* path : {"C:\\d\\a.txt", "C:\\d\\b,\"q\".txt", "C:\\d\\ro.txt"}) AppendPath(list, path);
  list.SetAllChecked(true);
  host.Put("E:\\t\\a.txt", "old");
  host.folderChoice = "E:\\t";
  TransferOptions options;
  options.sameName = SameNameRule::Rename;
  BatchTransfer(list, host, TransferKind::Copy, options);
  options.sameName = SameNameRule::Skip;
  BatchTransfer(list, host, TransferKind::Copy, options);
  BatchDelete(list, host);
  const std::string header = "\xEF\xBB\xBF" + Utf8Of("时间,操作,源路径,目标路径,结果") + "\r\n";
  EXPECT_EQ(RecordOf(host),
            header + RecordLines({
                         "2026-01-02 03:04:05,复制,C:\\d\\a.txt,E:\\t\\a (2).txt,改名为a (2).txt",
                         "2026-01-02 03:04:05,复制,\"C:\\d\\b,\"\"q\"\".txt\",\"E:\\t\\b,\"\"q\"\".txt\",成功",
                         "2026-01-02 03:04:05,复制,C:\\d\\ro.txt,E:\\t\\ro.txt,成功",
                         "2026-01-02 03:04:05,复制,C:\\d\\a.txt,E:\\t\\a.txt,跳过",
                         "2026-01-02 03:04:05,复制,\"C:\\d\\b,\"\"q\"\".txt\",\"E:\\t\\b,\"\"q\"\".txt\",跳过",
                         "2026-01-02 03:04:05,复制,C:\\d\\ro.txt,E:\\t\\ro.txt,跳过",
                         "2026-01-02 03:04:05,删除,C:\\d\\a.txt,,成功",
                         "2026-01-02 03:04:05,删除,\"C:\\d\\b,\"\"q\"\".txt\",,成功",
                         "2026-01-02 03:04:05,删除,C:\\d\\ro.txt,,失败：read-only",
                     }));

  // A record that cannot be written: the batch runs, and says so at its end.
  host.appendsFail = true;
  host.messages.clear();
  host.readOnly.clear();
  BatchDelete(list, host);
  EXPECT_FALSE(host.Has("C:\\d\\ro.txt"));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].first, G("操作记录写入失败！"));
}

TEST(UndoMove, TakesBackWhatIsStillThereAndFreeAndNothingTwice) {
  FakeHost host;
  ResultList list;
  for (int i = 0; i < 4; ++i) {
    host.Put("C:\\d\\f" + std::to_string(i) + ".txt", "content " + std::to_string(i));
    AppendPath(list, "C:\\d\\f" + std::to_string(i) + ".txt");
  }
  list.SetAllChecked(true);
  host.folderChoice = "E:\\t";
  MovedFiles moved;
  BatchTransfer(list, host, TransferKind::Move, {}, &moved);
  ASSERT_EQ(moved.size(), 4u);
  host.Put("E:\\t\\f1.txt", "changed since");  // another size: no longer the file moved
  host.Put("C:\\d\\f2.txt", "a new file at the old path");
  host.files.erase(FakeHost::Canonical("E:\\t\\f3.txt"));  // gone since
  host.messages.clear();
  UndoMove(host, moved);
  EXPECT_EQ(host.Content("C:\\d\\f0.txt"), "content 0");
  EXPECT_FALSE(host.Has("E:\\t\\f0.txt"));
  EXPECT_EQ(host.Content("E:\\t\\f1.txt"), "changed since");
  EXPECT_FALSE(host.Has("C:\\d\\f1.txt"));
  EXPECT_EQ(host.Content("E:\\t\\f2.txt"), "content 2");
  EXPECT_EQ(host.Content("C:\\d\\f2.txt"), "a new file at the old path");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].first, G("已移回1个文件，3个文件未能移回。"));
  EXPECT_EQ(host.Status(), G("撤销完毕！"));
  EXPECT_TRUE(moved.empty());
  EXPECT_EQ(list.RowCount(), 4);
  UndoMove(host, moved);
  EXPECT_EQ(host.messages.size(), 1u);  // nothing more to take back
  const std::string record = RecordOf(host);
  EXPECT_NE(record.find(Utf8Of("撤销移动,E:\\t\\f0.txt,C:\\d\\f0.txt,成功")), std::string::npos) << record;
  EXPECT_NE(record.find(Utf8Of("撤销移动,E:\\t\\f2.txt,C:\\d\\f2.txt,失败：")), std::string::npos) << record;
}

TEST(FileNameOf, CutsAtTheLastRealBackslash) {
  EXPECT_EQ(FileNameOf("C:\\a\\b\\report.doc"), "report.doc");
  EXPECT_EQ(FileNameOf("C:\\a\\x\x95\x5Cy.txt"), "x\x95\x5Cy.txt");
  EXPECT_EQ(FileNameOf("noslash"), "noslash");
}

}  // namespace
}  // namespace tarnwell
