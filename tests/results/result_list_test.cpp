#include "results/result_list.h"
#include "tests/support/result_rows.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarnwell {
namespace {

TEST(ResultList, RowsKeepTheirPathsTicksAndOrder) {
  ResultList list;
  list.Append("C:\\a", "x.txt");
  list.Append("C:\\a", "y.txt");
  list.Append("D:\\", "z");          // a root typed with "\" gives two separators
  AppendPath(list, "E:\\\x95\x5C.jpg");  // file name whose character ends in 0x5C
  ASSERT_EQ(list.RowCount(), 4);
  EXPECT_EQ(list.RowText(0), "C:\\a\\x.txt");
  EXPECT_EQ(list.RowText(2), "D:\\\\z");
  EXPECT_EQ(list.RowFileName(3), "\x95\x5C.jpg");
  EXPECT_EQ(list.RowText(3), "E:\\\x95\x5C.jpg");
  EXPECT_EQ(list.RowText(4), "");
  EXPECT_EQ(list.RowText(-1), "");

  EXPECT_FALSE(list.IsChecked(1));
  list.SetChecked(1, true);
  list.SetChecked(9, true);  // no such row: ignored
  EXPECT_TRUE(list.IsChecked(1));
  EXPECT_FALSE(list.IsChecked(9));
}

TEST(ResultList, LongPathsAreReadBackWhole) {
  ResultList list;
  Text folder = "C:\\" + Text(1990, 'f');
  list.Append(folder, "name.txt");
  EXPECT_EQ(list.RowText(0).size(), folder.size() + 9);
}

TEST(ResultList, TextsSpanningManyStoreBlocksReadBackWhole) {
  // Enough rows to fill several blocks of the text store, names of every
  // length up to a few thousand bytes, and one name longer than a block.
  ResultList list;
  std::vector<Text> expected;
  for (int i = 0; i < 4000; ++i) {
    Text folder = "C:\\d" + std::to_string(i / 7);
    Text name = Text(static_cast<std::size_t>(i * 37 % 3001), static_cast<char>('a' + i % 26)) + std::to_string(i);
    list.Append(folder, name);
    expected.push_back(folder + "\\" + name);
    if (i == 2000) {
      Text huge = "C:\\" + Text(TextBlocks::kBlockSize + 5, 'h');
      AppendPath(list, huge);
      expected.push_back(huge);
    }
  }
  ASSERT_EQ(list.RowCount(), static_cast<int>(expected.size()));
  for (int i = 0; i < list.RowCount(); ++i) ASSERT_EQ(list.RowText(i), expected[static_cast<std::size_t>(i)]) << i;
}

TEST(ResultList, RemovingRowsByIdSurvivesEarlierRemovalsAndClears) {
  ResultList list;
  for (int i = 0; i < 8; ++i) AppendPath(list, "C:\\f" + std::to_string(i));
  std::vector<ResultList::RowId> ticked = {list.IdOf(2), list.IdOf(5), list.IdOf(6)};
  list.RemoveRows(ticked);
  ASSERT_EQ(list.RowCount(), 5);
  const char* expected[] = {"C:\\f0", "C:\\f1", "C:\\f3", "C:\\f4", "C:\\f7"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list.RowText(i), expected[i]);

  // After a clear and new rows, the old ids name nothing.
  ResultList::RowId old = list.IdOf(0);
  list.Clear();
  AppendPath(list, "C:\\new");
  EXPECT_EQ(list.RowOf(old), -1);
  list.RemoveRows(std::vector<ResultList::RowId>{old});
  EXPECT_EQ(list.RowCount(), 1);
  EXPECT_NE(list.IdOf(0), old);
}

TEST(ResultList, FindsRowsAgainAfterTheyMoved) {
  ResultList list;
  for (int i = 0; i < 5; ++i) AppendPath(list, "C:\\p" + std::to_string(i));
  ResultList::RowId third = list.IdOf(3);
  RemoveRowAt(list, 0);
  EXPECT_EQ(list.RowOf(third), 2);
  EXPECT_EQ(list.FirstRowAfter(list.IdOf(0)), 1);
  EXPECT_EQ(list.FirstRowAfter(list.IdOf(3)), -1);
  EXPECT_EQ(list.FirstRowAfter(ResultList::kNoRow), 0);
}

TEST(ResultList, TellsItsListenerWhatChanged) {
  ResultList list;
  std::vector<std::pair<ResultList::Change, int>> changes;
  list.SetListener([&](ResultList::Change change, int row) { changes.emplace_back(change, row); });
  list.Append("C:", "a");
  list.SetChecked(0, true);
  RemoveRowAt(list, 0);
  list.Clear();
  using C = ResultList::Change;
  ASSERT_EQ(changes.size(), 4u);
  EXPECT_EQ(changes[0].first, C::Appended);
  EXPECT_EQ(changes[1], std::make_pair(C::RowChanged, 0));
  EXPECT_EQ(changes[2].first, C::Reset);
  EXPECT_EQ(changes[3].first, C::Reset);
}

TEST(ResultList, TicksAndUnticksEveryRowOrRunsOfRowsWithOneChange) {
  ResultList list;
  for (int i = 0; i < 1000; ++i) list.Append("C:\\d", "f" + std::to_string(i));
  list.SetChecked(500, true);
  int changes = 0;
  list.SetListener([&](ResultList::Change change, int) {
    EXPECT_EQ(change, ResultList::Change::AllTicks);
    ++changes;
  });
  list.SetAllChecked(true);
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(list.IsChecked(i)) << i;
  list.SetAllChecked(false);
  for (int i = 0; i < 1000; ++i) ASSERT_FALSE(list.IsChecked(i)) << i;
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(list.RowText(999), "C:\\d\\f999");

  // Runs of rows, ranges reaching past either end cut to the rows there are.
  const RowRange ranges[] = {{-5, 2}, {10, 13}, {998, 2000}};
  list.SetRowsChecked(ranges, true);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(list.IsChecked(i), i < 2 || (i >= 10 && i < 13) || i >= 998) << i;
  }
  const RowRange middle[] = {{11, 12}};
  list.SetRowsChecked(middle, false);
  EXPECT_TRUE(list.IsChecked(10));
  EXPECT_FALSE(list.IsChecked(11));
  EXPECT_TRUE(list.IsChecked(12));
  EXPECT_EQ(changes, 4);
}

}  // namespace
}  // namespace tarnwell
