// Fuzz target: the INI reader and writer. Fields of the input (cut at zero
// bytes): the INI text, then section, key and value (defaults when missing).
// Any bytes are read the way a plain reading of the rules reads them; a key
// the writer sets reads back as its value; the writer changes at most the
// one line of the key (or adds lines) and every other section and key reads
// as before.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/text/ini_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/reference_text.h"

using namespace tarnwell;
using namespace tarnwell::fuzz;

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Text of whole GBK characters: ASCII bytes, and lead bytes 81-FE each with
// a trail byte 40-FE other than 7F.
bool IsWholeGbk(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) continue;
    if (byte == 0x80 || byte == 0xFF || i + 1 == text.size()) return false;
    auto trail = static_cast<unsigned char>(text[++i]);
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
  }
  return true;
}

// Names and values that an INI line can hold so that they read back as
// written: one line, names in GBK, a key that reads as no section header,
// comment or key=value of its own, a value without blanks at its ends
// (they are dropped) and not in a pair of quotes (they are taken off).
bool Writable(std::string_view section, std::string_view key, std::string_view value) {
  std::string_view trimmedKey = key;
  while (!trimmedKey.empty() && IsBlank(trimmedKey.front())) trimmedKey.remove_prefix(1);
  if (HoldsLineBreak(section) || HoldsLineBreak(key) || HoldsLineBreak(value)) return false;
  if (!IsWholeGbk(section) || !IsWholeGbk(key)) return false;
  if (key.find('=') != std::string_view::npos || trimmedKey.starts_with('[') || trimmedKey.starts_with(';')) {
    return false;
  }
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) return false;
  bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
  return !quoted;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Names as the INI rules compare them: blanks around them dropped, ASCII
// letters in either case, two-byte characters byte for byte.
bool SameName(std::string_view a, std::string_view b) { return RefSameAt(Trimmed(a), Trimmed(b), true); }

// The reading rules as they are written down, line by line: lines end at
// CR LF, LF or CR, and a UTF-8 byte-order mark before the first one is no
// part of it; blanks around a line are dropped; a line starting with ";" is
// a comment; a line starting with "[" that holds "]" as a character of its
// own names a section (up to the last such "]"); any other line holding "="
// is key=value; names match as SameName says; the first matching section
// counts, and in it (up to the next section line) the first matching key;
// a value in a pair of double or single quotes is read without them.
std::optional<Text> RefFindIniValue(std::string_view ini, std::string_view section, std::string_view key) {
  if (ini.starts_with("\xEF\xBB\xBF")) ini.remove_prefix(3);
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < ini.size(); ++i) {
    if (ini[i] != '\r' && ini[i] != '\n') continue;
    lines.push_back(ini.substr(start, i - start));
    if (ini[i] == '\r' && i + 1 < ini.size() && ini[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < ini.size()) lines.push_back(ini.substr(start));

  bool inSection = false;
  for (std::string_view line : lines) {
    std::string_view body = Trimmed(line);
    if (body.empty() || body.front() == ';') continue;
    if (body.front() == '[') {
      std::size_t close = 0;
      for (std::size_t i = 0; i < body.size(); i += RefCharacterLength(body, i)) {
        if (body[i] == ']') close = i;
      }
      if (close > 0) {
        if (inSection) return std::nullopt;
        inSection = SameName(body.substr(1, close - 1), section);
        continue;
      }
    }
    std::size_t equals = body.find('=');
    if (!inSection || equals == std::string_view::npos || !SameName(body.substr(0, equals), key)) continue;
    std::string_view value = Trimmed(body.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return Text(value);
  }
  return std::nullopt;
}

// Some section and key names that the text holds, to read before and after
// an edit: the inside of "[...]" lines and the part of other lines before "=".
void NamesIn(std::string_view ini, std::vector<std::string_view>& sections, std::vector<std::string_view>& keys) {
  for (std::size_t start = 0; start < ini.size() && (sections.size() < 4 || keys.size() < 6);) {
    std::size_t end = std::min(ini.find_first_of("\r\n", start), ini.size());
    std::string_view line = Trimmed(ini.substr(start, end - start));
    std::size_t close = line.rfind(']');
    std::size_t equals = line.find('=');
    if (line.starts_with('[') && close != std::string_view::npos) {
      if (sections.size() < 4) sections.push_back(line.substr(1, close - 1));
    } else if (equals != std::string_view::npos && keys.size() < 6) {
      keys.push_back(line.substr(0, equals));
    }
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string_view> fields = SplitFields(data, size);
  std::string_view ini = fields[0];
  std::string_view section = fields.size() > 1 ? fields[1] : "zhuce";
  std::string_view key = fields.size() > 2 ? fields[2] : "k";
  std::string_view value = fields.size() > 3 ? fields[3] : "v";

  Require(FindIniValue(ini, section, key) == RefFindIniValue(ini, section, key), "reading follows the rules",
          {ini, section, key});
  Text edited = SetIniValue(ini, section, key, value);
  if (!Writable(section, key, value)) return 0;

  Require(FindIniValue(edited, section, key) == Text(value), "a written key reads back as its value",
          {ini, section, key, value, edited});
  Require(SetIniValue(edited, section, key, value) == edited, "writing the same value again changes nothing",
          {edited, section, key, value});

  // The bytes before and after the change are the text's own; what the
  // edit took out lies within one line.
  std::size_t prefix = 0;
  while (prefix < ini.size() && prefix < edited.size() && ini[prefix] == edited[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < ini.size() - prefix && suffix < edited.size() - prefix &&
         ini[ini.size() - 1 - suffix] == edited[edited.size() - 1 - suffix]) {
    ++suffix;
  }
  std::string_view removed = ini.substr(prefix, ini.size() - prefix - suffix);
  Require(!HoldsLineBreak(removed), "the edit keeps every line but one", {ini, edited});

  // Every other key reads as before.
  std::vector<std::string_view> sections{section, ""};
  std::vector<std::string_view> keys{key};
  NamesIn(ini, sections, keys);
  for (std::string_view otherSection : sections) {
    for (std::string_view otherKey : keys) {
      Require(FindIniValue(ini, otherSection, otherKey) == RefFindIniValue(ini, otherSection, otherKey),
              "reading follows the rules", {ini, otherSection, otherKey});
      if (SameName(otherSection, section) && SameName(otherKey, key)) continue;
      Require(FindIniValue(edited, otherSection, otherKey) == FindIniValue(ini, otherSection, otherKey),
              "other keys read as before", {ini, edited, otherSection, otherKey});
    }
  }
  return 0;
}
