// Files read whole and written whole: the settings file, replaced
// atomically, and the reports, rewritten in place. Paths are the program's
// texts with "\" as separator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

enum class ReadStatus {
  Read,     // bytes holds the whole file
  Missing,  // there is no such file (or no such folder)
  Failed,   // it exists but cannot be read: a folder, locked, too large, ...
};

struct WholeFile {
  ReadStatus status = ReadStatus::Failed;
  Text bytes;
  // Why it could not be read: the system's error code (errno off Windows);
  // a file over the limit reads as "file too large".
  std::uint32_t error = 0;
};

// Reads the whole file; one larger than maxBytes counts as Failed.
WholeFile ReadWholeFile(std::string_view path, std::size_t maxBytes);

// Writes bytes to a new file in the same folder and renames it over path, so
// that path holds its old content or the new one, never a mix, whenever the
// process stops. On failure path is untouched and no temporary file remains.
bool ReplaceFileContents(std::string_view path, std::string_view bytes);

using ByteArray = std::span<const unsigned char>;

// Creates the file, or empties an existing one, and writes the bytes, with no
// other process allowed in meanwhile. An empty path is false and touches
// nothing.
bool WriteWholeFile(std::string_view path, ByteArray bytes);

}  // namespace tarnwell
