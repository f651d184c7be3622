#include "search/names/list_tidying.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <unordered_set>

#include "platform/text/gb18030_utf8.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Calls visit(character, start) for every character of `text`.
template <class Visit>
void ForEachCharacter(std::string_view text, Visit visit) {
  for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
    length = CharacterLength(text, i);
    visit(text.substr(i, length), i);
  }
}

bool IsSpace(std::string_view character) { return character == " " || character == "\xA1\xA1"; }

// The text without the spaces (half-width and full-width) at its ends.
std::string_view Trimmed(std::string_view text) {
  std::size_t first = text.size();
  std::size_t end = 0;
  ForEachCharacter(text, [&](std::string_view character, std::size_t at) {
    if (IsSpace(character)) return;
    first = std::min(first, at);
    end = at + character.size();
  });
  return first < end ? text.substr(first, end - first) : std::string_view();
}

// Rewrites the box line by line: rewrite(line, out) appends the line's new
// lines to `out` with AppendLine, which trims each.
void AppendLine(Text& out, std::string_view line) {
  out.append(Trimmed(line));
  out.append(kLineEnd);
}

Text RewriteLines(std::string_view box, const std::function<void(std::string_view, Text&)>& rewrite) {
  Text out;
  out.reserve(box.size() + kLineEnd.size());
  for (const Text& line : SplitText(box, kLineEnd)) rewrite(line, out);
  return out;
}

bool IsSpaceOrTab(std::string_view character) { return IsSpace(character) || character == "\t"; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsOneOf(std::string_view character, std::initializer_list<std::string_view> set) {
  return std::find(set.begin(), set.end(), character) != set.end();
}

bool IsSeparator(std::string_view character) {
  return IsOneOf(character, {",", ";", "|", "\t", "，"_gbk, "；"_gbk, "、"_gbk});
}

// The character of `line` at `at`, empty at the end.
std::string_view CharacterAt(std::string_view line, std::size_t at) {
  return at < line.size() ? line.substr(at, CharacterLength(line, at)) : std::string_view();
}

std::size_t SkipSpacesAndTabs(std::string_view line, std::size_t at) {
  while (at < line.size() && IsSpaceOrTab(CharacterAt(line, at))) at += CharacterLength(line, at);
  return at;
}

std::size_t SkipDigits(std::string_view line, std::size_t at) {
  while (at < line.size() && IsDigit(line[at])) ++at;
  return at;
}

bool IsCircledNumber(std::string_view character) {
  static const std::unordered_set<Text> circled = [] {
    std::unordered_set<Text> set;
    // U+2460 (①) to U+2473 (⑳): E2 91 A0 to E2 91 B3 in UTF-8.
    for (char last = '\xA0'; last != '\xB4'; ++last) set.insert(Utf8ToGb18030(std::string("\xE2\x91") + last));
    return set;
  }();
  return circled.count(Text(character)) != 0;
}

// The end of a list marker starting at `at`, with whether a space or tab
// must follow it; nothing when no marker starts there.
struct Marker {
  std::size_t end;
  bool needsSpace;
};
std::optional<Marker> MarkerAt(std::string_view line, std::size_t at) {
  const std::string_view first = CharacterAt(line, at);
  if (first.empty()) return std::nullopt;
  const std::size_t next = at + first.size();
  if (IsOneOf(first, {"•"_gbk, "·"_gbk, "●"_gbk, "○"_gbk, "■"_gbk, "□"_gbk, "◆"_gbk, "▪"_gbk, "★"_gbk})) {
    return Marker{next, false};
  }
  if (IsOneOf(first, {"-", "*", ">"}) || IsCircledNumber(first)) return Marker{next, true};
  if (IsDigit(first[0])) {
    const std::size_t digitsEnd = SkipDigits(line, at);
    if (IsOneOf(CharacterAt(line, digitsEnd), {".", ")", "、"_gbk})) {
      return Marker{digitsEnd + CharacterLength(line, digitsEnd), true};
    }
    return std::nullopt;
  }
  const bool halfWidth = first == "(";
  if (halfWidth || first == "（"_gbk) {
    const std::size_t digitsEnd = SkipDigits(line, next);
    const std::string_view close = CharacterAt(line, digitsEnd);
    if (digitsEnd > next && close == (halfWidth ? std::string_view(")") : std::string_view("）"_gbk))) {
      return Marker{digitsEnd + close.size(), true};
    }
  }
  return std::nullopt;
}

// Numbers as digit strings, so that ranges of any length work.
std::string_view ValueOf(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? digits.substr(digits.size() - 1) : digits.substr(first);
}

bool ValueLess(std::string_view a, std::string_view b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// high - low, for low <= high, both values without leading zeros.
Text ValueDifference(std::string_view high, std::string_view low) {
  Text difference(high);
  int borrow = 0;
  for (std::size_t i = 0; i < difference.size(); ++i) {
    const std::size_t place = difference.size() - 1 - i;
    int digit = difference[place] - '0' - borrow - (i < low.size() ? low[low.size() - 1 - i] - '0' : 0);
    borrow = digit < 0 ? 1 : 0;
    difference[place] = static_cast<char>('0' + digit + 10 * borrow);
  }
  return Text(ValueOf(difference));
}

void Increment(Text& value) {
  for (std::size_t place = value.size(); place-- > 0;) {
    if (value[place] != '9') {
      ++value[place];
      return;
    }
    value[place] = '0';
  }
  value.insert(value.begin(), '1');
}

// A line's leading numbering "N、": where the numbering ends (spaces and
// tabs after it included) and N's digits; nothing when the line does not
// start (after spaces and tabs) with digits and "、" and something after.
struct Numbering {
  std::size_t end;
  std::string_view digits;
};
std::optional<Numbering> LeadingNumbering(std::string_view line) {
  const std::size_t start = SkipSpacesAndTabs(line, 0);
  const std::size_t digitsEnd = SkipDigits(line, start);
  if (digitsEnd == start || CharacterAt(line, digitsEnd) != "、"_gbk) return std::nullopt;
  const std::size_t end = SkipSpacesAndTabs(line, digitsEnd + CharacterLength(line, digitsEnd));
  if (end == line.size()) return std::nullopt;
  return Numbering{end, line.substr(start, digitsEnd - start)};
}

// The box with every leading "N、" that is a numbering dropped (see
// list_tidying.h): the lines that start so count 1, 2, 3 ... from the first,
// and a single such line holds no separator after it. Otherwise the box as
// it is, every "、" a separator.
Text DropCountedNumberings(std::string_view box) {
  const TextList lines = SplitText(box, kLineEnd);
  std::vector<std::optional<Numbering>> numberings;
  numberings.reserve(lines.size());
  Text expected = "1";
  std::size_t counted = 0;
  for (const Text& line : lines) {
    numberings.push_back(LeadingNumbering(line));
    if (!numberings.back()) continue;
    if (ValueOf(numberings.back()->digits) != expected) return Text(box);
    Increment(expected);
    ++counted;
  }
  if (counted == 0) return Text(box);
  if (counted == 1) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (!numberings[i]) continue;
      bool separated = false;
      ForEachCharacter(std::string_view(lines[i]).substr(numberings[i]->end),
                       [&](std::string_view character, std::size_t) { separated = separated || IsSeparator(character); });
      if (separated) return Text(box);
    }
  }
  Text out;
  out.reserve(box.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out.append(kLineEnd);
    out.append(numberings[i] ? std::string_view(lines[i]).substr(numberings[i]->end) : std::string_view(lines[i]));
  }
  return out;
}

Text SplitLines(std::string_view box, bool (*isBreak)(std::string_view)) {
  return RewriteLines(DropCountedNumberings(box), [isBreak](std::string_view line, Text& out) {
    std::vector<std::string_view> pieces;
    std::size_t pieceStart = 0;
    ForEachCharacter(line, [&](std::string_view character, std::size_t at) {
      if (!isBreak(character)) return;
      pieces.push_back(line.substr(pieceStart, at - pieceStart));
      pieceStart = at + character.size();
    });
    if (pieces.empty()) {
      AppendLine(out, line);
      return;
    }
    pieces.push_back(line.substr(pieceStart));
    for (std::string_view piece : pieces) {
      if (std::string_view name = Trimmed(piece); !name.empty()) AppendLine(out, name);
    }
  });
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// The lines of the range that `line` wholly is, or nothing.
std::optional<TextList> RangeLines(std::string_view whole) {
  const std::string_view line = Trimmed(whole);
  std::size_t at = 0;
  while (at < line.size() && !IsDigit(line[at])) at += CharacterLength(line, at);
  const std::string_view prefix = line.substr(0, at);
  const std::size_t firstEnd = SkipDigits(line, at);
  if (firstEnd == at) return std::nullopt;
  const std::string_view first = line.substr(at, firstEnd - at);

  at = SkipSpacesAndTabs(line, firstEnd);
  const std::string_view dash = CharacterAt(line, at);
  if (!IsOneOf(dash, {"-", "~", "～"_gbk, "–"_gbk, "—"_gbk, "至"_gbk})) return std::nullopt;
  at = SkipSpacesAndTabs(line, at + dash.size());

  const std::size_t secondPrefixStart = at;
  while (at < line.size() && !IsDigit(line[at])) at += CharacterLength(line, at);
  const std::string_view secondPrefix = line.substr(secondPrefixStart, at - secondPrefixStart);
  if (!secondPrefix.empty() && !EqualIgnoringAsciiCase(secondPrefix, prefix)) return std::nullopt;
  const std::size_t lastEnd = SkipDigits(line, at);
  if (lastEnd == at) return std::nullopt;
  const std::string_view last = line.substr(at, lastEnd - at);

  // An extension: "." and ASCII letters and digits, at least one letter.
  const std::string_view extension = line.substr(lastEnd);
  if (!extension.empty()) {
    const std::string_view letters = extension.substr(1);
    const bool isExtension =
        extension[0] == '.' && !letters.empty() &&
        std::all_of(letters.begin(), letters.end(), [](char c) { return IsAsciiLetter(c) || IsDigit(c); }) &&
        std::any_of(letters.begin(), letters.end(), IsAsciiLetter);
    if (!isExtension) return std::nullopt;
  }

  const std::string_view low = ValueOf(first);
  const std::string_view high = ValueOf(last);
  if (ValueLess(high, low)) return std::nullopt;
  const Text span = ValueDifference(high, low);
  if (span.size() > 6 || std::stoi(span) >= kMaxRangeNumbers) return std::nullopt;

  TextList lines;
  Text value(low);
  for (int k = 0, count = std::stoi(span) + 1; k < count; ++k, Increment(value)) {
    const std::size_t padding = first.size() > value.size() ? first.size() - value.size() : 0;
    lines.push_back(Concat(prefix, Text(padding, '0'), value, extension));
  }
  return lines;
}

// The line with ASCII letters in lower case, other characters as they are.
Text AsciiLowerCase(std::string_view line) {
  Text lower;
  lower.reserve(line.size());
  ForEachCharacter(line, [&](std::string_view character, std::size_t) {
    if (character.size() == 1 && character[0] >= 'A' && character[0] <= 'Z') {
      lower.push_back(static_cast<char>(character[0] - 'A' + 'a'));
    } else {
      lower.append(character);
    }
  });
  return lower;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiLowerCase(a) == AsciiLowerCase(b);
}

// The full-width characters and their half-width ones.
const std::map<Text, char, std::less<>>& HalfWidthOf() {
  static const std::map<Text, char, std::less<>> table = [] {
    std::map<Text, char, std::less<>> half;
    for (char32_t full = 0xFF01; full <= 0xFF5E; ++full) {
      // Three bytes of UTF-8: 1110xxxx 10xxxxxx 10xxxxxx.
      const std::string utf8 = {static_cast<char>(0xE0 | (full >> 12)), static_cast<char>(0x80 | ((full >> 6) & 0x3F)),
                                static_cast<char>(0x80 | (full & 0x3F))};
      half.emplace(Utf8ToGb18030(utf8), static_cast<char>(full - 0xFEE0));
    }
    half.emplace("\xA1\xA1", ' ');  // the full-width space
    return half;
  }();
  return table;
}

}  // namespace

Text SplitAtSeparators(std::string_view box) { return SplitLines(box, IsSeparator); }

Text SplitAtSeparatorsAndSpaces(std::string_view box) {
  return SplitLines(box, [](std::string_view character) { return IsSeparator(character) || IsSpace(character); });
}

Text DropListMarkers(std::string_view box) {
  return RewriteLines(DropCountedNumberings(box), [](std::string_view line, Text& out) {
    const std::size_t start = SkipSpacesAndTabs(line, 0);
    const std::optional<Marker> marker = MarkerAt(line, start);
    const bool spaceFollows = marker && IsSpaceOrTab(CharacterAt(line, marker->end));
    if (!marker || (marker->needsSpace && !spaceFollows)) {
      AppendLine(out, line);
      return;
    }
    AppendLine(out, line.substr(SkipSpacesAndTabs(line, marker->end)));
  });
}

std::optional<Text> ExpandNumberRanges(std::string_view box) {
  std::size_t lineCount = 0;
  bool tooLong = false;
  Text out = RewriteLines(box, [&](std::string_view line, Text& lines) {
    if (tooLong) return;
    const std::optional<TextList> numbers = RangeLines(line);
    if (!numbers) {
      AppendLine(lines, line);
      ++lineCount;
    } else {
      for (const Text& number : *numbers) AppendLine(lines, number);
      lineCount += numbers->size();
    }
    tooLong = lineCount > kMaxTidiedLines || lines.size() > kMaxTidiedBytes;
  });
  if (tooLong) return std::nullopt;
  return out;
}

Text FullWidthToHalfWidth(std::string_view box) {
  const auto& halfWidth = HalfWidthOf();
  return RewriteLines(box, [&halfWidth](std::string_view line, Text& out) {
    Text half;
    half.reserve(line.size());
    ForEachCharacter(line, [&](std::string_view character, std::size_t) {
      const auto found = character.size() > 1 ? halfWidth.find(character) : halfWidth.end();
      if (found != halfWidth.end()) {
        half.push_back(found->second);
      } else {
        half.append(character);
      }
    });
    AppendLine(out, half);
  });
}

Text DropRepeatedLines(std::string_view box) {
  std::unordered_set<Text> seen;
  return RewriteLines(box, [&seen](std::string_view line, Text& out) {
    const std::string_view name = Trimmed(line);
    if (!name.empty() && !seen.insert(AsciiLowerCase(name)).second) return;
    AppendLine(out, line);
  });
}

std::optional<Text> TidyNameList(std::string_view box) {
  const std::optional<Text> expanded = ExpandNumberRanges(DropListMarkers(SplitAtSeparators(FullWidthToHalfWidth(box))));
  if (!expanded) return std::nullopt;
  return DropRepeatedLines(*expanded);
}

}  // namespace tarnwell
