#include "results/result_list.h"

#include <algorithm>

#include "platform/base/invariant.h"

namespace tarnwell {

void ResultList::SetListener(Listener listener) { listener_ = std::move(listener); }

int ResultList::AddListener(Listener listener) {
  moreListeners_.emplace_back(++lastListenerId_, std::move(listener));
  return lastListenerId_;
}

void ResultList::RemoveListener(int id) {
  std::erase_if(moreListeners_, [id](const auto& listener) { return listener.first == id; });
}

void ResultList::Notify(Change change, int row) {
  if (listener_) listener_(change, row);
  // By index: a listener may add another while it is told.
  for (std::size_t i = 0; i < moreListeners_.size(); ++i) moreListeners_[i].second(change, row);
}

void ResultList::Clear() {
  store_ = std::make_unique<Store>();
  Notify(Change::Reset);
}

std::uint32_t ResultList::FolderIndex(std::string_view folder) {
  auto& folders = store_->folders;
  if (folders.empty() || folders.back() != folder) folders.push_back(store_->texts.Add(folder));
  return static_cast<std::uint32_t>(folders.size() - 1);
}

void ResultList::AppendRow(std::uint32_t folder, std::string_view name) {
  Row row{};
  row.id = ++lastId_;
  // RowOf finds rows by a binary search of their ids, and a scan of ticked
  // rows holds ids across a Clear: ids only ever grow, never repeat.
  TARNWELL_INVARIANT(row.id != kNoRow && (store_->rows.empty() || store_->rows.back().id < row.id));
  row.name = store_->texts.Add(name).data();
  row.folder = folder;
  // A file name holds at most 255 UTF-16 units, four bytes each at most.
  row.nameLength = static_cast<std::uint32_t>(name.size()) & 0x7FFFFFFFu;
  row.checked = 0;
  store_->rows.push_back(row);
}

void ResultList::Append(std::string_view folder, std::string_view name) {
  AppendRow(FolderIndex(folder), name);
  Notify(Change::Appended);
}

int ResultList::RowCount() const { return static_cast<int>(store_->rows.size()); }

Text ResultList::RowFileName(int row) const {
  if (!Valid(row)) return {};
  const Row& r = store_->rows[row];
  return Text(r.name, r.nameLength);
}

Text ResultList::RowText(int row) const {
  if (!Valid(row)) return {};
  const Row& r = store_->rows[row];
  return Concat(store_->folders[r.folder], "\\", std::string_view(r.name, r.nameLength));
}

bool ResultList::IsChecked(int row) const { return Valid(row) && store_->rows[row].checked; }

void ResultList::SetChecked(int row, bool checked) {
  if (!Valid(row)) return;
  store_->rows[row].checked = checked ? 1 : 0;
  Notify(Change::RowChanged, row);
}

void ResultList::SetAllChecked(bool checked) {
  for (Row& row : store_->rows) row.checked = checked ? 1 : 0;
  Notify(Change::AllTicks);
}

void ResultList::SetRowsChecked(std::span<const RowRange> ranges, bool checked) {
  auto& rows = store_->rows;
  const int count = RowCount();
  for (const RowRange& range : ranges) {
    const int last = std::min(range.last, count);
    for (int row = std::max(range.first, 0); row < last; ++row) rows[static_cast<std::size_t>(row)].checked = checked ? 1 : 0;
  }
  Notify(Change::AllTicks);
}

void ResultList::RemoveRows(std::span<const RowId> ids) {
  std::vector<RowId> sorted(ids.begin(), ids.end());
  std::sort(sorted.begin(), sorted.end());
  auto next = sorted.begin();
  auto& rows = store_->rows;
  auto kept = std::remove_if(rows.begin(), rows.end(), [&](const Row& row) {
    next = std::lower_bound(next, sorted.end(), row.id);
    return next != sorted.end() && *next == row.id;
  });
  if (kept == rows.end()) return;
  rows.erase(kept, rows.end());
  Notify(Change::Reset);
}

ResultList::RowId ResultList::IdOf(int row) const { return Valid(row) ? store_->rows[row].id : kNoRow; }

int ResultList::RowOf(RowId id) const {
  const auto& rows = store_->rows;
  auto found = std::lower_bound(rows.begin(), rows.end(), id, [](const Row& row, RowId v) { return row.id < v; });
  if (found == rows.end() || found->id != id) return -1;
  return static_cast<int>(found - rows.begin());
}

int ResultList::FirstRowAfter(RowId after) const {
  const auto& rows = store_->rows;
  auto found = std::upper_bound(rows.begin(), rows.end(), after, [](RowId v, const Row& row) { return v < row.id; });
  return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

}  // namespace tarnwell
