// What the result list's keys and context menu do: open the current row or
// its folder, copy the selected rows' paths, tick or untick the selection,
// write the per-name statistics and the export of the list, show or change
// the Recycle Bin choice, the same-name choices of copy and move and the
// verification of copies, take back the last move and open the operation
// record. The files go through the ResultHost, like the not-found report; opening a file or a folder goes through two virtual
// functions, so that a test can see what would have been opened.
#pragma once

#include <functional>
#include <vector>

#include "results/result_host.h"
#include "search/match/match_mode.h"
#include "ui/main_window_win.h"
#include "ui/problem_list_window_win.h"

namespace tarnwell {

class BatchCommands;

class ResultListCommands {
 public:
  // `lastSearchRules` gives the match rules of the last search; `batches`,
  // when given, runs the undo of the last move (without, the item stays
  // greyed); `problems` gives what the last search and the last batch could
  // not do (without, 问题列表 stays greyed).
  ResultListCommands(MainWindow& window, ResultHost& host, std::function<MatchRules()> lastSearchRules,
                     BatchCommands* batches = nullptr, std::function<std::vector<Failure>()> problems = {});
  virtual ~ResultListCommands() = default;
  ResultListCommands(const ResultListCommands&) = delete;
  ResultListCommands& operator=(const ResultListCommands&) = delete;

  // The current row (the lowest selected one), as a double click opens it.
  void OpenCurrentRow();
  // Explorer on the current row's folder, the file selected.
  void OpenRowFolder();
  // The full paths of the selected rows, in list order, one per line
  // (CR LF between them), on the clipboard as Unicode text.
  void CopySelectedPaths();
  void TickSelectedRows();
  void UntickSelectedRows();
  void NameStatistics();
  void ExportResults();
  void ToggleRecycleBin();
  void ChooseReplace();
  void ChooseSkip();
  void ChooseRename();
  void ToggleKeepFolders();
  void ToggleVerifyCopies();
  void UndoLastMove();
  // 操作记录.csv through the shell; a box says so when there is none yet.
  void OpenOperationRecord();
  // 问题列表: the problems of the last search and the last batch in a window
  // of their own.
  void ShowProblems();
  const ProblemListWindow& Problems() const { return problemWindow_; }
  // The context menu at the window's ListMenuPoint(); runs the chosen item.
  void ShowMenu();
  // 缩略图... and Ctrl+T: runs what SetThumbnailOpener gave (the thumbnail window).
  void ShowThumbnails();
  void SetThumbnailOpener(std::function<void()> open) { openThumbnails_ = std::move(open); }

 protected:
  virtual void OpenFile(const Text& path);
  virtual void OpenFolderOf(const Text& path);

 private:
  void SetSelectedRowsTicked(bool ticked);
  HWND List() const { return window_.ControlWindow(Control::ResultView); }

  MainWindow& window_;
  ResultHost& host_;
  std::function<MatchRules()> lastSearchRules_;
  BatchCommands* batches_;
  std::function<std::vector<Failure>()> problems_;
  ProblemListWindow problemWindow_;
  std::function<void()> openThumbnails_;
};

// Binds the list's double click, Enter, Ctrl+C, Ctrl+T and context menu to `commands`.
void ConnectListCommands(EventBindings& on, ResultListCommands& commands);

}  // namespace tarnwell
