#include <gtest/gtest.h>

#include "platform/text/gb18030_utf8.h"
#include "platform/text/text_decoding.h"

namespace tarnwell {
namespace {

TEST(TextDecoding, ByteOrderMarksDecideAndValidUtf8ComesBeforeGbk) {
  auto detect = [](std::string_view bytes) { return DetectEncoding(bytes); };
  EXPECT_EQ(detect("\xEF\xBB\xBF" "abc").encoding, TextEncoding::Utf8);
  EXPECT_EQ(detect("\xEF\xBB\xBF" "abc").body, "abc");
  EXPECT_EQ(detect("\xFF\xFE" "a\0").encoding, TextEncoding::Utf16LittleEndian);
  EXPECT_EQ(detect(std::string_view("\xFE\xFF\0a", 4)).body, std::string_view("\0a", 2));
  EXPECT_EQ(detect("\xFE\xFF").encoding, TextEncoding::Utf16BigEndian);
  EXPECT_EQ(detect("plain ascii").encoding, TextEncoding::Utf8);
  EXPECT_EQ(detect("").encoding, TextEncoding::Utf8);
  EXPECT_EQ(detect("\xE7\x85\xA7\xE7\x89\x87").encoding, TextEncoding::Utf8);  // 照片 in UTF-8
  EXPECT_EQ(detect("\xD5\xD5\xC6\xAC").encoding, TextEncoding::Gb18030);          // 照片 in GBK
  EXPECT_EQ(detect("\xD5\xD5\xC6\xAC").body, "\xD5\xD5\xC6\xAC");
}

TEST(TextDecoding, Utf8ValidationRefusesEveryMalformedSequence) {
  for (std::string_view good : {"a", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xED\x9F\xBF", "\xEF\xBF\xBF",
                                "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_TRUE(IsValidUtf8(good)) << good;
  }
  for (std::string_view bad : {"\x80", "\xC0\x80", "\xC1\xBF", "\xC2", "\xC2\x41", "\xE0\x80\x80", "\xED\xA0\x80",
                               "\xEF\xBF", "\xF0\x80\x80\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF",
                               "ok\xE7\x85"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << ::testing::PrintToString(std::string(bad));
  }
}

TEST(TextDecoding, Utf16BothOrdersSurrogatePairsAndLoneHalves) {
  // "a照" and U+1F600 (a pair), little-endian.
  const std::string little("a\0\x67\x71\x3D\xD8\x00\xDE", 8);
  EXPECT_EQ(Utf16ToUtf8(little, false), "a\xE7\x85\xA7\xF0\x9F\x98\x80");
  const std::string big("\0a\x71\x67\xD8\x3D\xDE\x00", 8);
  EXPECT_EQ(Utf16ToUtf8(big, true), "a\xE7\x85\xA7\xF0\x9F\x98\x80");
  // A high half with no low one, a low half alone, and an odd last byte.
  EXPECT_EQ(Utf16ToUtf8(std::string("\x3D\xD8" "b\0" "\x00\xDC" "c", 7), false),
            "\xEF\xBF\xBD" "b" "\xEF\xBF\xBD");
  EXPECT_EQ(BodyAsUtf8OrGb18030(DetectEncoding(std::string("\xFF\xFE" "x\0", 4))), "x");
}

TEST(TextDecoding, OnlyAWholeConversionBecomesProgramText) {
  EXPECT_EQ(Utf8ToProgramText("\xE7\x85\xA7\xE7\x89\x87.jpg"), std::optional<Text>("\xD5\xD5\xC6\xAC.jpg"));
  EXPECT_EQ(Utf8ToProgramText("plain"), std::optional<Text>("plain"));
  // Hangul is no GBK character: it takes its four-byte GB18030 code.
  EXPECT_EQ(Utf8ToProgramText("a\xED\x95\x9C.jpg"), std::optional<Text>("a\x83\x36\x84\x33.jpg"));
}

}  // namespace
}  // namespace tarnwell
