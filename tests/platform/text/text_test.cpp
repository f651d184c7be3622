#include "platform/text/text.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

// Two-byte GBK characters whose trail byte looks like ASCII.
const Text kTrailBackslash = "\x95\x5C";  // 昞: trail byte is "\"
const Text kTrailUpperA = "\x81\x41";     // 丄: trail byte is "A"
const Text kTrailLowerA = "\x81\x61";     // 乤: trail byte is "a"
const Text kFullWidthSpace = "\xA1\xA1";

TEST(TextCuts, CountsAreClippedToTheText) {
  EXPECT_EQ(RightText("abc", 5), "abc");
  EXPECT_EQ(RightText("abc", 0), "");
  EXPECT_EQ(RightText("abc", -3), "");
  EXPECT_EQ(RightText("abc", 1), "c");
  EXPECT_EQ(LeftText("abc", -1), "");
  EXPECT_EQ(LeftText("abc", 2), "ab");
  EXPECT_EQ(LeftText("abc", 99), "abc");
  EXPECT_EQ(LeftText("", 1), "");
  // Cuts are plain byte cuts, also through a two-byte character.
  EXPECT_EQ(RightText("x" + kTrailBackslash, 1), "\x5C");
  EXPECT_EQ(TextLength("a" + kTrailBackslash), 3);
}

TEST(TextEqualsAndJoin, ComparesBytesAndJoinsInOrder) {
  EXPECT_TRUE(TextEquals("", Text()));
  EXPECT_FALSE(TextEquals("A.txt", "a.txt"));
  EXPECT_FALSE(TextEquals("ab", "ab "));
  EXPECT_EQ(Concat(Text("C:"), "\\", std::string_view("a.txt"), Text()), "C:\\a.txt");
}

TEST(FindText, IgnoresAsciiCaseOnlyWhenAsked) {
  EXPECT_EQ(FindText("AbC.TXT", "abc.txt", true), 1);
  EXPECT_EQ(FindText("AbC.TXT", "abc.txt", false), -1);
  EXPECT_EQ(FindText("xxabc", "ABC", true), 3);
  EXPECT_EQ(FindText("ab", "abc", true), -1);
  // Bytes of Chinese characters never fold: 0xC1 is not 0xE1.
  EXPECT_EQ(FindText("\xC1\xA1", "\xE1\xA1", true), -1);
}

TEST(FindText, EmptySoughtIsFoundAtOneInAnyNonEmptyText) {
  EXPECT_EQ(FindText("x", "", false), 1);
  EXPECT_EQ(FindText("", "", true), -1);
  EXPECT_EQ(FindLastText("xyz", "", false), 1);
  EXPECT_EQ(FindText("", "a", false), -1);
}

TEST(FindText, NeverStartsAMatchOnATrailByte) {
  EXPECT_EQ(FindText(kTrailBackslash, "\\", false), -1);
  EXPECT_EQ(FindText(kTrailBackslash + "\\", "\\", false), 3);
  EXPECT_EQ(FindText(kTrailUpperA, "A", false), -1);
  // With case ignored, an "a" trail byte must not match "A" either.
  EXPECT_EQ(FindText(kTrailLowerA, "A", true), -1);
  EXPECT_EQ(FindText(kTrailLowerA + "a", "A", true), 3);
  // A match may still span into a two-byte character from a boundary.
  EXPECT_EQ(FindText("x" + kTrailUpperA, "x\x81", false), 1);
}

TEST(FindText, IgnoringCaseFoldsOnlyLettersOfTheirOwn) {
  // 乤 and 丄 differ only in a trail byte that looks like "a" and "A": different characters.
  EXPECT_EQ(FindText(kTrailLowerA, kTrailUpperA, true), -1);
  EXPECT_EQ(FindLastText("x" + kTrailLowerA, "X" + kTrailUpperA, true), -1);
  EXPECT_EQ(FindText("x" + kTrailUpperA + "b", "X" + kTrailUpperA + "B", true), 1);
  EXPECT_EQ(FindText(kTrailLowerA + "A", kTrailLowerA + "a", true), 1);
}

TEST(FindLastText, FindsTheRightmostBoundaryMatch) {
  EXPECT_EQ(FindLastText("C:\\a\\b.txt", "\\", false), 5);
  EXPECT_EQ(FindLastText("abc", "\\", false), -1);
  EXPECT_EQ(FindLastText("aaa", "aa", false), 2);  // overlapping occurrences
  // D:\昞.txt: the last real "\" is at 3, not the trail byte at 5.
  EXPECT_EQ(FindLastText("D:\\" + kTrailBackslash + ".txt", "\\", false), 3);
  EXPECT_EQ(FindLastText("ABab", "A", true), 3);
}

TEST(FindText, LeadByteAtTheEndEndsTheWalk) {
  EXPECT_EQ(FindText("ab\x81", "\x81", false), 3);
  EXPECT_EQ(FindLastText("\x81", "\x81", false), 1);
  EXPECT_EQ(FindText("\x81", "x", false), -1);
}

TEST(RemoveAllSpaces, DropsHalfAndFullWidthSpacesOnly) {
  EXPECT_EQ(RemoveAllSpaces(" \t "), "\t");
  EXPECT_EQ(RemoveAllSpaces(kFullWidthSpace + " " + kFullWidthSpace), "");
  EXPECT_EQ(RemoveAllSpaces(" a b "), "ab");
  EXPECT_EQ(RemoveAllSpaces("\r\n"), "\r\n");
  // A1 A1 spanning two characters is no full-width space: 0xB0 0xA1 | 0xA1 0xB0.
  EXPECT_EQ(RemoveAllSpaces("\xB0\xA1\xA1\xB0"), "\xB0\xA1\xA1\xB0");
  // A trail byte 0x20 is not a space.
  EXPECT_EQ(RemoveAllSpaces("\x81\x20"), "\x81\x20");
}

TEST(SplitText, FollowsTheLineBreakRules) {
  EXPECT_EQ(SplitText("", "\r\n"), TextList{});
  EXPECT_EQ(SplitText("x", ""), TextList{"x"});
  EXPECT_EQ(SplitText("a\r\n", "\r\n"), TextList{"a"});
  EXPECT_EQ(SplitText("a\r\nb\r\n", "\r\n"), (TextList{"a", "b"}));
  EXPECT_EQ(SplitText("a\r\n\r\nb", "\r\n"), (TextList{"a", "", "b"}));
  EXPECT_EQ(SplitText("\r\na", "\r\n"), (TextList{"", "a"}));
  EXPECT_EQ(SplitText("\r\n", "\r\n"), TextList{""});
  EXPECT_EQ(SplitText("a\nb\rc", "\r\n"), TextList{"a\nb\rc"});
  EXPECT_EQ(SplitText("a\r\n\r\n", "\r\n"), (TextList{"a", ""}));
}

TEST(SplitText, RecognisesSeparatorsOnlyAtCharacterBoundaries) {
  // The trail byte 0x5C of 昞 is no separator.
  EXPECT_EQ(SplitText("a" + kTrailBackslash + "b\\c", "\\"), (TextList{"a" + kTrailBackslash + "b", "c"}));
  EXPECT_EQ(SplitText(kTrailUpperA + "A", "A"), TextList{kTrailUpperA});
}

// A lead byte, a digit, a byte 0x81-0xFE and a digit are one character
// (🙂 here): no search starts inside it, no split cuts it, no byte of it is
// folded or dropped.
TEST(FourByteCharacters, AreOneCharacterToEveryPrimitive) {
  const Text smile = "\x95\x30\x85\x32";
  EXPECT_EQ(FindText(smile, "0", false), -1);
  EXPECT_EQ(FindText(smile + "0", "0", false), 5);
  EXPECT_EQ(FindText("a" + smile, "\x85\x32", true), -1);
  EXPECT_EQ(FindLastText(smile + smile, smile, true), 5);
  EXPECT_EQ(SplitText("a" + smile + "b", "\x30\x85"), TextList{"a" + smile + "b"});
  EXPECT_EQ(SplitText("\x81\x30" "2" + smile, "2"), (TextList{"\x81\x30", smile}));  // not four bytes: 2 is no lead
  // A1 A1 inside a four-byte character is no full-width space; after two bytes that make none, it is.
  EXPECT_EQ(RemoveAllSpaces("\x81\x30\xA1\x31 "), "\x81\x30\xA1\x31");
  EXPECT_EQ(RemoveAllSpaces("\x81\x30\xA1\xA1"), "\x81\x30");
  EXPECT_EQ(CharacterLength("\x81\x30\x81", 0), 2u);
  EXPECT_EQ(CharacterLength("\x80\x39\xFE\x30", 0), 4u);
  EXPECT_EQ(CharacterLength("\x81\x30\xFF\x30", 0), 2u);
}

TEST(NumberToText, WritesPlainDecimal) {
  EXPECT_EQ(NumberToText(0), "0");
  EXPECT_EQ(NumberToText(12), "12");
  EXPECT_EQ(NumberToText(-3), "-3");
  EXPECT_EQ(NumberToText(2147483647), "2147483647");
  EXPECT_EQ(NumberToText(-2147483647 - 1), "-2147483648");
}

TEST(TextToBytes, KeepsEveryByteAndAddsNone) {
  auto bytes = TextToBytes("a\r\n\xD5\xFD");
  EXPECT_EQ(bytes, (std::vector<unsigned char>{'a', '\r', '\n', 0xD5, 0xFD}));
  EXPECT_TRUE(TextToBytes("").empty());
}

}  // namespace
}  // namespace tarnwell
