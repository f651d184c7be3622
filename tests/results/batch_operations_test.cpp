#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "results/batch_delete.h"
#include "results/batch_transfer.h"
#include "tests/results/fake_host.h"
#include "tests/support/result_rows.h"

namespace tarnwell {
namespace {

Text G(const char* utf8) { return Utf8ToGbk(utf8); }

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

TEST(FileNameOf, CutsAtTheLastRealBackslash) {
  EXPECT_EQ(FileNameOf("C:\\a\\b\\report.doc"), "report.doc");
  EXPECT_EQ(FileNameOf("C:\\a\\x\x95\x5Cy.txt"), "x\x95\x5Cy.txt");
  EXPECT_EQ(FileNameOf("noslash"), "noslash");
}

}  // namespace
}  // namespace tarnwell
