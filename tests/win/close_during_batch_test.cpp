// Closing the window while a delete or a move runs on the real window and
// real files: the close, which the batch's own event processing takes, ends
// the batch before its next file; the window is gone, its thread is asked
// to quit, and no status text or message box comes after. A move in
// progress is done whole: every file is at its source or in the target.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text/gb18030_wide_win.h"
#include "results/batch_delete.h"
#include "results/batch_transfer.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/program_fixture.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::MakeFolder;
using testing_support::PutFile;

// The real window and file system. It confirms the delete itself, answers the
// folder browser with `target`, posts a close to the window once
// `closeAfter` files have been acted on (0: with the confirmation or the
// folder's choice), and keeps whatever is shown once the window is gone.
class ClosingHost : public WindowResultHost {
 public:
  ClosingHost(MainWindow& window, const Text& programFolder, Text target, int closeAfter)
      : WindowResultHost(window, programFolder), window_(window.Handle()), target_(std::move(target)),
        closeAfter_(closeAfter) {}

  TextList shownAfterClose;
  int actedOn = 0;

  void SetStatus(const Text& text) override {
    if (!IsWindow(window_)) shownAfterClose.push_back(text);
    WindowResultHost::SetStatus(text);
  }
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle, const Text&) override {
    if (!IsWindow(window_)) shownAfterClose.push_back(message);
    CloseWhenDue();
    return MessageBoxButton::Ok;
  }
  Text BrowseForFolder(const Text&) override {
    CloseWhenDue();
    return target_;
  }
  FileOutcome DeleteOneFile(const Text& path) override {
    FileOutcome done = WindowResultHost::DeleteOneFile(path);
    ++actedOn;
    CloseWhenDue();
    return done;
  }
  FileOutcome MoveOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    FileOutcome done = WindowResultHost::MoveOneFile(source, destination, options);
    ++actedOn;
    CloseWhenDue();
    return done;
  }

 private:
  void CloseWhenDue() {
    if (actedOn == closeAfter_) PostMessageW(window_, WM_CLOSE, 0, 0);
  }

  HWND window_;
  Text target_;
  int closeAfter_;
};

class CloseDuringBatch : public ProgramFixture {
 protected:
  // Files f0.txt .. f<count - 1>.txt in the tree, one ticked row each.
  void MakeTickedRows(int count) {
    for (int i = 0; i < count; ++i) {
      PutFile(File(i), "x");
      AppendPath(Rows(), File(i));
    }
    Rows().SetAllChecked(true);
  }
  Text File(int i) { return tree / ("f" + std::to_string(i) + ".txt"); }
  void ExpectClosedAndQuitAsked() {
    EXPECT_FALSE(IsWindow(main));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  }
  HWND main = nullptr;
};

TEST_F(CloseDuringBatch, DeleteEndsBeforeItsNextFileAndShowsNothingAfter) {
  for (int closeAfter : {0, 3}) {
    if (closeAfter > 0) ReopenWith(FileSystemLister());
    MakeTickedRows(10);
    main = program->Window().Handle();
    ClosingHost host(program->Window(), programFolder.path(), Text(), closeAfter);
    BatchDelete(Rows(), host);
    ExpectClosedAndQuitAsked();
    EXPECT_EQ(host.actedOn, closeAfter);
    int left = 0;
    for (int i = 0; i < 10; ++i) left += Exists(File(i));
    EXPECT_EQ(left, 10 - closeAfter) << "close after " << closeAfter;
    EXPECT_EQ(host.shownAfterClose, TextList{}) << "close after " << closeAfter;
    for (int i = 0; i < 10; ++i) DeleteFileW(Gb18030ToWide(File(i)).c_str());
  }
}

TEST_F(CloseDuringBatch, MoveEndsBeforeItsNextFileAndLosesNothing) {
  MakeFolder(tree / "target");
  MakeTickedRows(10);
  main = program->Window().Handle();
  ClosingHost host(program->Window(), programFolder.path(), tree / "target", 4);
  BatchMove(Rows(), host);
  ExpectClosedAndQuitAsked();
  EXPECT_EQ(host.actedOn, 4);
  int moved = 0;
  for (int i = 0; i < 10; ++i) {
    bool there = Exists(tree / ("target\\f" + std::to_string(i) + ".txt"));
    moved += there;
    EXPECT_NE(there, Exists(File(i))) << i;  // in one place, never in none
  }
  EXPECT_EQ(moved, 4);
  EXPECT_EQ(host.shownAfterClose, TextList{});
}

}  // namespace
}  // namespace tarnwell::testing
