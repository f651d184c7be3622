// Sending files to the Recycle Bin. Paths are the program's texts ("\"
// separators). Nothing here shows a dialog or a message, and no file is ever
// deleted outright: a file that cannot go to the Recycle Bin stays where it is.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "platform/base/failure.h"
#include "platform/text/text.h"

namespace tarnwell {

// What became of one file: nothing when no file is at its path afterwards
// (also when there was none before), else why it stayed.
using RecycleOutcome = std::optional<Failure>;

// Sends the files to the Recycle Bin, all in one shell operation where it
// can. Tells for each path what became of it. Left where they are: read-only files, folders,
// paths too long for the shell or holding "*" or "?", files on a drive with
// no Recycle Bin or on one that cannot hold a second name for the file
// (the safety net below), and files the shell cannot move (held by another
// program).
//
// The shell deletes outright, without a word, a file it cannot recycle (too
// large for the bin, for one). So each file first gets a second name (a hard
// link) beside it; after the shell has run, a file that left its path while
// no other name of it remains (the bin holds none) is put back from that
// second name. The second names are removed in every case.
std::vector<RecycleOutcome> RecycleFiles(std::span<const Text> paths);

}  // namespace tarnwell
