#include "search/names_box.h"

#include <gtest/gtest.h>

#include "platform/gbk_literal.h"

namespace tarnwell {
namespace {

TEST(NamesBox, DropsLinesOfSpacesAndKeepsEveryOtherLineAsTyped) {
  RebuiltNamesBox box = RebuildNamesBox("a\r\n\r\n   \r\nb");
  EXPECT_EQ(box.content, "a\r\nb\r\n");
  EXPECT_EQ(box.appended, (TextList{"a\r\n", "b\r\n"}));
  EXPECT_EQ(box.names, (NameList{"a", "b"}));

  Text fullWidthSpaces = "　　"_gbk;
  box = RebuildNamesBox(" x \r\n" + fullWidthSpaces + "\r\n\t\r\n" + fullWidthSpaces + "y");
  EXPECT_EQ(box.names, (NameList{" x ", "\t", fullWidthSpaces + "y"}));
  EXPECT_EQ(box.content, " x \r\n\t\r\n" + fullWidthSpaces + "y\r\n");
}

TEST(NamesBox, BlankInputLeavesNothing) {
  for (const char* content : {"", "\r\n", "  \r\n \r\n", "\r\n\r\n"}) {
    RebuiltNamesBox box = RebuildNamesBox(content);
    EXPECT_TRUE(box.content.empty()) << content;
    EXPECT_TRUE(box.names.empty()) << content;
    EXPECT_TRUE(box.appended.empty()) << content;
  }
}

TEST(NamesBox, LoneLineBreakCharactersStayInsideTheirLine) {
  RebuiltNamesBox box = RebuildNamesBox("a\nb\r\nc\r\r\n");
  EXPECT_EQ(box.names, (NameList{"a\nb", "c\r"}));
  // A CR right after a lead byte is that character's trail byte, so it ends no line.
  box = RebuildNamesBox(Text("x\x81") + "\r\ny");
  EXPECT_EQ(box.names, (NameList{Text("x\x81") + "\r\ny"}));
}

}  // namespace
}  // namespace tarnwell
