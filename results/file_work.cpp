#include "results/file_work.h"

#include <algorithm>

namespace tarnwell {

int TickedRowCount(const ResultList& list) {
  int ticked = 0;
  for (int row = 0; row < list.RowCount(); ++row) ticked += list.IsChecked(row) ? 1 : 0;
  return ticked;
}

TickedSizes::TickedSizes(const ResultList& list, FileWork& work, std::uint64_t weight) {
  // The paths are taken on the window thread, which owns the list; the
  // worker only reads the files.
  std::vector<std::pair<ResultList::RowId, Text>> ticked;
  for (int row = 0; row < list.RowCount(); ++row) {
    if (list.IsChecked(row)) ticked.emplace_back(list.IdOf(row), list.RowText(row));
  }
  ResultHost& host = work.Host();
  sizes_ = work.Run([&] {
    std::vector<std::pair<ResultList::RowId, std::uint64_t>> sizes;
    sizes.reserve(ticked.size());
    std::uint64_t total = 0;
    for (const auto& [id, path] : ticked) {
      if (work.StopRequested()) break;
      const std::optional<FileFacts> facts = host.FactsOf(path);
      const std::uint64_t size = facts ? facts->size : 0;
      sizes.emplace_back(id, size);
      total += size * weight;
    }
    work.Progress().CountBytes(total);
    return sizes;
  });
}

std::uint64_t TickedSizes::Of(ResultList::RowId id) const {
  auto found = std::lower_bound(sizes_.begin(), sizes_.end(), id,
                                [](const auto& entry, ResultList::RowId wanted) { return entry.first < wanted; });
  return found != sizes_.end() && found->first == id ? found->second : 0;
}

}  // namespace tarnwell
