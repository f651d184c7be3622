// The result commands on the real window and real files: delete with its
// confirmation, copy and move (the folder browser's answer is given by the
// test), the tick buttons, the not-found report and the hint label.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "platform/text/gb18030_wide_win.h"
#include "results/batch_delete.h"
#include "results/batch_transfer.h"
#include "results/not_found_report.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::MakeFolder;
using testing_support::PutFile;

// The real window and file system; the folder browser's answer and the shell
// are the test's, so that no dialog or editor has to be driven. With
// keepBoxes, the boxes are kept and answered with OK instead of shown.
class TestHost : public WindowResultHost {
 public:
  using WindowResultHost::WindowResultHost;
  Text folderChoice;
  TextList opened;
  bool keepBoxes = false;
  TextList kept;
  Text BrowseForFolder(const Text&) override { return folderChoice; }
  void ShellOpen(const Text& path) override { opened.push_back(path); }
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) override {
    if (!keepBoxes) return WindowResultHost::ShowMessageBox(message, style, caption);
    kept.push_back(message);
    return MessageBoxButton::Ok;
  }
};

class ResultCommands : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<TestHost>(program->Window(), programFolder.path());
  }
  // Files f0.txt .. f<n-1>.txt in the tree, one row each.
  void MakeRows(int count) {
    for (int i = 0; i < count; ++i) {
      Text path = tree / ("f" + std::to_string(i) + ".txt");
      PutFile(path, "content " + std::to_string(i));
      AppendPath(Rows(), path);
    }
  }
  void Tick(std::initializer_list<int> rows) {
    for (int row : rows) Rows().SetChecked(row, true);
  }
  AnsweredBox Delete(int button) {
    auto answer = AnswerNextBox(button);
    BatchDelete(Rows(), *host);
    return answer.get();
  }
  std::unique_ptr<TestHost> host;
};

TEST_F(ResultCommands, DeleteAsksFirstAndCancelChangesNothing) {
  MakeRows(3);
  Tick({1});
  SetCaption(C(Control::StatusLabel), "before");
  AnsweredBox box = Delete(IDCANCEL);
  EXPECT_EQ(box.caption, G("确定删除吗？"));
  EXPECT_EQ(box.text, G("您确定要删除选定的文件吗？请慎重，删除后不可恢复！"));
  EXPECT_EQ(Rows().RowCount(), 3);
  EXPECT_TRUE(Exists(tree / "f1.txt"));
  EXPECT_EQ(Status(), "before");
}

TEST_F(ResultCommands, DeleteRemovesTheTickedFilesAndRowsOnly) {
  MakeRows(8);
  Tick({2, 5, 6});
  Delete(IDOK);
  ASSERT_EQ(Rows().RowCount(), 5);
  int kept[] = {0, 1, 3, 4, 7};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Rows().RowText(i), tree / ("f" + std::to_string(kept[i]) + ".txt"));
    EXPECT_EQ(FileBytes(Rows().RowText(i)), "content " + std::to_string(kept[i]));
  }
  for (int gone : {2, 5, 6}) EXPECT_FALSE(Exists(tree / ("f" + std::to_string(gone) + ".txt")));
  EXPECT_EQ(Status(), G("删除完毕！"));
}

TEST_F(ResultCommands, DeleteWithNothingTickedTellsSoAfterTheConfirmation) {
  SetCaption(C(Control::StatusLabel), "earlier");
  auto boxes = AnswerBoxes(2);
  BatchDelete(Rows(), *host);  // an empty list
  auto shown = boxes.get();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, G("您没有选择任何文件！"));
  EXPECT_EQ(shown[1].caption, G("信息："));
  EXPECT_EQ(Status(), "earlier");

  MakeRows(2);  // rows, none ticked: the progress text stays
  boxes = AnswerBoxes(2);
  BatchDelete(Rows(), *host);
  EXPECT_EQ(boxes.get().size(), 2u);
  EXPECT_EQ(Status(), G("正在删除，请稍等..."));
  EXPECT_EQ(Rows().RowCount(), 2);
}

TEST_F(ResultCommands, ReadOnlyFileStaysOnDiskWithItsRowAndTickAndTheEndSaysSo) {
  MakeRows(3);
  SetFileAttributesW(testing_support::LongForm(tree / "f0.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  Tick({0, 2});
  auto answers = AnswerBoxes(2);
  BatchDelete(Rows(), *host);
  const std::vector<AnsweredBox> boxes = answers.get();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, G("有1个文件未能删除，已保留在列表中并保持勾选。"));
  EXPECT_EQ(boxes[1].caption, G("信息："));
  EXPECT_EQ(FileBytes(tree / "f0.txt"), "content 0");
  EXPECT_FALSE(Exists(tree / "f2.txt"));
  ASSERT_EQ(Rows().RowCount(), 2);
  EXPECT_EQ(Rows().RowText(0), tree / "f0.txt");
  EXPECT_TRUE(Rows().IsChecked(0));
  EXPECT_FALSE(Rows().IsChecked(1));
  EXPECT_EQ(Status(), G("删除完毕！"));
  SetFileAttributesW(testing_support::LongForm(tree / "f0.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ResultCommands, CopyAndMoveKeepEveryByteAndNeverLoseAFile) {
  MakeFolder(tree / "x");
  MakeFolder(tree / "y");
  MakeFolder(tree / "out");
  PutFile(tree / "x\\photo.jpg", std::string("first\0bytes", 11));
  PutFile(tree / "y\\photo.jpg", "second");
  AppendPath(Rows(), tree / "x\\photo.jpg");
  AppendPath(Rows(), tree / "y\\photo.jpg");
  Tick({0, 1});
  host->folderChoice = tree / "out";
  host->keepBoxes = true;

  BatchCopy(Rows(), *host);  // the later row wins
  EXPECT_EQ(FileBytes(tree / "out\\photo.jpg"), "second");
  EXPECT_EQ(Status(), G("复制完毕！"));

  DeleteFileW(testing_support::LongForm(tree / "out\\photo.jpg").c_str());
  BatchMove(Rows(), *host);  // the first moved file survives, the second stays
  EXPECT_EQ(FileBytes(tree / "out\\photo.jpg"), std::string("first\0bytes", 11));
  EXPECT_FALSE(Exists(tree / "x\\photo.jpg"));
  EXPECT_EQ(FileBytes(tree / "y\\photo.jpg"), "second");
  EXPECT_EQ(Status(), G("移动完毕！"));
  EXPECT_EQ(host->kept, TextList{G("有1个文件未能移动。")});
  EXPECT_EQ(Rows().RowText(0), tree / "x\\photo.jpg");  // the list never changes

  Rows().SetChecked(1, false);
  BatchMove(Rows(), *host);  // again, on the row whose file is gone: nothing changes
  EXPECT_EQ(FileBytes(tree / "out\\photo.jpg"), std::string("first\0bytes", 11));
  EXPECT_EQ(FileBytes(tree / "y\\photo.jpg"), "second");
  EXPECT_EQ(Status(), G("移动完毕！"));
}

TEST_F(ResultCommands, CopyAndMoveToADriveRootGoThroughTheDoubleSeparator) {
  const Text name = Concat("root", NumberToText(static_cast<int>(GetCurrentProcessId())), ".bin");
  PutFile(tree / name, std::string("\x00\xFF" "data", 6));
  AppendPath(Rows(), tree / name);
  Tick({0});
  host->folderChoice = "C:\\";  // the browser gives a drive root with its backslash
  BatchCopy(Rows(), *host);
  EXPECT_EQ(FileBytes(Concat("C:\\", name)), std::string("\x00\xFF" "data", 6));
  BatchMove(Rows(), *host);  // onto the copy: falls back to copying over it and removes the source
  EXPECT_EQ(FileBytes(Concat("C:\\", name)), std::string("\x00\xFF" "data", 6));
  EXPECT_FALSE(Exists(tree / name));
  DeleteFileW(testing_support::LongForm(Concat("C:\\", name)).c_str());
}

TEST_F(ResultCommands, MovingIntoTheFilesOwnFolderLeavesItUntouched) {
  PutFile(tree / "Keep.txt", "precious");
  AppendPath(Rows(), tree / "Keep.txt");
  Tick({0});
  host->folderChoice = tree.path() + "\\";  // another spelling of the same folder
  host->keepBoxes = true;
  BatchMove(Rows(), *host);
  EXPECT_EQ(FileBytes(tree / "Keep.txt"), "precious");
  BatchCopy(Rows(), *host);
  EXPECT_EQ(FileBytes(tree / "Keep.txt"), "precious");
  EXPECT_TRUE(host->kept.empty());  // passed over, never a failure
}

TEST_F(ResultCommands, CancelledBrowserOrNoTickEndsQuietly) {
  MakeRows(2);
  SetCaption(C(Control::StatusLabel), "kept");
  host->folderChoice = "";
  BatchCopy(Rows(), *host);
  EXPECT_EQ(Status(), "kept");
  host->folderChoice = tree.path();
  BatchMove(Rows(), *host);
  EXPECT_EQ(Status(), G("您没有选择要移动的文件！"));
  EXPECT_TRUE(Exists(tree / "f0.txt"));
}

TEST_F(ResultCommands, TickButtonsTickAndUntickEveryRow) {
  MakeRows(5);
  HWND list = C(Control::ResultView);
  // Each click leaves the shown rows to be painted again with their new boxes.
  auto repaintRequested = [&] {
    RECT stale{};
    return GetUpdateRect(list, &stale, FALSE) && stale.bottom > stale.top;
  };
  UpdateWindow(list);
  ASSERT_FALSE(repaintRequested());
  Click(Control::CheckAllButton);
  EXPECT_TRUE(repaintRequested());
  for (int row = 0; row < 5; ++row) EXPECT_TRUE(Rows().IsChecked(row));
  UpdateWindow(list);
  Click(Control::UncheckAllButton);
  EXPECT_TRUE(repaintRequested());
  for (int row = 0; row < 5; ++row) EXPECT_FALSE(Rows().IsChecked(row));
}

TEST_F(ResultCommands, NotFoundReportWritesGbkBytesAndOpensTheFile) {
  AppendPath(Rows(), "C:\\x\\README.TXT");
  AppendPath(Rows(), "C:\\y\\photo.jpg");
  SetContent(C(Control::NamesBox), G("readme\r\nsetup.exe\r\n照片\r\n"));
  const Text report = programFolder / G("未搜到文件列表.txt");
  PutFile(report, std::string(1000, 'o'));  // an older, longer report is cut
  NotFoundReport(Rows(), *host);
  EXPECT_EQ(FileBytes(report), "setup.exe\r\n\xD5\xD5\xC6\xAC\r\n");
  EXPECT_EQ(host->opened, TextList{report});
}

TEST_F(ResultCommands, UnwritableReportIsToldAndNothingOpens) {
  MakeFolder(programFolder / G("未搜到文件列表.txt"));  // a folder where the file should go
  SetContent(C(Control::NamesBox), "a\r\n");
  auto answer = AnswerNextBox(IDOK);
  NotFoundReport(Rows(), *host);
  AnsweredBox box = answer.get();
  EXPECT_EQ(box.text, G("未搜到文件列表写入失败！"));
  EXPECT_EQ(box.caption, G("信息："));
  EXPECT_TRUE(host->opened.empty());
}

TEST_F(ResultCommands, DoubleClickOnARowTheShellCannotTakeSaysSo) {
  // Deeper than the shell takes, in folders that are their own short names:
  // neither form of the path fits.
  Text folder = tree.path();
  while (folder.size() < 300) {
    folder = Concat(folder, "\\dddddddd");
    MakeFolder(folder);
  }
  PutFile(folder + "\\far.txt", "far");
  Rows().Append(folder, "far.txt");
  HWND list = C(Control::ResultView);
  ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(list) == 1; }));
  ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  RECT row{};
  row.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
  auto answer = AnswerNextBox(IDOK);
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  AnsweredBox box = answer.get();
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(box.text, G("文件路径太长，无法打开！"));
  EXPECT_EQ(box.caption, G("信息："));
}

TEST_F(ResultCommands, HintHidesOnAClickButNotOnTabAndTyping) {
  HWND hint = C(Control::HintLabel);
  SetFocus(C(Control::NamesBox));
  SendMessageW(C(Control::NamesBox), WM_CHAR, 'x', 0);
  EXPECT_TRUE(IsWindowVisible(hint));
  RECT place = RectInParent(hint);
  ClickAt(program->Window().Handle(), POINT{place.left + 20, place.top + 20});
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(hint); }, 3000));
}

}  // namespace
}  // namespace tarnwell::testing
