// The status line's texts of a search, built from the figures the search
// gives: the progress text of its latest step and the completion text.
#pragma once

#include <cstdint>

#include "platform/text/text.h"

namespace tarnwell {

// "请稍后，正在搜索" + wanted name + "  加速" + a random number from 1 to 5000,
// drawn anew for every text. The number measures nothing; it is kept on
// purpose: users read a changing number as a search that is alive
// (docs/behaviour.md).
Text ProgressText(const Text& wantedName);

// "搜索完毕！共搜索到文件" + the row count + "个.", and when folders could not
// be read, "（有N个文件夹无法读取）" after it.
Text CompletionText(int rows, std::uint64_t unreadFolders = 0);

}  // namespace tarnwell
