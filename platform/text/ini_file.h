// INI text on bytes, read and edited the way Windows' profile functions treat
// such files, so that config.ini files written or edited by hand keep working:
// - a line whose first non-blank byte is "[" and which holds a "]" names a
//   section (the text up to the last "]", blanks around it dropped);
// - a line holding "=" is key=value, blanks around key and value dropped; a
//   value enclosed in a matching pair of double or single quotes is read
//   without them;
// - a line starting with ";" is a comment, like any other line it is kept;
// - section and key names match without regard to ASCII case, double-byte
//   characters byte for byte; the first matching section and key count.
// Editing touches one line, or inserts one, and keeps every other byte.
#pragma once

#include <optional>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

// The value of key in [section], or nothing when the section or key is missing.
std::optional<Text> FindIniValue(std::string_view ini, std::string_view section, std::string_view key);

// The INI text with key=value in [section]: an existing key's line is
// rewritten, a missing key goes after the last non-blank line of its
// section, a missing section is appended at the end. New lines end the way
// the text's first line does (CR LF when it has none).
Text SetIniValue(std::string_view ini, std::string_view section, std::string_view key, std::string_view value);

}  // namespace tarnwell
