// The handlers that keep the settings file and the controls in step: one
// restores the controls when the main window has been created, five store a
// choice the moment the user makes it. They reach the window only through
// SettingsControls, which the main window implements.
#pragma once

#include <string_view>

#include "platform/text/text.h"
#include "results/same_name.h"

namespace tarnwell {

// The controls involved, with their names in the window's form.
enum class SettingsControl {
  ExactRadio,           // 单选框_精确搜索
  FuzzyRadio,           // 单选框_模糊搜索
  WholeComputerRadio,   // 单选框_整个电脑
  SpecifiedPathsRadio,  // 单选框_指定路径
  SearchPathBox,        // 编辑框_搜索路径
  SearchPathButton,     // 按钮_搜索路径
};

class SettingsControls {
 public:
  virtual ~SettingsControls() = default;
  // The content of 编辑框_搜索路径.
  virtual Text SearchPath() = 0;
  // Sets that content; the box then raises its content-changed event once,
  // which runs SaveSearchPath, even when the text stays the same.
  virtual void SetSearchPath(const Text& path) = 0;
  virtual void SetChecked(SettingsControl radio, bool checked) = 0;
  virtual void SetDisabled(SettingsControl control, bool disabled) = 0;
};

// The main window's created event: path, then scope, then matching mode.
void LoadSettings(SettingsControls& controls, std::string_view programDirectory);

// Clicks on 单选框_精确搜索 and 单选框_模糊搜索 (the click itself checks the radio).
void SaveMatchModeExact(std::string_view programDirectory);
void SaveMatchModeFuzzy(std::string_view programDirectory);

// Clicks on 单选框_整个电脑 and 单选框_指定路径.
void SaveScopeWholeComputer(SettingsControls& controls, std::string_view programDirectory);
void SaveScopeSpecifiedPaths(SettingsControls& controls, std::string_view programDirectory);

// Every change of the content of 编辑框_搜索路径.
void SaveSearchPath(SettingsControls& controls, std::string_view programDirectory);

// 删除时放入回收站 in the result list's context menu: the key "回收站". On only
// when it holds exactly "真"; off (the default) for "假", anything else, or
// no key.
bool RecycleBinChosen(std::string_view programDirectory);
// Writes the opposite of what RecycleBinChosen reads, at once.
void ToggleRecycleBinChoice(std::string_view programDirectory);

// 同名文件 in the context menu: the key "同名文件", "替换", "跳过" or "改名";
// anything else, or no key, is 替换 (the default).
SameNameRule SameNameRuleChosen(std::string_view programDirectory);
void SaveSameNameRule(std::string_view programDirectory, SameNameRule rule);
// 保持原文件夹结构 in that submenu: the key "保持结构", on only for exactly "真".
bool KeepFoldersChosen(std::string_view programDirectory);
// Writes the opposite of what KeepFoldersChosen reads, at once.
void ToggleKeepFoldersChoice(std::string_view programDirectory);
// 按编号匹配 in the names box's context menu: the key "编号匹配", read the same
// way (on only for exactly "真"). A search takes it when it starts.
bool NumberRuleChosen(std::string_view programDirectory);
void ToggleNumberRuleChoice(std::string_view programDirectory);
// 复制后校验 in the result list's context menu: the key "复制后校验", on only
// for exactly "真": every file copied, also by a move that has to copy, is
// read back from the target and compared with its source.
bool VerifyCopiesChosen(std::string_view programDirectory);
// Writes the opposite of what VerifyCopiesChosen reads, at once.
void ToggleVerifyCopiesChoice(std::string_view programDirectory);
// Whether searches keep the folders they walk for the searches after them:
// the key "索引", read at every search. Off only when it holds exactly "假";
// on (the default) for "真", anything else, or no key.
bool KeepingWalkedFolders(std::string_view programDirectory);

}  // namespace tarnwell
