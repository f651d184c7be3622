#include "ui/program_win.h"

#include "platform/window/edit_text_win.h"
#include "platform/window/message_box_win.h"
#include "platform/files/volume_removal_win.h"
#include "platform/text/gbk_literal.h"
#include "platform/window/shell.h"
#include "platform/window/window_properties_win.h"
#include "results/not_found_report.h"
#include "ui/name_list_file.h"
#include "ui/open_file_win.h"

namespace tarnwell {

Program::Program(Text programDirectory, const DirectoryLister& lister)
    : directory_(std::move(programDirectory)),
      searches_(
          window_, lister, [this] { return NumberRuleChosen(directory_) ? NumberRule::On : NumberRule::Off; },
          [this] { return tarnwell::KeepingWalkedFolders(directory_); }) {
  Connect();
}

Program::~Program() {
  NotifyVolumeRemovalTo(nullptr);
  searches_.Shutdown();
  dropTarget_->Detach();
  dropTarget_->Release();
}

bool Program::Open(int showCommand) {
  if (!window_.Create(showCommand)) return false;
  // Watches armed from now on hold their volumes only until a drive is ejected.
  NotifyVolumeRemovalTo(window_.Handle());
  window_.OnDeviceChange([this](WPARAM event, LPARAM data) { searches_.LetDrivesGo(DrivesGoing(event, data)); });
  // Without OLE the window works on, without drops.
  window_.AcceptDrops(dropTarget_);
  return true;
}

// The table of bindings: which operation each event of each control runs.
// No other event of any control is handled: the labels other than the hint
// and the frames have no operation, and the window none for
// closing, resizing or keys (Ctrl+A and Space on the list select and tick
// rows in the list itself).
void Program::Connect() {
  using enum tarnwell::Control;
  using enum tarnwell::Event;
  EventBindings& on = window_.Events();
  on.On(MainWindow, Created, [this] {
    tarnwell::LoadSettings(*this, directory_);
    searches_.RefreshMatchMode();
  });
  // While a batch runs, a new search would empty the list under it.
  on.On(SearchButton, Click, [this] {  // 按钮_立即搜索
    if (!batches_.Running()) searches_.StartSearch();
  });
  on.On(BrowseButton, Click, [this] { BrowseSearchFolder(); });                             // 按钮_搜索路径
  on.On(PathBox, ContentChanged, [this] { tarnwell::SaveSearchPath(*this, directory_); });  // 编辑框_搜索路径
  on.On(WholeComputerRadio, Click, [this] { tarnwell::SaveScopeWholeComputer(*this, directory_); });  // 单选框_整个电脑
  on.On(SpecifiedPathRadio, Click,
        [this] { tarnwell::SaveScopeSpecifiedPaths(*this, directory_); });  // 单选框_指定路径
  on.On(ExactRadio, Click, [this] {                                         // 单选框_精确搜索
    searches_.RefreshMatchMode();
    tarnwell::SaveMatchModeExact(directory_);
  });
  on.On(FuzzyRadio, Click, [this] {  // 单选框_模糊搜索
    searches_.RefreshMatchMode();
    tarnwell::SaveMatchModeFuzzy(directory_);
  });
  on.On(HintLabel, LeftButtonDown, [this] { HideHint(); });                                      // 透明标签1
  on.On(CheckAllButton, Click, [this] { window_.Results().SetAllChecked(true); });               // 按钮1
  on.On(UncheckAllButton, Click, [this] { window_.Results().SetAllChecked(false); });            // 按钮2
  on.On(CopyButton, Click, [this] { batches_.Copy(); });                                         // 按钮3
  on.On(MoveButton, Click, [this] { batches_.Move(); });                                         // 按钮5
  on.On(DeleteButton, Click, [this] { batches_.Delete(); });                                     // 按钮4
  on.On(NotFoundButton, Click, [this] {  // 按钮_未搜索到文件
    if (!batches_.Running()) tarnwell::NotFoundReport(window_.Results(), host_, searches_.UnreadFolders());
  });
  on.On(Timer, Tick, [this] { searches_.CompletionTick(); });                                    // 时钟1
  // 超级列表框1: the double click, Enter, Ctrl+C and the context menu.
  ConnectListCommands(on, listCommands_);
  // 编辑框_文件名: its context menu.
  ConnectNamesBoxCommands(on, namesBoxCommands_);
  // 缩略图... in the list's menu and Ctrl+T on the list.
  listCommands_.SetThumbnailOpener([this] { thumbnails_.Open(); });
}

void Program::BrowseSearchFolder() { SetSearchFolder(BrowseForFolder("选择目录"_gbk)); }

void Program::SetSearchFolder(const Text& chosen) {
  Text folder = chosen;
  // A drive root comes back as "C:\"; the box holds it as "C:". Only a "\"
  // that is a character of its own goes: in "命運" the last byte of 運 is that
  // byte too.
  const int slash = FindLastText(folder, "\\", false);
  if (slash > 0 && slash == TextLength(folder)) folder = LeftText(folder, slash - 1);
  SetSearchPath(folder);
}

bool Program::OverNamesBox(POINT screen) {
  RECT place{};
  return GetWindowRect(Control(Control::NamesBox), &place) && PtInRect(&place, screen);
}

bool Program::PathBoxEnabled() { return IsWindowEnabled(Control(Control::PathBox)) != FALSE; }

void Program::AppendNames(const TextList& names) {
  HWND box = Control(Control::NamesBox);
  Text addition = NamesBoxAddition(GetContent(box), names);
  if (addition.empty()) return;
  AppendEditText(box, addition);
  // The hint over the box would cover the names, as after the click that starts
  // typing.
  HideHint();
}

void Program::TellUnreadLists(const std::vector<Failure>& unread) {
  Text box = Concat("有"_gbk, NumberToText(static_cast<int>(unread.size())), "个名单文件未能读取："_gbk);
  for (const Failure& failure : unread) box += Concat("\r\n", failure.path, "："_gbk, failure.message);
  // After the drop has returned: the program the files were dragged from
  // waits for it and should not wait for the box.
  window_.Queue()->Post([box] { ShowMessageBox(box); });
}

std::vector<Failure> Program::Problems() const {
  std::vector<Failure> problems = searches_.Problems();
  for (const Failure& failure : host_.BatchProblems()) problems.push_back(failure);
  return problems;
}

void Program::HideHint() { SetVisible(Control(Control::HintLabel), false); }

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
