// Measures, side by side in one run, what one search of a synthetic tree
// costs: the floor (one bare listing pass), the program's search engine for
// several numbers of wanted names, exact and fuzzy, the engine with the
// number rule for a list of photo numbers, the naive walk that lists
// every folder once per name, and natively fd and find. The cases run
// alternating, one after the other in every round, so that a slow moment of
// a shared machine spreads over all of them. Prints figures and ratios.
// The engine runs once per number of listing threads and once with the
// default threads (which a search chooses as its listings go), so that the
// scaling shows and the default stands beside the fixed counts; its rows
// must be the same, in the same order, with every number.
//
// Usage: search_bench ROOT [--folders N] [--files N] [--seed S] [--share X]
//        [--rounds R] [--engine-k 1,10,...] [--threads 1,2,...] [--numbers-k K]
//        [--naive-k 1,10,...] [--naive-limit SECONDS] [--naive-sample FOLDERS]
//        [--kept-k K] [--floor 0|1] [--tools 0|1] [--fuzzy 0|1] [--cold] [--machine TEXT]
// ROOT holds the tree that make_tree wrote with the same folders, files and
// seed; the wanted names come from that tree's description. A naive case
// slower than --naive-limit runs in the first round only; with
// --naive-sample, naive cases of 10 names or more walk only the first
// FOLDERS folders and their time is scaled to the whole tree (marked "est.").
// The number rule's case searches the first K (default 10,000) wanted names
// made only of digits, with the rule on (0: no such case). --floor 0 leaves
// the floor passes out, --tools 0 fd and find (where every listing is slow,
// the engine's one-thread walk is the measure), --fuzzy 0 the fuzzy cases.
// With --cold the page cache is dropped before every run of every case, so
// that each reads the tree from the disk (natively, as root; where that
// cannot be done the table says why and holds nothing).
// The kept cases search with K (--kept-k, 100 by default; 0: none) names
// through the kept folders, with the default threads: a first search that
// keeps what it lists (on Windows also one whose store has a watch that does
// nothing, to tell the store's cost from the watch's), a second search with
// no change and one after 100 folders changed (each after an untimed first
// search into a new store);
// below the table, each as a ratio to the engine's first search without
// keeping, and the bytes the store holds per entry.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/engine_run.h"
#include "bench/kept_source.h"
#include "bench/machine.h"
#include "bench/quiet_watcher.h"
#include "bench/samples.h"
#include "bench/synthetic_tree.h"
#include "bench/timed_lister.h"
#include "bench/tree_walks.h"
#include "platform/text/gb18030_utf8.h"
#include "search/kept/keeping_lister.h"
#include "search/kept/kept_folders.h"
#include "search/walk/listing_pool.h"
#include "search/walk/listing_threads.h"

namespace tarnwell::bench {
namespace {

struct Options {
  std::string root;
  TreeShape shape;
  double share = 0.5;
  int rounds = 5;
  std::vector<int> engineK{1, 10, 100, 1000, 10000};
  std::vector<int> threads{1, 2, 4, 8};  // listing threads of the engine cases
  std::vector<int> naiveK{1, 10, 100};
  int numbersK = 10000;
  double naiveLimit = 20;  // a naive case slower than this runs in the first round only
  std::uint64_t naiveSample = 0;  // folders walked by naive cases of 10 names or more; 0: all
  int keptK = 100;
  bool floor = true;
  bool tools = true;
  bool fuzzy = true;
  bool cold = false;
  std::string machine;
};

// FirstUnwatched: a first search through a store whose watch does nothing,
// which tells the store's own cost from the system watch's.
enum class KeptRun { First, FirstUnwatched, Again, AgainChanged };

struct Outcome {
  double seconds = 0;
  std::uint64_t rows = 0;
  double cpuSeconds = 0;
  std::uint64_t rowsDigest = 0;  // engine: of the rows' texts in order
  double callMicroseconds = 0;   // floor: mean time of one folder's listing call
  std::uint64_t listed = 0;      // kept: folders listed on disk
  int threadsAtEnd = 1;          // engine and floor: threads listing at the end
  int mostThreads = 1;           // and the most at once
  double awayShare = 0;          // default threads: the share of the time listed with another count than at the end
};

struct Case {
  std::string kind;  // floor, engine, numbers (the engine with the number rule), naive, fd, find
  std::string label;
  int k = 0;
  MatchMode mode = MatchMode::Exact;
  int threads = 0;  // engine and floor: listing threads (0: the default)
  std::function<std::optional<Outcome>()> run;
  double retireAfter = 0;  // seconds; 0: never retired
  Samples samples;
  Samples cpu;
  Samples callMicroseconds;
  std::uint64_t rows = 0;
  std::uint64_t rowsDigest = 0;
  bool retired = false;
  bool failed = false;
  bool estimated = false;  // the time is scaled up from a part of the tree
  KeptRun kept = KeptRun::First;  // kept cases: which search is timed
  std::uint64_t listed = 0;        // kept cases: folders the timed search listed on disk (last run)
  int fewestAtEnd = 0;             // default threads: the fewest and most threads at the end of a run
  int mostAtEnd = 0;
  int mostThreads = 0;             // and the most at once in any run
  Samples awayShare;               // and the share of each run's time listed with another count than at its end
};

Case NewCase(std::string kind, std::string label, int k, MatchMode mode,
             std::function<std::optional<Outcome>()> run) {
  Case c;
  c.kind = std::move(kind);
  c.label = std::move(label);
  c.k = k;
  c.mode = mode;
  c.run = std::move(run);
  return c;
}

std::vector<int> ParseList(const char* text) {
  std::vector<int> values;
  std::string list = text;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) values.push_back(std::atoi(list.substr(start, end - start).c_str()));
    start = end + 1;
  }
  return values;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  if (argc < 2) return false;
  options.root = argv[1];
  int i = 2;
  for (; i < argc && std::string(argv[i]) == "--cold"; ++i) options.cold = true;
  for (; i + 1 < argc; i += 2) {
    std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--folders") {
      options.shape.folders = std::atoi(value);
    } else if (name == "--files") {
      options.shape.files = std::atoi(value);
    } else if (name == "--seed") {
      options.shape.seed = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    } else if (name == "--share") {
      options.share = std::atof(value);
    } else if (name == "--rounds") {
      options.rounds = std::max(1, std::atoi(value));
    } else if (name == "--engine-k") {
      options.engineK = ParseList(value);
    } else if (name == "--threads") {
      options.threads = ParseList(value);
    } else if (name == "--numbers-k") {
      options.numbersK = std::atoi(value);
    } else if (name == "--naive-k") {
      options.naiveK = ParseList(value);
    } else if (name == "--naive-limit") {
      options.naiveLimit = std::atof(value);
    } else if (name == "--naive-sample") {
      options.naiveSample = std::strtoull(value, nullptr, 10);
    } else if (name == "--kept-k") {
      options.keptK = std::atoi(value);
    } else if (name == "--floor") {
      options.floor = std::atoi(value) != 0;
    } else if (name == "--tools") {
      options.tools = std::atoi(value) != 0;
    } else if (name == "--fuzzy") {
      options.fuzzy = std::atoi(value) != 0;
    } else if (name == "--machine") {
      options.machine = value;
    } else {
      return false;
    }
  }
  return i == argc;
}

template <class Work>
Outcome Timed(Work work) {
  double cpuStart = ProcessCpuSeconds();
  auto start = std::chrono::steady_clock::now();
  std::uint64_t rows = work();
  auto stop = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(stop - start).count(), rows, ProcessCpuSeconds() - cpuStart};
}

const char* ModeName(MatchMode mode) { return mode == MatchMode::Exact ? "exact" : "fuzzy"; }

constexpr int kAnyThreads = -1;

// The first case of this kind, K and mode that ran (with these threads, unless kAnyThreads).
const Case* Find(const std::vector<Case>& cases, const std::string& kind, int k, MatchMode mode,
                 int threads = kAnyThreads) {
  for (const Case& c : cases) {
    if (c.kind == kind && c.k == k && c.mode == mode && (threads == kAnyThreads || c.threads == threads) &&
        !c.samples.Empty()) {
      return &c;
    }
  }
  return nullptr;
}

const Case* FindKind(const std::vector<Case>& cases, const std::string& kind) {
  for (const Case& c : cases) {
    if (c.kind == kind && !c.samples.Empty()) return &c;
  }
  return nullptr;
}

std::string ThreadsText(int threads) { return threads == 0 ? "def" : std::to_string(threads); }

// What the default threads are here.
std::string DefaultThreadsText() {
  char text[160];
  if (std::optional<int> fixed = WalkThreadsFromEnvironment()) {
    std::snprintf(text, sizeof text, "%d, from TARNWELL_WALK_THREADS", *fixed);
  } else {
    const ListingThreadRange range = DefaultListingThreadRange();
    std::snprintf(text, sizeof text, "chosen as the listings go, from %d, between %d and %d", range.start,
                  range.least, range.most);
  }
  return text;
}

// A ratio with two decimals; "-" when there is none.
std::string RatioText(double ratio) {
  if (ratio <= 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", ratio);
  return text;
}

std::string Ratio(const Case* top, const Case* bottom) {
  if (top == nullptr || bottom == nullptr || bottom->samples.Median() <= 0) return "-";
  return RatioText(top->samples.Median() / bottom->samples.Median());
}

// The median of the two cases' ratios round by round (the runs of one case
// and its thread counts follow each other in a round).
std::string PairedRatio(const Case* top, const Case* bottom) {
  if (top == nullptr || bottom == nullptr) return "-";
  return RatioText(top->samples.MedianRatioTo(bottom->samples));
}

// Below the table: each kept case over the engine's first search without
// keeping (same names, mode and threads), and what the store held.
void PrintKept(const std::vector<Case>& cases, const KeptFoldersFigures& figures) {
  for (const Case& c : cases) {
    if (c.kind != "kept" || c.samples.Empty()) continue;
    const Case* first = Find(cases, "engine", c.k, c.mode, c.threads);
    std::printf("%-34s %s x the first search without keeping (%llu folders listed)%s\n", c.label.c_str(),
                Ratio(&c, first).c_str(), static_cast<unsigned long long>(c.listed),
                first != nullptr && (first->rows != c.rows || first->rowsDigest != c.rowsDigest) ? " (OTHER ROWS)" : "");
  }
  if (figures.entries > 0) {
    std::printf("kept: the store held %zu folders, %zu entries, %.1f MB (names %.1f MB): %.1f bytes an entry besides "
                "its name's bytes\n",
                figures.folders, figures.entries, static_cast<double>(figures.bytes) / (1 << 20),
                static_cast<double>(figures.nameBytes) / (1 << 20),
                static_cast<double>(figures.bytes - figures.nameBytes) / static_cast<double>(figures.entries));
  }
}

// Below the table: each case with the default threads over the fastest
// fixed count of the same case (the ratio of the medians, and the median of
// the rounds' ratios), and the threads the default ended with.
void PrintDefault(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    if (c.threads != 0 || c.samples.Empty() || (c.kind != "engine" && c.kind != "numbers" && c.kind != "floor")) {
      continue;
    }
    const Case* fastest = nullptr;
    for (const Case& fixed : cases) {
      if (fixed.kind == c.kind && fixed.k == c.k && fixed.mode == c.mode && fixed.threads > 0 &&
          !fixed.samples.Empty() && (fastest == nullptr || fixed.samples.Median() < fastest->samples.Median())) {
        fastest = &fixed;
      }
    }
    const Case* one = Find(cases, c.kind, c.k, c.mode, 1);
    std::string k = c.k ? " K=" + std::to_string(c.k) : "";
    std::printf("def: %s%s: %s x the one-thread walk, %s x the fastest fixed count (%s thr; round by round %s); "
                "threads at the end %d-%d, most %d; %.1f%% of the time at another count (median, at most %.1f%%)\n",
                c.label.c_str(), k.c_str(), Ratio(&c, one).c_str(), Ratio(&c, fastest).c_str(),
                fastest ? ThreadsText(fastest->threads).c_str() : "-", PairedRatio(&c, fastest).c_str(), c.fewestAtEnd,
                c.mostAtEnd, c.mostThreads, 100 * c.awayShare.Median(), 100 * c.awayShare.Max());
  }
}

void PrintTable(const std::vector<Case>& cases, const Options& options, const PassCount& tree,
                const std::string& fdPattern) {
  std::printf("\nmachine: %s%s%s\n", MachineLabel().c_str(), options.machine.empty() ? "" : ", ",
              options.machine.c_str());
  std::printf("tree: %s: %llu folders, %llu files (seed %u); wanted names: %.0f%% present; %d rounds, alternating\n",
              options.root.c_str(), static_cast<unsigned long long>(tree.folders),
              static_cast<unsigned long long>(tree.files), options.shape.seed, options.share * 100, options.rounds);
  if (!fdPattern.empty()) std::printf("fd and find look for one name: %s\n", fdPattern.c_str());
  std::printf("median s, min s, max s: wall time; cpu s: median processor time of the case, all threads\n");
  if (options.naiveSample > 0) {
    std::printf("naive cases marked est.: the first %llu folders walked, the time scaled to all folders\n",
                static_cast<unsigned long long>(options.naiveSample));
  }
  std::printf("thr: threads listing folders (the walk's own and thr-1 helpers; def: the default, %s)\n",
              DefaultThreadsText().c_str());
  std::printf("x 1 thr: over the same case with one thread (the one-thread walk)\n");
  if (options.cold) std::printf("cold: the page cache dropped before every run of every case\n");
  std::printf("\n%-26s %6s %3s %9s %9s %9s %5s %8s %8s %13s %8s %13s %10s\n", "case", "K", "thr", "median s",
              "min s", "max s", "runs", "cpu s", "rows", "engine/floor", "x 1 thr", "naive/engine", "engine/fd");
  const Case* floor = Find(cases, "floor", 0, MatchMode::Exact, 1);
  const Case* fd = FindKind(cases, "fd");
  for (const Case& c : cases) {
    std::string threads = c.kind == "engine" || c.kind == "numbers" || c.kind == "floor" ? ThreadsText(c.threads) : "-";
    if (c.samples.Empty()) {
      std::printf("%-26s %6s %3s %9s\n", c.label.c_str(), c.k ? std::to_string(c.k).c_str() : "-", threads.c_str(),
                  c.failed ? "failed" : "not run");
      continue;
    }
    std::string overFloor = "-", overOne = "-", naiveOverEngine = "-", overFd = "-";
    if (c.kind == "engine" || c.kind == "numbers" || c.kind == "floor") overOne = Ratio(&c, Find(cases, c.kind, c.k, c.mode, 1));
    if (c.kind == "engine" || c.kind == "numbers") {
      overFloor = Ratio(&c, floor);
      overFd = Ratio(&c, fd);
    } else if (c.kind == "naive") {
      const Case* alone = Find(cases, "engine", c.k, c.mode, 1);
      naiveOverEngine = Ratio(&c, alone ? alone : Find(cases, "engine", c.k, c.mode));
    }
    std::string rows = c.estimated ? "-" : std::to_string(c.rows);
    std::printf("%-26s %6s %3s %9.3f %9.3f %9.3f %5zu %8.3f %8s %13s %8s %13s %10s\n", c.label.c_str(),
                c.k ? std::to_string(c.k).c_str() : "-", threads.c_str(), c.samples.Median(), c.samples.Min(),
                c.samples.Max(), c.samples.Count(), c.cpu.Median(), rows.c_str(), overFloor.c_str(), overOne.c_str(),
                naiveOverEngine.c_str(), overFd.c_str());
  }
  // Every number of threads must give the rows of the first, in the same order.
  int compared = 0, differing = 0;
  for (const Case& c : cases) {
    if (c.kind != "engine" || c.samples.Empty()) continue;
    const Case* first = Find(cases, "engine", c.k, c.mode);
    if (first == &c) continue;
    ++compared;
    if (first->rows != c.rows || first->rowsDigest != c.rowsDigest) {
      ++differing;
      std::printf("note: %s K=%d with %s threads gave other rows than with %s\n", c.label.c_str(), c.k,
                  ThreadsText(c.threads).c_str(), ThreadsText(first->threads).c_str());
    }
  }
  if (compared > 0 && differing == 0) {
    std::printf("rows: the same rows in the same order with every number of threads (%d cases compared)\n",
                compared);
  }
  PrintDefault(cases);
  std::string calls;
  for (const Case& c : cases) {
    if (c.kind != "floor" || c.callMicroseconds.Empty()) continue;
    char part[64];
    std::snprintf(part, sizeof part, "%s%s thr %.1f us", calls.empty() ? "" : ", ", ThreadsText(c.threads).c_str(),
                  c.callMicroseconds.Median());
    calls += part;
  }
  if (!calls.empty()) std::printf("one folder's listing call in the floor passes (median of the means): %s\n", calls.c_str());
  // The naive walk must find exactly what the engine finds; say so when not.
  for (const Case& c : cases) {
    if (c.kind != "naive" || c.samples.Empty() || c.estimated) continue;
    const Case* engine = Find(cases, "engine", c.k, c.mode);
    if (engine != nullptr && engine->rows != c.rows) {
      std::printf("note: %s found %llu rows, the engine %llu\n", c.label.c_str(),
                  static_cast<unsigned long long>(c.rows), static_cast<unsigned long long>(engine->rows));
    }
  }
  std::fflush(stdout);
}

int Run(const Options& options) {
  const DirectoryLister& lister = FileSystemLister();
  if (options.cold) {
    if (auto reason = DropFileCache()) {
      std::printf("\nmachine: %s\ncold cache: skipped: %s\n%s\n", MachineLabel().c_str(), reason->c_str(),
                  kRunComplete);
      return 0;
    }
  }
  const Text root = Utf8ToGb18030(options.root);
  SyntheticTree tree = MakeTree(options.shape);

  if (std::find(options.threads.begin(), options.threads.end(), 1) == options.threads.end() ||
      *std::min_element(options.threads.begin(), options.threads.end()) < 1) {
    std::fprintf(stderr, "--threads must hold 1 (the one-thread walk is the measure) and no count below it\n");
    return 2;
  }
  // The one warm-up pass, which also checks that ROOT holds this tree; on
  // the most threads of the cases, so that slow storage warms up soon.
  const int mostThreads = *std::max_element(options.threads.begin(), options.threads.end());
  PassCount seen = mostThreads > 1 ? ListingPassAhead(root, lister, mostThreads) : ListingPass(root, lister);
  if (seen.files == 0) {
    std::fprintf(stderr, "%s holds no file: write the tree first with make_tree\n", options.root.c_str());
    return 1;
  }
  if (seen.files != tree.files.size() || seen.folders != tree.folders.size() + 1) {
    std::printf("warning: %s holds %llu folders and %llu files, the tree of these options %zu and %zu\n",
                options.root.c_str(), static_cast<unsigned long long>(seen.folders - 1),
                static_cast<unsigned long long>(seen.files), tree.folders.size(), tree.files.size());
  }

  int largestK = 1;
  for (int k : options.engineK) largestK = std::max(largestK, k);
  for (int k : options.naiveK) largestK = std::max(largestK, k);
  largestK = std::max(largestK, options.keptK);
  // The lists for smaller K are the first names of the largest one.
  std::vector<std::string> utf8Names = MakeNames(tree, largestK, options.share, options.shape.seed + 1);
  NameList allNames;
  for (const std::string& name : utf8Names) allNames.push_back(Utf8ToGb18030(name));
  auto firstNames = [&](int k) { return NameList(allNames.begin(), allNames.begin() + k); };

  std::vector<Case> cases;
  TimedLister timedLister(lister);
  // The fixed counts, then the default.
  std::vector<int> threadCounts = options.threads;
  threadCounts.push_back(0);
  for (int threads : threadCounts) {
    if (!options.floor) break;
    // The bare pass alone, and listing ahead with the engine's threads.
    Case floor = NewCase("floor", threads == 1 ? "floor (one listing pass)" : "floor, listing ahead", 0,
                         MatchMode::Exact, [&, threads] {
                           timedLister.Reset();
                           // On a thread of its own, as the engine walks on one.
                           PassCount pass;
                           Outcome outcome = Timed([&] {
                             std::thread([&] {
                               pass = threads == 1 ? ListingPass(root, timedLister)
                                                   : ListingPassAhead(root, timedLister, threads);
                             }).join();
                             return pass.files;
                           });
                           outcome.callMicroseconds = timedLister.MeanMicroseconds();
                           outcome.threadsAtEnd = pass.threadsAtEnd;
                           outcome.mostThreads = pass.mostThreads;
                           outcome.awayShare = pass.awayShare;
                           return std::optional<Outcome>(outcome);
                         });
    floor.threads = threads;
    cases.push_back(std::move(floor));
  }
  for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
    if (mode == MatchMode::Fuzzy && !options.fuzzy) break;
    for (int k : options.engineK) {
      for (int threads : threadCounts) {
        Case engine = NewCase("engine", std::string("engine ") + ModeName(mode), k, mode,
                              [&, k, mode, threads, names = firstNames(k)] {
                                double cpuStart = ProcessCpuSeconds();
                                EngineRun run = RunEngine(root, names, mode, lister, threads);
                                Outcome outcome{run.seconds, run.rows, ProcessCpuSeconds() - cpuStart, run.rowsDigest};
                                outcome.threadsAtEnd = run.threadsAtEnd;
                                outcome.mostThreads = run.mostThreads;
                            outcome.awayShare = run.awayShare;
                                return std::optional<Outcome>(outcome);
                              });
        engine.threads = threads;
        cases.push_back(std::move(engine));
      }
    }
  }
  // Photo numbers, as a studio's client sends them: the names of the list
  // made only of digits (stems of the tree's photos and numbers it lacks).
  NameList numbers;
  if (options.numbersK > 0) {
    const std::vector<std::string> more = MakeNames(tree, options.numbersK * 4, options.share, options.shape.seed + 2);
    for (const std::string& name : more) {
      if (static_cast<int>(numbers.size()) == options.numbersK) break;
      if (name.find_first_not_of("0123456789") == std::string::npos) numbers.push_back(name);
    }
  }
  for (int threads : threadCounts) {
    if (numbers.empty()) break;
    Case engine = NewCase("numbers", "engine numbers (exact)", static_cast<int>(numbers.size()), MatchMode::Exact,
                          [&, threads] {
                            double cpuStart = ProcessCpuSeconds();
                            EngineRun run = RunEngine(root, numbers, MatchMode::Exact, lister, threads, NumberRule::On);
                            Outcome outcome{run.seconds, run.rows, ProcessCpuSeconds() - cpuStart, run.rowsDigest};
                            outcome.threadsAtEnd = run.threadsAtEnd;
                            outcome.mostThreads = run.mostThreads;
                            outcome.awayShare = run.awayShare;
                            return std::optional<Outcome>(outcome);
                          });
    engine.threads = threads;
    cases.push_back(std::move(engine));
  }
  for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
    for (int k : options.naiveK) {
      std::uint64_t limit = k >= 10 ? options.naiveSample : 0;
      std::string label = std::string("naive ") + ModeName(mode) + (mode == MatchMode::Exact ? " (name.*)" : " (*name*)");
      if (limit > 0) label += " est.";
      Case naive = NewCase("naive", label, k, mode, [&, mode, limit, names = firstNames(k)] {
        PassCount walked;
        Outcome outcome = Timed([&] {
          walked = NaiveWalk(root, names, mode, lister, limit);
          return walked.files;
        });
        // Scaled by folders: each costs one listing per name plus one.
        if (limit > 0 && walked.folders > 0) {
          double scale = static_cast<double>(seen.folders) / static_cast<double>(walked.folders);
          outcome.seconds *= scale;
          outcome.cpuSeconds *= scale;
        }
        return std::optional<Outcome>(outcome);
      });
      naive.retireAfter = options.naiveLimit;
      naive.estimated = limit > 0 && limit < seen.folders;
      cases.push_back(std::move(naive));
    }
  }
  // 100 folders spread over the tree, for the second search after changes.
  TextList changedFolders;
  for (std::size_t i = 0; i < 100 && !tree.folders.empty(); ++i) {
    std::string folder = tree.folders[i * tree.folders.size() / 100];
    std::replace(folder.begin(), folder.end(), '/', '\\');
    changedFolders.push_back(Utf8ToGb18030(folder));
  }
  KeptFoldersFigures keptFigures;
  const int keptThreads = 0;  // the default
  for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
    if (options.keptK <= 0) break;
    for (KeptRun which : {KeptRun::First, KeptRun::FirstUnwatched, KeptRun::Again, KeptRun::AgainChanged}) {
      // Natively the bench's watch is quiet anyway.
      if (which == KeptRun::FirstUnwatched && &BenchWatcher() == &Quiet()) continue;
      const char* label = which == KeptRun::First            ? "kept: first search "
                          : which == KeptRun::FirstUnwatched ? "kept: first, no watch "
                          : which == KeptRun::Again          ? "kept: again, no change "
                                                             : "kept: again, 100 changed ";
      Case kept = NewCase("kept", label + std::string(ModeName(mode)), options.keptK, mode,
                          [&, mode, which, names = firstNames(options.keptK)] {
                            const FolderWatcher& watcher =
                                which == KeptRun::FirstUnwatched ? Quiet() : BenchWatcher();
                            auto store = std::make_shared<KeptFolders>(watcher);
                            TimedLister counted(lister);
                            KeepingLister keeping(store, counted, TextList{root});
                            if (which == KeptRun::Again || which == KeptRun::AgainChanged) {
                              RunEngine(root, names, mode, keeping, keptThreads);
                            }
                            if (which == KeptRun::AgainChanged) ChangeFolders(root, changedFolders, *store);
                            counted.Reset();
                            // As the window starts it: the walk alone when the store covers the root.
                            const int threads = WalkThreadsThrough(*store, TextList{root});
                            double cpuStart = ProcessCpuSeconds();
                            EngineRun run = RunEngine(root, names, mode, keeping, threads > 0 ? threads : keptThreads);
                            Outcome outcome{run.seconds, run.rows, ProcessCpuSeconds() - cpuStart, run.rowsDigest};
                            outcome.listed = counted.Calls();
                            keptFigures = store->Figures();
                            store->Close();  // its memory goes outside the timing
                            return std::optional<Outcome>(outcome);
                          });
      kept.threads = keptThreads;
      kept.kept = which;
      cases.push_back(std::move(kept));
    }
  }
  std::string pattern;
  if (auto fdPath = options.tools ? FindProgram({"fdfind", "fd"}) : std::nullopt) {
    pattern = utf8Names.front();
    cases.push_back(NewCase("fd", "fd -u -F NAME", 0, MatchMode::Exact, [&, fd = *fdPath] {
                       auto times = TimeCommand({fd, "-u", "-F", "--", pattern, options.root});
                       return times ? std::optional<Outcome>(Outcome{times->seconds, 0, times->cpuSeconds}) : std::nullopt;
                     }));
    cases.push_back(NewCase("fd-all", "fd -u . (every name)", 0, MatchMode::Exact, [&, fd = *fdPath] {
                       auto times = TimeCommand({fd, "-u", ".", options.root});
                       return times ? std::optional<Outcome>(Outcome{times->seconds, 0, times->cpuSeconds}) : std::nullopt;
                     }));
  }
  if (auto findPath = options.tools ? FindProgram({"find"}) : std::nullopt) {
    pattern = utf8Names.front();
    cases.push_back(NewCase("find", "find -iname *NAME*", 0, MatchMode::Exact, [&, find = *findPath] {
                       auto times = TimeCommand({find, options.root, "-iname", "*" + pattern + "*"});
                       return times ? std::optional<Outcome>(Outcome{times->seconds, 0, times->cpuSeconds}) : std::nullopt;
                     }));
  }

  for (int round = 0; round < options.rounds; ++round) {
    std::fprintf(stderr, "round %d of %d\n", round + 1, options.rounds);
    // Each round starts at another case, so no case always follows the same one.
    for (std::size_t i = 0; i < cases.size(); ++i) {
      Case& c = cases[(i + static_cast<std::size_t>(round)) % cases.size()];
      if (c.retired || c.failed) continue;
      if (options.cold) {
        if (auto reason = DropFileCache()) {
          std::fprintf(stderr, "dropping the page cache failed: %s\n", reason->c_str());
          return 1;
        }
      }
      std::optional<Outcome> outcome = c.run();
      if (!outcome) {
        c.failed = true;
        continue;
      }
      c.samples.Add(outcome->seconds);
      c.cpu.Add(outcome->cpuSeconds);
      if (c.kind == "floor") c.callMicroseconds.Add(outcome->callMicroseconds);
      if ((c.kind == "engine" || c.kind == "numbers") && c.samples.Count() > 1 && (c.rows != outcome->rows || c.rowsDigest != outcome->rowsDigest)) {
        std::fprintf(stderr, "%s K=%d with %s threads gave other rows than in its first run\n", c.label.c_str(), c.k,
                     ThreadsText(c.threads).c_str());
        return 1;
      }
      c.rows = outcome->rows;
      c.listed = outcome->listed;
      if (c.threads == 0) {
        c.fewestAtEnd = c.samples.Count() == 1 ? outcome->threadsAtEnd : std::min(c.fewestAtEnd, outcome->threadsAtEnd);
        c.mostAtEnd = std::max(c.mostAtEnd, outcome->threadsAtEnd);
        c.mostThreads = std::max(c.mostThreads, outcome->mostThreads);
        c.awayShare.Add(outcome->awayShare);
      }
      c.rowsDigest = outcome->rowsDigest;
      if (c.retireAfter > 0 && outcome->seconds > c.retireAfter) c.retired = true;
      std::fprintf(stderr, "  %-26s %6d %3s %9.3f s\n", c.label.c_str(), c.k, ThreadsText(c.threads).c_str(),
                   outcome->seconds);
    }
  }
  PrintTable(cases, options, seen, pattern);
  PrintKept(cases, keptFigures);
  // The script keeps the table only when this line ends it.
  std::printf("%s\n", kRunComplete);
  std::fflush(stdout);
  return 0;
}

}  // namespace
}  // namespace tarnwell::bench

int main(int argc, char** argv) {
  tarnwell::bench::Options options;
  if (!tarnwell::bench::ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: %s ROOT [--cold] [--folders N] [--files N] [--seed S] [--share X] [--rounds R]\n"
                 "       [--engine-k 1,10,...] [--threads 1,2,...] [--numbers-k K] [--naive-k 1,10,...]\n"
                 "       [--naive-limit SECONDS]\n"
                 "       [--naive-sample FOLDERS] [--kept-k K] [--floor 0|1] [--tools 0|1] [--fuzzy 0|1]\n"
                 "       [--machine TEXT]\n",
                 argv[0]);
    return 2;
  }
  return tarnwell::bench::Run(options);
}
