#include "ui/settings_handlers.h"

#include "platform/gbk_literal.h"
#include "ui/settings_file.h"

namespace tarnwell {
namespace {

const Text& ExactKey() { return "精确"_gbk; }          // "真": Exact, "假": Fuzzy
const Text& WholeComputerKey() { return "全盘搜索"_gbk; }  // "真": WholeComputer, "假": SpecifiedPaths
const Text& SearchPathKey() { return "搜索路径"_gbk; }
const Text& RecycleBinKey() { return "回收站"_gbk; }  // "真": deletes go into the Recycle Bin
const Text& KeepingKey() { return "索引"_gbk; }    // "假": every search walks its roots anew
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

}  // namespace tarnwell

namespace tarnwell {

bool KeepingWalkedFolders(std::string_view programDirectory) {
  return !TextEquals(ReadSetting(programDirectory, KeepingKey()), No());
}

}  // namespace tarnwell
