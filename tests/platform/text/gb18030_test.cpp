#include "platform/text/gb18030_utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "platform/text/gb18030.h"
#include "platform/text/gbk_literal.h"
#include "tests/fuzz/gb18030_oracle.h"

namespace tarnwell {
namespace {

TEST(GbkLiteral, ConvertsUtf8SourceToGbkBytes) {
  EXPECT_EQ("正在"_gbk, "\xD5\xFD\xD4\xDA");
  EXPECT_EQ("搜索完毕！共搜索到文件"_gbk.size(), 22u);
  EXPECT_EQ("个."_gbk, "\xB8\xF6.");
  // The same literal hands out the same converted text every time.
  EXPECT_EQ(&"真"_gbk, &"真"_gbk);
}

TEST(Gb18030Conversion, RoundTripsChineseAndAscii) {
  std::string utf8 = "D:\\照片\\昞 report.JPG";
  Text gbk = Utf8ToGb18030(utf8);
  EXPECT_EQ(gbk, "D:\\\xD5\xD5\xC6\xAC\\\x95\x5C report.JPG");
  EXPECT_EQ(Gb18030ToUtf8(gbk), utf8);
}

std::string Utf32(char32_t c) { return std::string(reinterpret_cast<const char*>(&c), 4); }

Utf16 Units(char32_t c) {
  if (c < 0x10000) return Utf16(1, static_cast<Utf16Unit>(c));
  return {static_cast<Utf16Unit>(0xD800 + ((c - 0x10000) >> 10)), static_cast<Utf16Unit>(0xDC00 + (c & 0x3FF))};
}

// Every character of the Basic Multilingual Plane and thousands beyond it:
// one character of the program's texts each, read back exactly, and the
// bytes GB18030 gives it, except where Windows' code page 936 differs:
// there code page 936 keeps its private-use character on the two-byte code,
// and the character GB18030 puts on that code takes the four-byte code
// GB18030 gives the private-use one (or, beyond the plane, its own).
TEST(Gb18030Conversion, AgreesWithTheCLibraryWhereverCodePage936AgreesWithGb18030) {
  fuzz::Gb18030Oracle oracle;
  fuzz::Iconv toGb18030("GB18030", "UTF-32LE");
  int differing = 0;
  auto check = [&](char32_t c) {
    const Text text = Utf16ToText(Units(c));
    ASSERT_EQ(TextToUtf16(text), Units(c)) << std::hex << static_cast<std::uint32_t>(c);
    ASSERT_EQ(CharacterLength(text, 0), text.size()) << std::hex << static_cast<std::uint32_t>(c);
    ASSERT_TRUE(oracle.Agrees(c, text)) << std::hex << static_cast<std::uint32_t>(c);
    differing += toGb18030(Utf32(c)) != text;
  };
  for (char32_t c = 0x80; c < 0x10000; ++c) {
    if (c < 0xD800 || c > 0xDFFF) check(c);
  }
  std::mt19937 random(18030);
  for (int i = 0; i < 20000; ++i) check(0x10000 + random() % 0x100000);
  // The ends of the planes, 𠮷, 🙂, and those the C library puts on two-byte codes of code page 936's places.
  for (char32_t c : {0x10000u, 0x10FFFFu, 0x20BB7u, 0x1F642u, 0x20087u, 0x20089u, 0x200CCu, 0x215D7u, 0x2298Fu, 0x241FEu}) {
    check(c);
  }
  // The 106 places of code page 936: both characters of each differ at most.
  EXPECT_LE(differing, 2 * 106);
}

// Every byte text comes back from UTF-16 byte for byte, whatever it holds:
// bytes that start no character (a lone lead byte before a line break, 0x80
// and 0xFF, four-byte codes of no character) are kept, never a "?".
TEST(Gb18030Conversion, AnyBytesComeBackExactly) {
  for (std::string_view bytes : {std::string_view("a\x81\r\nb"), std::string_view("\x80\xFF\x81"),
                                 std::string_view("\x84\x31\xA4\x39\x84\x31\xA5\x30"),  // U+FFFF, then no character
                                 std::string_view("\xE3\x32\x9A\x36\xE3\x32\x9A\x35"),  // beyond U+10FFFF, U+10FFFF
                                 std::string_view("\x81\x30\x81"), std::string_view("\xFE\x39\xFE\x39"),
                                 std::string_view("\x81\x35\xF4\x37")}) {  // U+1E3F
    Utf16 wide = TextToUtf16(bytes);
    EXPECT_EQ(Utf16ToText(wide), bytes);
    EXPECT_EQ(std::count(wide.begin(), wide.end(), u'?'), 0);
  }
  EXPECT_EQ(TextToUtf16("a\x81\r\n"), (Utf16{u'a', 0xDC81, u'\r', u'\n'}));
  std::mt19937 random(936);
  const std::string_view alphabet = "a?.\\\x30\x35\x39\x80\x81\x84\x95\xA1\xA8\xD5\xE3\xFE\xFF";
  for (int i = 0; i < 200000; ++i) {
    std::string bytes;
    for (auto n = 1 + random() % 12; n > 0; --n) {
      bytes.push_back(random() % 4 == 0 ? static_cast<char>(1 + random() % 255) : alphabet[random() % alphabet.size()]);
    }
    Utf16 wide = TextToUtf16(bytes);
    ASSERT_EQ(Utf16ToText(wide), bytes) << i;
  }
}

// Every UTF-16 string comes back unit for unit, lone surrogates too: a file
// whose name holds one is still acted on by its own name, and never by the
// name of another file whose Text would read the same.
TEST(Gb18030Conversion, AnyUtf16ComesBackExactlyAndNamesNoOtherFile) {
  const Utf16 loneByte = {0xDC81, u'@'};  // 0x81 0x40 would read as 丂
  const Text text = Utf16ToText(loneByte);
  EXPECT_NE(text, "\x81@");
  EXPECT_EQ(TextToUtf16(text), loneByte);
  EXPECT_EQ(TextToUtf16(Utf16ToText(Utf16{0xDC81})), Utf16{0xDC81});
  std::mt19937 random(54936);
  const Utf16 alphabet = {u'a', u'?', 0x4E02, 0x5F20, 0x00F1, 0x4DAE, 0xE863, 0x20AC, 0xF8F5, 0xD83D, 0xDE42,
                          0xDC81, 0xDCFF, 0xD800, 0xDC00, 0xE7C7, 0x1E3F, 0x0E01};
  for (int i = 0; i < 100000; ++i) {
    Utf16 wide;
    for (int n = 1 + random() % 8; n > 0; --n) {
      wide.push_back(random() % 5 == 0 ? static_cast<Utf16Unit>(1 + random() % 0xFFFF) : alphabet[random() % alphabet.size()]);
    }
    const Text converted = Utf16ToText(wide);
    ASSERT_EQ(TextToUtf16(converted), wide) << i;
    ASSERT_EQ(std::count(converted.begin(), converted.end(), '?'), std::count(wide.begin(), wide.end(), u'?')) << i;
  }
}

TEST(Gb18030Conversion, Utf8ComesBackExactlyBothWays) {
  EXPECT_EQ(Gb18030ToUtf8(Utf8ToGb18030("张🙂 김치 año 𠮷 䶮")), "张🙂 김치 año 𠮷 䶮");
  EXPECT_EQ(Utf8ToGb18030("🙂"), "\x95\x30\x85\x32");
  EXPECT_EQ(Utf8ToGb18030("ñ"), "\x81\x30\x8A\x39");
  EXPECT_EQ(Utf8ToGb18030("䶮"), "\x83\x36\xCF\x39");  // GB18030's four-byte code of U+E863, which code page 936 holds at FE 9F
  for (std::string_view bytes : {std::string_view("\xC3"), std::string_view("a\xC3\xA9\xFF"), std::string_view("\xED\xA0\x80")}) {
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(bytes)), bytes);
  }
  const Utf16 loneBytes = {0xDCC3, 0xDCA9};  // as raw bytes they would read as é
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(loneBytes)), loneBytes);
}

}  // namespace
}  // namespace tarnwell
