// An in-memory folder tree behind the DirectoryLister interface, and the
// plain reference walk the engine is compared with: one pass over each
// folder per wanted name, testing every file against that name's wildcard
// pattern, the way the walk was first described.
#pragma once

#include <wctype.h>
#include <locale.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/directory_listing.h"
#include "platform/text/gb18030.h"
#include "platform/text/gb18030_utf8.h"
#include "platform/text/text.h"
#include "search/match/match_mode.h"
#include "search/names/names_box.h"

namespace tarnwell::testing {

struct FakeEntry {
  Text name;
  bool folder = false;
  bool link = false;
};

class FakeTree final : public DirectoryLister {
 public:
  // Adds a folder (listable, maybe empty) with the entries given, in that order.
  void AddFolder(const Text& path, std::vector<FakeEntry> entries = {}) { folders_[path] = std::move(entries); }
  void AddFile(const Text& folder, const Text& name) { folders_[folder].push_back({name, false, false}); }
  // Adds `name` to `parent` as a folder and makes it listable.
  void AddSubfolder(const Text& parent, const Text& name, bool link = false) {
    folders_[parent].push_back({name, true, link});
    folders_.try_emplace(parent + "\\" + name);
  }

  ListingOutcome List(const Text& folder, DirectoryListing& listing) const override {
    listing.Clear();
    if (onList_) onList_(folder);
    int listed = 0;
    {
      std::lock_guard lock(mutex_);
      listed = ++listings_[folder];
    }
    auto found = folders_.find(folder);
    if (found == folders_.end()) return ListingOutcome::Missing;
    auto failing = failing_.find(folder);
    if (failing != failing_.end() && listed <= failing->second) {
      // A read that stops midway: the first half of the entries.
      for (std::size_t i = 0; i < found->second.size() / 2; ++i) {
        const FakeEntry& entry = found->second[i];
        listing.Add(entry.name, entry.folder, entry.link);
      }
      return ListingOutcome::Failed;
    }
    for (const FakeEntry& entry : found->second) listing.Add(entry.name, entry.folder, entry.link);
    return ListingOutcome::Listed;
  }

  // The first `times` listings of `folder` stop midway and fail.
  void FailListings(const Text& folder, int times) { failing_[folder] = times; }

  // Called at the start of every listing (on the listing thread).
  void OnList(std::function<void(const Text&)> onList) { onList_ = std::move(onList); }

  std::map<Text, int> Listings() const {
    std::lock_guard lock(mutex_);
    return listings_;
  }
  const std::map<Text, std::vector<FakeEntry>>& Folders() const { return folders_; }

 private:
  std::map<Text, std::vector<FakeEntry>> folders_;
  std::function<void(const Text&)> onList_;
  std::map<Text, int> failing_;
  mutable std::mutex mutex_;
  mutable std::map<Text, int> listings_;
};

// Characters of a text, each of one or two bytes reduced to its upper-case
// Unicode code point (through the C library's Unicode tables, independent of
// the engine's own case table); "*" and "?" stay what they are. Bytes that
// are no GBK character (a lone lead byte, a trail byte out of range) stand
// for themselves: a code beyond Unicode made of those bytes. A four-byte
// character (a byte of 0x80 or more, a digit, a byte 0x81-0xFE, a digit)
// has no case: it stands for its four bytes.
class ReferenceFolding {
 public:
  ReferenceFolding() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr))) {}
  ~ReferenceFolding() { freelocale(locale_); }

  std::vector<char32_t> Characters(const Text& text) {
    std::vector<char32_t> characters;
    characters.reserve(text.size() + 2);  // room for the two characters a pattern adds
    auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    auto digitAt = [&](std::size_t i) { return byteAt(i) >= '0' && byteAt(i) <= '9'; };
    for (std::size_t i = 0; i < text.size();) {
      if (byteAt(i) >= 0x80 && i + 3 < text.size() && digitAt(i + 1) && byteAt(i + 2) >= 0x81 && byteAt(i + 2) <= 0xFE &&
          digitAt(i + 3)) {
        characters.push_back(kFourBytes | (byteAt(i) & 0x7F) << 24 | byteAt(i + 1) << 16 | byteAt(i + 2) << 8 | byteAt(i + 3));
        i += 4;
        continue;
      }
      std::size_t length = (byteAt(i) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
      characters.push_back(Upper(std::string_view(text).substr(i, length)));
      i += length;
    }
    return characters;
  }

  // The codes of the byte sequences that are no character are this or more,
  // those of four-byte characters have this bit.
  static constexpr char32_t kNoCharacter = 0x110000;
  static constexpr char32_t kFourBytes = 0x80000000;

  // `character` is one or two bytes.
  char32_t Upper(std::string_view character) {
    std::size_t slot = static_cast<unsigned char>(character[0]);
    if (character.size() == 2) slot = 256 + (slot << 8 | static_cast<unsigned char>(character[1]));
    if (cache_.empty()) cache_.assign(256 + 65536, kUnknown);
    if (cache_[slot] != kUnknown) return cache_[slot];
    // One character of its own: one unit, no surrogate standing for a byte.
    Utf16 units = TextToUtf16(character);
    char32_t upper;
    if (units.size() == 1 && (units[0] < 0xD800 || units[0] > 0xDFFF)) {
      upper = static_cast<char32_t>(towupper_l(static_cast<wint_t>(units[0]), locale_));
    } else {
      char32_t bytes = 0;
      for (char byte : character) bytes = (bytes << 8) | static_cast<unsigned char>(byte);
      upper = kNoCharacter + bytes;
    }
    cache_[slot] = upper;
    return upper;
  }

 private:
  static constexpr char32_t kUnknown = 0xFFFFFFFF;
  locale_t locale_;
  std::vector<char32_t> cache_;  // by byte, then by pair of bytes
};

// Whether `name` matches the wildcard pattern, character by character: after
// each pattern character, matched[n] tells whether the pattern so far
// matches the first n characters of the name.
inline bool ReferenceGlob(const std::vector<char32_t>& pattern, const std::vector<char32_t>& name) {
  std::vector<char> matched(name.size() + 1, false);
  std::vector<char> next(name.size() + 1);
  matched[0] = true;
  for (char32_t p : pattern) {
    for (std::size_t n = 0; n <= name.size(); ++n) {
      if (p == U'*') {
        next[n] = matched[n] || (n > 0 && next[n - 1]);
      } else {
        next[n] = n > 0 && matched[n - 1] && (p == U'?' || p == name[n - 1]);
      }
    }
    matched.swap(next);
  }
  return matched[name.size()];
}

// The pattern of one wanted name: name + ".*" (where ".*" may also match
// nothing at all) for Exact, "*" + name + "*" for Fuzzy. A name holding a
// path separator matches nothing.
// The number rule by brute force: the wanted name, digits only, against
// every whole run of digit characters of the file name before its first ".",
// both without their leading zeros.
inline bool ReferenceNumberMatches(ReferenceFolding& folding, const Text& wanted, const Text& fileName) {
  auto valueOf = [](std::u32string digits) {
    while (digits.size() > 1 && digits[0] == U'0') digits.erase(0, 1);
    return digits;
  };
  std::u32string wantedDigits(wanted.begin(), wanted.end());
  std::vector<std::u32string> runs(1);
  for (char32_t c : folding.Characters(fileName)) {
    if (c == U'.') break;
    if (c >= U'0' && c <= U'9') {
      runs.back().push_back(c);
    } else if (!runs.back().empty()) {
      runs.emplace_back();
    }
  }
  for (const std::u32string& run : runs) {
    if (!run.empty() && valueOf(run) == valueOf(wantedDigits)) return true;
  }
  return false;
}

inline bool ReferenceIsNumber(const Text& wanted) {
  return !wanted.empty() && wanted.find_first_not_of("0123456789") == Text::npos;
}

inline bool ReferenceMatches(ReferenceFolding& folding, const Text& wanted, const Text& fileName, MatchMode mode,
                             NumberRule numbers = NumberRule::Off) {
  if (numbers == NumberRule::On && ReferenceIsNumber(wanted)) return ReferenceNumberMatches(folding, wanted, fileName);
  std::vector<char32_t> pattern = folding.Characters(wanted);
  for (char32_t c : pattern) {
    if (c == U'\\' || c == U'/') return false;
  }
  std::vector<char32_t> name = folding.Characters(fileName);
  if (mode == MatchMode::Fuzzy) {
    pattern.insert(pattern.begin(), U'*');
    pattern.push_back(U'*');
    return ReferenceGlob(pattern, name);
  }
  if (ReferenceGlob(pattern, name)) return true;
  pattern.push_back(U'.');
  pattern.push_back(U'*');
  return ReferenceGlob(pattern, name);
}

// Per wanted name, the number of file names it matches and the index of the
// first of them (-1 for none): every name against every file name.
struct ReferenceHits {
  std::uint32_t count = 0;
  int first = -1;
  bool operator==(const ReferenceHits&) const = default;
};
inline std::vector<ReferenceHits> ReferenceNameHits(ReferenceFolding& folding, const NameList& names,
                                                    const TextList& fileNames, MatchMode mode,
                                                    NumberRule numbers = NumberRule::Off) {
  std::vector<ReferenceHits> hits;
  for (const Text& wanted : names) {
    ReferenceHits& hit = hits.emplace_back();
    for (std::size_t f = 0; f < fileNames.size(); ++f) {
      if (!ReferenceMatches(folding, wanted, fileNames[f], mode, numbers)) continue;
      if (hit.count++ == 0) hit.first = static_cast<int>(f);
    }
  }
  return hits;
}

// The rows of walking `folder`, listing each folder once per wanted name.
inline void ReferenceWalk(const FakeTree& tree, ReferenceFolding& folding, const Text& folder, const NameList& names,
                          MatchMode mode, TextList& rows, NumberRule numbers = NumberRule::Off) {
  auto found = tree.Folders().find(folder);
  if (found == tree.Folders().end()) return;
  for (const Text& wanted : names) {
    for (const FakeEntry& entry : found->second) {
      if (!entry.folder && ReferenceMatches(folding, wanted, entry.name, mode, numbers)) {
        rows.push_back(folder + "\\" + entry.name);
      }
    }
  }
  for (const FakeEntry& entry : found->second) {
    if (entry.folder && !entry.link && entry.name.back() != '.') {
      ReferenceWalk(tree, folding, folder + "\\" + entry.name, names, mode, rows, numbers);
    }
  }
}

}  // namespace tarnwell::testing
