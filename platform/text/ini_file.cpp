#include "platform/text/ini_file.h"

#include <vector>

namespace tarnwell {
namespace {

struct Line {
  std::size_t start;  // first byte of the line
  std::size_t end;    // one past its last byte, before the line break
  std::size_t next;   // start of the next line (end when there is no break)
};

enum class LineKind { Section, Key, Other };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;
  std::string_view value;
};

// The blanks Windows drops around names and values.
bool IsBlank(unsigned char byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

unsigned char FoldAscii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// ASCII letters match in either case; any other character matches only
// itself, so a byte of a longer character that looks like a letter is never folded.
bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0, length = 0; i < a.size(); i += length) {
    length = CharacterLength(a, i);
    if (length == 1 ? FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i]))
                    : a.compare(i, length, b, i, length) != 0) {
      return false;
    }
  }
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Lines end at CR LF, LF or CR. A UTF-8 byte-order mark before the first
// line is no part of it (editors put one there), but stays in the text.
std::vector<Line> SplitLines(std::string_view ini) {
  std::vector<Line> lines;
  std::size_t i = ini.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (i < ini.size()) {
    std::size_t start = i;
    while (i < ini.size() && ini[i] != '\r' && ini[i] != '\n') ++i;
    std::size_t end = i;
    if (i < ini.size()) i += (ini[i] == '\r' && i + 1 < ini.size() && ini[i + 1] == '\n') ? 2 : 1;
    lines.push_back({start, end, i});
  }
  return lines;
}

ParsedLine Parse(std::string_view line) {
  std::string_view body = Trim(line);
  if (body.empty() || body.front() == ';') return {};
  if (body.front() == '[') {
    // The last "]" that is a character of its own, not the trail byte of one.
    int close = FindLastText(body, "]", false);
    if (close > 0) return {LineKind::Section, Trim(body.substr(1, static_cast<std::size_t>(close) - 2)), {}};
  }
  std::size_t equals = body.find('=');
  if (equals == std::string_view::npos) return {};
  return {LineKind::Key, Trim(body.substr(0, equals)), Trim(body.substr(equals + 1))};
}

// Where [section] and its key are, as indices into the lines.
struct Location {
  std::optional<std::size_t> section;
  std::optional<std::size_t> key;
  std::size_t lastFilled = 0;  // the section's last non-blank line (its header at least)
};

Location Locate(std::string_view ini, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
  Location found;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view text = ini.substr(lines[i].start, lines[i].end - lines[i].start);
    ParsedLine parsed = Parse(text);
    if (parsed.kind == LineKind::Section) {
      if (found.section) break;  // the section ended
      if (NamesEqual(parsed.name, section)) found.section = found.lastFilled = i;
      continue;
    }
    if (!found.section) continue;
    if (!Trim(text).empty()) found.lastFilled = i;
    if (parsed.kind == LineKind::Key && NamesEqual(parsed.name, key)) {
      found.key = i;
      break;
    }
  }
  return found;
}

std::string_view LineBreakOf(std::string_view ini) {
  std::size_t at = ini.find_first_of("\r\n");
  if (at == std::string_view::npos) return "\r\n";
  if (ini[at] == '\n') return "\n";
  return ini.substr(at + 1, 1) == "\n" ? "\r\n" : "\r";
}

}  // namespace

std::optional<Text> FindIniValue(std::string_view ini, std::string_view section, std::string_view key) {
  std::vector<Line> lines = SplitLines(ini);
  Location found = Locate(ini, lines, Trim(section), Trim(key));
  if (!found.key) return std::nullopt;
  const Line& line = lines[*found.key];
  return Text(Unquote(Parse(ini.substr(line.start, line.end - line.start)).value));
}

Text SetIniValue(std::string_view ini, std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  std::vector<Line> lines = SplitLines(ini);
  Location found = Locate(ini, lines, section, key);
  std::string_view lineBreak = LineBreakOf(ini);
  Text edited(ini);
  if (found.key) {
    // The key keeps the spelling it has in the file.
    const Line& line = lines[*found.key];
    std::string_view name = Parse(ini.substr(line.start, line.end - line.start)).name;
    edited.replace(line.start, line.end - line.start, Concat(name, "=", value));
  } else if (found.section) {
    const Line& last = lines[found.lastFilled];
    Text entry = Concat(key, "=", value, lineBreak);
    if (last.next == last.end) entry.insert(0, lineBreak);  // the last line has no break of its own
    edited.insert(last.next, entry);
  } else {
    if (!lines.empty() && lines.back().next == lines.back().end) edited.append(lineBreak);
    edited.append(Concat("[", section, "]", lineBreak, key, "=", value, lineBreak));
  }
  return edited;
}

}  // namespace tarnwell
