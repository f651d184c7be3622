#include "ui/program_win.h"

#include "platform/gbk_literal.h"
#include "platform/shell.h"
#include "platform/window_properties_win.h"
#include "results/batch_delete.h"
#include "results/batch_transfer.h"
#include "results/not_found_report.h"
#include "ui/open_file_win.h"

namespace tarnwell {

Program::Program(Text programDirectory) : directory_(std::move(programDirectory)) { Connect(); }

Program::~Program() { searches_.Shutdown(); }

bool Program::Open(int showCommand) { return window_.Create(showCommand); }

void Program::Connect() {
  MainWindowHandlers& on = window_.Handlers();
  on.LoadSettings = [this] {
    tarnwell::LoadSettings(*this, directory_);
    searches_.RefreshMatchMode();
  };
  on.StartSearch = [this] { searches_.StartSearch(); };
  on.BrowseSearchFolder = [this] { BrowseSearchFolder(); };
  on.SaveSearchPath = [this] { tarnwell::SaveSearchPath(*this, directory_); };
  on.SaveScopeWholeComputer = [this] { tarnwell::SaveScopeWholeComputer(*this, directory_); };
  on.SaveScopeSpecifiedPaths = [this] { tarnwell::SaveScopeSpecifiedPaths(*this, directory_); };
  on.SaveMatchModeExact = [this] {
    searches_.RefreshMatchMode();
    tarnwell::SaveMatchModeExact(directory_);
  };
  on.SaveMatchModeFuzzy = [this] {
    searches_.RefreshMatchMode();
    tarnwell::SaveMatchModeFuzzy(directory_);
  };
  on.HideHint = [this] { HideHint(); };
  on.OpenCurrentRow = [this] { OpenCurrentRow(); };
  on.CheckAll = [this] { window_.Results().SetAllChecked(true); };
  on.UncheckAll = [this] { window_.Results().SetAllChecked(false); };
  on.BatchCopy = [this] { tarnwell::BatchCopy(window_.Results(), host_); };
  on.BatchMove = [this] { tarnwell::BatchMove(window_.Results(), host_); };
  on.BatchDelete = [this] { tarnwell::BatchDelete(window_.Results(), host_); };
  on.NotFoundReport = [this] { tarnwell::NotFoundReport(window_.Results(), host_); };
  on.CompletionTick = [this] { searches_.CompletionTick(); };
}

void Program::BrowseSearchFolder() {
  Text folder = BrowseForFolder("选择目录"_gbk);
  // A drive root comes back as "C:\"; the box holds it as "C:". Only a "\"
  // that is a character of its own goes: in "命運" the last byte of 運 is that
  // byte too.
  const int slash = FindLastText(folder, "\\", false);
  if (slash > 0 && slash == TextLength(folder)) folder = LeftText(folder, slash - 1);
  SetSearchPath(folder);
}

void Program::HideHint() { SetVisible(Control(Control::HintLabel), false); }

void Program::OpenCurrentRow() {
  const int row = GetSelectedRow(Control(Control::ResultView));
  if (row < 0) return;  // nothing selected: nothing to open
  OpenOrTell(OpenWithBrowserOwner, window_.Results().RowText(row));
}

Text Program::SearchPath() { return GetContent(Control(Control::PathBox)); }

void Program::SetSearchPath(const Text& path) { SetContent(Control(Control::PathBox), path); }

HWND Program::SettingsWindow(SettingsControl control) const {
  switch (control) {
    case SettingsControl::ExactRadio: return Control(Control::ExactRadio);
    case SettingsControl::FuzzyRadio: return Control(Control::FuzzyRadio);
    case SettingsControl::WholeComputerRadio: return Control(Control::WholeComputerRadio);
    case SettingsControl::SpecifiedPathsRadio: return Control(Control::SpecifiedPathRadio);
    case SettingsControl::SearchPathBox: return Control(Control::PathBox);
    case SettingsControl::SearchPathButton: return Control(Control::BrowseButton);
  }
  return nullptr;
}

void Program::SetChecked(SettingsControl radio, bool checked) { tarnwell::SetChecked(SettingsWindow(radio), checked); }

void Program::SetDisabled(SettingsControl control, bool disabled) {
  tarnwell::SetDisabled(SettingsWindow(control), disabled);
}

}  // namespace tarnwell
