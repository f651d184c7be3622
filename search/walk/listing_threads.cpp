#include "search/walk/listing_threads.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "platform/base/wine.h"

namespace tarnwell {
namespace {

// Listings wait when the process keeps less than this share of its listing
// threads' processors busy; below the second share the processors are
// mostly idle (the listings wait on a share or a slow disk), and the climb
// takes four times the threads at a step rather than twice.
constexpr double kWaiting = 0.7;
constexpr double kIdle = 0.3;
// Helpers starve when they found nothing to list for this share of their time.
constexpr double kStarved = 0.25;
// Twice the threads must list this much more a second to stay: a doubling
// that pays (listings that wait for the storage) gives far more, and less
// is within what one period of a busy machine scatters.
constexpr double kUpGain = 1.15;
// Half the threads must list this much more to stay: listing less a second
// costs more where listings wait (half the threads, half the listings) than
// a helper too many costs anywhere.
constexpr double kDownGain = 1.05;
// Hold periods in the mean the tries are held against.
constexpr int kRateSamples = 3;
// Periods the count holds after a change, after the first try that did not
// pay, and at most: a try of a count that lists less costs up to a period's
// worth of listings (under Wine, two threads may take twice as long), so the
// holds after tries that changed nothing grow fourfold.
constexpr int kFirstHold = 2;
constexpr int kFailedHold = 4;
constexpr int kLongestHold = 64;
// A period with fewer listings tells nothing (the walk's first folders, its end).
constexpr std::uint64_t kFewestListings = 4;

}  // namespace

ThroughputChoice::ThroughputChoice(ListingThreadRange range) : range_(range) {
  range_.least = std::max(1, range_.least);
  range_.most = std::max(range_.least, range_.most);
  range_.processors = std::max(1, range_.processors);
  threads_ = std::clamp(range_.start, range_.least, range_.most);
}

bool ThroughputChoice::Open(Way way, bool waiting, bool starved) const {
  // Below the processors' count, a processor is there for another thread
  // even when the listings do not wait (the walk alone, reached by a try
  // that a busy moment made look good, must be able to climb back).
  if (way == Way::Up) return threads_ < range_.most && (waiting || threads_ < range_.processors) && !starved;
  return threads_ > range_.least && (waiting || threads_ > range_.processors);
}

void ThroughputChoice::Try(Way way, bool idle) {
  base_ = threads_;
  trying_ = way;
  lastTry_ = way;
  threads_ = way == Way::Up ? std::min(range_.most, threads_ * (idle ? 4 : 2)) : std::max(range_.least, threads_ / 2);
}

void ThroughputChoice::Hold(bool changed) {
  if (changed) {
    holdLeft_ = kFirstHold;
    hold_ = kFailedHold;
  } else {
    holdLeft_ = hold_;
    hold_ = std::min(hold_ * 4, kLongestHold);
  }
}

void ThroughputChoice::PeriodEnded(const ListingPeriod& period) {
  if (period.listings < kFewestListings || period.seconds <= 0) return;
  const double rate = static_cast<double>(period.listings) / period.seconds;
  const double busy = std::min(threads_, range_.processors);
  // The listings' own share of the processor tells whether they wait for
  // the storage, but only while the threads do not outnumber the
  // processors: beyond, a listing also waits for its turn on one. What it
  // said last holds while the threads are more.
  const bool shareKnown = period.listingProcessorSeconds >= 0 && period.listingSeconds > 0 && threads_ <= range_.processors;
  const double share = shareKnown ? period.listingProcessorSeconds / period.listingSeconds : 1;
  if (shareKnown) storageWaits_ = share < kWaiting;
  const bool waiting = period.processorSeconds < kWaiting * busy * period.seconds || storageWaits_;
  const bool idle = period.processorSeconds < kIdle * busy * period.seconds || share < kIdle;
  const bool starved = threads_ > 1 && period.idleHelperSeconds > kStarved * (threads_ - 1) * period.seconds;
  // The first period shows the walk starting (the helpers have little to
  // list until the first folders are listed), not the storage: on a warm
  // disk it lists at half the rate of the next, with the processors half
  // idle, and a try judged against it would pay whatever it tried. Only
  // listings that themselves wait for the storage (a cold disk, a share)
  // start the climb at once, with four times the threads: a short walk has
  // few periods to climb in, and on a cold disk 8 threads list most where 2
  // wait half the time. The rate the try is held against is this period's.
  if (!started_) {
    started_ = true;
    if (!storageWaits_ || range_.most <= range_.processors || threads_ >= range_.most) return;
    baseRate_ = rate;
    rateSamples_ = 1;
    Try(Way::Up, true);
    return;
  }
  if (trying_ == Way::None) {
    // One period of a busy machine may list half as much as the next: the
    // rate the tries are held against is a mean of the last few.
    rateSamples_ = std::min(rateSamples_ + 1, kRateSamples);
    baseRate_ += (rate - baseRate_) / rateSamples_;
    if (--holdLeft_ > 0) return;
    const bool up = Open(Way::Up, waiting, starved);
    const bool down = Open(Way::Down, waiting, starved);
    if (up && down) {
      Try(lastTry_ == Way::Up ? Way::Down : Way::Up, idle);
    } else if (up || down) {
      Try(up ? Way::Up : Way::Down, idle);
    } else {
      holdLeft_ = kFirstHold;  // nothing to try: look again soon, the storage may change
    }
    return;
  }
  const Way way = trying_;
  trying_ = Way::None;
  if (way == Way::Up ? rate >= kUpGain * baseRate_ : rate >= kDownGain * baseRate_) {
    // Back where the last change came from: a busy machine's scatter made
    // one of the two look better, so the holds go on growing as after a try
    // that changed nothing, and such a pair does not repeat every few periods.
    const bool back = threads_ == previous_;
    previous_ = base_;
    baseRate_ = rate;
    rateSamples_ = 1;
    arrived_ = way;
    fresh_ = true;
    if (Open(way, waiting, starved)) {
      Try(way, idle);
    } else {
      Hold(!back);
    }
    return;
  }
  threads_ = base_;
  // Just arrived at these threads from the other way: that way is known to
  // list less, so the count holds; otherwise it is tried at once.
  const Way other = way == Way::Up ? Way::Down : Way::Up;
  const bool tryOther = fresh_ && arrived_ != way && Open(other, waiting, starved);
  fresh_ = false;
  if (tryOther) {
    Try(other, idle);
  } else {
    Hold(false);
  }
}

std::optional<int> WalkThreadsFromEnvironment() {
  const char* text = std::getenv("TARNWELL_WALK_THREADS");
  if (text == nullptr) return std::nullopt;
  char* end = nullptr;
  long threads = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || threads < 1 || threads > 64) return std::nullopt;
  return static_cast<int>(threads);
}

ListingThreadRange DefaultListingThreadRange() {
  ListingThreadRange range;
  range.processors = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  if (RunsUnderWine()) {
    range.start = 1;
    range.most = 2;
  } else {
    range.start = std::min(range.processors, 8);
    range.most = 32;
  }
  return range;
}

}  // namespace tarnwell
