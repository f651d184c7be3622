// Measures the result list in the real main window: a search whose walk
// finds 1,000,000 rows in an in-memory tree hands them to the window through
// the window's own queue into its ResultList, which the visible owner-data
// list view shows. Reports rows per second until the last row is in the
// store and until the control shows them all, the repaints of the list
// during that time, the round trips of a message sent to the list from
// another thread while rows arrive, and the process's memory with the rows
// held, the clicks on "tick all" and "untick all" with every row listed, the
// list's keys with every row listed (Ctrl+A, Space over every row, Ctrl+C of
// every row) and the per-name statistics of 10,000 names over every row. For
// comparison the same search into a ResultList on a thread with no window.
// Rounds alternate the two.
//
// Usage: list_bench [--rows N] [--rounds R]
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/engine_run.h"
#include "bench/list_sink.h"
#include "bench/machine.h"
#include "bench/memory_tree.h"
#include "bench/samples.h"
#include "platform/window/event_pump_win.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/window_properties_win.h"
#include "ui/name_statistics_report.h"
#include "ui/program_win.h"

namespace tarnwell::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

struct Memory {
  double committedMb = 0;   // private memory committed (the pagefile usage)
  double workingSetMb = 0;  // resident
};

Memory ProcessMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return {static_cast<double>(counters.PagefileUsage) / 1048576.0, static_cast<double>(counters.WorkingSetSize) / 1048576.0};
}

// A program folder of its own for config.ini, removed afterwards.
class ProgramFolder {
 public:
  ProgramFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"tarnwell-list-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ProgramFolder() {
    DeleteFileW((path_ + L"\\config.ini").c_str());
    DeleteFileW((path_ + L"\\名称统计.csv").c_str());
    RemoveDirectoryW(path_.c_str());
  }
  Text AsText() const { return WideToGb18030(path_); }

 private:
  std::wstring path_;
};

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR counter) {
  if (message == WM_PAINT) ++*reinterpret_cast<int*>(counter);
  return DefSubclassProc(window, message, wParam, lParam);
}

// Another thread that asks the list for its row count every 10 ms: each
// answer is one message round trip through the window thread.
class RoundTripProbe {
 public:
  explicit RoundTripProbe(HWND list) : thread_([this, list] { Run(list); }) {}
  ~RoundTripProbe() { Stop(); }

  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  const std::vector<double>& LatenciesMs() const { return latencies_; }
  int CountChanges() const { return changes_; }

 private:
  void Run(HWND list) {
    DWORD_PTR last = 0;
    while (!stop_) {
      auto start = Clock::now();
      DWORD_PTR count = 0;
      if (SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &count) == 0) break;
      latencies_.push_back(Seconds(start, Clock::now()) * 1000);
      if (count != last) ++changes_;
      last = count;
      Sleep(10);
    }
  }

  std::atomic<bool> stop_{false};
  std::vector<double> latencies_;
  int changes_ = 0;
  std::thread thread_;
};

struct WindowRound {
  double storeSeconds = 0;    // until the last row was in the ResultList
  double visibleSeconds = 0;  // until the list control showed every row
  int paints = 0;
  int countChanges = 0;
  std::vector<double> latenciesMs;
  double longestBatchMs = 0;  // the longest one batch of appends held the window thread
  Memory opened;
  Memory held;
  int rows = 0;
  double tickAllMs = 0;    // the click on "tick all" with every row in the list
  double untickAllMs = 0;  // and on "untick all"
  double selectAllMs = 0;  // Ctrl+A on the list, until it is painted again
  double spaceMs = 0;      // Space with every row selected: every row ticked
  double copyMs = 0;       // Ctrl+C with every row selected
  std::size_t copiedChars = 0;
  double statisticsExactS = 0;  // 10,000 names over every row, file written
  double statisticsFuzzyS = 0;
};

// Milliseconds from posting a key to the list (with Ctrl held or not) until
// the window thread has handled it and painted the list again.
double KeyMs(HWND list, WORD key, bool control) {
  BYTE before[256]{};
  GetKeyboardState(before);
  BYTE holding[256];
  std::copy(std::begin(before), std::end(before), holding);
  if (control) holding[VK_CONTROL] |= 0x80;
  SetKeyboardState(holding);
  auto start = Clock::now();
  PostMessageW(list, WM_KEYDOWN, key, 1);
  MSG waiting;
  while (PeekMessageW(&waiting, list, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE)) ProcessPendingEvents();
  UpdateWindow(list);
  double ms = Seconds(start, Clock::now()) * 1000;
  SetKeyboardState(before);
  return ms;
}

// The statistics command's files and messages, without the shell opening the file.
class QuietHost final : public WindowResultHost {
 public:
  using WindowResultHost::WindowResultHost;
  void ShellOpen(const Text&) override {}
};

// 10,000 names, half of them the names of rows spread over the list (without
// their extension), half numbers no row has.
Text StatisticsNames(const ResultList& rows) {
  Text box;
  const int count = 10000;
  const int rowCount = std::max(rows.RowCount(), 1);
  for (int i = 0; i < count; ++i) {
    if (i % 2 == 0) {
      Text name = rows.RowFileName(static_cast<int>((static_cast<long long>(i) * 7919) % rowCount));
      box += name.substr(0, name.find('.'));
    } else {
      box += std::to_string(990000000000000000ull + static_cast<unsigned long long>(i));
    }
    box += "\r\n";
  }
  return box;
}

// Milliseconds the window thread spends on a click of the button.
double ClickMs(HWND button) {
  auto start = Clock::now();
  SendMessageW(button, BM_CLICK, 0, 0);
  return Seconds(start, Clock::now()) * 1000;
}

WindowRound RunWindowRound(const MemoryTreeLister& tree) {
  WindowRound round;
  ProgramFolder folder;
  auto program = std::make_unique<Program>(folder.AsText());
  if (!program->Open(SW_SHOWNORMAL)) {
    std::fprintf(stderr, "the main window could not be opened\n");
    std::exit(1);
  }
  DelayProcessingEvents(300);  // first paint, settings loaded
  MainWindow& window = program->Window();
  HWND list = window.ControlWindow(Control::ResultView);
  round.opened = ProcessMemory();

  SetWindowSubclass(list, CountPaints, 1, reinterpret_cast<DWORD_PTR>(&round.paints));
  bool ended = false;
  Clock::time_point storeEnd;
  RoundTripProbe probe(list);
  auto start = Clock::now();
  auto sink = std::make_shared<ListSink>(window.Queue(), window.Results(), [&] {
    ended = true;
    storeEnd = Clock::now();
  });
  auto search = Search::Start(NameList{"jpg"}, RootList{tree.Root()}, MatchMode::Fuzzy, sink, tree);
  const int expected = static_cast<int>(tree.Files());
  while (!ended || ListView_GetItemCount(list) != expected) DelayProcessingEvents(5);
  auto visibleEnd = Clock::now();
  probe.Stop();
  RemoveWindowSubclass(list, CountPaints, 1);

  round.storeSeconds = Seconds(start, storeEnd);
  round.visibleSeconds = Seconds(start, visibleEnd);
  round.latenciesMs = probe.LatenciesMs();
  round.longestBatchMs = sink->LongestBatchMs();
  round.countChanges = probe.CountChanges();
  round.rows = window.Results().RowCount();
  round.held = ProcessMemory();
  round.tickAllMs = ClickMs(window.ControlWindow(Control::CheckAllButton));
  round.untickAllMs = ClickMs(window.ControlWindow(Control::UncheckAllButton));
  SetFocus(list);
  round.selectAllMs = KeyMs(list, 'A', true);
  round.spaceMs = KeyMs(list, VK_SPACE, false);
  round.copyMs = KeyMs(list, 'C', true);
  if (OpenClipboard(nullptr)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      round.copiedChars = GlobalSize(data) / sizeof(wchar_t);
    }
    CloseClipboard();
  }
  SetContent(window.ControlWindow(Control::NamesBox), StatisticsNames(window.Results()));
  QuietHost quiet(window, folder.AsText());
  for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
    auto statisticsStart = Clock::now();
    NameStatisticsReport(window.Results(), mode, quiet);
    (mode == MatchMode::Exact ? round.statisticsExactS : round.statisticsFuzzyS) =
        Seconds(statisticsStart, Clock::now());
  }
  search->WaitForWalks(std::chrono::steady_clock::now() + std::chrono::minutes(10));
  search.reset();
  DestroyWindow(window.Handle());
  program.reset();
  // The closed window asked the thread to quit, as the program then ends;
  // the next round's window needs the thread's queue without that request.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  DelayProcessingEvents(50);
  return round;
}

int Run(int rows, int rounds) {
  const int files = 1000;
  MemoryTreeLister tree("M:\\rows", std::max(1, rows / files), files);
  Samples bare, store, visible;
  std::vector<WindowRound> windowRounds;
  for (int round = 0; round < rounds; ++round) {
    std::fprintf(stderr, "round %d of %d\n", round + 1, rounds);
    // Alternate which of the two goes first.
    for (int part = 0; part < 2; ++part) {
      if ((part + round) % 2 == 0) {
        EngineRun run = RunEngine(tree.Root(), NameList{"jpg"}, MatchMode::Fuzzy, tree);
        bare.Add(run.seconds);
        std::fprintf(stderr, "  no window: %.3f s, %zu rows\n", run.seconds, run.rows);
      } else {
        WindowRound result = RunWindowRound(tree);
        store.Add(result.storeSeconds);
        visible.Add(result.visibleSeconds);
        std::fprintf(stderr, "  window: store %.3f s, visible %.3f s, %d rows\n", result.storeSeconds,
                     result.visibleSeconds, result.rows);
        windowRounds.push_back(std::move(result));
      }
    }
  }

  std::vector<double> latencies;
  int paints = 0, changes = 0;
  double visibleTime = 0, longestBatchMs = 0;
  Samples tickAll, untickAll, selectAll, space, copy, statisticsExact, statisticsFuzzy;
  for (const WindowRound& r : windowRounds) {
    tickAll.Add(r.tickAllMs);
    untickAll.Add(r.untickAllMs);
    selectAll.Add(r.selectAllMs);
    space.Add(r.spaceMs);
    copy.Add(r.copyMs);
    statisticsExact.Add(r.statisticsExactS);
    statisticsFuzzy.Add(r.statisticsFuzzyS);
    latencies.insert(latencies.end(), r.latenciesMs.begin(), r.latenciesMs.end());
    paints += r.paints;
    changes += r.countChanges;
    visibleTime += r.visibleSeconds;
    longestBatchMs = std::max(longestBatchMs, r.longestBatchMs);
  }
  const WindowRound& first = windowRounds.front();
  const double n = static_cast<double>(tree.Files());
  std::printf("\nmachine: %s\n", MachineLabel().c_str());
  std::printf("rows: %.0f from an in-memory walk (%d folders of %d files), fuzzy name \"jpg\"; %d rounds, alternating\n\n",
              n, std::max(1, rows / files), files, rounds);
  std::printf("%-44s %10s %10s %10s %12s\n", "list case", "median s", "min s", "max s", "rows/s");
  auto line = [&](const char* label, const Samples& s) {
    std::printf("%-44s %10.3f %10.3f %10.3f %12.0f\n", label, s.Median(), s.Min(), s.Max(), n / s.Median());
  };
  line("search into a ResultList, no window", bare);
  line("search into the window's ResultList", store);
  line("search into the visible list (all shown)", visible);
  std::printf("\nlist repaints while rows arrive: %d in %.1f s (%.1f per second); shown row count changed %d times\n",
              paints, visibleTime, paints / std::max(visibleTime, 1e-9), changes);
  std::sort(latencies.begin(), latencies.end());
  auto within = [&](double share) {
    return latencies.empty() ? 0 : latencies[static_cast<std::size_t>(share * static_cast<double>(latencies.size() - 1))];
  };
  std::printf("message round trip to the window while rows arrive: median %.1f ms, 95%% within %.1f ms, max %.1f ms"
              " (%zu round trips)\n", within(0.5), within(0.95), within(1.0), latencies.size());
  std::printf("longest time one batch of appends held the window thread: %.1f ms\n", longestBatchMs);
  std::printf("click on \"tick all\" with every row listed: median %.1f ms, max %.1f ms; on \"untick all\": median %.1f ms,"
              " max %.1f ms\n", tickAll.Median(), tickAll.Max(), untickAll.Median(), untickAll.Max());
  std::printf("keys on the list with every row listed: Ctrl+A median %.1f ms, max %.1f ms; Space over every row"
              " median %.1f ms, max %.1f ms; Ctrl+C of every row median %.0f ms, max %.0f ms (%zu characters)\n",
              selectAll.Median(), selectAll.Max(), space.Median(), space.Max(), copy.Median(), copy.Max(),
              first.copiedChars);
  std::printf("name statistics, 10000 names (half of them rows' names) over every row, file written: exact median"
              " %.2f s, max %.2f s; fuzzy median %.2f s, max %.2f s\n",
              statisticsExact.Median(), statisticsExact.Max(), statisticsFuzzy.Median(), statisticsFuzzy.Max());
  std::printf("process memory, window open: %.1f MB committed, %.1f MB working set\n", first.opened.committedMb,
              first.opened.workingSetMb);
  double added = first.held.workingSetMb - first.opened.workingSetMb;
  std::printf("process memory, %d rows held: %.1f MB committed, %.1f MB working set (+%.1f MB, %.0f bytes a row)\n",
              first.rows, first.held.committedMb, first.held.workingSetMb, added,
              added * 1048576.0 / std::max(first.rows, 1));
  // The script keeps the table only when this line ends it.
  std::printf("%s\n", kRunComplete);
  std::fflush(stdout);
  return 0;
}

}  // namespace
}  // namespace tarnwell::bench

int main(int argc, char** argv) {
  int rows = 1000000;
  int rounds = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string name = argv[i];
    if (name == "--rows") {
      rows = std::atoi(argv[i + 1]);
    } else if (name == "--rounds") {
      rounds = std::max(1, std::atoi(argv[i + 1]));
    } else {
      std::fprintf(stderr, "usage: %s [--rows N] [--rounds R]\n", argv[0]);
      return 2;
    }
  }
  return tarnwell::bench::Run(rows, rounds);
}
