#include "platform/text/csv_writer.h"

#include <algorithm>

#include "platform/text/gb18030_utf8.h"

namespace tarnwell {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

CsvWriter::CsvWriter() : bytes_(kByteOrderMark) {}

CsvWriter& CsvWriter::Field(std::string_view text) {
  if (lineStarted_) bytes_.push_back(',');
  lineStarted_ = true;
  // Most paths and numbers are plain ASCII, which is its own UTF-8.
  const std::string converted = IsAscii(text) ? std::string(text) : Gb18030ToUtf8(text);
  if (converted.find_first_of(",\"\r\n") == std::string::npos) {
    bytes_.append(converted);
    return *this;
  }
  bytes_.push_back('"');
  for (char c : converted) {
    if (c == '"') bytes_.push_back('"');
    bytes_.push_back(c);
  }
  bytes_.push_back('"');
  return *this;
}

CsvWriter& CsvWriter::EndLine() {
  bytes_.append("\r\n");
  lineStarted_ = false;
  return *this;
}

}  // namespace tarnwell
