#include "platform/gbk.h"

#include <gtest/gtest.h>

#include "platform/gbk_literal.h"

namespace tarnwell {
namespace {

TEST(GbkLiteral, ConvertsUtf8SourceToGbkBytes) {
  EXPECT_EQ("正在"_gbk, "\xD5\xFD\xD4\xDA");
  EXPECT_EQ("搜索完毕！共搜索到文件"_gbk.size(), 22u);
  EXPECT_EQ("个."_gbk, "\xB8\xF6.");
  // The same literal hands out the same converted text every time.
  EXPECT_EQ(&"真"_gbk, &"真"_gbk);
}

TEST(GbkConversion, RoundTripsChineseAndAscii) {
  std::string utf8 = "D:\\照片\\昞 report.JPG";
  Text gbk = Utf8ToGbk(utf8);
  EXPECT_EQ(gbk, "D:\\\xD5\xD5\xC6\xAC\\\x95\x5C report.JPG");
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(GbkConversion, CharactersOutsideGbkBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToGbk("a\xE0\xB8\x81" "b"), "a?b");  // Thai ko kai has no GBK form
}

}  // namespace
}  // namespace tarnwell
