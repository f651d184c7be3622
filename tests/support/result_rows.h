// Rows put into a result list the way tests state them: as whole paths,
// split at their last "\" that is a character of its own, as a walk would
// hand them over (folder, file name).
#pragma once

#include <string_view>

#include <gtest/gtest.h>

#include "platform/text/text.h"
#include "results/result_list.h"

namespace tarnwell {

inline void AppendPath(ResultList& list, std::string_view path) {
  int separator = FindLastText(path, "\\", false);
  ASSERT_GT(separator, 0) << "a row's path holds a folder: " << path;
  list.Append(path.substr(0, static_cast<std::size_t>(separator) - 1), path.substr(static_cast<std::size_t>(separator)));
}

inline void RemoveRowAt(ResultList& list, int row) {
  const ResultList::RowId id = list.IdOf(row);
  list.RemoveRows({&id, 1});
}

}  // namespace tarnwell
