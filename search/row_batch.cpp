#include "search/row_batch.h"

namespace tarnwell {

void RowBatch::Add(std::string_view folder, std::string_view name) {
  Row row{};
  if (!rows_.empty() && Folder(rows_.size() - 1) == folder) {
    row.folderStart = rows_.back().folderStart;
    row.folderLength = rows_.back().folderLength;
  } else {
    row.folderStart = static_cast<std::uint32_t>(texts_.size());
    row.folderLength = static_cast<std::uint32_t>(folder.size());
    texts_.append(folder);
  }
  row.nameStart = static_cast<std::uint32_t>(texts_.size());
  row.nameLength = static_cast<std::uint32_t>(name.size());
  texts_.append(name);
  rows_.push_back(row);
}

}  // namespace tarnwell
