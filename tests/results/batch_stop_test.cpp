// Stopping a batch (停止, Esc in the progress window) and closing the window
// while it runs, with the file work on its worker thread: the file under way
// stops in the middle and leaves nothing at its destination, its source
// stays whole, no row after it is touched, and the end says what was done.
#include <gtest/gtest.h>

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
Text Source(int i) { return "C:\\d\\f" + std::to_string(i) + ".bin"; }
Text Sent(int i) { return "E:\\t\\f" + std::to_string(i) + ".bin"; }

// Five ticked rows, each file 1,000 bytes.
void MakeTickedFiles(FakeHost& host, ResultList& list) {
  for (int i = 0; i < 5; ++i) {
    host.Put(Source(i), std::string(1000, static_cast<char>('a' + i)));
    AppendPath(list, Source(i));
  }
  list.SetAllChecked(true);
  host.folderChoice = "E:\\t";
}

std::string RecordOf(const FakeHost& host) {
  auto found = host.appended.find(FakeHost::Canonical(OperationRecordPath(host.programDirectory)));
  return found == host.appended.end() ? std::string() : found->second;
}

// The third file is in the middle of its copy (half its bytes through) when
// the user stops the batch or closes the window.
TEST(StopMidFile, TheFileUnderWayLeavesNothingBehindAndNoLaterRowIsTouched) {
  for (TransferKind kind : {TransferKind::Copy, TransferKind::Move}) {
    for (bool close : {false, true}) {
      SCOPED_TRACE(static_cast<int>(kind) * 10 + close);
      FakeHost host;
      ResultList list;
      MakeTickedFiles(host, list);
      host.stopsMidFile = FakeHost::Canonical(Source(2));
      BatchProgress progress;
      host.onWorkEvents = [&] {
        const BatchProgress::Figures now = progress.Read();
        if (now.currentFile != Source(2) || now.bytesDone < 2500) return;  // f2 is not half through yet
        if (close) {
          host.closed = true;
        } else {
          progress.RequestStop();
        }
      };
      MovedFiles moved;
      BatchTransfer(list, host, kind, {}, &moved, &progress);
      for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(host.Has(Sent(i)), i < 2) << i;
        EXPECT_EQ(host.Has(Source(i)), kind == TransferKind::Copy || i >= 2) << i;
      }
      EXPECT_EQ(moved.size(), kind == TransferKind::Move ? 2u : 0u);
      const Text verb = kind == TransferKind::Copy ? G("复制") : G("移动");
      const std::string record = RecordOf(host);
      EXPECT_NE(record.find("f2.bin,E:\\t\\f2.bin," + Gb18030ToUtf8(G("已停止"))), std::string::npos) << record;
      EXPECT_EQ(record.find("f3.bin"), std::string::npos) << record;
      if (close) {  // nothing more is shown
        EXPECT_EQ(host.statusHistory, TextList{Concat(G("正在"), verb, G("，请稍等..."))});
        EXPECT_TRUE(host.messages.empty());
      } else {
        EXPECT_EQ(host.Status(), Concat(G("已停止："), verb, G("完毕！")));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].first, Concat(G("已停止：已"), verb, G("2个文件。")));
      }
    }
  }
}

// A delete stopped between two files: the files before are gone with their
// rows, the rest keep their rows and ticks. An undo stopped between two
// files keeps those it did not reach for a later undo.
TEST(StopMidFile, ADeleteOrAnUndoStopsBeforeItsNextFile) {
  FakeHost host;
  ResultList list;
  MakeTickedFiles(host, list);
  BatchProgress progress;
  int visits = 0;
  host.onEvents = [&] {
    if (++visits == 3) progress.RequestStop();
  };
  BatchDelete(list, host, &progress);
  EXPECT_EQ(host.files.size(), 3u);
  ASSERT_EQ(list.RowCount(), 3);
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(list.RowText(row), Source(row + 2));
    EXPECT_TRUE(list.IsChecked(row));
  }
  EXPECT_EQ(host.Status(), G("已停止：删除完毕！"));
  EXPECT_EQ(host.messages.back().first, G("已停止：已删除2个文件。"));

  MovedFiles moved;
  BatchTransfer(list, host, TransferKind::Move, {}, &moved);
  ASSERT_EQ(moved.size(), 3u);
  visits = 0;
  UndoMove(host, moved, &progress);
  EXPECT_EQ(host.messages.back().first, G("已停止：已移回2个文件，0个文件未能移回。"));
  EXPECT_EQ(host.Status(), G("已停止：撤销完毕！"));
  EXPECT_TRUE(host.Has(Sent(2)));  // the first moved goes back last: it was not reached
  EXPECT_TRUE(host.Has(Source(3)) && host.Has(Source(4)));
  ASSERT_EQ(moved.size(), 1u);
  host.onEvents = nullptr;
  UndoMove(host, moved);
  EXPECT_TRUE(host.Has(Source(2)));
  EXPECT_TRUE(moved.empty());
}

}  // namespace
}  // namespace tarnwell
