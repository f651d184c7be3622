#include "search/match/name_statistics.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/fake_tree.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

class Rows final : public RowFileNames {
 public:
  explicit Rows(TextList names) : names_(std::move(names)) {}
  int RowCount() const override { return static_cast<int>(names_.size()); }
  Text FileName(int row) const override { return names_[static_cast<std::size_t>(row)]; }
  Text Path(int row) const override { return Concat("D:\\照片"_gbk, "\\", names_[static_cast<std::size_t>(row)]); }

 private:
  TextList names_;
};

// Random wanted names (plain, with wildcards, given twice, holding "\",
// numbers) and random rows, both modes, with and without the number rule:
// the single pass gives what matching every name against every row gives,
// for the counts and for each row's first matching name.
TEST(NameStatistics, OnePassAgreesWithEveryNameAgainstEveryRow) {
  const TextList alphabet = {"a", "A", "b", ".", ".", "x", "ａ"_gbk, "Ａ"_gbk, "中"_gbk, "乤"_gbk, " ", "0", "1"};
  std::mt19937 random(314);
  auto randomText = [&](int maxLength, bool wildcards) {
    Text text;
    int length = 1 + static_cast<int>(random() % maxLength);
    for (int i = 0; i < length; ++i) {
      auto pick = random() % (alphabet.size() + (wildcards ? 3 : 0));
      if (pick < alphabet.size()) {
        text += alphabet[pick];
      } else {
        text += pick == alphabet.size() ? "*" : pick == alphabet.size() + 1 ? "?" : "\\";
      }
    }
    return text;
  };
  testing::ReferenceFolding folding;
  int found = 0, missing = 0;
  for (int round = 0; round < 30; ++round) {
    NameList names;
    for (int i = 0; i < 25; ++i) names.push_back(i % 8 == 7 ? names[random() % names.size()] : randomText(4, i % 3 == 0));
    TextList fileNames;
    for (int f = 0; f < 300; ++f) fileNames.push_back(randomText(8, false));
    names.push_back("01");  // a number: matched by number under the number rule
    fileNames.push_back("x_001.a");
    for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
      for (NumberRule numbers : {NumberRule::Off, NumberRule::On}) {
        const MatchRules rules(mode, numbers);
        const std::vector<NameHits> hits = CountNameHits(names, rules, Rows(fileNames));
        const std::vector<testing::ReferenceHits> expected =
            testing::ReferenceNameHits(folding, names, fileNames, mode, numbers);
        ASSERT_EQ(hits.size(), expected.size());
        for (std::size_t i = 0; i < hits.size(); ++i) {
          ASSERT_EQ((testing::ReferenceHits{hits[i].rows, hits[i].firstRow}), expected[i])
              << "name " << i << " " << Gb18030ToUtf8(names[i]) << (mode == MatchMode::Exact ? " exact" : " fuzzy")
              << (numbers == NumberRule::On ? " numbers" : "") << " round " << round;
          (hits[i].rows > 0 ? found : missing)++;
        }
        // The export's first matching name of each row: the lowest name that matches it.
        const std::vector<int> first = FirstMatchingNames(names, rules, Rows(fileNames));
        ASSERT_EQ(first.size(), fileNames.size());
        for (std::size_t f = 0; f < fileNames.size(); ++f) {
          int expectedFirst = -1;
          for (std::size_t i = 0; i < names.size() && expectedFirst < 0; ++i) {
            if (testing::ReferenceMatches(folding, names[i], fileNames[f], mode, numbers)) {
              expectedFirst = static_cast<int>(i);
            }
          }
          ASSERT_EQ(first[f], expectedFirst) << Gb18030ToUtf8(fileNames[f]) << " round " << round;
        }
      }
    }
  }
  // Both kinds are well represented.
  EXPECT_GT(found, 300);
  EXPECT_GT(missing, 100);
}

TEST(NameStatistics, FileHoldsEachNameItsCountAndFirstPath) {
  const NameList names = {"a", "照片"_gbk, "x,y", "a", "none"};
  const Rows rows({"b.txt", "a.jpg", "x,y.txt", "A.doc", "照片.png"_gbk});
  EXPECT_EQ(BuildNameStatistics(names, MatchMode::Exact, rows),
            "\xEF\xBB\xBF"
            "\xE5\x90\x8D\xE7\xA7\xB0,\xE6\x89\xBE\xE5\x88\xB0\xE7\x9A\x84\xE6\x96\x87\xE4\xBB\xB6\xE6\x95\xB0,"
            "\xE7\xAC\xAC\xE4\xB8\x80\xE4\xB8\xAA\xE6\x96\x87\xE4\xBB\xB6\r\n"  // 名称,找到的文件数,第一个文件
            "a,2,D:\\\xE7\x85\xA7\xE7\x89\x87\\a.jpg\r\n"
            "\xE7\x85\xA7\xE7\x89\x87,1,D:\\\xE7\x85\xA7\xE7\x89\x87\\\xE7\x85\xA7\xE7\x89\x87.png\r\n"
            "\"x,y\",1,\"D:\\\xE7\x85\xA7\xE7\x89\x87\\x,y.txt\"\r\n"
            "a,2,D:\\\xE7\x85\xA7\xE7\x89\x87\\a.jpg\r\n"
            "none,0,\r\n");
}

}  // namespace
}  // namespace tarnwell
