#include "search/row_batch.h"

namespace tarnwell {

void RowBatch::Add(std::string_view folder, std::string_view name) {
  if (folders_.empty() || folders_.back() != folder) folders_.emplace_back(folder);
  rows_.push_back(Row{static_cast<std::uint32_t>(folders_.size() - 1), static_cast<std::uint32_t>(names_.size()),
                      static_cast<std::uint32_t>(name.size())});
  names_.append(name);
}

}  // namespace tarnwell
