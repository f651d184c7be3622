#include "platform/base/debug_output.h"

#include <windows.h>

#include <string>

#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {

void WriteDebugLine(std::string_view line) {
  std::wstring wide = Gb18030ToWide(line);
  wide += L"\r\n";
  OutputDebugStringW(wide.c_str());
}

}  // namespace tarnwell
