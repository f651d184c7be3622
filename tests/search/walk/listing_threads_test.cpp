#include "search/walk/listing_threads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tarnwell {
namespace {

// Storage as the choice sees it, by the threads listing: listings a second,
// the share of min(threads, processors) the process keeps busy, the share
// of their time helpers find nothing to list, and the share of a listing's
// time its thread spends on a processor while the threads are no more than
// the processors (beyond, they take turns on them; below 0: not timed).
struct Storage {
  std::map<int, double> rate;  // threads not in the map list as the nearest fewer threads do
  double busy = 0.1;
  double starved = 0;
  double listingShare = -1;
};

double At(const std::map<int, double>& byThreads, int threads) { return std::prev(byThreads.upper_bound(threads))->second; }

struct Row {
  std::string what;
  ListingThreadRange range;
  Storage storage;
  int settles;  // the threads the choice must hold in most of the later periods
};

// The counts a choice sets over `periods` periods of 50 ms of `storage`.
std::vector<int> Periods(ThroughputChoice& choice, const Row& row, int periods) {
  std::vector<int> counts;
  for (int i = 0; i < periods; ++i) {
    const int threads = choice.Threads();
    const double seconds = 0.05;
    ListingPeriod period;
    period.seconds = seconds;
    period.listings = static_cast<std::uint64_t>(At(row.storage.rate, threads) * seconds);
    period.processorSeconds = row.storage.busy * std::min(threads, row.range.processors) * seconds;
    period.idleHelperSeconds = row.storage.starved * (threads - 1) * seconds;
    if (row.storage.listingShare >= 0) {
      period.listingSeconds = seconds;
      period.listingProcessorSeconds =
          row.storage.listingShare * seconds * std::min(1.0, static_cast<double>(row.range.processors) / threads);
    }
    choice.PeriodEnded(period);
    counts.push_back(choice.Threads());
  }
  return counts;
}

// Each row's storage lists best with one count; the choice must find it and
// hold it: in the periods after the first 20, at most one in five tries
// another count (tries cost, so they thin out), and the count never leaves
// the range. Where the listings are timed and wait for the storage, the
// climb starts after the first period (a cold disk's walk may last only a
// few); where they keep their processor busy, the first period moves nothing.
TEST(ThroughputChoice, FindsAndHoldsTheThreadsThatListMost) {
  const std::vector<Row> rows = {
      {"a share: every listing waits a round trip, up to 16 in flight pay",
       {2, 1, 32, 2}, {{{1, 160}, {2, 320}, {4, 640}, {8, 1280}, {16, 2400}, {32, 2000}}, 0.05, 0, 0.05}, 16},
      {"a share that answers as many as are asked", {2, 1, 32, 2}, {{{1, 100}, {2, 200}, {4, 400}, {8, 800}, {16, 1600}, {32, 3200}}, 0.05}, 32},
      {"a warm local disk: the processors list, the count stays", {2, 1, 32, 2}, {{{1, 1000}, {2, 1800}, {4, 1700}}, 0.95, 0, 0.98}, 2},
      {"a warm local disk on 8 processors", {8, 1, 32, 8}, {{{1, 1000}, {8, 6000}, {16, 5000}}, 0.9}, 8},
      {"a cold disk: reads overlap up to 8", {2, 1, 32, 2}, {{{1, 1000}, {2, 1500}, {4, 2200}, {8, 2900}, {16, 2950}, {32, 2800}}, 0.5}, 8},
      {"a cold disk, timed: reads overlap up to 8", {2, 1, 32, 2}, {{{1, 1000}, {2, 1500}, {4, 2200}, {8, 2900}, {16, 2950}, {32, 2800}}, 0.6, 0, 0.5}, 8},
      {"Wine: one folder at a time, the walk alone lists most", {2, 1, 2, 2}, {{{1, 2300}, {2, 1900}}, 0.5, 0, 0.4}, 1},
      {"Wine: one folder at a time, one helper pays", {2, 1, 2, 2}, {{{1, 1900}, {2, 2400}}, 0.5}, 2},
      {"a share that slows down under more requests", {2, 1, 32, 2}, {{{1, 100}, {2, 160}, {4, 130}}, 0.1}, 2},
      {"helpers with nothing to list: the walk's matching is the bound", {2, 1, 32, 2}, {{{1, 800}, {2, 1000}}, 0.5, 0.6}, 2},
      {"the walk alone with a processor to spare, the other one busy", {1, 1, 32, 2}, {{{1, 1000}, {2, 1800}, {4, 1700}}, 0.95}, 2},
  };
  for (const Row& row : rows) {
    ThroughputChoice choice(row.range);
    const std::vector<int> counts = Periods(choice, row, 200);
    const auto later = std::count(counts.begin() + 20, counts.end(), row.settles);
    EXPECT_GE(later * 5, static_cast<std::ptrdiff_t>(counts.size() - 20) * 4) << row.what;
    EXPECT_GE(*std::min_element(counts.begin(), counts.end()), row.range.least) << row.what;
    EXPECT_LE(*std::max_element(counts.begin(), counts.end()), row.range.most) << row.what;
    if (row.storage.listingShare >= 0 && row.range.most > row.range.processors) {
      EXPECT_EQ(counts[0] > row.range.start, row.storage.listingShare < 0.7) << row.what;
    }
  }
}

// A walk starts with one folder to list: in its first period the helpers
// have little to do and the processors idle half the time. That is the
// start, not the storage: a warm disk's count must not move for it (judged
// by it, half the threads looked better and the walk alone never climbed
// back, as the processors were busy).
TEST(ThroughputChoice, TheWalksStartIsNotTakenForTheStorage) {
  const Row warm{"warm", {2, 1, 32, 2}, {{{1, 1000}, {2, 1800}, {4, 1700}}, 0.95}, 2};
  ThroughputChoice choice(warm.range);
  ListingPeriod start;
  start.seconds = 0.05;
  start.listings = 45;
  start.processorSeconds = 0.5 * 2 * start.seconds;
  start.idleHelperSeconds = 0.3 * start.seconds;
  choice.PeriodEnded(start);
  EXPECT_EQ(Periods(choice, warm, 20), std::vector<int>(20, 2));
}

// The storage changes under a walk (a share's cache warms, the walk reaches
// another kind of folder): the choice follows, both ways.
TEST(ThroughputChoice, FollowsStorageThatChanges) {
  const Row slow{"slow", {2, 1, 32, 2}, {{{1, 100}, {2, 200}, {4, 400}, {8, 800}, {16, 1600}, {32, 3200}}, 0.05}, 32};
  const Row warm{"warm", {2, 1, 32, 2}, {{{1, 1000}, {2, 1800}, {4, 1500}, {8, 1200}, {16, 900}, {32, 600}}, 0.95}, 2};
  ThroughputChoice choice(slow.range);
  for (const Row* storage : {&slow, &warm, &slow}) {
    const std::vector<int> counts = Periods(choice, *storage, 200);
    EXPECT_GE(std::count(counts.begin() + 100, counts.end(), storage->settles), 80) << storage->what;
  }
}

}  // namespace
}  // namespace tarnwell
