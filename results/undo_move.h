// Taking back the last move: every file it moved goes back to its old path,
// when that path is free and the file at the new path is still the one
// moved there (the same file id where the volume gives one, else the same
// size and modification time). A file that cannot go back stays where it
// is. The list is not touched: a move never changed it.
#pragma once

#include "results/batch_progress.h"
#include "results/batch_transfer.h"
#include "results/result_host.h"

namespace tarnwell {

// Empties `moved` (there is nothing more to take back afterwards, whatever
// went back) and ends with a box that says how many went back and how many
// could not. Nothing happens for an empty `moved`. The files are moved by
// the host's worker thread while the window answers; a stop ends the undo
// before its next file (one that was being copied back stays where it was),
// and the files not taken back then stay in `moved`, to be taken back later.
// `progress`, when given, is what the progress window watches and stops.
void UndoMove(ResultHost& host, MovedFiles& moved, BatchProgress* progress = nullptr);

}  // namespace tarnwell
