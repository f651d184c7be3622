// What the result list's keys and context menu do: open the current row or
// its folder, copy the selected rows' paths, tick or untick the selection,
// write the per-name statistics and the export of the list, and show or
// change the Recycle Bin choice. The files go through the ResultHost, like
// the not-found report; opening a file or a folder goes through two virtual
// functions, so that a test can see what would have been opened.
#pragma once

#include <functional>

#include "results/result_host.h"
#include "search/match_mode.h"
#include "ui/main_window_win.h"

namespace tarnwell {

class ResultListCommands {
 public:
  // `lastSearchRules` gives the match rules of the last search.
  ResultListCommands(MainWindow& window, ResultHost& host, std::function<MatchRules()> lastSearchRules);
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
  // The context menu at the window's ListMenuPoint(); runs the chosen item.
  void ShowMenu();

 protected:
  virtual void OpenFile(const Text& path);
  virtual void OpenFolderOf(const Text& path);

 private:
  void SetSelectedRowsTicked(bool ticked);
  HWND List() const { return window_.ControlWindow(Control::ResultView); }

  MainWindow& window_;
  ResultHost& host_;
  std::function<MatchRules()> lastSearchRules_;
};

// Binds the list's double click, Enter, Ctrl+C and context menu to `commands`.
void ConnectListCommands(EventBindings& on, ResultListCommands& commands);

}  // namespace tarnwell
