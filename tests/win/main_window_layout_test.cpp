// The main window as it is created: every control's class, place, size,
// text and state, the window's own frame, size and place, the radio groups
// and the Tab order. The expected values are written out here, from the
// form's layout, independently of the program's control table.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwctype>
#include <vector>

#include "platform/window/event_pump_win.h"
#include "tests/win/support/window_test_support.h"
#include "ui/main_window_win.h"

namespace tarnwell {
namespace {

using testing::RectInParent;
using testing::Wide;
using testing::WindowTextOf;

enum Check { kNoCheck = -1, kUnchecked = 0, kCheckedBox = 1 };

struct Expected {
  Control control;
  const wchar_t* className;
  int left, top, width, height;
  const char* text;  // UTF-8
  bool enabled;
  int checked;
};

const Expected kLayout[] = {
    {Control::PathLabel, L"Static", 8, 0, 51, 25, "搜索路径", true, kNoCheck},
    {Control::PathBox, L"Edit", 66, 2, 138, 25, "", true, kNoCheck},
    {Control::BrowseButton, L"Button", 214, 4, 50, 25, "<<<", true, kNoCheck},
    {Control::ScopeFrame, L"TarnwellFrame", 272, 2, 480, 32, "", true, kNoCheck},
    {Control::WholeComputerRadio, L"Button", 8, 5, 160, 24, "搜索整个电脑(速度稍慢)", true, kUnchecked},
    {Control::SpecifiedPathRadio, L"Button", 175, 5, 145, 24, "搜索指定路径(快速)", true, kCheckedBox},
    {Control::ModeFrame, L"TarnwellFrame", 8, 41, 744, 48, "", true, kNoCheck},
    {Control::ExactRadio, L"Button", 8, 8, 576, 16,
     "精确搜索(要搜索的文件名需要填写完整准确，一行一个文件名，可以不写扩展名)", true, kCheckedBox},
    {Control::FuzzyRadio, L"Button", 8, 27, 576, 16,
     "模糊搜索(只要填写文件名的任意关键字，即可搜索出所有包含这关键字的文件，一行一个关键字)", true, kUnchecked},
    {Control::NamesBox, L"Edit", 6, 97, 242, 319, "", true, kNoCheck},
    {Control::HintLabel, L"Static", 11, 103, 240, 297, nullptr, true, kNoCheck},
    {Control::ResultView, L"SysListView32", 251, 98, 501, 318, "", true, kNoCheck},
    {Control::SearchButton, L"Button", 6, 424, 74, 30, "立即搜索", true, kNoCheck},
    {Control::NotFoundButton, L"Button", 90, 424, 142, 30, "未搜索到的文件列表", false, kNoCheck},
    {Control::CheckAllButton, L"Button", 250, 424, 64, 32, "全部勾选", true, kNoCheck},
    {Control::UncheckAllButton, L"Button", 322, 424, 84, 32, "取消全部勾选", true, kNoCheck},
    {Control::CopyButton, L"Button", 414, 424, 82, 32, "复制选定文件", true, kNoCheck},
    {Control::MoveButton, L"Button", 504, 424, 80, 32, "移动选定文件", true, kNoCheck},
    {Control::DeleteButton, L"Button", 592, 424, 85, 32, "删除选定文件", true, kNoCheck},
    {Control::StatusLabel, L"Static", 8, 456, 424, 16, "", true, kNoCheck},
};

class MainWindowLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create(SW_SHOWNORMAL));
    ProcessPendingEvents();
  }
  HWND Of(Control control) const { return window.ControlWindow(control); }

  MainWindow window;
};

// The hint: its first line, then six example names of 18 digits and ".jpg",
// the fourth and fifth equal, separated by CR LF.
void ExpectHintText(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  ASSERT_EQ(lines.size(), 7u) << "one line of request and six example names";
  EXPECT_EQ(lines[0], Wide("请在这里输入您要搜索的文件名，例如："));
  for (std::size_t i = 1; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i].size(), 22u) << i;
    EXPECT_EQ(lines[i].substr(18), L".jpg");
    for (std::size_t digit = 0; digit < 18; ++digit) EXPECT_TRUE(std::iswdigit(lines[i][digit])) << i;
  }
  EXPECT_EQ(lines[4], lines[5]);
  EXPECT_NE(lines[3], lines[4]);
  EXPECT_NE(lines[5], lines[6]);
}

TEST_F(MainWindowLayout, EveryControlHasItsClassPlaceTextAndState) {
  for (const Expected& expected : kLayout) {
    HWND control = Of(expected.control);
    SCOPED_TRACE(static_cast<int>(expected.control));
    ASSERT_NE(control, nullptr);
    wchar_t className[64]{};
    GetClassNameW(control, className, 64);
    EXPECT_EQ(lstrcmpiW(className, expected.className), 0) << className;
    RECT place = RectInParent(control);
    EXPECT_EQ(place.left, expected.left);
    EXPECT_EQ(place.top, expected.top);
    EXPECT_EQ(place.right - place.left, expected.width);
    EXPECT_EQ(place.bottom - place.top, expected.height);
    if (expected.text) {
      EXPECT_EQ(WindowTextOf(control), Wide(expected.text));
    } else {
      ExpectHintText(WindowTextOf(control));
    }
    EXPECT_TRUE(GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, expected.enabled);
    if (expected.checked != kNoCheck) {
      EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), expected.checked);
    }
    // Every control speaks in the platform's default GUI font.
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
  }
  // The radio buttons sit in their frames, the other controls on the window.
  EXPECT_EQ(GetParent(Of(Control::WholeComputerRadio)), Of(Control::ScopeFrame));
  EXPECT_EQ(GetParent(Of(Control::SpecifiedPathRadio)), Of(Control::ScopeFrame));
  EXPECT_EQ(GetParent(Of(Control::ExactRadio)), Of(Control::ModeFrame));
  EXPECT_EQ(GetParent(Of(Control::FuzzyRadio)), Of(Control::ModeFrame));
  EXPECT_EQ(GetParent(Of(Control::NamesBox)), window.Handle());
  // The timer is stopped.
  EXPECT_EQ(window.Timer().Interval(), 0);
}

TEST_F(MainWindowLayout, TheHintLiesAboveTheNamesBox) {
  for (HWND above = GetWindow(Of(Control::NamesBox), GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    if (above == Of(Control::HintLabel)) return;
  }
  ADD_FAILURE() << "the hint label is below the names box";
}

TEST_F(MainWindowLayout, TheListHasOneColumnOfSixHundredPixelsAndCheckBoxes) {
  HWND list = Of(Control::ResultView);
  HWND header = ListView_GetHeader(list);
  ASSERT_EQ(Header_GetItemCount(header), 1);
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), 600);
  wchar_t caption[32]{};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = caption;
  column.cchTextMax = 32;
  ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(std::wstring(caption), Wide("文件路径"));
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
  EXPECT_EQ(ListView_GetItemCount(list), 0);

  LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(style & LVS_OWNERDATA);
  EXPECT_TRUE(style & LVS_NOSORTHEADER);
  EXPECT_FALSE(style & (LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_NOCOLUMNHEADER));
  DWORD extended = ListView_GetExtendedListViewStyle(list);
  EXPECT_TRUE(extended & LVS_EX_CHECKBOXES);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  EXPECT_FALSE(extended & (LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP));
}

TEST_F(MainWindowLayout, TheWindowIs760By507CentredWithAFixedFrame) {
  HWND main = window.Handle();
  RECT outer;
  GetWindowRect(main, &outer);
  EXPECT_EQ(outer.right - outer.left, 760);
  EXPECT_EQ(outer.bottom - outer.top, 507);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 760) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 507) / 2);
  EXPECT_EQ(WindowTextOf(main), L"Tarnwell");

  LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetClassLongPtrW(main, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
}

TEST_F(MainWindowLayout, EachFrameHoldsAnIndependentRadioPair) {
  SendMessageW(Of(Control::FuzzyRadio), BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(Of(Control::FuzzyRadio), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Of(Control::ExactRadio), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(Of(Control::SpecifiedPathRadio), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Of(Control::WholeComputerRadio), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  SendMessageW(Of(Control::WholeComputerRadio), BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(Of(Control::WholeComputerRadio), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Of(Control::SpecifiedPathRadio), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(Of(Control::FuzzyRadio), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Of(Control::ExactRadio), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// Tab visits the edit boxes, the buttons, the checked button of each radio
// pair and the list, in the order of the form; labels, frames and the
// disabled button are passed over.
TEST_F(MainWindowLayout, TabMovesTheFocusInTheOrderOfTheForm) {
  const Control order[] = {Control::PathBox,        Control::BrowseButton,   Control::SpecifiedPathRadio,
                           Control::ExactRadio,     Control::NamesBox,       Control::ResultView,
                           Control::SearchButton,   Control::CheckAllButton, Control::UncheckAllButton,
                           Control::CopyButton,     Control::MoveButton,     Control::DeleteButton,
                           Control::PathBox};
  SetFocus(Of(order[0]));
  for (std::size_t step = 1; step < std::size(order); ++step) {
    HWND before = GetFocus();
    testing::PostKey(before, VK_TAB);
    testing::PumpUntil([&] { return GetFocus() != before; }, 2000);
    EXPECT_EQ(GetFocus(), Of(order[step])) << "step " << step;
  }
}

}  // namespace
}  // namespace tarnwell
