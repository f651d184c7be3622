// Fuzz target: the rebuild of the names box. The whole input is the box's
// content. The kept lines are the box's lines (split at CR LF on character
// boundaries) that hold more than half-width and full-width spaces, each as
// typed; the rebuilt box is those lines, each followed by CR LF; the names
// (that box split at CR LF, as the search splits it) are the kept lines
// whenever the last one ends on a whole character (any box that came from
// an edit control); and rebuilding the rebuilt box changes nothing then.
// The names box's tidying commands on the same box (one from an edit
// control): each result is lines each followed by CR LF; the splits, the
// dropping of list markers and of repeated lines give only lines that are
// whole characters of one of the box's lines; no line of a split holds a
// character it splits at; and splitting, making half-width and dropping
// repeats a second time changes nothing.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "search/names/list_tidying.h"
#include "search/names/names_box.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/reference_text.h"

using namespace tarnwell;
using namespace tarnwell::fuzz;

namespace {

// Whether the text's last character is a lead byte without its trail byte.
bool EndsInLoneLeadByte(std::string_view text) {
  std::size_t i = 0;
  std::size_t last = 0;
  for (; i < text.size(); i += RefCharacterLength(text, i)) last = i;
  return !text.empty() && last == text.size() - 1 && RefIsLead(text.back());
}

// The characters of `text`, by the reference's character rule.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
    length = RefCharacterLength(text, i);
    characters.push_back(text.substr(i, length));
  }
  return characters;
}

// Whether `part` is a run of whole characters of `line`.
bool HoldsCharacters(std::string_view line, std::string_view part) {
  const std::vector<std::string_view> characters = Characters(line);
  for (std::size_t first = 0; first < characters.size(); ++first) {
    std::string_view rest = line.substr(static_cast<std::size_t>(characters[first].data() - line.data()));
    if (rest.substr(0, part.size()) != part) continue;
    std::size_t length = 0;
    for (std::size_t k = first; k < characters.size() && length < part.size(); ++k) length += characters[k].size();
    if (length == part.size()) return true;
  }
  return false;
}

bool IsSplitCharacter(std::string_view character, bool spaces) {
  for (std::string_view separator : {",", ";", "|", "\t", "\xA3\xAC", "\xA3\xBB", "\xA1\xA2"}) {  // ，；、
    if (character == separator) return true;
  }
  return spaces && (character == " " || character == "\xA1\xA1");
}

// The rewrites that may find a list too long: nothing then.
Text ExpandRanges(std::string_view box) { return ExpandNumberRanges(box).value_or(Text()); }
Text TidyAll(std::string_view box) { return TidyNameList(box).value_or(Text()); }

void CheckTidying(std::string_view content) {
  const std::vector<std::string> lines = RefSplit(content, "\r\n");
  auto fromTheBox = [&](std::string_view line) {
    if (line.empty()) return true;
    for (const std::string& boxLine : lines) {
      if (HoldsCharacters(boxLine, line)) return true;
    }
    return false;
  };
  using Rewrite = Text (*)(std::string_view);
  const std::pair<Rewrite, const char*> rewrites[] = {
      {SplitAtSeparators, "split"}, {SplitAtSeparatorsAndSpaces, "split at spaces"},
      {DropListMarkers, "markers"}, {ExpandRanges, "ranges"}, {FullWidthToHalfWidth, "half width"},
      {DropRepeatedLines, "repeats"}, {TidyAll, "all"}};
  for (const auto& [rewrite, name] : rewrites) {
    const Text result = rewrite(content);
    Require(result.empty() || result.ends_with("\r\n"), "every line of a tidied box ends in CR LF", {name, content, result});
    if (rewrite == ExpandRanges || rewrite == FullWidthToHalfWidth || rewrite == TidyAll) continue;
    for (const std::string& line : RefSplit(result, "\r\n")) {
      Require(fromTheBox(line), "a split or a dropping gives whole characters of the box's lines", {name, content, line});
      if (rewrite != SplitAtSeparators && rewrite != SplitAtSeparatorsAndSpaces) continue;
      for (std::string_view character : Characters(line)) {
        Require(!IsSplitCharacter(character, rewrite == SplitAtSeparatorsAndSpaces),
                "no line of a split holds a character it splits at", {name, content, line});
      }
    }
  }
  for (Rewrite rewrite : {static_cast<Rewrite>(SplitAtSeparators), static_cast<Rewrite>(SplitAtSeparatorsAndSpaces),
                          static_cast<Rewrite>(FullWidthToHalfWidth), static_cast<Rewrite>(DropRepeatedLines)}) {
    const Text once = rewrite(content);
    Require(rewrite(once) == once, "a second split, half-width or dropping of repeats changes nothing", {content, once});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view content(reinterpret_cast<const char*>(data), size);
  const Text box = RebuildNamesBox(content);

  std::vector<std::string> kept;
  for (const std::string& line : RefSplit(content, "\r\n")) {
    if (!RefRemoveSpaces(line).empty()) kept.push_back(line);
  }
  std::string rebuilt;
  for (const std::string& line : kept) rebuilt += line + "\r\n";
  Require(box == rebuilt, "the rebuilt box is the kept lines as typed, each followed by CR LF", {content, box});

  if (kept.empty() || !EndsInLoneLeadByte(kept.back())) {
    Require(SplitText(box, "\r\n") == kept, "the names are the kept lines", {content, box});
    Require(RebuildNamesBox(box) == box, "a rebuilt box rebuilds to itself", {box});
  }
  if (!EndsInLoneLeadByte(content)) CheckTidying(content);
  return 0;
}
