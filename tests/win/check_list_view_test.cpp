// The result list control on the real main window: long row texts, the
// current row, ticking with the mouse and with Space, and a million rows
// handed over from a worker thread in batches.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/window/event_pump_win.h"
#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/window_properties_win.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/window_test_support.h"
#include "ui/main_window_win.h"

namespace tarnwell {
namespace {

class CheckList : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create(SW_SHOWNORMAL));
    ProcessPendingEvents();
  }

  HWND List() const { return window.ControlWindow(Control::ResultView); }

  void AddRows(int count) {
    for (int i = 0; i < count; ++i) window.Results().Append("D:\\照片"_gbk, Concat(NumberToText(i), ".jpg"));
    ASSERT_TRUE(testing::PumpUntil([&] { return ListView_GetItemCount(List()) == window.Results().RowCount(); }));
  }

  // The middle of a row's check box, found by asking the control where it is.
  POINT CheckBoxOf(int row) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
    int y = (bounds.top + bounds.bottom) / 2;
    int first = -1, last = -1;
    for (int x = bounds.left; x < bounds.left + 40; ++x) {
      LVHITTESTINFO hit{};
      hit.pt = {x, y};
      if (SendMessageW(List(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row &&
          (hit.flags & LVHT_ONITEMSTATEICON)) {
        if (first < 0) first = x;
        last = x;
      }
    }
    EXPECT_GE(first, 0) << "row " << row << " shows no check box";
    return {(first + last) / 2, y};
  }

  MainWindow window;
};

TEST_F(CheckList, ARowTextOf2000BytesIsReadBackWhole) {
  Text path = "D:\\"_gbk;
  while (path.size() < 1996) path += "资料\\"_gbk;
  path.resize(1996);
  path += ".txt";
  ASSERT_EQ(path.size(), 2000u);
  AppendPath(window.Results(), path);
  const int row = 0;
  EXPECT_FALSE(window.Results().IsChecked(row)) << "a new row is unticked";
  EXPECT_EQ(window.Results().RowText(row), path);

  // The control shows the whole text as well.
  window.ResultView().SyncRowCount();
  std::wstring shown(4096, L'\0');
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = shown.data();
  item.cchTextMax = static_cast<int>(shown.size());
  shown.resize(static_cast<std::size_t>(SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item))));
  EXPECT_EQ(shown, Gb18030ToWide(path));
}

TEST_F(CheckList, TheCurrentRowIsTheLowestSelectedRow) {
  AddRows(10);
  EXPECT_EQ(GetSelectedRow(List()), -1);
  ListView_SetItemState(List(), 7, LVIS_SELECTED, LVIS_SELECTED);
  ListView_SetItemState(List(), 3, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(GetSelectedRow(List()), 3);
  // Rows removed: the indices changed, so nothing stays selected.
  RemoveRowAt(window.Results(), 0);
  EXPECT_EQ(GetSelectedRow(List()), -1);
}

TEST_F(CheckList, AClickOnTheBoxTicksAndUnticksTheRowOnce) {
  AddRows(5);
  POINT box = CheckBoxOf(2);
  testing::PostClick(List(), box);
  ASSERT_TRUE(testing::PumpUntil([&] { return window.Results().IsChecked(2); }));
  DelayProcessingEvents(200);  // a second toggle of the same click would show by now
  EXPECT_TRUE(window.Results().IsChecked(2));
  EXPECT_FALSE(window.Results().IsChecked(1));
  EXPECT_FALSE(window.Results().IsChecked(3));
  // The control shows the tick.
  EXPECT_EQ(ListView_GetItemState(List(), 2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));

  testing::PostClick(List(), box);
  ASSERT_TRUE(testing::PumpUntil([&] { return !window.Results().IsChecked(2); }));
  DelayProcessingEvents(200);
  EXPECT_FALSE(window.Results().IsChecked(2));
  EXPECT_EQ(ListView_GetItemState(List(), 2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));

  // A click on the row's text selects it and leaves the tick alone.
  RECT label{};
  label.left = LVIR_LABEL;
  SendMessageW(List(), LVM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&label));
  testing::PostClick(List(), {label.left + 20, (label.top + label.bottom) / 2});
  ASSERT_TRUE(testing::PumpUntil([&] { return GetSelectedRow(List()) == 4; }));
  DelayProcessingEvents(100);
  EXPECT_FALSE(window.Results().IsChecked(4));
}

TEST_F(CheckList, SpaceTicksAndUnticksTheFocusedRowOnce) {
  AddRows(5);
  SetFocus(List());
  ListView_SetItemState(List(), 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  testing::PostKey(List(), VK_SPACE);
  ASSERT_TRUE(testing::PumpUntil([&] { return window.Results().IsChecked(1); }));
  DelayProcessingEvents(200);
  EXPECT_TRUE(window.Results().IsChecked(1));
  EXPECT_FALSE(window.Results().IsChecked(0));
  EXPECT_FALSE(window.Results().IsChecked(2));

  testing::PostKey(List(), VK_SPACE);
  ASSERT_TRUE(testing::PumpUntil([&] { return !window.Results().IsChecked(1); }));
  DelayProcessingEvents(200);
  EXPECT_FALSE(window.Results().IsChecked(1));
}

// A worker hands its rows over in batches, each batch one task that appends
// all its rows; the window thread runs the tasks in order.
TEST_F(CheckList, AMillionRowsFromAWorkerArriveWholeAndInOrder) {
  constexpr int kRows = 1000000;
  constexpr int kBatch = 1000;
  const Text folder = "C:\\照片\\第"_gbk;
  auto pathOf = [&](int i) { return Concat(folder, NumberToText(i / 4000), "\\", NumberToText(i), ".jpg"); };
  std::thread worker([&, queue = window.Queue()] {
    for (int start = 0; start < kRows; start += kBatch) {
      std::vector<Text> batch;
      batch.reserve(kBatch);
      for (int i = start; i < start + kBatch; ++i) batch.push_back(pathOf(i));
      queue->Post([&results = window.Results(), batch = std::move(batch)] {
        for (const Text& path : batch) AppendPath(results, path);
      });
    }
  });
  bool arrived = testing::PumpUntil([&] { return window.Results().RowCount() == kRows; }, 120000);
  worker.join();
  ASSERT_TRUE(arrived) << window.Results().RowCount() << " rows arrived";
  for (int i = 0; i < kRows; ++i) ASSERT_EQ(window.Results().RowText(i), pathOf(i)) << "row " << i;
  EXPECT_TRUE(testing::PumpUntil([&] { return ListView_GetItemCount(List()) == kRows; }, 2000))
      << "the control learns the row count soon after the last batch";
}

}  // namespace
}  // namespace tarnwell
