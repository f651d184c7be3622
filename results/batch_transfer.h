// Copying or moving the ticked files into one folder that the user picks.
// The two commands are one routine that differs in its texts and file operation.
#pragma once

#include "results/result_host.h"
#include "results/result_list.h"

namespace tarnwell {

enum class TransferKind { Copy, Move };

void BatchTransfer(ResultList& list, ResultHost& host, TransferKind kind);
inline void BatchCopy(ResultList& list, ResultHost& host) { BatchTransfer(list, host, TransferKind::Copy); }
inline void BatchMove(ResultList& list, ResultHost& host) { BatchTransfer(list, host, TransferKind::Move); }

// The part of a path after its last "\" (a trail byte 0x5C is no separator);
// the whole path when it has none.
Text FileNameOf(const Text& path);

}  // namespace tarnwell
