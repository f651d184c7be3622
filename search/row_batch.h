// Rows found by a walk, handed to the result list together. Each row is a
// folder and a file name (the row's text is folder + "\" + name); the folder
// text is kept once for a run of rows in the same folder, as the list keeps it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace tarnwell {

class RowBatch {
 public:
  void Add(std::string_view folder, std::string_view name);

  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  std::string_view Folder(std::size_t row) const { return folders_[rows_[row].folder]; }
  std::string_view Name(std::size_t row) const {
    return std::string_view(names_).substr(rows_[row].nameStart, rows_[row].nameLength);
  }

 private:
  struct Row {
    std::uint32_t folder;
    std::uint32_t nameStart;
    std::uint32_t nameLength;
  };
  std::vector<Text> folders_;
  std::string names_;
  std::vector<Row> rows_;
};

}  // namespace tarnwell
