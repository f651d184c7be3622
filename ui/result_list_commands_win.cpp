#include "ui/result_list_commands_win.h"

#include <vector>

#include "platform/clipboard_win.h"
#include "platform/file_facts.h"
#include "platform/gb18030_wide_win.h"
#include "platform/shell.h"
#include "platform/window_properties_win.h"
#include "results/result_export.h"
#include "ui/name_statistics_report.h"
#include "ui/open_file_win.h"
#include "ui/result_list_menu_win.h"
#include "ui/settings_handlers.h"

namespace tarnwell {

ResultListCommands::ResultListCommands(MainWindow& window, ResultHost& host, std::function<MatchMode()> lastSearchMode)
    : window_(window), host_(host), lastSearchMode_(std::move(lastSearchMode)) {}

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
  const std::vector<RowRun> runs = window_.ResultView().SelectedRuns();
  if (runs.empty()) return;  // the clipboard keeps what it holds
  const ResultList& rows = window_.Results();
  Text paths;
  for (const RowRun& run : runs) {
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

void ResultListCommands::NameStatistics() { NameStatisticsReport(window_.Results(), lastSearchMode_(), host_); }

void ResultListCommands::ExportResults() { ExportResultList(window_.Results(), host_, &ReadFileFacts); }

void ResultListCommands::ToggleRecycleBin() { ToggleRecycleBinChoice(host_.ProgramDirectory()); }

void ResultListCommands::ShowMenu() {
  ListMenuState state;
  state.rowsSelected = ListView_GetSelectedCount(List()) > 0;
  state.recycleBinChosen = RecycleBinChosen(host_.ProgramDirectory());
  if (const ListMenuItem* chosen = ShowListMenu(window_.Handle(), window_.ListMenuPoint(), state)) {
    (this->*chosen->command)();
  }
}

void ResultListCommands::TickSelectedRows() { SetSelectedRowsTicked(true); }

void ResultListCommands::UntickSelectedRows() { SetSelectedRowsTicked(false); }

void ConnectListCommands(EventBindings& on, ResultListCommands& commands) {
  on.On(Control::ResultView, Event::DoubleClick, [&commands] { commands.OpenCurrentRow(); });
  on.On(Control::ResultView, Event::EnterKey, [&commands] { commands.OpenCurrentRow(); });
  on.On(Control::ResultView, Event::CopyKey, [&commands] { commands.CopySelectedPaths(); });
  on.On(Control::ResultView, Event::ContextMenu, [&commands] { commands.ShowMenu(); });
}

}  // namespace tarnwell
