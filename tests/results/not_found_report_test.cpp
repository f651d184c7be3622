#include "results/not_found_report.h"

#include <gtest/gtest.h>

#include "platform/text/gb18030_utf8.h"
#include "tests/results/fake_host.h"
#include "tests/support/result_rows.h"

namespace tarnwell {
namespace {

ResultList Rows(std::initializer_list<const char*> paths) {
  ResultList list;
  for (const char* path : paths) AppendPath(list, path);
  return list;
}

TEST(NotFoundReport, ListsOnlyTheLinesNoRowHolds) {
  ResultList list = Rows({"C:\\x\\README.TXT", "C:\\y\\photo.jpg"});
  EXPECT_EQ(BuildNotFoundReport("readme\r\nsetup.exe\r\n", list), "setup.exe\r\n");
  // Part of a name counts as found; a repeated missing line stands twice.
  ResultList x = Rows({"C:\\xabcx.txt"});
  EXPECT_EQ(BuildNotFoundReport("abc\r\nzz\r\nzz", x), "zz\r\nzz\r\n");
}

TEST(NotFoundReport, EmptyLinesDependOnWhetherAnyRowExists) {
  EXPECT_EQ(BuildNotFoundReport("a\r\n\r\nb\r\n", Rows({"C:\\a_b"})), "");
  EXPECT_EQ(BuildNotFoundReport("\r\nq\r\n", ResultList()), "\r\nq\r\n");
  EXPECT_EQ(BuildNotFoundReport("", Rows({"C:\\a"})), "");
}

TEST(NotFoundReport, FolderPartsDoNotCountButTheSeparatorSpansNames) {
  ResultList list = Rows({"C:\\secret\\a.txt", "D:\\b.doc"});
  EXPECT_EQ(BuildNotFoundReport("secret\r\n", list), "secret\r\n");
  EXPECT_EQ(BuildNotFoundReport("txt\\b\r\n", list), "");
}

TEST(NotFoundReport, MatchesStartOnlyOnCharacterBoundaries) {
  // 昞 is 95 5C: its trail byte is no "\" and no match starts on it.
  ResultList list = Rows({"C:\\\x95\x5C" "a.txt"});
  EXPECT_EQ(BuildNotFoundReport("\\a\r\n\x95\x5C\r\nA.TXT\r\n", list), "\\a\r\n");
}

TEST(NotFoundReport, WritesGbkBytesBesideTheProgramAndOpensThem) {
  FakeHost host;
  host.namesBox = "readme\r\n" + Utf8ToGb18030("照片") + "\r\n";
  host.Put("C:\\prog\\" + Utf8ToGb18030("未搜到文件列表.txt"), std::string(500, 'o'));  // a longer old report
  ResultList list = Rows({"C:\\README"});
  NotFoundReport(list, host);
  const Text path = "C:\\prog\\" + Utf8ToGb18030("未搜到文件列表.txt");
  EXPECT_EQ(host.Content(path), "\xD5\xD5\xC6\xAC\r\n");
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0], path);
  EXPECT_TRUE(host.messages.empty());
}

TEST(NotFoundReport, AFailedWriteIsToldAndOpensNothing) {
  FakeHost host;
  host.writesFail = true;
  host.namesBox = "a\r\n";
  NotFoundReport(ResultList(), host);
  EXPECT_TRUE(host.opened.empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].first, Utf8ToGb18030("未搜到文件列表写入失败！"));
}

}  // namespace
}  // namespace tarnwell
