// The export of the result list: "搜索结果.csv" beside the program, one line
// per row in list order (path, file name, folder, size in bytes, local
// modification time, ticked, the wanted name that finds the row), opened
// with the shell.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/file_facts.h"
#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

// Size and time of the file a row names; nothing for a file gone since the
// search, whose size and time stay empty.
using FileFactsReader = std::function<std::optional<FileFacts>(std::string_view path)>;

// The wanted name shown in the last column for each row, in list order
// (empty for a row that no wanted name matches); the caller matches the rows
// as the last search did.
using MatchedNames = std::function<TextList(const ResultList& list)>;

// The file's bytes: UTF-8 with a byte-order mark, RFC 4180 quoting, CR LF.
std::string BuildResultExport(const ResultList& list, const FileFactsReader& facts, const TextList& matchedNames);

// Writes the file and has the shell open it; when it cannot be written, says
// so in a message box and opens nothing.
void ExportResultList(const ResultList& list, ResultHost& host, const FileFactsReader& facts,
                      const MatchedNames& matchedNames);

}  // namespace tarnwell
