#include "ui/name_list_file.h"

#include "platform/text/text_decoding.h"

namespace tarnwell {
namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Steps over the line break at `at` (CR LF counts as one).
std::size_t AfterLineBreak(std::string_view text, std::size_t at) {
  return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? at + 2 : at + 1;
}

}  // namespace

TextList SplitLines(std::string_view text) {
  TextList lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    lines.emplace_back(text.substr(start, end - start));
    start = end < text.size() ? AfterLineBreak(text, end) : end;
  }
  return lines;
}

TextList CsvFirstColumn(std::string_view text) {
  TextList fields;
  std::size_t at = 0;
  while (at < text.size()) {
    Text field;
    bool quoted = false;
    // The first field, up to its comma or the record's end.
    while (at < text.size()) {
      const char c = text[at];
      if (quoted) {
        if (c == '"' && at + 1 < text.size() && text[at + 1] == '"') {
          field.push_back('"');
          at += 2;
        } else if (c == '"') {
          quoted = false;
          ++at;
        } else {
          field.push_back(c);
          ++at;
        }
      } else if (c == '"' && field.empty()) {
        quoted = true;
        ++at;
      } else if (c == ',' || IsLineBreak(c)) {
        break;
      } else {
        field.push_back(c);
        ++at;
      }
    }
    fields.push_back(std::move(field));
    // The rest of the record; quoted fields there may hold line breaks too.
    bool inQuotes = false;
    while (at < text.size() && (inQuotes || !IsLineBreak(text[at]))) {
      if (text[at] == '"') inQuotes = !inQuotes;
      ++at;
    }
    if (at < text.size()) at = AfterLineBreak(text, at);
  }
  return fields;
}

TextList NamesInListFile(std::string_view bytes, NameListFormat format) {
  const DetectedText detected = DetectEncoding(bytes);
  const bool utf8 = detected.encoding != TextEncoding::Gb18030;
  const std::string body = BodyAsUtf8OrGb18030(detected);
  TextList pieces = format == NameListFormat::Csv ? CsvFirstColumn(body) : TextList{body};
  TextList names;
  for (const Text& piece : pieces) {
    for (Text& line : SplitLines(piece)) {
      if (line.empty() || line.find('\0') != Text::npos) continue;
      if (!utf8) {
        names.push_back(std::move(line));
      } else if (auto converted = Utf8ToProgramText(line)) {
        names.push_back(std::move(*converted));
      }
    }
  }
  return names;
}

Text NamesBoxAddition(std::string_view existing, const TextList& names) {
  if (names.empty()) return {};
  Text addition;
  if (!existing.empty() && !existing.ends_with("\r\n")) addition = "\r\n";
  for (const Text& name : names) {
    addition += name;
    addition += "\r\n";
  }
  return addition;
}

}  // namespace tarnwell
