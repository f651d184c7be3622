#include "ui/settings_handlers.h"

#include "platform/text/gbk_literal.h"
#include "ui/settings_file.h"

namespace tarnwell {
namespace {

const Text& ExactKey() { return "精确"_gbk; }          // "真": Exact, "假": Fuzzy
const Text& WholeComputerKey() { return "全盘搜索"_gbk; }  // "真": WholeComputer, "假": SpecifiedPaths
const Text& SearchPathKey() { return "搜索路径"_gbk; }
const Text& RecycleBinKey() { return "回收站"_gbk; }  // "真": deletes go into the Recycle Bin
const Text& SameNameKey() { return "同名文件"_gbk; }    // "替换", "跳过" or "改名"
const Text& KeepFoldersKey() { return "保持结构"_gbk; }  // "真": copies and moves keep the folders
const Text& NumberRuleKey() { return "编号匹配"_gbk; }  // "真": digit-only names match by number
const Text& KeepingKey() { return "索引"_gbk; }    // "假": every search walks its roots anew
const Text& VerifyKey() { return "复制后校验"_gbk; }  // "真": copies are read back and compared
const Text& Yes() { return "真"_gbk; }
const Text& No() { return "假"_gbk; }

void CheckScope(SettingsControls& controls, bool wholeComputer) {
  controls.SetChecked(SettingsControl::WholeComputerRadio, wholeComputer);
  controls.SetChecked(SettingsControl::SpecifiedPathsRadio, !wholeComputer);
}

// The path box and its browse button serve only a search below a given path.
void DisablePathControls(SettingsControls& controls, bool disabled) {
  controls.SetDisabled(SettingsControl::SearchPathBox, disabled);
  controls.SetDisabled(SettingsControl::SearchPathButton, disabled);
}

}  // namespace

void LoadSettings(SettingsControls& controls, std::string_view programDirectory) {
  // Each read is a read of its own; setting the path writes it back through SaveSearchPath.
  if (!ReadSetting(programDirectory, SearchPathKey()).empty()) {
    controls.SetSearchPath(ReadSetting(programDirectory, SearchPathKey()));
  }
  bool wholeComputer = TextEquals(ReadSetting(programDirectory, WholeComputerKey()), Yes());
  CheckScope(controls, wholeComputer);
  DisablePathControls(controls, wholeComputer);
  // Anything but exactly "假" is Exact, the form's own state.
  bool fuzzy = TextEquals(ReadSetting(programDirectory, ExactKey()), No());
  controls.SetChecked(SettingsControl::FuzzyRadio, fuzzy);
  controls.SetChecked(SettingsControl::ExactRadio, !fuzzy);
}

void SaveMatchModeExact(std::string_view programDirectory) { WriteSetting(programDirectory, ExactKey(), Yes()); }

void SaveMatchModeFuzzy(std::string_view programDirectory) { WriteSetting(programDirectory, ExactKey(), No()); }

void SaveScopeWholeComputer(SettingsControls& controls, std::string_view programDirectory) {
  CheckScope(controls, true);
  WriteSetting(programDirectory, WholeComputerKey(), Yes());
  DisablePathControls(controls, true);
}

void SaveScopeSpecifiedPaths(SettingsControls& controls, std::string_view programDirectory) {
  CheckScope(controls, false);
  WriteSetting(programDirectory, WholeComputerKey(), No());
  DisablePathControls(controls, false);
}

void SaveSearchPath(SettingsControls& controls, std::string_view programDirectory) {
  WriteSetting(programDirectory, SearchPathKey(), controls.SearchPath());
}

bool RecycleBinChosen(std::string_view programDirectory) {
  return TextEquals(ReadSetting(programDirectory, RecycleBinKey()), Yes());
}

void ToggleRecycleBinChoice(std::string_view programDirectory) {
  WriteSetting(programDirectory, RecycleBinKey(), RecycleBinChosen(programDirectory) ? No() : Yes());
}

bool NumberRuleChosen(std::string_view programDirectory) {
  return TextEquals(ReadSetting(programDirectory, NumberRuleKey()), Yes());
}

void ToggleNumberRuleChoice(std::string_view programDirectory) {
  WriteSetting(programDirectory, NumberRuleKey(), NumberRuleChosen(programDirectory) ? No() : Yes());
}

SameNameRule SameNameRuleChosen(std::string_view programDirectory) {
  const Text value = ReadSetting(programDirectory, SameNameKey());
  if (TextEquals(value, "跳过"_gbk)) return SameNameRule::Skip;
  if (TextEquals(value, "改名"_gbk)) return SameNameRule::Rename;
  return SameNameRule::Replace;
}

void SaveSameNameRule(std::string_view programDirectory, SameNameRule rule) {
  const Text& value = rule == SameNameRule::Skip ? "跳过"_gbk : rule == SameNameRule::Rename ? "改名"_gbk : "替换"_gbk;
  WriteSetting(programDirectory, SameNameKey(), value);
}

bool KeepFoldersChosen(std::string_view programDirectory) {
  return TextEquals(ReadSetting(programDirectory, KeepFoldersKey()), Yes());
}

void ToggleKeepFoldersChoice(std::string_view programDirectory) {
  WriteSetting(programDirectory, KeepFoldersKey(), KeepFoldersChosen(programDirectory) ? No() : Yes());
}

bool VerifyCopiesChosen(std::string_view programDirectory) {
  return TextEquals(ReadSetting(programDirectory, VerifyKey()), Yes());
}

void ToggleVerifyCopiesChoice(std::string_view programDirectory) {
  WriteSetting(programDirectory, VerifyKey(), VerifyCopiesChosen(programDirectory) ? No() : Yes());
}

bool KeepingWalkedFolders(std::string_view programDirectory) {
  return !TextEquals(ReadSetting(programDirectory, KeepingKey()), No());
}

}  // namespace tarnwell
