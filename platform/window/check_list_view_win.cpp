#include "platform/window/check_list_view_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/base/entry_guard.h"
#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {
namespace {

constexpr UINT kUnticked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

CheckListView::~CheckListView() {
  if (countTimerRunning_ && IsWindow(list_)) KillTimer(list_, TimerId());
}

void CheckListView::Attach(HWND list, CheckListSource& source) {
  list_ = list;
  source_ = &source;
  ListView_SetExtendedListViewStyleEx(list_, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  // The control asks for each row's check box instead of storing it.
  ListView_SetCallbackMask(list_, LVIS_STATEIMAGEMASK);
  SyncRowCount();
}

int CheckListView::AddColumn(const Text& caption, int width) {
  std::wstring text = Gb18030ToWide(caption);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = text.data();
  int count = Header_GetItemCount(ListView_GetHeader(list_));
  return static_cast<int>(SendMessageW(list_, LVM_INSERTCOLUMNW, count, reinterpret_cast<LPARAM>(&column)));
}

void CheckListView::FillItem(LVITEMW& item) {
  if (item.mask & LVIF_TEXT) {
    shownText_ = item.iSubItem == 0 ? Gb18030ToWide(source_->RowText(item.iItem)) : std::wstring();
    item.pszText = shownText_.data();
  }
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | (source_->IsChecked(item.iItem) ? kTicked : kUnticked);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

void CheckListView::ToggleAt(POINT point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  int row = static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) source_->ToggleCheck(row);
}

bool CheckListView::OnNotify(const NMHDR& header, LRESULT* result) {
  if (header.hwndFrom != list_ || !source_) return false;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      FillItem(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header))->item);
      *result = 0;
      return true;
    case LVN_ODFINDITEMW:
      *result = -1;  // no type-ahead search over the rows
      return true;
    case NM_CLICK:
    case NM_DBLCLK:
      // The standard list flips a box on each click on it, the second click of
      // a double-click included.
      ToggleAt(reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction);
      return false;
    default:
      return false;
  }
}

void CheckListView::SelectAll() {
  // The control marks row after row; with redrawing off it does not ask for
  // each row to be repainted on its own (under Wine that took 78 s for a
  // million rows), and the list is repainted once afterwards.
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, FALSE);
}

std::vector<RowRange> CheckListView::SelectedRuns() const {
  std::vector<RowRange> runs;
  const int shown = ListView_GetItemCount(list_);
  const int selected = static_cast<int>(ListView_GetSelectedCount(list_));
  if (selected <= 0) return runs;
  if (selected >= shown) {
    runs.push_back({0, shown});
    return runs;
  }
  int found = 0;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0 && found < selected;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
    ++found;
    if (!runs.empty() && runs.back().last == row) {
      runs.back().last = row + 1;
    } else {
      runs.push_back({row, row + 1});
    }
  }
  return runs;
}

int CheckListView::FocusedRow() const { return ListView_GetNextItem(list_, -1, LVNI_FOCUSED); }

POINT CheckListView::KeyboardMenuPoint() const {
  POINT point{0, 0};
  RECT client{}, row{};
  GetClientRect(list_, &client);
  row.left = LVIR_LABEL;
  const int focused = FocusedRow();
  if (focused >= 0 && SendMessageW(list_, LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&row)) &&
      row.bottom > client.top && row.bottom <= client.bottom) {
    point = {row.left, row.bottom};
  }
  ClientToScreen(list_, &point);
  return point;
}

void CheckListView::SetSelectedChecked(bool checked) {
  std::vector<RowRange> runs = SelectedRuns();
  if (!runs.empty()) source_->SetChecked(runs, checked);
}

void CheckListView::ToggleSelectedTicks() {
  const int focused = FocusedRow();
  const bool focusedSelected = focused >= 0 && (ListView_GetItemState(list_, focused, LVIS_SELECTED) & LVIS_SELECTED);
  if (focused >= 0 && !focusedSelected) {
    source_->ToggleCheck(focused);
    return;
  }
  std::vector<RowRange> runs = SelectedRuns();
  if (runs.empty()) return;
  const int decider = focused >= 0 ? focused : runs.front().first;
  source_->SetChecked(runs, !source_->IsChecked(decider));
}

void CheckListView::RowsAppended() {
  if (countTimerRunning_) return;
  UINT interval = std::max(kCountInterval, kCountShare * lastCountCost_);
  countTimerRunning_ = SetTimer(list_, TimerId(), interval, &CheckListView::OnCountTimer) != 0;
}

void CALLBACK CheckListView::OnCountTimer(HWND list, UINT, UINT_PTR id, DWORD) {
  auto* view = reinterpret_cast<CheckListView*>(id);
  KillTimer(list, id);
  view->countTimerRunning_ = false;
  CatchAtEntry("the list's row-count timer", [view] { view->SyncRowCount(); });
}

void CheckListView::SyncRowCount() {
  if (ListView_GetItemCount(list_) == source_->RowCount()) return;
  ULONGLONG start = GetTickCount64();
  ListView_SetItemCountEx(list_, source_->RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  lastCountCost_ = static_cast<UINT>(GetTickCount64() - start);
}

void CheckListView::RowsReset() {
  // Indices changed: a selection would now name other rows.
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemCountEx(list_, source_->RowCount(), 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void CheckListView::RowChanged(int row) {
  if (row >= 0 && row < ListView_GetItemCount(list_)) ListView_RedrawItems(list_, row, row);
}

void CheckListView::AllRowsChanged() { InvalidateRect(list_, nullptr, FALSE); }

}  // namespace tarnwell
