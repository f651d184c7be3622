// The settings file: "config.ini" in the program's folder, section "zhuce".
// The path is built anew from the folder for every read and write. Values
// are GBK bytes whatever the system's code page.
#pragma once

#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

// programDirectory + "\config.ini".
Text SettingsPath(std::string_view programDirectory);

// The key's value in section "zhuce"; the empty text when the file, the
// section or the key is missing.
Text ReadSetting(std::string_view programDirectory, std::string_view key);

// Writes key=value in section "zhuce", creating the file or the section when
// missing. Callers ignore the result: a failed write changes nothing.
bool WriteSetting(std::string_view programDirectory, std::string_view key, std::string_view value);

}  // namespace tarnwell
