// Fuzz target: name matching, the per-name statistics and the walk. The
// input describes wanted names and a small folder tree; in both modes the
// engine's matcher must find for every name in the tree exactly the wanted
// names whose wildcard pattern the reference matcher says it matches (with
// the number rule on, the digit-only names: those that the reference finds
// comparing every wanted number with every digit run of the name), the
// statistics over those names as rows must count what matching every name
// against every row counts, and the walk of the tree must give the rows of
// listing every folder once per wanted name, listing alone and with 1 and 7
// helpers listing ahead of it.
//
// The input is read byte by byte:
//   00  ends a wanted name (an empty one is dropped: the names box never
//       gives one)
//   01  ends a file name, which goes into the current folder
//   02  ends a folder name: a subfolder of the current folder, which then
//       becomes the current folder
//   03  ends a folder name: a subfolder that is a reparse point
//   04  makes the parent of the current folder the current one
//   05  appends the text that was ended last (so that names can share their
//       endings and file names can hold wanted names)
//   06-1F  one of the characters of kCharacters
//   any other byte stands for itself: ASCII, "*", "?", ".", "\", and bytes of
//       0x80 and more, which make lead bytes of any pair and lone lead bytes,
//       and with digits four-byte characters.
// What is left at the end is a file name. Empty file and folder names are
// dropped (a listing never holds one).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "search/walk/listing_pool.h"
#include "search/match/match_mode.h"
#include "search/match/name_matcher.h"
#include "search/match/name_statistics.h"
#include "search/walk/walk_directory.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/fake_tree.h"

using namespace tarnwell;
using namespace tarnwell::fuzz;

namespace {

// Letters in both cases (full-width Latin, Greek, Cyrillic, Roman numerals),
// characters without case, characters whose trail byte is "\" or looks like
// an ASCII letter, pairs that are no GBK character at all, and four-byte
// characters: beyond GBK (whose bytes hold digits), and one of no character.
constexpr std::string_view kCharacters[] = {
    "\xA3\xE1",  // full-width a
    "\xA3\xC1",  // full-width A
    "\x95\x30\x85\x32",  // U+1F642, an emoji
    "\x81\x30\x8A\x39",  // U+00F1, n with tilde
    "\xA6\xC1",  // alpha
    "\xA6\xA1",  // Alpha
    "\x83\x36\xCF\x39",  // U+4DAE, a CJK character of Extension A
    "\xFE\x39\xFE\x39",  // four bytes of no character
    "\xA7\xD1",  // Cyrillic a
    "\xA7\xA1",  // Cyrillic A
    "\xA7\xD7",  // Cyrillic yo
    "\xA7\xA7",  // Cyrillic Yo
    "\xA2\xA1",  // small Roman numeral one
    "\xA2\xF1",  // Roman numeral one
    "\xA2\xFB",  // Roman numeral eleven (no small form in GBK)
    "\xA8\xA3",  // a with caron (its capital is not in GBK)
    "\xD6\xD0",  // a Chinese character
    "\xA1\xA1",  // full-width space
    "\xA3\xAE",  // full-width full stop
    "\x81\x5C",  // trail byte "\"
    "\x95\x5C",  // trail byte "\"
    "\x81\x61",  // trail byte "a"
    "\x81\x41",  // trail byte "A"
    "\x81\x2E",  // lead byte and "." (no GBK character)
    "\x81\x2A",  // lead byte and "*" (no GBK character)
    "\x81\x3F",  // lead byte and "?" (no GBK character)
};
static_assert(std::size(kCharacters) == 0x20 - 0x06);

// Texts grow by appending earlier ones; this keeps every execution cheap.
constexpr std::size_t kMaxText = 300;
constexpr std::size_t kMaxEntries = 64;

struct Input {
  NameList names;
  testing::FakeTree tree;
  TextList fileNames;  // every name in the tree, folders' too
};

void Decode(const std::uint8_t* data, std::size_t size, Input& input) {
  input.tree.AddFolder("R");
  std::vector<Text> folders = {"R"};  // the current folder and its parents
  Text text;
  Text last;
  std::size_t entries = 0;
  auto end = [&]() -> bool {
    last = text;
    text.clear();
    if (last.empty() || entries == kMaxEntries) return false;
    ++entries;
    return true;
  };
  for (std::size_t i = 0; i < size; ++i) {
    std::uint8_t byte = data[i];
    switch (byte) {
      case 0x00:
        if (end()) input.names.push_back(last);
        break;
      case 0x01:
        if (end()) {
          input.tree.AddFile(folders.back(), last);
          input.fileNames.push_back(last);
        }
        break;
      case 0x02:
      case 0x03:
        if (end()) {
          input.tree.AddSubfolder(folders.back(), last, byte == 0x03);
          input.fileNames.push_back(last);
          if (byte == 0x02) folders.push_back(folders.back() + "\\" + last);
        }
        break;
      case 0x04:
        if (folders.size() > 1) folders.pop_back();
        break;
      case 0x05:
        text += last;
        break;
      default:
        if (byte < 0x20) {
          text += kCharacters[byte - 0x06];
        } else {
          text.push_back(static_cast<char>(byte));
        }
    }
    if (text.size() > kMaxText) text.resize(kMaxText);
  }
  if (end()) {
    input.tree.AddFile(folders.back(), last);
    input.fileNames.push_back(last);
  }
}

// The names in the tree, as rows of a result list.
class NamesAsRows final : public RowFileNames {
 public:
  explicit NamesAsRows(const TextList& names) : names_(names) {}
  int RowCount() const override { return static_cast<int>(names_.size()); }
  Text FileName(int row) const override { return names_[static_cast<std::size_t>(row)]; }
  Text Path(int row) const override { return names_[static_cast<std::size_t>(row)]; }

 private:
  const TextList& names_;
};

struct Rows final : WalkOutput {
  void Row(const Text& folder, std::string_view name, std::uint32_t) override {
    rows.push_back(Concat(folder, "\\", name));
  }
  void FolderSearched(const Text&) override {}
  void FolderFailed(const Text&) override {}
  TextList rows;
};

// Reports a broken property with the input's wanted names and stops the run.
[[noreturn]] void Fail(const char* property, const char* mode, const NameList& names,
                       std::initializer_list<std::pair<const char*, const TextList*>> lists) {
  std::fprintf(stderr, "property broken (%s): %s\n  wanted names:", mode, property);
  for (const Text& name : names) std::fprintf(stderr, " %s", Escaped(name).c_str());
  for (const auto& [title, texts] : lists) {
    std::fprintf(stderr, "\n  %s:", title);
    for (const Text& text : *texts) std::fprintf(stderr, " %s", Escaped(text).c_str());
  }
  std::fprintf(stderr, "\n");
  std::abort();
}

TextList Numbers(const std::vector<std::uint32_t>& indices) {
  TextList numbers;
  for (std::uint32_t i : indices) numbers.push_back(std::to_string(i));
  return numbers;
}

// Every property, with the number rule off or on.
void Check(const Input& input, NumberRule numbers) {
  static testing::ReferenceFolding folding;
  const char* const ruleNames[2][2] = {{"exact", "fuzzy"}, {"exact, number rule", "fuzzy, number rule"}};
  auto ModeName = [&](MatchMode mode) { return ruleNames[numbers == NumberRule::On][mode == MatchMode::Fuzzy]; };

  // What the reference says of every name in the tree, in each mode.
  const MatchMode modes[] = {MatchMode::Exact, MatchMode::Fuzzy};
  std::vector<std::vector<std::uint32_t>> expected[2];
  for (int m = 0; m < 2; ++m) {
    for (const Text& fileName : input.fileNames) {
      std::vector<std::uint32_t>& matching = expected[m].emplace_back();
      for (std::uint32_t i = 0; i < input.names.size(); ++i) {
        if (testing::ReferenceMatches(folding, input.names[i], fileName, modes[m], numbers)) matching.push_back(i);
      }
    }
  }

  // One scratch for everything, as a walk reuses its own, and the modes
  // taken in turn, as a change of mode during a search takes them.
  NameMatcher matcher(std::make_shared<const NameList>(input.names), numbers);
  MatchScratch scratch;
  for (int m : {0, 1, 0}) {
    for (std::size_t f = 0; f < input.fileNames.size(); ++f) {
      matcher.Match(input.fileNames[f], modes[m], scratch);
      if (scratch.Matches() != expected[m][f]) {
        TextList file = {input.fileNames[f]};
        TextList want = Numbers(expected[m][f]);
        TextList found = Numbers(scratch.Matches());
        Fail("the matcher finds the wanted names whose pattern the file name matches", ModeName(modes[m]),
             input.names, {{"file name", &file}, {"expected", &want}, {"found", &found}});
      }
    }
  }

  // The walk alone, and walks with 2 and 8 threads listing (the pools live
  // across executions, as a search's pool serves walk after walk).
  static ListingPool oneHelper(1);
  static ListingPool sevenHelpers(7);
  ListingPool* const pools[] = {nullptr, &oneHelper, &sevenHelpers};
  for (MatchMode mode : modes) {
    const std::vector<NameHits> hits = CountNameHits(input.names, MatchRules(mode, numbers), NamesAsRows(input.fileNames));
    const auto expectedHits = testing::ReferenceNameHits(folding, input.names, input.fileNames, mode, numbers);
    for (std::size_t i = 0; i < hits.size(); ++i) {
      if (testing::ReferenceHits{hits[i].rows, hits[i].firstRow} != expectedHits[i]) {
        TextList name = {input.names[i]};
        TextList want = {std::to_string(expectedHits[i].count), std::to_string(expectedHits[i].first)};
        TextList found = {std::to_string(hits[i].rows), std::to_string(hits[i].firstRow)};
        Fail("the statistics count and find first what every name against every row does", ModeName(mode),
             input.names, {{"name", &name}, {"expected count, first", &want}, {"found", &found}});
      }
    }
  }

  for (MatchMode mode : modes) {
    TextList expectedRows;
    testing::ReferenceWalk(input.tree, folding, "R", input.names, mode, expectedRows, numbers);
    for (ListingPool* pool : pools) {
      std::atomic<bool> cancelled{false};
      std::function<MatchMode()> readMode = [mode] { return mode; };
      Rows walked;
      bool finished = WalkDirectory("R", WalkInputs{input.tree, matcher, readMode, cancelled, pool}, walked);
      Require(finished, "an uncancelled walk goes to the end");
      if (walked.rows != expectedRows) {
        const char* threads = pool == nullptr ? "the walk alone" : pool == &oneHelper ? "2 threads" : "8 threads";
        std::fprintf(stderr, "listing with %s\n", threads);
        Fail("the walk gives the rows of listing each folder once per wanted name", ModeName(mode), input.names,
             {{"expected", &expectedRows}, {"walked", &walked.rows}});
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input;
  Decode(data, size, input);
  if (input.names.empty()) return 0;
  Check(input, NumberRule::Off);
  Check(input, NumberRule::On);
  return 0;
}
