#include "platform/text/csv_writer.h"

#include <gtest/gtest.h>

#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

TEST(CsvWriter, QuotesOnlyFieldsThatNeedItAndConvertsToUtf8) {
  CsvWriter csv;
  EXPECT_EQ(csv.Bytes(), kBom);  // an empty file is the mark alone
  csv.Field("plain").Field("a,b").Field("say \"hi\"").Field("two\r\nlines").Field("cr\r").Field("lf\n").EndLine();
  csv.Field("").Field("照片 1.jpg"_gbk).Field("").EndLine();
  csv.Field("一,二"_gbk).EndLine();
  EXPECT_EQ(csv.Bytes(), kBom +
                             "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\"cr\r\",\"lf\n\"\r\n"
                             ",\xE7\x85\xA7\xE7\x89\x87 1.jpg,\r\n"
                             "\"\xE4\xB8\x80,\xE4\xBA\x8C\"\r\n");
}

}  // namespace
}  // namespace tarnwell
