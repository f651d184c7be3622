#include "platform/text/ini_file.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

std::optional<Text> Find(std::string_view ini, std::string_view key) { return FindIniValue(ini, "zhuce", key); }

TEST(IniRead, FollowsTheWindowsProfileRules) {
  const Text ini =
      "; settings\r\n"
      "top=outside any section\r\n"
      "[other]\r\n"
      "path=wrong section\r\n"
      "  [ ZhuCe ]  \r\n"
      "  Path  =  D:\\x y  \r\n"
      "quoted=\"  padded  \"\r\n"
      "single='a'\r\n"
      "mixed=\"a'\r\n"
      "lone=\"\r\n"
      "empty=\r\n"
      "path=second one loses\r\n"
      "novalue\r\n"
      "; commented=1\r\n"
      "[zhuce]\r\n"
      "later=second section of that name\r\n";
  EXPECT_EQ(Find(ini, "PATH"), "D:\\x y");
  EXPECT_EQ(Find(ini, " path "), "D:\\x y");
  EXPECT_EQ(FindIniValue(ini, "  zhuce", "path"), "D:\\x y");
  EXPECT_EQ(Find(ini, "quoted"), "  padded  ");
  EXPECT_EQ(Find(ini, "single"), "a");
  EXPECT_EQ(Find(ini, "mixed"), "\"a'");
  EXPECT_EQ(Find(ini, "lone"), "\"");
  EXPECT_EQ(Find(ini, "empty"), "");
  EXPECT_EQ(Find(ini, "top"), std::nullopt);
  EXPECT_EQ(Find(ini, "novalue"), std::nullopt);
  EXPECT_EQ(Find(ini, "commented"), std::nullopt);
  EXPECT_EQ(Find(ini, "; commented"), std::nullopt);
  EXPECT_EQ(Find(ini, "later"), std::nullopt);
  EXPECT_EQ(FindIniValue(ini, "other", "path"), "wrong section");
  EXPECT_EQ(FindIniValue(ini, "missing", "path"), std::nullopt);
}

TEST(IniRead, DoubleByteNamesMatchByteForByte) {
  // "\xB0\x5D" and "\xB0\x41" are characters whose trail bytes look like "]" and "A".
  const Text ini = Concat("[a\xB0\x5D]\r\n", "k\xB0\x41=upper\r\n", "[b\xB0\x5D\r\n", "x=not a section\r\n",
                          "[", "zhuce"_gbk, "]\r\n", "精确"_gbk, "=", "假"_gbk, "\r\n");
  EXPECT_EQ(FindIniValue(ini, "A\xB0\x5D", "K\xB0\x41"), "upper");
  EXPECT_EQ(FindIniValue(ini, "a\xB0\x5D", "k\xB0\x61"), std::nullopt);  // a trail byte is no letter
  EXPECT_EQ(FindIniValue(ini, "a\xB0\x5D", "x"), "not a section");
  EXPECT_EQ(FindIniValue(ini, "zhuce"_gbk, "精确"_gbk), "假"_gbk);
}

TEST(IniRead, AnyLineEndAndNoFinalLineBreak) {
  EXPECT_EQ(Find("[zhuce]\na=1\nb=2", "b"), "2");
  EXPECT_EQ(Find("[zhuce]\ra=1\rb=2\r", "a"), "1");
  EXPECT_EQ(Find("[zhuce]\r\na=1\nb=2\rc=3", "c"), "3");
  EXPECT_EQ(Find("\xEF\xBB\xBF[zhuce]\r\na=1\r\n", "a"), "1");  // byte-order mark of an editor
  EXPECT_EQ(Find("", "a"), std::nullopt);
  EXPECT_EQ(Find("[zhuce]", "a"), std::nullopt);
}

TEST(IniWrite, KeepsEveryOtherByte) {
  const Text before =
      "; keep me\r\n"
      "[Other]\r\n"
      "x = 1 \r\n"
      "\r\n"
      "[ZHUCE]\r\n"
      "  Path = old \r\n"
      ";tail comment\r\n"
      "\r\n"
      "[last]\r\n"
      "y=2";
  EXPECT_EQ(SetIniValue(before, "zhuce", "path", "new"),
            "; keep me\r\n[Other]\r\nx = 1 \r\n\r\n[ZHUCE]\r\nPath=new\r\n;tail comment\r\n\r\n[last]\r\ny=2");
  EXPECT_EQ(SetIniValue(before, "zhuce", "mode", "1"),
            "; keep me\r\n[Other]\r\nx = 1 \r\n\r\n[ZHUCE]\r\n  Path = old \r\n;tail comment\r\nmode=1\r\n"
            "\r\n[last]\r\ny=2");
  EXPECT_EQ(SetIniValue(before, "last", "z", "3"), Concat(before, "\r\nz=3\r\n"));
  EXPECT_EQ(SetIniValue(before, " new ", " k ", ""), Concat(before, "\r\n[new]\r\nk=\r\n"));
}

TEST(IniWrite, CreatesAndFollowsTheFilesLineEnds) {
  EXPECT_EQ(SetIniValue("", "zhuce", "k", "v"), "[zhuce]\r\nk=v\r\n");
  EXPECT_EQ(SetIniValue("[zhuce]", "zhuce", "k", "v"), "[zhuce]\r\nk=v\r\n");
  EXPECT_EQ(SetIniValue("[zhuce]\na=1\n", "zhuce", "k", "v"), "[zhuce]\na=1\nk=v\n");
  EXPECT_EQ(SetIniValue("[x]\ra=1", "zhuce", "k", "v"), "[x]\ra=1\r[zhuce]\rk=v\r");
  EXPECT_EQ(SetIniValue("\xEF\xBB\xBF", "zhuce", "k", "v"), "\xEF\xBB\xBF[zhuce]\r\nk=v\r\n");
  // Writing what is there already changes nothing.
  Text once = SetIniValue("[zhuce]\r\n", "zhuce", "精确"_gbk, "假"_gbk);
  EXPECT_EQ(once, Concat("[zhuce]\r\n", "精确"_gbk, "=", "假"_gbk, "\r\n"));
  EXPECT_EQ(SetIniValue(once, "zhuce", "精确"_gbk, "假"_gbk), once);
}

TEST(IniWrite, RoundTripsOverGarbageAndBinaryText) {
  std::mt19937 random(20240611);
  const char alphabet[] = "[]=;\"' \t\r\nzhuceZHUCEkK\xB0\x5D\x81\xEF\xBB\xBF";
  for (int round = 0; round < 3000; ++round) {
    Text ini;
    std::size_t length = random() % 200;
    bool binary = round % 3 == 0;
    for (std::size_t i = 0; i < length; ++i) {
      ini.push_back(binary ? static_cast<char>(random() & 0xFF) : alphabet[random() % (sizeof alphabet - 1)]);
    }
    std::optional<Text> otherBefore = FindIniValue(ini, "other", "x");
    Text edited = SetIniValue(ini, "zhuce", "k", "v1");
    ASSERT_EQ(FindIniValue(edited, "zhuce", "k"), "v1") << testing::PrintToString(ini);
    ASSERT_EQ(SetIniValue(edited, "zhuce", "k", "v1"), edited);
    ASSERT_EQ(FindIniValue(edited, "other", "x"), otherBefore) << testing::PrintToString(ini);
  }
}

TEST(IniWrite, LargeGarbageStaysLinear) {
  Text ini(10 << 20, '[');  // one 10 MB line that never closes its bracket
  Text edited = SetIniValue(ini, "zhuce", "k", "v");
  EXPECT_EQ(edited.size(), ini.size() + 2 + 9 + 5);
  EXPECT_EQ(FindIniValue(edited, "zhuce", "k"), "v");
}

}  // namespace
}  // namespace tarnwell
