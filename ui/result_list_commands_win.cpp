#include "ui/result_list_commands_win.h"

#include <vector>

#include "platform/window/clipboard_win.h"
#include "platform/files/file_facts.h"
#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/shell.h"
#include "platform/window/window_properties_win.h"
#include "results/operation_record.h"
#include "results/result_export.h"
#include "ui/batch_commands_win.h"
#include "ui/name_statistics_report.h"
#include "ui/open_file_win.h"
#include "ui/result_list_menu_win.h"
#include "ui/settings_handlers.h"

namespace tarnwell {

ResultListCommands::ResultListCommands(MainWindow& window, ResultHost& host,
                                       std::function<MatchRules()> lastSearchRules, BatchCommands* batches,
                                       std::function<std::vector<Failure>()> problems)
    : window_(window),
      host_(host),
      lastSearchRules_(std::move(lastSearchRules)),
      batches_(batches),
      problems_(std::move(problems)) {}

void ResultListCommands::OpenFile(const Text& path) { OpenOrTell(OpenWithBrowserOwner, path); }

void ResultListCommands::OpenFolderOf(const Text& path) { OpenFolderAndSelect(path); }

void ResultListCommands::OpenCurrentRow() {
  const int row = GetSelectedRow(List());
  if (row < 0) return;  // nothing selected: nothing to open
  OpenFile(window_.Results().RowText(row));
}

void ResultListCommands::OpenRowFolder() {
  const int row = GetSelectedRow(List());
  if (row < 0) return;
  OpenFolderOf(window_.Results().RowText(row));
}

void ResultListCommands::CopySelectedPaths() {
  const std::vector<RowRange> runs = window_.ResultView().SelectedRuns();
  if (runs.empty()) return;  // the clipboard keeps what it holds
  const ResultList& rows = window_.Results();
  Text paths;
  for (const RowRange& run : runs) {
    for (int row = run.first; row < run.last; ++row) {
      if (!paths.empty()) paths.append("\r\n");
      paths.append(rows.RowText(row));
    }
  }
  // One conversion of the whole text: the paths are the file system's own
  // names, whole characters, so no character spans a line break.
  PutClipboardText(window_.Handle(), Gb18030ToWide(paths));
}

void ResultListCommands::SetSelectedRowsTicked(bool ticked) { window_.ResultView().SetSelectedChecked(ticked); }

void ResultListCommands::NameStatistics() { NameStatisticsReport(window_.Results(), lastSearchRules_(), host_); }

void ResultListCommands::ExportResults() {
  ExportResultList(window_.Results(), host_, &ReadFileFacts,
                   [this](const ResultList& list) { return MatchedNamesOfRows(list, lastSearchRules_(), host_); });
}

void ResultListCommands::ToggleRecycleBin() { ToggleRecycleBinChoice(host_.ProgramDirectory()); }

void ResultListCommands::ChooseReplace() { SaveSameNameRule(host_.ProgramDirectory(), SameNameRule::Replace); }

void ResultListCommands::ChooseSkip() { SaveSameNameRule(host_.ProgramDirectory(), SameNameRule::Skip); }

void ResultListCommands::ChooseRename() { SaveSameNameRule(host_.ProgramDirectory(), SameNameRule::Rename); }

void ResultListCommands::ToggleKeepFolders() { ToggleKeepFoldersChoice(host_.ProgramDirectory()); }

void ResultListCommands::ToggleVerifyCopies() { ToggleVerifyCopiesChoice(host_.ProgramDirectory()); }

void ResultListCommands::UndoLastMove() {
  if (batches_) batches_->UndoLastMove();
}

void ResultListCommands::OpenOperationRecord() {
  const Text record = OperationRecordPath(host_.ProgramDirectory());
  if (host_.NothingAt(record)) {
    host_.ShowMessageBox("还没有操作记录！"_gbk, MessageBoxStyle::Ok, Text());
    return;
  }
  host_.ShellOpen(record);
}

void ResultListCommands::ShowProblems() {
  if (problems_) problemWindow_.Show(window_.Handle(), problems_());
}

void ResultListCommands::ShowMenu() {
  ListMenuState state;
  state.rowsSelected = ListView_GetSelectedCount(List()) > 0;
  const Text directory = host_.ProgramDirectory();
  state.recycleBinChosen = RecycleBinChosen(directory);
  state.sameName = SameNameRuleChosen(directory);
  state.keepFolders = KeepFoldersChosen(directory);
  state.verifyCopies = VerifyCopiesChosen(directory);
  state.canUndo = batches_ && batches_->CanUndo() && !batches_->Running();
  state.hasProblems = problems_ && !problems_().empty();
  if (const ListMenuItem* chosen = ShowListMenu(window_.Handle(), window_.ListMenuPoint(), state)) {
    (this->*chosen->command)();
  }
}

void ResultListCommands::ShowThumbnails() {
  if (openThumbnails_) openThumbnails_();
}

void ResultListCommands::TickSelectedRows() { SetSelectedRowsTicked(true); }

void ResultListCommands::UntickSelectedRows() { SetSelectedRowsTicked(false); }

void ConnectListCommands(EventBindings& on, ResultListCommands& commands) {
  on.On(Control::ResultView, Event::DoubleClick, [&commands] { commands.OpenCurrentRow(); });
  on.On(Control::ResultView, Event::EnterKey, [&commands] { commands.OpenCurrentRow(); });
  on.On(Control::ResultView, Event::CopyKey, [&commands] { commands.CopySelectedPaths(); });
  on.On(Control::ResultView, Event::ContextMenu, [&commands] { commands.ShowMenu(); });
  on.On(Control::ResultView, Event::ThumbnailKey, [&commands] { commands.ShowThumbnails(); });
}

}  // namespace tarnwell
