// The whole program around its main window: every event of the window's
// event table is connected here to its operation, and the settings, the
// search and the result operations are given the window to work on.
#pragma once

#include "platform/window/window_properties_win.h"
#include "ui/batch_commands_win.h"
#include "ui/drop_target_win.h"
#include "ui/main_window_win.h"
#include "ui/names_box_commands_win.h"
#include "ui/result_list_commands_win.h"
#include "ui/search_controller_win.h"
#include "ui/settings_handlers.h"
#include "ui/thumbnail_window_win.h"
#include "ui/window_result_host_win.h"

namespace tarnwell {

class Program final : private SettingsControls, private DropReceiver {
 public:
  // `programDirectory` holds config.ini and the not-found report; the
  // searches list folders with `lister`, which outlives the program.
  explicit Program(Text programDirectory, const DirectoryLister& lister = FileSystemLister());
  ~Program() override;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Creates and shows the main window; its created event loads the settings.
  // The window then takes name lists and folders dropped on it.
  bool Open(int showCommand = SW_SHOWNORMAL);

  MainWindow& Window() { return window_; }
  SearchController& Searches() { return searches_; }
  BatchCommands& Batches() { return batches_; }
  // What the last search and then the last batch could not do: 问题列表.
  std::vector<Failure> Problems() const;
  ThumbnailWindow& Thumbnails() { return thumbnails_; }

 private:
  void Connect();
  HWND Control(enum Control control) const { return window_.ControlWindow(control); }

  void BrowseSearchFolder();
  // As the folder browser's choice: a drive root ("C:\\") becomes "C:".
  void SetSearchFolder(const Text& folder) override;
  void HideHint();

  // SettingsControls
  Text SearchPath() override;
  void SetSearchPath(const Text& path) override;
  void SetChecked(SettingsControl radio, bool checked) override;
  void SetDisabled(SettingsControl control, bool disabled) override;
  HWND SettingsWindow(SettingsControl control) const;

  // DropReceiver
  bool OverNamesBox(POINT screen) override;
  bool PathBoxEnabled() override;
  void AppendNames(const TextList& names) override;
  void TellUnreadLists(const std::vector<Failure>& unread) override;

  Text directory_;
  MainWindow window_;
  SearchController searches_;
  WindowResultHost host_{window_, directory_};
  BatchCommands batches_{window_, host_, searches_, directory_};
  DropTarget* dropTarget_ = new DropTarget(*this);  // one reference, the program's
  ResultListCommands listCommands_{window_, host_, [this] { return searches_.LastSearchRules(); }, &batches_,
                                   [this] { return Problems(); }};
  NamesBoxCommands namesBoxCommands_{window_, directory_};
  ThumbnailWindow thumbnails_{window_, directory_,
                              {[this] { return GetContent(Control(Control::NamesBox)); },
                               [this] { return searches_.LastSearchRules(); }}};
};

}  // namespace tarnwell
