// The names box's context menu on the real window: its items in order, greyed
// as the box allows, on every way in (right click, Shift+F10, the menu key);
// the edit items; each tidying item's text before and after and its undo
// (the menu's 撤销 and Ctrl+Z); a box of 100,000 lines; and the number
// rule's check item with config.ini and the searches that follow it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/text/gb18030_wide_win.h"
#include "tests/win/support/popup_menu.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"
#include "ui/settings_file.h"

namespace tarnwell::testing {
namespace {

using testing_support::FileBytes;
using testing_support::MakeFolder;
using testing_support::PutFile;

// Positions in the menu, separators counted.
enum MenuPosition {
  kUndo = 0,
  kCut = 2,
  kCopy = 3,
  kPaste = 4,
  kDelete = 5,
  kSelectAll = 7,
  kSplit = 9,
  kSplitAtSpaces = 10,
  kDropMarkers = 11,
  kExpandRanges = 12,
  kHalfWidth = 13,
  kDropRepeats = 14,
  kTidyAll = 15,
  kNumberRule = 17,
};

class NamesBoxMenu : public ProgramFixture {
 protected:
  HWND Box() { return C(Control::NamesBox); }
  Text Content() { return GetContent(Box()); }
  void Select(int start, int end) { SendMessageW(Box(), EM_SETSEL, static_cast<WPARAM>(start), end); }
  // Opens the menu with Shift+F10 in the box and chooses the item at
  // `position` (-1 closes it); returns what it showed.
  MenuSeen Menu(int position) {
    SetFocus(Box());
    auto answer = AnswerPopupMenu(GetCurrentThreadId(), position);
    PostKeyHolding(Box(), VK_F10, {VK_SHIFT});
    return answer.get();
  }
  Text ConfigFile() { return FileBytes(programFolder / "config.ini"); }
};

// Which items are offered (not greyed) in a state of the box.
std::vector<int> Offered(const MenuSeen& seen) {
  std::vector<int> offered;
  for (std::size_t i = 0; i < seen.items.size(); ++i) {
    if (!seen.items[i].separator && !seen.items[i].greyed) offered.push_back(static_cast<int>(i));
  }
  return offered;
}

TEST_F(NamesBoxMenu, ItemsInOrderGreyedAsTheBoxAllowsOnEveryWayIn) {
  const std::vector<std::string> texts = {"撤销", "", "剪切", "复制", "粘贴", "删除", "", "全选", "",
                                          "按分隔符拆分", "按空格拆分", "去掉序号和符号", "展开编号范围",
                                          "全角转半角", "去掉重复", "一键整理", "", "按编号匹配"};
  const std::vector<int> tidying = {kSplit, kSplitAtSpaces, kDropMarkers, kExpandRanges, kHalfWidth,
                                    kDropRepeats, kTidyAll};
  auto with = [](std::vector<int> items, std::initializer_list<int> more) {
    items.insert(items.end(), more);
    std::sort(items.begin(), items.end());
    return items;
  };
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  MenuSeen seen = Menu(-1);
  ASSERT_TRUE(seen.shown);
  ASSERT_EQ(seen.items.size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(seen.items[i].separator, texts[i].empty()) << i;
    EXPECT_EQ(seen.items[i].text, Wide(texts[i])) << i;
    EXPECT_FALSE(seen.items[i].checked) << i;
  }
  // An empty box: nothing to undo, select or tidy, nothing to paste.
  EXPECT_EQ(Offered(seen), (std::vector<int>{kNumberRule}));
  SetClipboardTextForTest(L"12");
  EXPECT_EQ(Offered(Menu(-1)), (std::vector<int>{kPaste, kNumberRule}));

  SetContent(Box(), "12, 15");
  EXPECT_EQ(Offered(Menu(-1)), with(tidying, {kPaste, kSelectAll, kNumberRule}));
  Select(0, 2);
  EXPECT_EQ(Offered(Menu(-1)), with(tidying, {kCut, kCopy, kPaste, kDelete, kSelectAll, kNumberRule}));
  Select(0, -1);
  EXPECT_EQ(Offered(Menu(-1)), with(tidying, {kCut, kCopy, kPaste, kDelete, kNumberRule}));
  Select(6, 6);
  Menu(kSplit);
  EXPECT_EQ(Offered(Menu(-1)), with(tidying, {kUndo, kPaste, kSelectAll, kNumberRule}));

  // The menu key, a right click in the box and one on the hint over it open
  // the same menu.
  auto answer = AnswerPopupMenu(GetCurrentThreadId(), -1);
  PostKeyHolding(Box(), VK_APPS, {});
  seen = answer.get();
  EXPECT_TRUE(seen.shown) << "the menu key";
  EXPECT_EQ(seen.items.size(), texts.size()) << "the menu key";
  for (HWND target : {Box(), C(Control::HintLabel)}) {
    SetVisible(C(Control::HintLabel), target != Box());
    answer = AnswerPopupMenu(GetCurrentThreadId(), -1);
    PostMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    PostMessageW(target, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    PumpUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 8000);
    seen = answer.get();
    EXPECT_TRUE(seen.shown) << (target == Box() ? "a right click" : "a right click on the hint");
    ASSERT_EQ(seen.items.size(), texts.size());
    EXPECT_EQ(seen.items[kTidyAll].text, Wide("一键整理"));
  }
}

TEST_F(NamesBoxMenu, EditItemsWorkAsTheSystemMenuDoes) {
  SetContent(Box(), G("照片1\r\n照片2"));
  Select(0, 3);
  SetClipboardTextForTest(L"before");
  Menu(kCopy);
  EXPECT_EQ(ClipboardText(), Wide("照片1"));
  EXPECT_EQ(Content(), G("照片1\r\n照片2"));
  Menu(kCut);
  EXPECT_EQ(Content(), G("\r\n照片2"));
  Menu(kUndo);
  EXPECT_EQ(Content(), G("照片1\r\n照片2"));
  Select(7, 8);
  Menu(kDelete);
  EXPECT_EQ(Content(), G("照片1\r\n照片"));
  EXPECT_EQ(ClipboardText(), Wide("照片1"));  // deleting leaves the clipboard alone
  Menu(kPaste);
  EXPECT_EQ(Content(), G("照片1\r\n照片照片1"));
  Select(0, 0);
  Menu(kSelectAll);
  DWORD start = 1, end = 0;
  SendMessageW(Box(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(Box())));
}

// Each item on a list as clients send them: the box after it, and the box
// before it again after one undo, by the menu's 撤销 and by Ctrl+Z.
TEST_F(NamesBoxMenu, EachTidyingItemIsOneStepThatUndoTakesBack) {
  struct Case {
    int item;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {kSplit, "12, 15，27\r\n3551、3552", "12\r\n15\r\n27\r\n3551\r\n3552\r\n"},
      {kSplitAtSpaces, "12 15\xE3\x80\x80" "27;3", "12\r\n15\r\n27\r\n3\r\n"},
      {kDropMarkers, "1. 3551\r\n• 3552\r\n（3） 3553\r\n1.jpg", "3551\r\n3552\r\n3553\r\n1.jpg\r\n"},
      {kExpandRanges, "IMG_0012-0014.jpg\r\n20-12", "IMG_0012.jpg\r\nIMG_0013.jpg\r\nIMG_0014.jpg\r\n20-12\r\n"},
      {kHalfWidth, "１２\xE3\x80\x80ＩＭＧ", "12 IMG\r\n"},
      {kDropRepeats, "IMG_1\r\nimg_1\r\n照片\r\n照片", "IMG_1\r\n照片\r\n"},
      {kTidyAll, "1. １２-１４, 12\r\n• 3551、3551", "12\r\n13\r\n14\r\n3551\r\n"},
  };
  for (const Case& c : cases) {
    const Text before = G(c.before);
    for (bool byKey : {false, true}) {
      SetContent(Box(), before);
      Menu(c.item);
      EXPECT_EQ(Content(), G(c.after)) << c.before;
      if (byKey) {
        SetFocus(Box());
        PostKeyHolding(Box(), 'Z', {VK_CONTROL});
      } else {
        Menu(kUndo);
      }
      EXPECT_EQ(Content(), before) << c.before << (byKey ? ", Ctrl+Z" : ", 撤销");
    }
  }
  // A list the item leaves as it is stays untouched: the undo keeps the step before.
  SetContent(Box(), "3551");
  Menu(kSplit);
  EXPECT_EQ(Content(), "3551\r\n");
  Menu(kDropMarkers);
  Menu(kUndo);
  EXPECT_EQ(Content(), "3551");
}

TEST_F(NamesBoxMenu, RangesThatWouldMakeTheListTooLongAreRefusedAndTheBoxStays) {
  Text box;
  for (int i = 0; i < 1000; ++i) box += "1-100000\r\n";
  SetContent(Box(), box);
  for (int item : {kExpandRanges, kTidyAll}) {
    auto answer = AnswerNextBox();
    Menu(item);
    const AnsweredBox told = answer.get();
    EXPECT_EQ(told.text, G("展开后的列表太长（超过100万行或64MB），名称框保持不变。")) << item;
    EXPECT_EQ(Content(), box) << item;
  }
}

TEST_F(NamesBoxMenu, AHundredThousandLineBoxIsTidiedWholeAndUndoneWhole) {
  Text box;
  Text expected;
  for (int i = 0; i < 100000; ++i) {
    box += NumberToText(i) + ". IMG_" + NumberToText(i) + ", " + NumberToText(i) + "\r\n";
    expected += "IMG_" + NumberToText(i) + "\r\n" + NumberToText(i) + "\r\n";
  }
  auto start = std::chrono::steady_clock::now();
  auto print = [&](const char* what) {
    const auto now = std::chrono::steady_clock::now();
    std::printf("%s: %lld ms\n", what,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(now - start).count()));
    start = now;
  };
  SetContent(Box(), box);
  print("setting a box of 100,000 lines");
  ASSERT_EQ(Content(), box);
  print("reading it");
  Menu(kTidyAll);
  print("tidying it");
  const Text tidied = Content();
  EXPECT_EQ(tidied.size(), expected.size());
  EXPECT_TRUE(tidied == expected);
  EXPECT_EQ(SendMessageW(Box(), EM_GETLINECOUNT, 0, 0), 200001);
  print("reading it");
  Menu(kUndo);
  print("undoing it");
  EXPECT_TRUE(Content() == box);
}

TEST_F(NamesBoxMenu, TheNumberRuleItemStoresTheChoiceThatTheNextSearchTakes) {
  for (const char* name : {"IMG_0012.JPG", "IMG_0120.JPG", "12.jpg", "DSC00012.ARW", "IMG_1234.JPG"}) {
    PutFile(tree / name, "1");
  }
  auto rows = [&] {
    TextList found;
    for (int row = 0; row < Rows().RowCount(); ++row) found.push_back(Rows().RowFileName(row));
    std::sort(found.begin(), found.end());
    return found;
  };
  // Off by default: "12" is a name like any other.
  EXPECT_FALSE(Menu(-1).items.at(kNumberRule).checked);
  SearchFor("12", tree.path());
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(rows(), TextList{"12.jpg"});

  PutFile(programFolder / "config.ini", G("[zhuce]\r\n精确=真\r\n"));
  Menu(kNumberRule);
  EXPECT_EQ(ConfigFile(), G("[zhuce]\r\n精确=真\r\n编号匹配=真\r\n"));
  EXPECT_TRUE(Menu(-1).items.at(kNumberRule).checked);
  for (bool fuzzy : {false, true}) {
    SearchFor("12", tree.path(), fuzzy);
    ASSERT_TRUE(WaitForCompletion());
    EXPECT_EQ(rows(), (TextList{"12.jpg", "DSC00012.ARW", "IMG_0012.JPG"})) << fuzzy;
  }
  Menu(kNumberRule);
  EXPECT_EQ(ReadSetting(programFolder.path(), G("编号匹配")), G("假"));
  EXPECT_FALSE(Menu(-1).items.at(kNumberRule).checked);
  SearchFor("12", tree.path(), true);
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(rows(), (TextList{"12.jpg", "DSC00012.ARW", "IMG_0012.JPG", "IMG_0120.JPG", "IMG_1234.JPG"}));
  // Only exactly "真" counts as chosen.
  PutFile(programFolder / "config.ini", G("[zhuce]\r\n编号匹配=1\r\n"));
  EXPECT_FALSE(Menu(-1).items.at(kNumberRule).checked);
}

}  // namespace
}  // namespace tarnwell::testing
