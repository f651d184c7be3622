#include "platform/base/system_error_win.h"

#include <string>

#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {

Text SystemErrorMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer ? buffer : L"", buffer ? length : 0);
  if (buffer) LocalFree(buffer);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  if (message.empty()) return Concat("错误代码 "_gbk, std::to_string(code));
  return WideToGb18030(message);
}

}  // namespace tarnwell
