// Rows found by a walk, handed to the result list together. Each row is a
// folder and a file name (the row's text is folder + "\" + name); the folder
// text is kept once for a run of rows in the same folder, as the list keeps it.
// All texts of a batch share one buffer, so that a batch costs a few
// allocations however many folders it spans.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwell {

class RowBatch {
 public:
  void Add(std::string_view folder, std::string_view name);

  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  std::string_view Folder(std::size_t row) const { return Part(rows_[row].folderStart, rows_[row].folderLength); }
  std::string_view Name(std::size_t row) const { return Part(rows_[row].nameStart, rows_[row].nameLength); }

 private:
  struct Row {
    std::uint32_t folderStart;
    std::uint32_t folderLength;
    std::uint32_t nameStart;
    std::uint32_t nameLength;
  };
  std::string_view Part(std::uint32_t start, std::uint32_t length) const {
    return std::string_view(texts_).substr(start, length);
  }
  std::string texts_;
  std::vector<Row> rows_;
};

}  // namespace tarnwell
