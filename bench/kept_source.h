// The change source of the kept-folder benchmark cases: under Windows (and
// Wine) the system's watch, with real changes made on disk; natively a watch
// that arms and reports only the changes the benchmark tells it of (the
// portable build has no watch of its own).
#pragma once

#include "platform/files/folder_watch.h"
#include "platform/text/text.h"
#include "search/kept/kept_folders.h"

namespace tarnwell::bench {

const FolderWatcher& BenchWatcher();

// Changes each of `folders` (paths relative to `root`, "\"-separated) as a
// user would, a file made and removed in it, so that the tree ends as it
// was; returns once `kept` has been told of the changes.
void ChangeFolders(const Text& root, const TextList& folders, const KeptFolders& kept);

}  // namespace tarnwell::bench
