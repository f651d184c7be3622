// A report-style list view with a check box in front of every row, showing
// rows it does not store. The list view is virtual (LVS_OWNERDATA): it asks
// its source for each visible row's text and check state when it paints, so
// a million rows cost the control nothing. A virtual list view keeps only
// the selection and the focus; it neither stores nor flips the check boxes,
// so the clicks on a box and the Space key are handled here the way the
// standard check-box list view handles them, and the source flips the tick.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <span>
#include <string>
#include <vector>

#include "platform/base/row_range.h"
#include "platform/text/text.h"

namespace tarnwell {

class CheckListSource {
 public:
  virtual int RowCount() const = 0;
  virtual Text RowText(int row) const = 0;  // column 0; the empty text for no such row
  virtual bool IsChecked(int row) const = 0;
  virtual void ToggleCheck(int row) = 0;  // the user clicked the row's box or pressed Space on it
  // The user pressed Space on a selection: every row of the runs at once.
  virtual void SetChecked(std::span<const RowRange> runs, bool checked) = 0;

 protected:
  ~CheckListSource() = default;
};

class CheckListView {
 public:
  CheckListView() = default;
  CheckListView(const CheckListView&) = delete;
  CheckListView& operator=(const CheckListView&) = delete;
  ~CheckListView();

  // Takes over an LVS_REPORT | LVS_OWNERDATA list view: adds the check
  // boxes and shows the source's rows. The source outlives the view.
  void Attach(HWND list, CheckListSource& source);
  HWND Handle() const { return list_; }

  int AddColumn(const Text& caption, int width);

  // Selects every row the control shows (Ctrl+A).
  void SelectAll();
  // The selected rows as runs of neighbouring rows, in ascending order. A
  // selection of every row is found with two questions to the control;
  // otherwise the control is asked for each selected row in turn.
  std::vector<RowRange> SelectedRuns() const;
  // The row with the focus rectangle, or -1.
  int FocusedRow() const;
  // Where a context menu asked for by a key opens, in screen coordinates:
  // below the focused row when it is in view, else the list's top left corner.
  POINT KeyboardMenuPoint() const;
  // Ticks or unticks every selected row.
  void SetSelectedChecked(bool checked);
  // Space: ticks every selected row when the focused row is unticked, and
  // unticks them otherwise. A focused row outside the selection, or with no
  // selection at all, is toggled alone, as a single row always was.
  void ToggleSelectedTicks();

  // The list's owner passes every WM_NOTIFY from the list here. Returns true
  // when the notification was answered (its result in *result); the owner may
  // still act on notifications that return false (clicks, double-clicks).
  bool OnNotify(const NMHDR& header, LRESULT* result);

  // What the source tells the view. Appending only marks the row count stale:
  // the control learns the new count at most every kCountInterval ms, and
  // less often when handing it over costs more (it costs tens of
  // milliseconds under Wine: the scroll bars are redrawn), so appending rows
  // never waits on painting. Other changes repaint at once.
  void RowsAppended();
  void RowsReset();
  void RowChanged(int row);
  void AllRowsChanged();  // every row's text or tick may differ; the count is the same
  // Hands the control the source's row count now.
  void SyncRowCount();

  static constexpr UINT kCountInterval = 100;
  // The count is handed over in at most 1 / kCountShare of the thread's time.
  static constexpr UINT kCountShare = 3;

 private:
  static void CALLBACK OnCountTimer(HWND list, UINT message, UINT_PTR id, DWORD time);
  UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }
  void FillItem(LVITEMW& item);
  void ToggleAt(POINT point);

  HWND list_ = nullptr;
  CheckListSource* source_ = nullptr;
  bool countTimerRunning_ = false;
  UINT lastCountCost_ = 0;  // milliseconds the last hand-over took
  std::wstring shownText_;  // the text handed to the control lives until its next request
};

}  // namespace tarnwell
