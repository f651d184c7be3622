#include "search/names/names_box.h"

#include <gtest/gtest.h>

#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

// The wanted names are the rebuilt box split at CR LF, as the search splits it.
NameList NamesOf(const Text& box) { return SplitText(box, "\r\n"); }

TEST(NamesBox, DropsLinesOfSpacesAndKeepsEveryOtherLineAsTyped) {
  Text box = RebuildNamesBox("a\r\n\r\n   \r\nb");
  EXPECT_EQ(box, "a\r\nb\r\n");
  EXPECT_EQ(NamesOf(box), (NameList{"a", "b"}));

  Text fullWidthSpaces = "　　"_gbk;
  box = RebuildNamesBox(" x \r\n" + fullWidthSpaces + "\r\n\t\r\n" + fullWidthSpaces + "y");
  EXPECT_EQ(NamesOf(box), (NameList{" x ", "\t", fullWidthSpaces + "y"}));
  EXPECT_EQ(box, " x \r\n\t\r\n" + fullWidthSpaces + "y\r\n");
}

TEST(NamesBox, BlankInputLeavesNothing) {
  for (const char* content : {"", "\r\n", "  \r\n \r\n", "\r\n\r\n"}) {
    EXPECT_TRUE(RebuildNamesBox(content).empty()) << content;
  }
}

TEST(NamesBox, LoneLineBreakCharactersStayInsideTheirLine) {
  EXPECT_EQ(NamesOf(RebuildNamesBox("a\nb\r\nc\r\r\n")), (NameList{"a\nb", "c\r"}));
  // A CR right after a lead byte is that character's trail byte, so it ends no line.
  EXPECT_EQ(NamesOf(RebuildNamesBox(Text("x\x81") + "\r\ny")), (NameList{Text("x\x81") + "\r\ny"}));
}

}  // namespace
}  // namespace tarnwell
