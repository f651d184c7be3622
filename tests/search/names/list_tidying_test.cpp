#include "search/names/list_tidying.h"

#include <gtest/gtest.h>

#include <optional>
#include <type_traits>

#include "platform/text/gb18030_utf8.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

// One rewrite of a box: the box as pasted and what it becomes, both written
// in UTF-8 with "\n" for the box's CR LF.
struct Case {
  const char* box;
  const char* expected;
};

Text Box(const char* utf8Lines) {
  Text box;
  for (char c : Utf8ToGb18030(utf8Lines)) {
    if (c == '\n') {
      box += "\r\n";
    } else {
      box += c;
    }
  }
  return box;
}

template <class Rewrite>
void ExpectRewrites(Rewrite rewrite, const char* what, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    const auto rewritten = rewrite(Box(c.box));
    if constexpr (std::is_same_v<decltype(rewritten), const std::optional<Text>>) {
      ASSERT_TRUE(rewritten.has_value()) << what << ": " << c.box;
      EXPECT_EQ(Gb18030ToUtf8(*rewritten), Gb18030ToUtf8(Box(c.expected))) << what << ": " << c.box;
    } else {
      EXPECT_EQ(Gb18030ToUtf8(rewritten), Gb18030ToUtf8(Box(c.expected))) << what << ": " << c.box;
    }
  }
}

TEST(ListTidying, SplittingAtSeparatorsAndAtSpaces) {
  ExpectRewrites(SplitAtSeparators, "separators",
                 {
                     {"12, 15，27\n", "12\n15\n27\n"},
                     {"3551、3552、3560", "3551\n3552\n3560\n"},
                     {"a;b；c|d\te\n", "a\nb\nc\nd\ne\n"},
                     {"IMG 0001.jpg\n", "IMG 0001.jpg\n"},  // no separator: the line stays as typed
                     {"  x  \n", "x\n"},  // but for the spaces at its ends
                     {"IMG_3554 \nIMG_3555\u3000\n", "IMG_3554\nIMG_3555\n"},
                     {",,a,\n,\n", "a\n"},                 // empty names are none
                     {"照片 一，照片 二\n", "照片 一\n照片 二\n"},
                     {"", ""},
                     {"a\n\nb", "a\n\nb\n"},
                     // 亅 is 81 7C in GBK: its trail byte is "|" and is no separator.
                     {"亅,x", "亅\nx\n"},
                     {"🙂,𠮷", "🙂\n𠮷\n"},
                     // A numbering "N、" goes before the split: lines that count 1, 2, 3 ...
                     {"1、3551\n2、3552\n3、 3553\n", "3551\n3552\n3553\n"},
                     {"1、3551、3552\n\n2、3560\n", "3551\n3552\n\n3560\n"},
                     {"1、3551", "3551\n"},
                     // ... and no other: one line holding separators, or lines that do not count so.
                     {"1、2、3", "1\n2\n3\n"},
                     {"2、3551\n3、3552\n", "2\n3551\n3\n3552\n"},
                     {"1、3551\n3、3552\n", "1\n3551\n3\n3552\n"},
                     {"12、15\n", "12\n15\n"},
                 });
  ExpectRewrites(SplitAtSeparatorsAndSpaces, "spaces",
                 {
                     {"12 15\u300027  3551\n", "12\n15\n27\n3551\n"},
                     {"a, b;c\n", "a\nb\nc\n"},
                     {"single\n", "single\n"},
                     {"   \n", ""},
                 });
}

TEST(ListTidying, DroppingListMarkers) {
  ExpectRewrites(DropListMarkers, "markers",
                 {
                     {"1. 3551\n2. 3552\n", "3551\n3552\n"},
                     {"• 3551\n•3552\n", "3551\n3552\n"},
                     {"· a\n● b\n○ c\n■ d\n□ e\n◆ f\n▪ g\n★ h\n", "a\nb\nc\nd\ne\nf\ng\nh\n"},
                     {"- 3551\n* 3552\n> 3553\n", "3551\n3552\n3553\n"},
                     {"-3551\n*.jpg\n>x\n", "-3551\n*.jpg\n>x\n"},  // these bullets need a space after them
                     {"1) a\n1、 b\n(1) c\n（12） d\n①\te\n⑳ f\n", "a\nb\nc\nd\ne\nf\n"},
                     {"1.jpg\n2024.05 合同\n(1)x\n①x\n12\n", "1.jpg\n2024.05 合同\n(1)x\n①x\n12\n"},
                     {"   10.  IMG_0010  \n", "IMG_0010\n"},
                     {"1、3551\n2、3552\n", "3551\n3552\n"},
                     {"\u3000• 照片\n", "照片\n"},
                     {"() a\n(a) b\n", "() a\n(a) b\n"},
                 });
}

TEST(ListTidying, ExpandingRangesOfNumbers) {
  ExpectRewrites(ExpandNumberRanges, "ranges",
                 {
                     {"12-15\n", "12\n13\n14\n15\n"},
                     {"12~13\n12～13\n12–13\n12—13\n12至13\n",
                      "12\n13\n12\n13\n12\n13\n12\n13\n12\n13\n"},
                     {"0012-0015", "0012\n0013\n0014\n0015\n"},
                     {"8-11", "8\n9\n10\n11\n"},
                     {"0098-0101", "0098\n0099\n0100\n0101\n"},
                     {"IMG_0012-0014", "IMG_0012\nIMG_0013\nIMG_0014\n"},
                     {"IMG_0012-IMG_0014.jpg", "IMG_0012.jpg\nIMG_0013.jpg\nIMG_0014.jpg\n"},
                     {"img_0012 - IMG_0013.CR3", "img_0012.CR3\nimg_0013.CR3\n"},
                     {"12 至 13", "12\n13\n"},
                     {"7-7", "7\n"},
                     {"99999999999999999999-100000000000000000001",
                      "99999999999999999999\n100000000000000000000\n100000000000000000001\n"},
                     // Not wholly a range, or one too wide or backwards: left as it is.
                     {"20-12\n", "20-12\n"},
                     {"1-100001\n", "1-100001\n"},
                     {"2024-05-08\n", "2024-05-08\n"},
                     {"IMG_0012-DSC_0020\n", "IMG_0012-DSC_0020\n"},
                     {"12-20 合同\n", "12-20 合同\n"},
                     {"12-20.5\n", "12-20.5\n"},
                     {"12-\n-20\n12\n", "12-\n-20\n12\n"},
                     {"a-b\n", "a-b\n"},
                 });
  // The widest range allowed is expanded whole.
  const Text wide = ExpandNumberRanges("1-100000").value_or("");
  EXPECT_EQ(std::count(wide.begin(), wide.end(), '\n'), 100000);
  EXPECT_EQ(wide.substr(wide.size() - 8), "100000\r\n");
  // But not a box of ranges that together would make a list too long to hold.
  Text ranges;
  for (int i = 0; i < 11; ++i) ranges += "1-100000\r\n";
  EXPECT_FALSE(ExpandNumberRanges(ranges).has_value());
  EXPECT_FALSE(TidyNameList(ranges).has_value());
}

TEST(ListTidying, FullWidthRepeatsAndTheWholeTidying) {
  ExpectRewrites(FullWidthToHalfWidth, "full width",
                 {
                     {"１２\u3000ＩＭＧ＿００１２．ＪＰＧ\n", "12 IMG_0012.JPG\n"},
                     {"！～＄，；", "!~$,;\n"},
                     {"照片１🙂", "照片1🙂\n"},
                 });
  ExpectRewrites(DropRepeatedLines, "repeats",
                 {
                     {"IMG_1\nimg_1\nIMG_2\nIMG_1\n", "IMG_1\nIMG_2\n"},
                     {"a\n\nb\n\na\n", "a\n\nb\n\n"},
                     // Letters inside two-byte characters are no letters: 丄 (81 41) and 乤 (81 61) differ.
                     {"丄\n乤\n", "丄\n乤\n"},
                     {"照片\n照片\n", "照片\n"},
                 });
  ExpectRewrites(TidyNameList, "whole",
                 {
                     {"１２, 15，27\n", "12\n15\n27\n"},
                     {"1. 3551\n2. 3552\n3. 3551\n", "3551\n3552\n"},
                     {"• IMG_0012-0014.jpg\n", "IMG_0012.jpg\nIMG_0013.jpg\nIMG_0014.jpg\n"},
                     {"１２－１４、20\n", "12\n13\n14\n20\n"},
                     {"IMG 0012\n", "IMG 0012\n"},  // no space split
                     {"1、3551\n2、3552\n3、 3553\n", "3551\n3552\n3553\n"},
                     {"IMG_3554 \n", "IMG_3554\n"},
                 });
}

}  // namespace
}  // namespace tarnwell
