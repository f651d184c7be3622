// The program's texts <-> UTF-16 at the Win32 edge: the program calls only
// the wide Win32 functions and converts exactly, whatever the system's code
// page (see gb18030.h: code page 936 for what GBK holds, four-byte GB18030
// codes for the rest, never a "?").
#pragma once

#include <string>
#include <string_view>

#include "platform/text/gb18030.h"
#include "platform/text/text.h"

namespace tarnwell {

inline std::wstring Gb18030ToWide(std::string_view text) { return TextToUtf16(text); }
inline Text WideToGb18030(std::wstring_view wide) { return Utf16ToText(wide); }

}  // namespace tarnwell
