#include "search/match/name_case.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/support/fake_tree.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

// Every character GBK can hold, against the C library's Unicode case tables:
// two characters fold alike exactly when they have the same upper case.
TEST(NameCase, FoldsEveryGbkLetterPairAndNothingElse) {
  testing::ReferenceFolding folding;
  std::map<char32_t, std::set<Text>> foldsByUpper;
  std::map<Text, char32_t> upperByFold;
  int pairs = 0;
  auto check = [&](const Text& character) {
    Text folded = FoldedNameCase(character);
    ASSERT_EQ(folded.size(), character.size());
    char32_t upper = folding.Upper(character);
    if (upper >= testing::ReferenceFolding::kNoCharacter) return;  // not a GBK character
    auto [known, added] = upperByFold.try_emplace(folded, upper);
    EXPECT_EQ(known->second, upper) << "two letters of different case fold alike: " << Gb18030ToUtf8(character);
    foldsByUpper[upper].insert(folded);
  };
  for (int byte = 0x20; byte < 0x80; ++byte) check(Text(1, static_cast<char>(byte)));
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail != 0x7F) check(Text{static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  for (const auto& [upper, folds] : foldsByUpper) {
    EXPECT_EQ(folds.size(), 1u) << "U+" << std::hex << static_cast<unsigned>(upper) << " folds in "
                                << folds.size() << " ways";
  }
  for (const auto& [fold, upper] : upperByFold) pairs += FoldedNameCase(fold) == fold ? 0 : 1;
  EXPECT_EQ(pairs, 0) << "folding a folded text changes it again";
}

// Runs of ASCII are folded several bytes at a time; every ASCII byte at
// every offset, next to two-byte characters, folds as it does on its own.
TEST(NameCase, LongNamesFoldCharacterByCharacter) {
  TextList characters;
  for (int byte = 1; byte < 0x80; ++byte) characters.push_back(Text(1, static_cast<char>(byte)));
  const TextList wide = {"乤"_gbk, "ａ"_gbk, "Ω"_gbk, "中"_gbk};
  for (std::size_t offset = 0; offset < 9; ++offset) {
    Text name, expected;
    std::vector<std::uint8_t> expectedStarts;
    for (std::size_t i = 0; i < characters.size() + offset; ++i) {
      // Two-byte characters here and there break the ASCII runs up.
      const Text& character = i % 37 == offset ? wide[i % wide.size()] : characters[(i * 7 + offset) % characters.size()];
      name += character;
      expected += FoldedNameCase(character);
      expectedStarts.push_back(1);
      if (character.size() == 2) expectedStarts.push_back(0);
    }
    expectedStarts.push_back(1);
    Text folded;
    std::vector<std::uint8_t> starts;
    FoldNameCase(name, folded, &starts);
    EXPECT_EQ(folded, expected) << "offset " << offset;
    EXPECT_EQ(starts, expectedStarts) << "offset " << offset;
  }
}

TEST(NameCase, TrailBytesAreNeverFoldedAndMarkedAsNoCharacterStart) {
  // 丄 ends in the byte of "A", 乤 in that of "a", 昞 in that of "\".
  ASSERT_EQ("丄"_gbk[1], 'A');
  ASSERT_EQ("乤"_gbk[1], 'a');
  ASSERT_EQ("昞"_gbk[1], '\\');
  Text name = "a"_gbk + "乤"_gbk + "ｂΩё"_gbk + "z";
  Text folded;
  std::vector<std::uint8_t> starts;
  FoldNameCase(name, folded, &starts);
  EXPECT_EQ(folded, "A"_gbk + "乤"_gbk + "ＢΩЁ"_gbk + "Z");
  EXPECT_EQ(starts, (std::vector<std::uint8_t>{1, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1}));
  // A four-byte character (here ａ before 🙂, whose bytes hold digits) is one character and never folds.
  FoldNameCase("ａ"_gbk + "\x95\x30\x85\x32" + "x", folded, &starts);
  EXPECT_EQ(folded, "Ａ"_gbk + "\x95\x30\x85\x32" + "X");
  EXPECT_EQ(starts, (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 0, 1, 1}));
  // A lead byte at the very end stands alone.
  FoldNameCase(Text("a\x81"), folded, &starts);
  EXPECT_EQ(folded, "A\x81");
  EXPECT_EQ(starts, (std::vector<std::uint8_t>{1, 1, 1}));
}

TEST(NameCase, PathSeparatorsCountOnlyAsCharactersOfTheirOwn) {
  EXPECT_TRUE(HoldsPathSeparator("a\\b"));
  EXPECT_TRUE(HoldsPathSeparator("a/b"));
  EXPECT_TRUE(HoldsPathSeparator("昞"_gbk + "\\"));
  EXPECT_FALSE(HoldsPathSeparator("昞"_gbk));
  EXPECT_FALSE(HoldsPathSeparator("乗"_gbk + "x"));
  EXPECT_TRUE(HoldsPathSeparator("\x81\x30\x81\x30/"));
}

}  // namespace
}  // namespace tarnwell
