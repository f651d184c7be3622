#include "results/result_list.h"

#include <algorithm>

namespace tarnwell {

void ResultList::SetListener(Listener listener) { listener_ = std::move(listener); }

void ResultList::Notify(Change change, int row) {
  if (listener_) listener_(change, row);
}

void ResultList::Clear() {
  rows_.clear();
  rows_.shrink_to_fit();
  folders_.clear();
  folders_.shrink_to_fit();
  texts_.Clear();
  Notify(Change::Reset);
}

std::uint32_t ResultList::FolderIndex(std::string_view folder) {
  if (folders_.empty() || folders_.back() != folder) folders_.push_back(texts_.Add(folder));
  return static_cast<std::uint32_t>(folders_.size() - 1);
}

void ResultList::AppendRow(std::uint32_t folder, std::string_view name) {
  Row row{};
  row.id = ++lastId_;
  row.name = texts_.Add(name).data();
  row.folder = folder;
  row.nameLength = static_cast<std::uint32_t>(name.size());
  row.checked = 0;
  rows_.push_back(row);
}

void ResultList::Append(std::string_view folder, std::string_view name) {
  AppendRow(FolderIndex(folder), name);
  Notify(Change::Appended);
}

void ResultList::AppendPath(std::string_view path) {
  int separator = FindLastText(path, "\\", false);
  if (separator < 0) {
    AppendRow(kNoFolder, path);
  } else {
    AppendRow(FolderIndex(path.substr(0, separator - 1)), path.substr(separator));
  }
  Notify(Change::Appended);
}

void ResultList::SetRowText(int row, std::string_view path) {
  if (!Valid(row)) return;
  int separator = FindLastText(path, "\\", false);
  std::string_view name = separator < 0 ? path : path.substr(separator);
  Row& r = rows_[row];
  r.folder = separator < 0 ? kNoFolder : FolderIndex(path.substr(0, separator - 1));
  r.name = texts_.Add(name).data();
  r.nameLength = static_cast<std::uint32_t>(name.size());
  Notify(Change::RowChanged, row);
}

int ResultList::RowCount() const { return static_cast<int>(rows_.size()); }

Text ResultList::RowFileName(int row) const {
  if (!Valid(row)) return {};
  const Row& r = rows_[row];
  return Text(r.name, r.nameLength);
}

Text ResultList::RowText(int row) const {
  if (!Valid(row)) return {};
  const Row& r = rows_[row];
  std::string_view name(r.name, r.nameLength);
  if (r.folder == kNoFolder) return Text(name);
  return Concat(folders_[r.folder], "\\", name);
}

bool ResultList::IsChecked(int row) const { return Valid(row) && rows_[row].checked; }

void ResultList::SetChecked(int row, bool checked) {
  if (!Valid(row)) return;
  rows_[row].checked = checked ? 1 : 0;
  Notify(Change::RowChanged, row);
}

void ResultList::RemoveRow(int row) {
  if (!Valid(row)) return;
  rows_.erase(rows_.begin() + row);
  Notify(Change::Reset);
}

void ResultList::RemoveRows(std::span<const RowId> ids) {
  std::vector<RowId> sorted(ids.begin(), ids.end());
  std::sort(sorted.begin(), sorted.end());
  auto next = sorted.begin();
  auto kept = std::remove_if(rows_.begin(), rows_.end(), [&](const Row& row) {
    next = std::lower_bound(next, sorted.end(), row.id);
    return next != sorted.end() && *next == row.id;
  });
  if (kept == rows_.end()) return;
  rows_.erase(kept, rows_.end());
  Notify(Change::Reset);
}

ResultList::RowId ResultList::IdOf(int row) const { return Valid(row) ? rows_[row].id : kNoRow; }

int ResultList::RowOf(RowId id) const {
  auto found = std::lower_bound(rows_.begin(), rows_.end(), id, [](const Row& row, RowId v) { return row.id < v; });
  if (found == rows_.end() || found->id != id) return -1;
  return static_cast<int>(found - rows_.begin());
}

int ResultList::FirstRowAfter(RowId after) const {
  auto found = std::upper_bound(rows_.begin(), rows_.end(), after, [](RowId v, const Row& row) { return v < row.id; });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

}  // namespace tarnwell
