// Copying or moving the ticked files into one folder that the user picks.
// The two commands are one routine that differs in its texts and file operation.
// Every file acted on gets its line in the operation record; files that
// could not be copied or moved are counted in a box at the end. The files
// are acted on by the host's worker thread, one at a time, while the window
// answers; a stop (or the window closed) stops the file under way at its
// next piece, leaving nothing of it in the target and its source whole, and
// ends the batch there.
#pragma once

#include <optional>
#include <vector>

#include "results/batch_progress.h"
#include "results/operation_record.h"
#include "results/result_host.h"
#include "results/result_list.h"
#include "results/same_name.h"

namespace tarnwell {

enum class TransferKind { Copy, Move };

struct TransferOptions {
  SameNameRule sameName = SameNameRule::Replace;
  // Each file goes to the target plus its folder below the search's root.
  bool keepFolders = false;
  SearchRoots roots;
  // Each file copied (also by a move that has to copy) is read back from the
  // target and compared with its source before it counts as arrived.
  bool verify = false;
};

// One file a move put somewhere, as it was when it arrived: what an undo
// checks before it takes the file back.
struct MovedFile {
  Text from;
  Text to;
  std::optional<FileIdentity> identity;
  std::optional<FileFacts> facts;
};
using MovedFiles = std::vector<MovedFile>;

// `moved`, when given, gets the files that a move put into the target;
// `progress`, when given, is what the progress window watches and stops.
void BatchTransfer(ResultList& list, ResultHost& host, TransferKind kind, const TransferOptions& options = {},
                   MovedFiles* moved = nullptr, BatchProgress* progress = nullptr);
inline void BatchCopy(ResultList& list, ResultHost& host) { BatchTransfer(list, host, TransferKind::Copy); }
inline void BatchMove(ResultList& list, ResultHost& host) { BatchTransfer(list, host, TransferKind::Move); }

// The part of a path after its last "\" (a trail byte 0x5C is no separator);
// the whole path when it has none.
Text FileNameOf(const Text& path);

}  // namespace tarnwell
