#include "ui/settings_file.h"

#include "platform/files/profile.h"

namespace tarnwell {
namespace {

// Kept on purpose (docs/behaviour.md): every existing config.ini has its keys here.
constexpr std::string_view kSection = "zhuce";

}  // namespace

Text SettingsPath(std::string_view programDirectory) { return Concat(programDirectory, "\\config.ini"); }

Text ReadSetting(std::string_view programDirectory, std::string_view key) {
  return ReadProfileValue(SettingsPath(programDirectory), kSection, key);
}

bool WriteSetting(std::string_view programDirectory, std::string_view key, std::string_view value) {
  return WriteProfileValue(SettingsPath(programDirectory), kSection, key, value);
}

}  // namespace tarnwell
