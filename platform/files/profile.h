// One value of a profile (INI) file, read or written by the rules of
// Windows' private profile functions, but on the program's own INI code so
// that the bytes are GBK whatever the system's code page.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

// A value is read into a buffer of this many bytes, terminating zero included.
inline constexpr std::size_t kProfileValueBuffer = 10240;

// The value of key in [section] of the file, or defaultValue when the file,
// section or key is missing or the file cannot be read. Leading bytes up to
// 0x20 are skipped in file, section and key; when one of them is then empty
// the result is the empty text and the file is not read. The value ends at
// its first zero byte and is cut to kProfileValueBuffer - 1 bytes; trailing
// spaces of the default are dropped, as Windows does.
Text ReadProfileValue(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view defaultValue = {});

// Sets key=value in [section] of the file, creating the file, section or key
// as needed, and replaces the file atomically. False when file, section or
// key is empty (after skipping leading bytes up to 0x20), when an existing
// file cannot be read, or when it cannot be replaced.
bool WriteProfileValue(std::string_view file, std::string_view section, std::string_view key,
                       std::string_view value);

}  // namespace tarnwell
