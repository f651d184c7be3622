#include <gtest/gtest.h>

#include "ui/name_list_file.h"

namespace tarnwell {
namespace {

TEST(NameListFile, LinesEndAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (TextList{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (TextList{"a", "", "b"}));
  EXPECT_EQ(SplitLines("\n\r"), (TextList{"", ""}));
  EXPECT_EQ(SplitLines(""), TextList{});
}

TEST(NameListFile, CsvFirstColumnUnderstandsQuoting) {
  EXPECT_EQ(CsvFirstColumn("name,size\r\nIMG_1.jpg,10\r\nIMG_2.jpg\r\n"),
            (TextList{"name", "IMG_1.jpg", "IMG_2.jpg"}));
  // Commas, doubled quotes and line breaks inside quotes; quoted later fields with line breaks.
  EXPECT_EQ(CsvFirstColumn("\"a,b\",x\n\"say \"\"hi\"\"\",\"two\nlines\"\n\"c\r\nd\",y"),
            (TextList{"a,b", "say \"hi\"", "c\r\nd"}));
  // Empty first fields, a record without line break at the end, an unclosed quote.
  EXPECT_EQ(CsvFirstColumn(",x\n\"\"\nlast"), (TextList{"", "", "last"}));
  EXPECT_EQ(CsvFirstColumn("\"open,\nstill"), TextList{"open,\nstill"});
  // Lenient: a quote inside an unquoted field, text after a closing quote.
  EXPECT_EQ(CsvFirstColumn("a\"b,c\n\"q\"tail,d"), (TextList{"a\"b", "qtail"}));
}

TEST(NameListFile, NamesComeFromEveryEncodingAndSkipWhatCannotBeSpelled) {
  const Text zhao = "\xD5\xD5";  // 照 in the program's text
  // UTF-8 with a BOM, blank lines left out.
  EXPECT_EQ(NamesInListFile("\xEF\xBB\xBF\xE7\x85\xA7.jpg\r\n\r\nb.txt\n", NameListFormat::Lines),
            (TextList{zhao + ".jpg", "b.txt"}));
  // UTF-16 little- and big-endian.
  EXPECT_EQ(NamesInListFile(std::string("\xFF\xFE\x67\x71\r\0\n\0x\0", 10), NameListFormat::Lines),
            (TextList{zhao, "x"}));
  EXPECT_EQ(NamesInListFile(std::string("\xFE\xFF\x71\x67\0\n\0x", 8), NameListFormat::Lines),
            (TextList{zhao, "x"}));
  // Not valid UTF-8: GBK, bytes kept as they are.
  EXPECT_EQ(NamesInListFile("\xD5\xD5.jpg\r\nok", NameListFormat::Lines), (TextList{zhao + ".jpg", "ok"}));
  // A character beyond GBK takes its four-byte code; a name with a NUL is left out.
  EXPECT_EQ(NamesInListFile("a\xED\x95\x9C.jpg\nkept\n", NameListFormat::Lines),
            (TextList{"a\x83\x36\x84\x33.jpg", "kept"}));
  EXPECT_EQ(NamesInListFile(std::string("x\0y\nz", 5), NameListFormat::Lines), TextList{"z"});
  // CSV in UTF-8 with a BOM: the first column, a quoted one with a comma and a line break.
  EXPECT_EQ(NamesInListFile("\xEF\xBB\xBF\"a,1.jpg\",3\r\n\"\xE7\x85\xA7\r\nb\",4\r\n,5\r\n", NameListFormat::Csv),
            (TextList{"a,1.jpg", zhao, "b"}));
}

TEST(NameListFile, TheAdditionStartsOnANewLine) {
  EXPECT_EQ(NamesBoxAddition("", {"a", "b"}), "a\r\nb\r\n");
  EXPECT_EQ(NamesBoxAddition("old", {"a"}), "\r\na\r\n");
  EXPECT_EQ(NamesBoxAddition("old\r\n", {"a"}), "a\r\n");
  EXPECT_EQ(NamesBoxAddition("old", {}), "");
}

}  // namespace
}  // namespace tarnwell
