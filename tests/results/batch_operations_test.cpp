#include <gtest/gtest.h>

#include "platform/gb18030_utf8.h"
#include "results/batch_delete.h"
#include "results/batch_transfer.h"
#include "tests/results/fake_host.h"
#include "tests/support/result_rows.h"

namespace tarnwell {
namespace {

Text G(const char* utf8) { return Utf8ToGb18030(utf8); }

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

TEST_F(BatchOperations, ReadOnlyFileLosesItsRowButStaysOnDisk) {
  AddFiles(2);
  host.readOnly.push_back(FakeHost::Canonical("C:\\d\\f0.txt"));
  list.SetChecked(0, true);
  BatchDelete(list, host);
  EXPECT_TRUE(host.Has("C:\\d\\f0.txt"));
  EXPECT_EQ(list.RowCount(), 1);
  EXPECT_EQ(host.Status(), G("删除完毕！"));
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

TEST(FileNameOf, CutsAtTheLastRealBackslash) {
  EXPECT_EQ(FileNameOf("C:\\a\\b\\report.doc"), "report.doc");
  EXPECT_EQ(FileNameOf("C:\\a\\x\x95\x5Cy.txt"), "x\x95\x5Cy.txt");
  EXPECT_EQ(FileNameOf("noslash"), "noslash");
}

}  // namespace
}  // namespace tarnwell
