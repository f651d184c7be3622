// Delete, copy and move on real files that resist: files held open by
// someone else with no sharing, read-only files, and files that vanish
// before or during the command. Every file ends up where it was or where it
// was sent, byte for byte, and the command ends as usual for the others.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/text/gb18030_wide_win.h"
#include "results/batch_delete.h"
#include "results/batch_transfer.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/answering_host.h"
#include "tests/win/support/program_fixture.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::HeldFile;
using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;

// The real window and file system; the folder browser's answer is the test's,
// every message box is answered with OK and kept, and a test may do
// something just before a file operation of the command.
class FaultHost : public AnsweringHost {
 public:
  using AnsweringHost::AnsweringHost;
  std::function<void()> beforeFileOperation;
  int fileOperations = 0;

  FileOutcome DeleteOneFile(const Text& path) override {
    Before();
    return WindowResultHost::DeleteOneFile(path);
  }
  FileOutcome CopyOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    Before();
    return WindowResultHost::CopyOneFile(source, destination, options);
  }
  FileOutcome MoveOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    Before();
    return WindowResultHost::MoveOneFile(source, destination, options);
  }

 private:
  void Before() {
    ++fileOperations;
    if (beforeFileOperation) beforeFileOperation();
  }
};

class BatchFileFaults : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<FaultHost>(program->Window(), programFolder.path());
    MakeFolder(tree / "src");
    MakeFolder(tree / "out");
    host->folderChoice = tree / "out";
  }
  Text Source(int i) { return tree / ("src\\f" + std::to_string(i) + ".bin"); }
  Text Sent(int i) { return tree / ("out\\f" + std::to_string(i) + ".bin"); }
  // Bytes that differ per file and hold every byte value.
  static std::string Content(int i) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>((b * 7 + i) & 0xFF));
    return bytes + "file " + std::to_string(i);
  }
  // Files f0 .. f<n-1> in src, one ticked row each.
  void MakeTickedRows(int count) {
    for (int i = 0; i < count; ++i) {
      PutFile(Source(i), Content(i));
      AppendPath(Rows(), Source(i));
      Rows().SetChecked(i, true);
    }
  }
  // Runs the delete; gives the boxes after its question.
  TextList DeleteConfirmed() {
    BatchDelete(Rows(), *host);
    TextList shown = host->TakeShown();
    EXPECT_FALSE(shown.empty());
    if (shown.empty()) return shown;
    EXPECT_EQ(shown.front(), G("您确定要删除选定的文件吗？请慎重，删除后不可恢复！"));
    return {shown.begin() + 1, shown.end()};
  }
  // The target folder holds exactly these files: nothing half-copied, no temporary file.
  void ExpectSentExactly(std::initializer_list<int> files) {
    TextList names = FolderNames(tree / "out");
    std::sort(names.begin(), names.end());
    TextList expected;
    for (int i : files) expected.push_back("f" + std::to_string(i) + ".bin");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    for (int i : files) EXPECT_EQ(FileBytes(Sent(i)), Content(i)) << i;
  }
  void ExpectRowsUnchangedAndTicked(int count) {
    ASSERT_EQ(Rows().RowCount(), count);
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(Rows().RowText(i), Source(i));
      EXPECT_TRUE(Rows().IsChecked(i)) << i;
    }
  }
  std::unique_ptr<FaultHost> host;
};

TEST_F(BatchFileFaults, DeleteLeavesAHeldFileWholeAndDeletesTheOthers) {
  MakeTickedRows(4);
  HeldFile held(Source(1));
  ASSERT_TRUE(held.ok());
  EXPECT_EQ(DeleteConfirmed(), TextList{G("有1个文件未能删除，已保留在列表中并保持勾选。")});
  held.Release();
  EXPECT_EQ(FileBytes(Source(1)), Content(1));
  for (int gone : {0, 2, 3}) EXPECT_FALSE(Exists(Source(gone))) << gone;
  // Only the row of the file that stayed is left, ticked.
  ASSERT_EQ(Rows().RowCount(), 1);
  EXPECT_EQ(Rows().RowText(0), Source(1));
  EXPECT_TRUE(Rows().IsChecked(0));
  EXPECT_EQ(Status(), G("删除完毕！"));
}

TEST_F(BatchFileFaults, CopySkipsAHeldFileAndCopiesTheOthersWhole) {
  MakeTickedRows(4);
  HeldFile held(Source(2));
  ASSERT_TRUE(held.ok());
  BatchCopy(Rows(), *host);
  held.Release();
  EXPECT_EQ(Status(), G("复制完毕！"));
  EXPECT_EQ(host->TakeShown(), TextList{G("有1个文件未能复制。")});
  ExpectSentExactly({0, 1, 3});
  for (int i = 0; i < 4; ++i) EXPECT_EQ(FileBytes(Source(i)), Content(i)) << i;
  ExpectRowsUnchangedAndTicked(4);
}

TEST_F(BatchFileFaults, MoveLeavesAHeldFileInPlaceAndMovesTheOthers) {
  MakeTickedRows(4);
  HeldFile held(Source(0));
  ASSERT_TRUE(held.ok());
  BatchMove(Rows(), *host);
  held.Release();
  EXPECT_EQ(Status(), G("移动完毕！"));
  EXPECT_EQ(host->TakeShown(), TextList{G("有1个文件未能移动。")});
  EXPECT_EQ(FileBytes(Source(0)), Content(0));
  for (int i : {1, 2, 3}) EXPECT_FALSE(Exists(Source(i))) << i;
  ExpectSentExactly({1, 2, 3});
  ExpectRowsUnchangedAndTicked(4);
}

TEST_F(BatchFileFaults, AHeldFileInTheTargetKeepsItsBytesAndItsSourceStays) {
  MakeTickedRows(2);
  PutFile(Sent(0), "older copy, held open");
  HeldFile held(Sent(0));
  ASSERT_TRUE(held.ok());
  BatchCopy(Rows(), *host);
  EXPECT_EQ(Status(), G("复制完毕！"));
  BatchMove(Rows(), *host);
  EXPECT_EQ(Status(), G("移动完毕！"));
  held.Release();
  EXPECT_EQ(FileBytes(Sent(0)), "older copy, held open");
  EXPECT_EQ(FileBytes(Source(0)), Content(0));
  EXPECT_FALSE(Exists(Source(1)));  // the other one was copied, then moved over its copy
  EXPECT_EQ(FileBytes(Sent(1)), Content(1));
  EXPECT_EQ(FolderNames(tree / "out").size(), 2u);
}

TEST_F(BatchFileFaults, ReadOnlyFilesMoveWholeAndReadOnlyTargetsStay) {
  MakeTickedRows(3);
  SetFileAttributesW(LongForm(Source(0)).c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(LongForm(Source(1)).c_str(), FILE_ATTRIBUTE_READONLY);
  PutFile(Sent(1), "an older f1");  // the move of f1 falls back to copying over this
  PutFile(Sent(2), "read-only older f2");
  SetFileAttributesW(LongForm(Sent(2)).c_str(), FILE_ATTRIBUTE_READONLY);
  BatchMove(Rows(), *host);
  EXPECT_EQ(Status(), G("移动完毕！"));

  // A read-only file is renamed like any other and keeps its attribute.
  EXPECT_FALSE(Exists(Source(0)));
  EXPECT_EQ(FileBytes(Sent(0)), Content(0));
  EXPECT_TRUE(GetFileAttributesW(LongForm(Sent(0)).c_str()) & FILE_ATTRIBUTE_READONLY);
  // Copied over the older file; the read-only source cannot be deleted and stays.
  EXPECT_EQ(FileBytes(Sent(1)), Content(1));
  EXPECT_EQ(FileBytes(Source(1)), Content(1));
  // A read-only file in the target is never replaced.
  EXPECT_EQ(FileBytes(Sent(2)), "read-only older f2");
  EXPECT_EQ(FileBytes(Source(2)), Content(2));
  EXPECT_EQ(FolderNames(tree / "out").size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SetFileAttributesW(LongForm(Source(i)).c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(LongForm(Sent(i)).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(BatchFileFaults, AFileGoneBeforeTheCommandIsSkippedByEachCommand) {
  MakeTickedRows(3);
  DeleteFileW(LongForm(Source(1)).c_str());
  BatchCopy(Rows(), *host);
  EXPECT_EQ(Status(), G("复制完毕！"));
  ExpectSentExactly({0, 2});
  ExpectRowsUnchangedAndTicked(3);

  for (int i : {0, 2}) DeleteFileW(LongForm(Sent(i)).c_str());
  BatchMove(Rows(), *host);
  EXPECT_EQ(Status(), G("移动完毕！"));
  ExpectSentExactly({0, 2});
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Exists(Source(i))) << i;

  // Delete the rows whose files are now elsewhere or gone: nothing left to delete, the rows go.
  EXPECT_EQ(host->TakeShown(), (TextList{G("有1个文件未能复制。"), G("有1个文件未能移动。")}));
  EXPECT_EQ(DeleteConfirmed(), TextList{});
  EXPECT_EQ(Status(), G("删除完毕！"));
  EXPECT_EQ(Rows().RowCount(), 0);
  ExpectSentExactly({0, 2});
}

TEST_F(BatchFileFaults, AFileThatVanishesDuringTheCommandIsSkipped) {
  // Someone else deletes f3 and f4 once the command has started on f0.
  MakeTickedRows(6);
  host->beforeFileOperation = [&] {
    if (host->fileOperations == 1) {
      DeleteFileW(LongForm(Source(3)).c_str());
      DeleteFileW(LongForm(Source(4)).c_str());
    }
  };
  BatchMove(Rows(), *host);
  EXPECT_EQ(host->fileOperations, 6);
  EXPECT_EQ(Status(), G("移动完毕！"));
  ExpectSentExactly({0, 1, 2, 5});
  EXPECT_TRUE(FolderNames(tree / "src").empty());
  ExpectRowsUnchangedAndTicked(6);

  // Copy back while a file of the target vanishes: the rest arrives whole.
  host->fileOperations = 0;
  host->folderChoice = tree / "src";
  Rows().Clear();
  for (int i = 0; i < 6; ++i) AppendPath(Rows(), Sent(i));
  Rows().SetAllChecked(true);
  host->beforeFileOperation = [&] {
    if (host->fileOperations == 2) DeleteFileW(LongForm(Sent(5)).c_str());
  };
  BatchCopy(Rows(), *host);
  EXPECT_EQ(Status(), G("复制完毕！"));
  TextList back = FolderNames(tree / "src");
  std::sort(back.begin(), back.end());
  EXPECT_EQ(back, (TextList{"f0.bin", "f1.bin", "f2.bin"}));
  for (int i : {0, 1, 2}) EXPECT_EQ(FileBytes(Source(i)), Content(i)) << i;

  // Delete while a ticked file vanishes: the others go, every ticked row goes.
  host->beforeFileOperation = [&] {
    if (host->fileOperations == 7) DeleteFileW(LongForm(Sent(1)).c_str());
  };
  EXPECT_EQ(host->TakeShown(), (TextList{G("有2个文件未能移动。"), G("有3个文件未能复制。")}));
  EXPECT_EQ(DeleteConfirmed(), TextList{});
  EXPECT_EQ(Status(), G("删除完毕！"));
  EXPECT_EQ(Rows().RowCount(), 0);
  EXPECT_TRUE(FolderNames(tree / "out").empty());
}

}  // namespace
}  // namespace tarnwell::testing
