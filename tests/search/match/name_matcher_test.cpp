#include "search/match/name_matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <random>

#include "tests/support/fake_tree.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

using Indices = std::vector<std::uint32_t>;

class Matcher {
 public:
  explicit Matcher(NameList names, NumberRule numbers = NumberRule::Off)
      : matcher_(std::make_shared<const NameList>(std::move(names)), numbers) {}
  Indices operator()(const Text& fileName, MatchMode mode) {
    matcher_.Match(fileName, mode, scratch_);
    return scratch_.Matches();
  }

 private:
  NameMatcher matcher_;
  MatchScratch scratch_;
};

constexpr MatchMode kExact = MatchMode::Exact;
constexpr MatchMode kFuzzy = MatchMode::Fuzzy;

TEST(NameMatcher, ExactMeansTheWholeNameWithOrWithoutExtensions) {
  Matcher a({"a"});
  EXPECT_EQ(a("a", kExact), Indices{0});
  EXPECT_EQ(a("A.TXT", kExact), Indices{0});
  EXPECT_EQ(a("ab.txt", kExact), Indices{});
  EXPECT_EQ(a("ba", kExact), Indices{});

  Matcher aTxt({"a.txt"});
  EXPECT_EQ(aTxt("a.txt", kExact), Indices{0});
  EXPECT_EQ(aTxt("a.txt.old", kExact), Indices{0});
  EXPECT_EQ(aTxt("a.txt2", kExact), Indices{});
  EXPECT_EQ(aTxt("a", kExact), Indices{});

  Matcher report({"report", "report.tar", "tar"});
  EXPECT_EQ(report("report.tar.gz", kExact), (Indices{0, 1}));
  EXPECT_EQ(report("REPORT.doc", kExact), Indices{0});
  EXPECT_EQ(report("report2.doc", kExact), Indices{});
  EXPECT_EQ(report("myreport.doc", kExact), Indices{});
}

TEST(NameMatcher, FuzzyMeansAnywhereInTheName) {
  Matcher port({"port"});
  for (const char* name : {"report.doc", "Portal.exe", "port", "x.PORT"}) EXPECT_EQ(port(name, kFuzzy), Indices{0});
  EXPECT_EQ(port("pot", kFuzzy), Indices{});
  // Found twice in one name, still one match.
  EXPECT_EQ(port("portport", kFuzzy), Indices{0});
}

TEST(NameMatcher, AFourByteCharacterIsOneCharacter) {
  // 张🙂 is 张 and the bytes 95 30 85 32: "?" takes all four, a wanted "0" or "张?" never a part.
  Matcher names({"张🙂"_gbk, "张?"_gbk, "0", "张??"_gbk, "\x85\x32"});
  EXPECT_EQ(names("张🙂.jpg"_gbk, kExact), (Indices{0, 1}));
  EXPECT_EQ(names("张三丰.jpg"_gbk, kExact), Indices{3});
  EXPECT_EQ(names("张🙂.jpg"_gbk, kFuzzy), (Indices{0, 1, 3}));  // 张, 🙂 and "."
  EXPECT_EQ(names("x张🙂0"_gbk, kFuzzy), (Indices{0, 1, 2, 3}));
}

// Photo numbers as studios' clients send them, against the names cameras
// give: under the number rule a number finds a whole run of digits before
// the first ".", leading zeros ignored, in both modes; without it the
// mode's rules hold.
TEST(NameMatcher, TheNumberRuleFindsAWholeRunOfDigitsBeforeTheFirstDot) {
  struct Case {
    const char* fileName;
    bool found;
  };
  const Case cases[] = {
      {"IMG_0012.JPG", true}, {"DSC00012.ARW", true}, {"_MG_0012.CR2", true}, {"12.jpg", true},
      {"IMG_0012.CR3.xmp", true}, {"20260501_000012.jpg", true}, {"IMG_0120.JPG", false},
      {"IMG_1234.JPG", false}, {"IMG_12345.JPG", false}, {"120.jpg", false}, {"IMG_0001.12", false},
      {"a12b", true}, {"\x81\x31\x82\x32_12", true},  // digit bytes inside a four-byte character are no digits
      {"\x81\x31\x82\x32", false}, {"x\xA3\xAE" "12", true},  // the full-width full stop is no "."
  };
  for (MatchMode mode : {kExact, kFuzzy}) {
    Matcher twelve({"12"}, NumberRule::On);
    Matcher padded({"0012"}, NumberRule::On);
    for (const Case& c : cases) {
      EXPECT_EQ(twelve(c.fileName, mode), c.found ? Indices{0} : Indices{}) << c.fileName;
      EXPECT_EQ(padded(c.fileName, mode), c.found ? Indices{0} : Indices{}) << c.fileName;
    }
  }
  // Zero finds a run of zeros; one number held twice is one match; other
  // names keep their mode's rules beside the numbers.
  Matcher names({"0", "7", "IMG_0012", "1a", "7"}, NumberRule::On);
  EXPECT_EQ(names("IMG_0012.JPG", kExact), (Indices{2}));
  EXPECT_EQ(names("IMG_000.JPG", kExact), (Indices{0}));
  EXPECT_EQ(names("7_0007.JPG", kExact), (Indices{1, 4}));
  EXPECT_EQ(names("x1a_7", kFuzzy), (Indices{1, 3, 4}));
  EXPECT_EQ(names("7", kExact), (Indices{1, 4}));
  // Without the rule a number is a name like any other.
  Matcher plain({"12"});
  EXPECT_EQ(plain("IMG_0012.JPG", kExact), Indices{});
  EXPECT_EQ(plain("IMG_0120.JPG", kFuzzy), Indices{0});
  EXPECT_EQ(plain("12.jpg", kExact), Indices{0});
  // Runs longer than any integer are compared digit by digit.
  Matcher huge({"123456789012345678901234567890"}, NumberRule::On);
  EXPECT_EQ(huge("x_000123456789012345678901234567890.raw", kExact), Indices{0});
  EXPECT_EQ(huge("x_123456789012345678901234567891.raw", kExact), Indices{});
  // The largest values read as integers (19 digits) and the shortest that are not.
  Matcher edges({"9999999999999999999", "10000000000000000000"}, NumberRule::On);
  EXPECT_EQ(edges("a_0009999999999999999999.jpg", kExact), Indices{0});
  EXPECT_EQ(edges("a_10000000000000000000.jpg", kExact), Indices{1});
  EXPECT_EQ(edges("a_99999999999999999990.jpg", kExact), Indices{});
  EXPECT_EQ(edges("a_1000000000000000000.jpg", kExact), Indices{});
}

TEST(NameMatcher, WildcardsInExactAndFuzzyNames) {
  Matcher names({"a*", "a?c", "*.txt", "b?d", "?"});
  EXPECT_EQ(names("abc.txt", kExact), (Indices{0, 1, 2}));
  EXPECT_EQ(names("A", kExact), (Indices{0, 4}));
  EXPECT_EQ(names("a中c.doc"_gbk, kExact), (Indices{0, 1}));  // "?" takes a whole two-byte character
  EXPECT_EQ(names("ac", kExact), Indices{0});
  EXPECT_EQ(names("x.txt.bak", kExact), (Indices{2, 4}));  // "?" + ".*" holds for "x" before the dot
  EXPECT_EQ(names("txt", kExact), Indices{});
  EXPECT_EQ(names("中.z"_gbk, kExact), Indices{4});
  EXPECT_EQ(names("xbcdx", kFuzzy), (Indices{3, 4}));
  EXPECT_EQ(names("xAbCx", kFuzzy), (Indices{0, 1, 4}));
  EXPECT_EQ(names("b中d"_gbk, kFuzzy), (Indices{3, 4}));
}

TEST(NameMatcher, ReportsEveryMatchingNameInNameListOrderDuplicatesIncluded) {
  Matcher names({"b", "a", "zz", "a", "a*b"});
  EXPECT_EQ(names("ab", kFuzzy), (Indices{0, 1, 3, 4}));
  EXPECT_EQ(names("a.b", kExact), (Indices{1, 3, 4}));
}

TEST(NameMatcher, NamesWithPathSeparatorsMatchNothing) {
  Matcher names({"sub\\a", "a/", "\\", "*\\*", "昞"_gbk});
  for (const char* name : {"a", "sub", "a.txt", "x\\a"}) {
    EXPECT_EQ(names(name, kExact), Indices{}) << name;
    EXPECT_EQ(names(name, kFuzzy), Indices{}) << name;
  }
  // 昞 holds the byte of "\" only as its trail byte: an ordinary name.
  EXPECT_EQ(names("昞.txt"_gbk, kExact), Indices{4});
  EXPECT_EQ(names("x昞"_gbk, kFuzzy), Indices{4});
}

TEST(NameMatcher, NeverMatchesOnATrailByte) {
  // 丄 ends in the byte of "A", 乤 in that of "a", 昞 in that of "\".
  Matcher names({"a", "乤"_gbk, "?a"});
  EXPECT_EQ(names("丄"_gbk, kFuzzy), Indices{});
  EXPECT_EQ(names("乤"_gbk, kFuzzy), Indices{1});
  EXPECT_EQ(names("丄a"_gbk, kFuzzy), (Indices{0, 2}));
  EXPECT_EQ(names("丄"_gbk, kExact), Indices{});
  EXPECT_EQ(names("乤.a"_gbk, kExact), Indices{1});
  EXPECT_EQ(names("x乤"_gbk, kExact), Indices{});
  Matcher star({"*a*"});
  EXPECT_EQ(star("乤丄"_gbk, kFuzzy), Indices{});
  EXPECT_EQ(star("乤丄"_gbk, kExact), Indices{});
  // A name that ends in a lone lead byte never ends inside a character.
  const Text lead = "中"_gbk.substr(0, 1);
  Matcher cut({"a" + lead, "ab" + lead + "cdefghij" + lead});
  EXPECT_EQ(cut("a中"_gbk, kFuzzy), Indices{});
  EXPECT_EQ(cut("xa" + lead, kFuzzy), Indices{0});
  EXPECT_EQ(cut("ab" + lead + "cdefghij中"_gbk, kFuzzy), Indices{});
  EXPECT_EQ(cut("ab" + lead + "cdefghij" + lead, kFuzzy), Indices{1});
}

// A lead byte takes the byte after it whatever it is, so a "." right after
// one is no dot: exact matching never ends a name before it.
TEST(NameMatcher, ExactNeverEndsANameAtADotThatIsATrailByte) {
  const Text lead = "中"_gbk.substr(0, 1);
  Matcher names({"ab" + lead, "?b" + lead, lead, "ab", "ab" + lead + "."});
  EXPECT_EQ(names("ab" + lead + ".txt", kExact), Indices{});
  EXPECT_EQ(names(lead + ".txt", kExact), Indices{});
  // The second "." is a dot of its own, after the character of lead byte and ".".
  EXPECT_EQ(names("ab" + lead + "..txt", kExact), Indices{4});
  EXPECT_EQ(names("ab.x" + lead + ".txt", kExact), Indices{3});
  EXPECT_EQ(names("ab" + lead, kExact), (Indices{0, 1}));
  EXPECT_EQ(names("ab中.txt"_gbk, kExact), Indices{});
}

TEST(NameMatcher, IgnoresCaseOfEveryLetterGbkHoldsInBothCases) {
  Matcher names({"ωmega"_gbk, "ａ"_gbk, "ⅰ"_gbk, "ё"_gbk, "Ⅺ"_gbk});
  EXPECT_EQ(names("ΩMEGA.txt"_gbk, kExact), Indices{0});
  EXPECT_EQ(names("xＡx"_gbk, kFuzzy), Indices{1});
  EXPECT_EQ(names("Ⅰ.doc"_gbk, kExact), Indices{2});
  EXPECT_EQ(names("Ё"_gbk, kExact), Indices{3});
  EXPECT_EQ(names("Ⅺ.a"_gbk, kExact), Indices{4});
  EXPECT_EQ(names("ⅱ"_gbk, kExact), Indices{});
}

TEST(NameMatcher, OneMatcherServesBothModesAlternately) {
  Matcher names({"ab", "b*"});
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(names("xab.c", kExact), Indices{});
    EXPECT_EQ(names("xab.c", kFuzzy), (Indices{0, 1}));
    EXPECT_EQ(names("ab.c", kExact), Indices{0});
  }
}

// Random names and wanted names over an alphabet of the awkward cases, both
// modes, against the reference pattern matching.
TEST(NameMatcher, AgreesWithThePatternOfEachNameOnRandomNames) {
  // Four-byte characters too (🙂, ñ, 䶮, and one whose bytes hold the digits
  // 0 and 1), and the bytes a lead byte, "0" and "1" that build them.
  const TextList alphabet = {"a", "A", "b", ".", ".", "x", "ａ"_gbk, "Ａ"_gbk, "α"_gbk, "Α"_gbk, "昞"_gbk,
                             "丄"_gbk, "乤"_gbk, "中"_gbk, " ", "🙂"_gbk, "ñ"_gbk, "䶮"_gbk, "\x81\x30\x81\x31",
                             "\x81", "0", "1"};
  std::mt19937 random(20240607);
  auto randomText = [&](int maxLength, bool wildcards) {
    Text text;
    int length = 1 + static_cast<int>(random() % maxLength);
    for (int i = 0; i < length; ++i) {
      auto pick = random() % (alphabet.size() + (wildcards ? 2 : 0));
      text += pick < alphabet.size() ? alphabet[pick] : (pick == alphabet.size() ? "*" : "?");
    }
    return text;
  };
  testing::ReferenceFolding folding;
  int matches = 0;
  for (int round = 0; round < 40; ++round) {
    NameList names;
    for (int i = 0; i < 12; ++i) names.push_back(randomText(4, i % 3 == 0));
    Matcher matcher(names);
    for (int f = 0; f < 150; ++f) {
      Text fileName = randomText(8, false);
      for (MatchMode mode : {kExact, kFuzzy}) {
        Indices expected;
        for (std::uint32_t i = 0; i < names.size(); ++i) {
          if (testing::ReferenceMatches(folding, names[i], fileName, mode)) expected.push_back(i);
        }
        matches += static_cast<int>(expected.size());
        ASSERT_EQ(matcher(fileName, mode), expected)
            << Gb18030ToUtf8(fileName) << (mode == kExact ? " exact" : " fuzzy") << " round " << round;
      }
    }
  }
  EXPECT_GT(matches, 5000);  // the alphabet is small enough for plenty of matches
}

// Hundreds of names, as pasted lists hold them: names of every length from
// one byte to beyond the eight bytes that fuzzy matching looks up first,
// found at the start, middle and end of file names; names that share their
// last eight bytes, a few or many of them (which fuzzy matching hands to its
// automaton); names given twice.
TEST(NameMatcher, ManyNamesAgreeWithThePatternOfEachName) {
  const TextList alphabet = {"a", "B", "c", ".", "7", "ａ"_gbk, "Ａ"_gbk, "中"_gbk, "乤"_gbk, "🙂"_gbk, "\x81\x37\x81\x37"};
  std::mt19937 random(99);
  auto randomText = [&](int minLength, int maxLength) {
    Text text;
    int length = minLength + static_cast<int>(random() % (maxLength - minLength + 1));
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    return text;
  };
  testing::ReferenceFolding folding;
  int matches = 0;
  const Text ending = "ab.中7Ａ"_gbk;  // eight bytes
  // Without and with names of one or two characters, and with names that
  // end alike: a few, or many.
  for (int variant = 0; variant < 4; ++variant) {
    const int shortNames = variant == 1 ? 20 : 0;
    const int alike = variant == 2 ? 6 : variant == 3 ? 100 : 0;
    NameList names;
    for (int i = 0; i < 600; ++i) {
      if (i < shortNames) {
        names.push_back(randomText(1, 2));
      } else if (i < alike) {
        names.push_back(randomText(0, 3) + ending);
      } else if (i % 50 == 49) {
        names.push_back(names[random() % names.size()]);
      } else {
        names.push_back(randomText(3, 12));
      }
    }
    Matcher matcher(names);
    for (int f = 0; f < 400; ++f) {
      // Half the file names are built around a wanted name, so that long names match too.
      Text fileName = f % 2 == 0 ? randomText(0, 3) + names[random() % names.size()] + randomText(0, 3)
                                 : randomText(1, 16);
      Indices expected;
      for (std::uint32_t i = 0; i < names.size(); ++i) {
        if (testing::ReferenceMatches(folding, names[i], fileName, kFuzzy)) expected.push_back(i);
      }
      matches += static_cast<int>(expected.size());
      ASSERT_EQ(matcher(fileName, kFuzzy), expected) << Gb18030ToUtf8(fileName) << " variant " << variant;
    }
  }
  EXPECT_GT(matches, 1000);
}

}  // namespace
}  // namespace tarnwell
