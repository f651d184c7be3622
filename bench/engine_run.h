// The program's search measured end to end: Search::Start with one root, its
// worker's row batches handed to the consuming thread through a
// WindowThreadQueue, one posted closure per batch appending the rows to a
// ResultList, as the window does on its thread. The calling thread plays the
// window thread: it waits for the queue's wake-ups and drains the queue.
// `threads` is SearchOptions::walkThreads: the threads that list folders
// (0: the default);
// `numbers` its number rule.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/files/directory_listing.h"
#include "platform/text/text.h"
#include "search/match/match_mode.h"
#include "search/names/names_box.h"

namespace tarnwell::bench {

struct EngineRun {
  double seconds = 0;  // from Start until the walk's end was handled on the consuming thread
  std::size_t rows = 0;
  std::uint64_t rowsDigest = 0;  // of every row's text, in list order (taken after the timing)
  int threadsAtEnd = 1;          // threads listing at the end of the search
  int mostThreads = 1;           // and the most at once
  double awayShare = 0;          // default threads: the share of the time listed with another count than at the end
};

EngineRun RunEngine(const Text& root, const NameList& names, MatchMode mode, const DirectoryLister& lister,
                    int threads = 0, NumberRule numbers = NumberRule::Off);

}  // namespace tarnwell::bench
