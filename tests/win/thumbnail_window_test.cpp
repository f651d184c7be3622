// The thumbnail window on the real program under Wine: opened by Ctrl+T and
// by its menu item, it shows every kind of file from the right source (a
// camera file's thumbnail or preview, other pictures decoded, icons for the
// rest) and draws them; ticks agree with the list both ways; the keys move,
// select, tick and open the large view, which steps and ticks; rows a
// search appends come, removed rows go; its place is kept.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/text/gb18030_utf8.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/picture_files.h"
#include "tests/win/support/popup_menu.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

using testing_support::FileBytes;
using testing_support::PutFile;

bool Dark(COLORREF colour) { return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 300; }

class Thumbnails : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    files = PictureFilesFolder();
  }
  void SkipWithoutPictures() {
    if (files.empty()) GTEST_SKIP() << "the test pictures were not made: ImageMagick or exiftool is missing";
  }

  ThumbnailWindow& Window() { return program->Thumbnails(); }
  HWND Grid() { return Window().Handle(); }
  HWND List() { return C(Control::ResultView); }

  // `count` text files f00.txt ... as rows.
  void MakeRows(int count) {
    for (int i = 0; i < count; ++i) {
      const Text path = tree / ((i < 10 ? "f0" : "f") + std::to_string(i) + ".txt");
      PutFile(path, "x");
      AppendPath(Rows(), path);
    }
    ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(List()) == Rows().RowCount(); }));
  }
  void OpenByKey() {
    SetFocus(List());
    PostKeyHolding(List(), 'T', {VK_CONTROL});
    ASSERT_TRUE(PumpUntil([&] { return Grid() != nullptr && IsWindowVisible(Grid()); }));
  }
  void GridKey(WORD key, std::initializer_list<BYTE> held = {}) { PostKeyHolding(Grid(), key, held); }
  int RowNamed(const char* name) {
    for (int row = 0; row < Rows().RowCount(); ++row) {
      if (Rows().RowFileName(row) == name) return row;
    }
    return -1;
  }
  // The window as drawn now, its paint done.
  COLORREF PixelAt(HWND window, POINT at) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, at.x, at.y);
    ReleaseDC(window, dc);
    return colour;
  }
  int DarkPixels(HWND window, RECT area) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    int dark = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) dark += Dark(GetPixel(dc, x, y)) ? 1 : 0;
    }
    ReleaseDC(window, dc);
    return dark;
  }
  RECT TickInside(int row) {
    RECT box = Window().TickBoxRect(row);
    InflateRect(&box, -3, -3);
    return box;
  }
  RECT ListTickBox(int row) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageW(List(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
    return {bounds.left, bounds.top, bounds.left + 18, bounds.bottom};
  }

  Text files;
};

TEST_F(Thumbnails, ShowsEveryKindFromItsSourceAndDrawsIt) {
  SkipWithoutPictures();
  for (const char* name : {"photo.jpg", "plain.jpg", "picture.png", "picture.gif", "picture.bmp", "picture.tif",
                           "notes.txt"}) {
    PutFile(tree / name, FileBytes(Concat(files, "\\", name)));
  }
  const auto raws = WriteRawFiles(tree.path(), FileBytes(Concat(files, "\\preview.jpg")),
                                  FileBytes(Concat(files, "\\thumbnail.jpg")));
  SearchFor("photo\r\nplain\r\npicture\r\nnotes\r\nshot", tree.path());
  ASSERT_TRUE(WaitForCompletion());
  ASSERT_EQ(Rows().RowCount(), 16);
  OpenByKey();
  // Enough room for every cell, so every picture is wanted at once.
  SetWindowPos(Grid(), nullptr, 0, 0, 1000, 900, SWP_NOZORDER | SWP_NOMOVE);
  ASSERT_TRUE(PumpUntil(
      [&] {
        for (int row = 0; row < Rows().RowCount(); ++row) {
          if (!Window().GridPicture(row)) return false;
        }
        return true;
      },
      30000));

  struct Expected {
    PictureOrigin origin;
    COLORREF middle;  // 0xFFFFFFFF: not looked at
  };
  auto expected = [&](const Text& name) -> Expected {
    if (name == "photo.jpg") return {PictureOrigin::Preview, RGB(255, 0, 0)};  // its red EXIF thumbnail
    if (name == "plain.jpg") return {PictureOrigin::File, RGB(0, 0, 255)};
    if (name == "picture.gif") return {PictureOrigin::File, RGB(255, 255, 0)};
    if (name == "picture.bmp") return {PictureOrigin::File, RGB(0, 255, 255)};
    if (name == "picture.tif") return {PictureOrigin::File, RGB(255, 0, 255)};
    if (name == "picture.png") return {PictureOrigin::File, 0xFFFFFFFF};
    if (name == "notes.txt") return {PictureOrigin::Icon, 0xFFFFFFFF};
    for (const RawFile& raw : raws) {
      if (raw.name == name) return {PictureOrigin::Preview, raw.hasThumbnail ? RGB(255, 0, 0) : RGB(0, 0, 255)};
    }
    return {PictureOrigin::Icon, 0xFFFFFFFF};
  };
  RECT client{};
  GetClientRect(Grid(), &client);
  for (int row = 0; row < Rows().RowCount(); ++row) {
    const Text name = Rows().RowFileName(row);
    SCOPED_TRACE(name);
    const Expected want = expected(name);
    EXPECT_EQ(Window().GridPicture(row)->origin, want.origin);
    const RECT cell = Window().CellRect(row);
    if (want.middle == 0xFFFFFFFF || cell.bottom > client.bottom) continue;
    // The picture's middle, drawn (6 pixels below the cell's top, 120 high)
    // once its arrival has been told to the window thread.
    const POINT middle{(cell.left + cell.right) / 2, cell.top + 6 + 60};
    const auto distance = [&](COLORREF drawn) {
      return std::abs(GetRValue(drawn) - GetRValue(want.middle)) + std::abs(GetGValue(drawn) - GetGValue(want.middle)) +
             std::abs(GetBValue(drawn) - GetBValue(want.middle));
    };
    PumpUntil([&] { return distance(PixelAt(Grid(), middle)) < 90; }, 5000);
    EXPECT_LT(distance(PixelAt(Grid(), middle)), 90) << std::hex << PixelAt(Grid(), middle);
  }

  // The large view of the photo: decoded whole, turned upright, and the line under it.
  const int photo = RowNamed("photo.jpg");
  PostClick(Grid(), {(Window().CellRect(photo).left + Window().CellRect(photo).right) / 2, Window().CellRect(photo).top + 30});
  GridKey(VK_RETURN);
  ASSERT_TRUE(Window().LargeView());
  ASSERT_TRUE(PumpUntil([&] { return Window().LargePicture() != nullptr; }, 20000));
  EXPECT_EQ(Window().LargePicture()->origin, PictureOrigin::File);
  EXPECT_GT(Window().LargePicture()->picture.height, Window().LargePicture()->picture.width);
  const Text line = Window().LargeViewLine();
  // 1600 x 1200 stored, a quarter turned: 1200 wide as shown.
  for (const char* part : {"photo.jpg", "1200 × 1600", "Tarnwell Test Camera", "拍摄时间 2024-05-06 07:08:09"}) {
    EXPECT_NE(line.find(G(part)), Text::npos) << part;
  }
}

TEST_F(Thumbnails, TicksAgreeWithTheListBothWays) {
  MakeRows(6);
  OpenByKey();
  // A click on a cell's box ticks the row, and the list shows it.
  const int listBefore = DarkPixels(List(), ListTickBox(2));
  const RECT box = Window().TickBoxRect(2);
  PostClick(Grid(), {(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  ASSERT_TRUE(PumpUntil([&] { return Rows().IsChecked(2); }));
  EXPECT_GT(DarkPixels(List(), ListTickBox(2)), listBefore);
  EXPECT_GT(DarkPixels(Grid(), TickInside(2)), 0);

  // A click on the list's box unticks it, and the grid shows it.
  UpdateWindow(Grid());
  const RECT listBox = ListTickBox(2);
  PostClick(List(), {listBox.left + 8, (listBox.top + listBox.bottom) / 2});
  ASSERT_TRUE(PumpUntil([&] { return !Rows().IsChecked(2); }));
  EXPECT_EQ(DarkPixels(Grid(), TickInside(2)), 0);

  // 全部勾选 ticks every cell.
  Click(Control::CheckAllButton);
  for (int row = 0; row < 6; ++row) EXPECT_GT(DarkPixels(Grid(), TickInside(row)), 0) << row;
}

TEST_F(Thumbnails, KeysMoveSelectTickAndOpenTheLargeView) {
  MakeRows(30);
  OpenByKey();
  const int columns = [&] {
    int n = 1;
    while (n < 30 && Window().CellRect(n).top == Window().CellRect(0).top) ++n;
    return n;
  }();
  GridKey(VK_HOME);
  EXPECT_EQ(Window().FocusedRow(), 0);
  GridKey(VK_RIGHT);
  EXPECT_EQ(Window().FocusedRow(), 1);
  GridKey(VK_DOWN);
  EXPECT_EQ(Window().FocusedRow(), 1 + columns);
  GridKey(VK_END);
  EXPECT_EQ(Window().FocusedRow(), 29);
  RECT client{};
  GetClientRect(Grid(), &client);
  EXPECT_LE(Window().CellRect(29).bottom, client.bottom);  // scrolled into view
  GridKey(VK_PRIOR);
  EXPECT_LT(Window().FocusedRow(), 29);
  GridKey(VK_NEXT);
  EXPECT_EQ(Window().FocusedRow(), 29);

  // A press on the scroll bar below its thumb scrolls down a page; the keys stay the grid's.
  GridKey(VK_HOME);
  ASSERT_EQ(Window().TopLine(), 0);
  PostClick(Grid(), {client.right - 4, client.bottom - 4});
  ASSERT_TRUE(PumpUntil([&] { return Window().TopLine() > 0; }));

  // Shift extends from the anchor; Space ticks the selection as the focused row decides.
  GridKey(VK_HOME);
  GridKey(VK_RIGHT, {VK_SHIFT});
  GridKey(VK_RIGHT, {VK_SHIFT});
  ASSERT_EQ(Window().Selection().Runs().size(), 1u);
  EXPECT_EQ(Window().Selection().Runs()[0].first, 0);
  EXPECT_EQ(Window().Selection().Runs()[0].last, 3);
  GridKey(VK_SPACE);
  EXPECT_TRUE(Rows().IsChecked(0) && Rows().IsChecked(1) && Rows().IsChecked(2));
  EXPECT_FALSE(Rows().IsChecked(3));
  GridKey(VK_SPACE);
  EXPECT_FALSE(Rows().IsChecked(0) || Rows().IsChecked(1) || Rows().IsChecked(2));
  GridKey('A', {VK_CONTROL});
  GridKey(VK_SPACE);
  for (int row = 0; row < 30; ++row) EXPECT_TRUE(Rows().IsChecked(row)) << row;

  // Enter: the large view; the arrows step, Space ticks, Esc goes back at that row.
  GridKey(VK_HOME);
  GridKey(VK_RIGHT);
  GridKey(VK_RETURN);
  ASSERT_TRUE(Window().LargeView());
  GridKey(VK_RIGHT);
  GridKey(VK_RIGHT);
  EXPECT_EQ(Window().FocusedRow(), 3);
  GridKey(VK_SPACE);
  EXPECT_FALSE(Rows().IsChecked(3));
  GridKey(VK_LEFT);
  GridKey(VK_ESCAPE);
  EXPECT_FALSE(Window().LargeView());
  EXPECT_EQ(Window().FocusedRow(), 2);
  // Esc in the grid closes the window.
  GridKey(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return Grid() == nullptr; }));
}

TEST_F(Thumbnails, AppendedRowsComeAndRemovedRowsGo) {
  MakeRows(4);
  OpenByKey();
  for (int i = 0; i < 3; ++i) AppendPath(Rows(), tree / ("g" + std::to_string(i) + ".txt"));
  ASSERT_TRUE(PumpUntil([&] { return Window().RowsShown() == 7; }));
  // The focus stays on its row when rows before it go, and moves to the
  // next one when its own goes.
  const RECT cell = Window().CellRect(5);
  PostClick(Grid(), {(cell.left + cell.right) / 2, cell.top + 30});
  ASSERT_TRUE(PumpUntil([&] { return Window().FocusedRow() == 5; }));
  const Text next = Rows().RowText(6);
  RemoveRowAt(Rows(), 0);
  EXPECT_EQ(Window().RowsShown(), 6);
  EXPECT_EQ(Window().FocusedRow(), 4);
  RemoveRowAt(Rows(), 4);
  EXPECT_EQ(Rows().RowText(Window().FocusedRow()), next);
  // The large view's row goes: the view goes on with the row after it, and
  // back to the grid when no row is left.
  GridKey(VK_RETURN);
  ASSERT_TRUE(Window().LargeView());
  RemoveRowAt(Rows(), Window().FocusedRow());
  EXPECT_TRUE(Window().LargeView());
  Rows().Clear();
  EXPECT_FALSE(Window().LargeView());
  EXPECT_EQ(Window().RowsShown(), 0);
}

TEST_F(Thumbnails, MenuItemOpensItAndItsPlaceIsKept) {
  MakeRows(3);
  SetFocus(List());
  ListView_SetItemState(List(), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  // The last item of the menu.
  constexpr int kThumbnailsItem = 18;
  auto answer = AnswerPopupMenu(GetCurrentThreadId(), kThumbnailsItem);
  PostKeyHolding(List(), VK_F10, {VK_SHIFT});
  const MenuSeen seen = answer.get();
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.items.at(kThumbnailsItem).text, Wide("缩略图(&T)...\tCtrl+T"));
  ASSERT_TRUE(PumpUntil([&] { return Grid() != nullptr; }));
  EXPECT_EQ(Window().FocusedRow(), 1);  // where the list's focus was
  EXPECT_EQ(GetWindow(Grid(), GW_OWNER), program->Window().Handle());

  SetWindowPos(Grid(), nullptr, 50, 60, 700, 500, SWP_NOZORDER);
  Window().Close();
  EXPECT_NE(FileBytes(programFolder / "config.ini").find(G("缩略图窗口=50,60,700,500")), std::string::npos);
  OpenByKey();
  RECT place{};
  GetWindowRect(Grid(), &place);
  EXPECT_EQ(place.left, 50);
  EXPECT_EQ(place.top, 60);
  EXPECT_EQ(place.right - place.left, 700);
  EXPECT_EQ(place.bottom - place.top, 500);
}

}  // namespace
}  // namespace tarnwell::testing
