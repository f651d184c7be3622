#include "platform/debug_output.h"

#include <windows.h>

#include <string>

#include "platform/gbk_win.h"

namespace tarnwell {

void WriteDebugLine(std::string_view line) {
  std::wstring wide = GbkToWide(line);
  wide += L"\r\n";
  OutputDebugStringW(wide.c_str());
}

}  // namespace tarnwell
