// Taking back the last move: every file it moved goes back to its old path,
// when that path is free and the file at the new path is still the one
// moved there (the same file id where the volume gives one, else the same
// size and modification time). A file that cannot go back stays where it
// is. The list is not touched: a move never changed it.
#pragma once

#include "results/batch_transfer.h"
#include "results/result_host.h"

namespace tarnwell {

// Empties `moved` (there is nothing more to take back afterwards, whatever
// went back) and ends with a box that says how many went back and how many
// could not. Nothing happens for an empty `moved`.
void UndoMove(ResultHost& host, MovedFiles& moved);

}  // namespace tarnwell
