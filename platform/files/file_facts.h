// What a listing of files shows beside each name: its size and when it was
// last written, as the user's clock reads that moment.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

struct FileFacts {
  std::uint64_t size = 0;  // bytes
  Text modified;           // local time, "YYYY-MM-DD HH:MM:SS"
};

// Nothing when path names no file (gone, a folder, no rights to look).
// Built for Windows only: the export that uses it takes it as a function.
std::optional<FileFacts> ReadFileFacts(std::string_view path);

// The moment of the call as the user's clock reads it, "YYYY-MM-DD HH:MM:SS".
// Built for Windows only, like ReadFileFacts.
Text LocalTimeNow();

// "YYYY-MM-DD HH:MM:SS", every part zero-padded.
Text FormatDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace tarnwell
