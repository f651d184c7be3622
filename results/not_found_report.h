// The report of wanted names that no listed file matches: written beside the
// program as "未搜到文件列表.txt" and opened with the shell.
#pragma once

#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

// The report text: every line of the names box that occurs in no row's file
// name (ASCII case ignored, matches start on character boundaries), each
// followed by CR LF, in the order of the box.
Text BuildNotFoundReport(const Text& namesBoxContent, const ResultList& list);

void NotFoundReport(const ResultList& list, ResultHost& host);

}  // namespace tarnwell
