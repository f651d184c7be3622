// The thumbnail window (缩略图...): the rows of the result list, in their
// order, as a grid of cells, each with the file's picture, its name, the
// wanted name that found it and the row's tick box; and a large view of one
// row's picture. It is a window of its own, owned by the main window, where
// it was when it last closed.
//
// The ticks are the list's own (ResultList): a tick set here shows in the
// list at once, and one set in the list shows here, through the list's
// listeners. Rows a search appends show as they come (the count is taken
// at most every 100 ms); a removal or a new search lays the grid out anew.
//
// Pictures are made on the picture threads (pictures/picture_work.h): the
// window asks for those shown, then a page ahead, and paints each as it
// arrives; the window thread only draws. Closing the window ends the work.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "pictures/picture_cache.h"
#include "pictures/picture_work.h"
#include "platform/window/owned_window_objects_win.h"
#include "results/result_list.h"
#include "search/match/match_mode.h"
#include "ui/grid_selection.h"
#include "ui/thumbnail_layout.h"
#include "ui/wanted_name_of_row.h"

namespace tarnwell {

class MainWindow;

class ThumbnailWindow {
 public:
  // What the window asks the program when it opens: the names box's text
  // and the last search's rules, for the wanted name of each row.
  struct Wanted {
    std::function<Text()> namesBox;
    std::function<MatchRules()> lastSearchRules;
  };

  // `maker` makes the pictures (a test gives its own); null: the system's.
  ThumbnailWindow(MainWindow& main, Text programDirectory, Wanted wanted, PictureWork::Maker maker = nullptr);
  ~ThumbnailWindow();
  ThumbnailWindow(const ThumbnailWindow&) = delete;
  ThumbnailWindow& operator=(const ThumbnailWindow&) = delete;

  // Opens the window at the list's focused row, or brings it to the front.
  void Open();
  void Close();

  HWND Handle() const { return window_.get(); }
  bool LargeView() const { return large_.has_value(); }
  int FocusedRow() const { return selection_.Focus(); }
  const GridSelection& Selection() const { return selection_; }
  int TopLine() const { return topLine_; }
  PictureCache& Cache() { return *cache_; }
  // Where the row's cell and its tick box are now (client coordinates); for tests.
  RECT CellRect(int row) const;
  RECT TickBoxRect(int row) const;
  // The line under the large view.
  Text LargeViewLine() const;
  // The rows the grid lays out now (the list's, at most 100 ms late while a search appends).
  int RowsShown() const { return shownRows_; }
  // The pictures made so far of a row for the grid, and of the large view's row; null while being made.
  std::shared_ptr<const MadePicture> GridPicture(int row) const;
  std::shared_ptr<const MadePicture> LargePicture() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool Create();
  void OnRowsChanged(ResultList::Change change, int row);
  void SyncRowCount();
  void OnSize();
  void ApplyDpi(UINT dpi);
  void OnKey(WPARAM key);
  void OnGridKey(WPARAM key, bool control, bool shift);
  void OnLargeKey(WPARAM key);
  void OnClick(POINT at, bool control, bool shift, bool twice);
  void OnScroll(int request, int position);
  void OnWheel(int delta);
  void OnDestroy();

  void MoveTo(int row, bool control, bool shift);
  void ScrollTo(int topLine);
  void ShowRow(int row);
  void OpenLargeView(int row);
  void CloseLargeView();
  // The scroll bar is the window's own drawing, at its right edge: Wine
  // redraws a system scroll bar in tens of milliseconds on every step.
  void UpdateScrollBar();
  RECT ScrollBarRect() const;
  RECT ScrollThumbRect() const;
  void PaintScrollBar(HDC dc);
  bool OnScrollBarPress(POINT at);
  void OnScrollBarDrag(POINT at);
  void AskForPictures();
  void OnPictureMade(const std::string& key);

  void Paint(HDC dc, const RECT& dirty);
  void PaintCell(HDC dc, int row);
  void PaintLargeView(HDC dc, const RECT& client);
  const Text& WantedNameOf(int row);

  int Scaled(int value) const { return MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }
  SIZE GridBox() const { return {Scaled(kPictureWidth), Scaled(kPictureHeight)}; }
  RECT LargeBox() const;
  std::string KeyOf(const Text& path, SIZE box, bool largest) const;
  PictureRequest RequestFor(int row, SIZE box, bool largest) const;
  int RowCount() const { return shownRows_; }

  static constexpr int kPictureWidth = 160;
  static constexpr int kPictureHeight = 120;
  static constexpr int kCellWidth = 184;
  static constexpr int kCellHeight = 178;
  static constexpr int kScrollBarWidth = 14;

  MainWindow& main_;
  ResultList& rows_;
  Text directory_;
  Wanted wanted_;
  PictureWork::Maker maker_;
  std::shared_ptr<PictureCache> cache_ = std::make_shared<PictureCache>();
  std::unique_ptr<PictureWork> work_;
  // Tasks posted by the picture threads run only while this lives.
  std::shared_ptr<ThumbnailWindow*> alive_;

  UniqueWindow window_;
  int dragOffset_ = 0;  // where on the scroll bar's thumb it was taken
  UniqueFont font_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  int listener_ = -1;
  bool countTimer_ = false;
  int shownRows_ = 0;  // the rows the grid lays out; trails the list while a search appends
  ThumbnailLayout layout_;
  int topLine_ = 0;
  bool scrollingUp_ = false;
  GridSelection selection_;
  ResultList::RowId focusId_ = ResultList::kNoRow;  // the focused row, which a removal moves
  std::optional<ResultList::RowId> large_;  // the large view's row
  std::unique_ptr<WantedNameOfRow> wantedNames_;
  std::unordered_map<ResultList::RowId, Text> wantedNameCache_;
  std::unordered_map<std::string, int> shownKeys_;  // the keys asked for last, and their rows
};

}  // namespace tarnwell
