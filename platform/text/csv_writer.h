// Files meant for spreadsheets: CSV as RFC 4180 writes it, in UTF-8 with a
// byte-order mark, so that Excel opens the Chinese texts right whatever the
// system's code page. Fields are the program's texts; each is converted to
// UTF-8 on its own, so a stray byte of one field never joins the separator
// after it.
#pragma once

#include <string>
#include <string_view>

#include "platform/text/text.h"

namespace tarnwell {

class CsvWriter {
 public:
  CsvWriter();

  // The next field of the current line. A field that holds a comma, a double
  // quote, CR or LF is put in double quotes, its quotes doubled.
  CsvWriter& Field(std::string_view text);
  // Ends the current line with CR LF.
  CsvWriter& EndLine();

  // The file's bytes so far: the byte-order mark, then the lines.
  const std::string& Bytes() const { return bytes_; }
  // The lines alone, without the byte-order mark: what is appended to a file
  // that already has one.
  std::string_view Lines() const { return std::string_view(bytes_).substr(kByteOrderMark.size()); }

  static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

 private:
  std::string bytes_;
  bool lineStarted_ = false;
};

}  // namespace tarnwell
