#include <windows.h>

#include "platform/files/file_facts.h"
#include "platform/files/long_path_win.h"

namespace tarnwell {

std::optional<FileFacts> ReadFileFacts(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Win32PathOf(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  FileFacts facts;
  facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  // The time zone's rule for that date, as Explorer shows it, not today's offset.
  SYSTEMTIME utc{}, local{};
  if (!FileTimeToSystemTime(&data.ftLastWriteTime, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    return std::nullopt;
  }
  facts.modified = FormatDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond);
  return facts;
}

Text LocalTimeNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return FormatDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

}  // namespace tarnwell
