// The report of wanted names that no listed file matches: written beside the
// program as "未搜到文件列表.txt" and opened with the shell.
#pragma once

#include <cstdint>

#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

// The report text: every line of the names box that occurs in no row's file
// name (ASCII case ignored, matches start on character boundaries), each
// followed by CR LF, in the order of the box.
Text BuildNotFoundReport(const Text& namesBoxContent, const ResultList& list);

// Writes and opens the report; then, when the last search could not read
// `unreadFolders` folders, a box says that names may be in them.
void NotFoundReport(const ResultList& list, ResultHost& host, std::uint64_t unreadFolders = 0);

}  // namespace tarnwell
