// Measures what the batch adds to copying: 1,000 small files and four large
// ones copied by the copy command on the real main window (the file work on
// its worker thread, the window dispatching its events meanwhile, the
// progress window, the operation record), beside a plain loop of the same
// platform copy calls on the same files. The copy command with 复制后校验 on
// (every copy read back past the cache and compared) is timed beside them.
// The copy command with its file work done on the window thread, as before
// the worker, tells what the worker alone adds. The medians are printed with their ratios to the plain loop;
// the plain loop and the copy command run one after the other in every round, and
// the median of the rounds' ratios is printed beside the ratio of the medians.
//
// Usage: copy_bench [--small N] [--large-mb M] [--rounds R] [--folder F]
// (the files are made in a folder of their own under F, by default under
// the temporary folder)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/machine.h"
#include "platform/files/file_system.h"
#include "platform/text/gb18030.h"
#include "platform/text/gb18030_utf8.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/text/gbk_literal.h"
#include "platform/window/event_pump_win.h"
#include "ui/batch_commands_win.h"
#include "ui/program_win.h"
#include "ui/window_result_host_win.h"

namespace tarnwell::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// A folder of the benchmark's own under the temporary folder; what is put
// into it is removed with it.
class WorkFolder {
 public:
  // Under `parent`, or under the temporary folder when it is empty.
  explicit WorkFolder(std::wstring parent) {
    if (parent.empty()) {
      wchar_t temp[MAX_PATH];
      GetTempPathW(MAX_PATH, temp);
      parent = temp;
    }
    if (parent.back() != L'\\') parent += L'\\';
    path_ = parent + L"tarnwell-copy-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~WorkFolder() { RemoveTree(path_); }
  const std::wstring& Path() const { return path_; }

  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path);
        } else {
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(listing, &found));
      FindClose(listing);
    }
    RemoveDirectoryW(folder.c_str());
  }

 private:
  std::wstring path_;
};

// Under Wine on Linux: the kilobytes the host's page cache still has to
// write to the disk (dirty or under write-back), read from /proc through
// Wine's drive Z:; nothing elsewhere.
std::optional<long long> UnwrittenKilobytes() {
  FILE* meminfo = _wfopen(L"Z:\\proc\\meminfo", L"r");
  if (!meminfo) return std::nullopt;
  long long total = 0;
  char line[256];
  while (std::fgets(line, sizeof line, meminfo)) {
    long long kilobytes = 0;
    if (std::sscanf(line, "Dirty: %lld", &kilobytes) == 1 || std::sscanf(line, "Writeback: %lld", &kilobytes) == 1) {
      total += kilobytes;
    }
  }
  std::fclose(meminfo);
  return total;
}

// Waits (at most a minute) until the disk has taken what earlier runs wrote:
// a run that starts while gigabytes are still being written back is slowed
// by the system's throttling of writers, whichever it is.
void WaitForTheDisk() {
  for (int waited = 0; waited < 600; ++waited) {
    const std::optional<long long> unwritten = UnwrittenKilobytes();
    if (!unwritten || *unwritten < 32 * 1024) return;
    Sleep(100);
  }
}

// Writes `bytes` bytes that no two files share, so that nothing below the
// copy can take a shortcut through repeated content.
bool WriteFileOf(const std::wstring& path, std::uint64_t bytes, std::uint32_t seed) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::vector<std::uint32_t> piece(1 << 18);  // 1 MB
  std::uint32_t state = seed * 2654435761u + 1;
  bool written = true;
  while (bytes > 0 && written) {
    for (auto& word : piece) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      word = state;
    }
    const DWORD count = static_cast<DWORD>(std::min<std::uint64_t>(bytes, piece.size() * 4));
    DWORD done = 0;
    written = WriteFile(file, piece.data(), count, &done, nullptr) && done == count;
    bytes -= count;
  }
  CloseHandle(file);
  return written;
}

// The folder browser answered with the round's target, every box kept
// quiet; the end box is kept to be printed when it tells of a failure.
class BenchHost final : public WindowResultHost {
 public:
  using WindowResultHost::WindowResultHost;
  Text target;
  Text lastBox;
  bool onWindowThread = false;  // the file work done in place, as before the worker
  Text BrowseForFolder(const Text&) override { return target; }
  void RunFileWork(const std::function<void()>& work, const std::function<void()>& betweenEvents) override {
    if (onWindowThread) {
      work();
    } else {
      WindowResultHost::RunFileWork(work, betweenEvents);
    }
  }
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle, const Text&) override {
    lastBox = message;
    return MessageBoxButton::Ok;
  }
};

struct FileSet {
  const char* label;
  std::wstring folder;
  std::vector<std::wstring> names;
  std::uint64_t bytes = 0;
};

class Bench {
 public:
  Bench(Program& program, BenchHost& host, const std::wstring& work)
      : program_(program),
        host_(host),
        commands_(program.Window(), host, program.Searches(), WideToGb18030(work)),
        work_(work) {}

  // Seconds for a plain loop of CopyOneFile over the set into a new folder.
  double PlainLoop(const FileSet& set) {
    const std::wstring target = FreshTarget();
    WaitForTheDisk();
    const auto start = Clock::now();
    for (const std::wstring& name : set.names) {
      if (!CopyOneFile(WideToGb18030(set.folder + L"\\" + name), WideToGb18030(target + L"\\" + name))) {
        std::fprintf(stderr, "a plain copy failed (error %lu)\n", GetLastError());
        std::exit(1);
      }
    }
    const double seconds = Seconds(start, Clock::now());
    WorkFolder::RemoveTree(target);
    return seconds;
  }

  // Seconds for the copy command over the set's rows, all ticked.
  double Batch(const FileSet& set, bool verify, bool onWindowThread = false) {
    WriteConfig(verify);
    host_.onWindowThread = onWindowThread;
    ResultList& rows = program_.Window().Results();
    rows.Clear();
    const Text folder = WideToGb18030(set.folder);
    for (const std::wstring& name : set.names) rows.Append(folder, WideToGb18030(name));
    rows.SetAllChecked(true);
    DelayProcessingEvents(20);  // the list shows its rows before the clock starts
    const std::wstring target = FreshTarget();
    host_.target = WideToGb18030(target);
    host_.lastBox.clear();
    WaitForTheDisk();
    const auto start = Clock::now();
    commands_.Copy();
    const double seconds = Seconds(start, Clock::now());
    // The only box a whole batch shows is the count of the files verified.
    if (!host_.lastBox.empty() && host_.lastBox.find("未能"_gbk) != Text::npos) {
      std::fprintf(stderr, "the batch ended with a box: %s\n", Gb18030ToUtf8(host_.lastBox).c_str());
      std::exit(1);
    }
    WorkFolder::RemoveTree(target);
    DeleteFileW((work_ + L"\\" + Gb18030ToWide("操作记录.csv"_gbk)).c_str());
    return seconds;
  }

 private:
  std::wstring FreshTarget() {
    const std::wstring target = work_ + L"\\target";
    WorkFolder::RemoveTree(target);
    CreateDirectoryW(target.c_str(), nullptr);
    return target;
  }

  void WriteConfig(bool verify) {
    const Text content = verify ? Concat("[zhuce]\r\n"_gbk, "复制后校验=真\r\n"_gbk) : Text("[zhuce]\r\n");
    HANDLE file = CreateFileW((work_ + L"\\config.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &done, nullptr);
    CloseHandle(file);
  }

  Program& program_;
  BenchHost& host_;
  BatchCommands commands_;
  std::wstring work_;
};

int Run(int small, int largeMb, int rounds, const std::wstring& parent) {
  WorkFolder work(parent);
  FileSet smallSet{"small files", work.Path() + L"\\small", {}, 0};
  FileSet largeSet{"large files", work.Path() + L"\\large", {}, 0};
  CreateDirectoryW(smallSet.folder.c_str(), nullptr);
  CreateDirectoryW(largeSet.folder.c_str(), nullptr);
  for (int i = 0; i < small; ++i) {
    const std::uint64_t bytes = 4096 + static_cast<std::uint64_t>(i % 16) * 4096;  // 4-64 KB, as small photos and documents
    smallSet.names.push_back(L"small" + std::to_wstring(i) + L".dat");
    smallSet.bytes += bytes;
    if (!WriteFileOf(smallSet.folder + L"\\" + smallSet.names.back(), bytes, static_cast<std::uint32_t>(i))) return 1;
  }
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t bytes = static_cast<std::uint64_t>(largeMb) << 20;
    largeSet.names.push_back(L"large" + std::to_wstring(i) + L".dat");
    largeSet.bytes += bytes;
    if (!WriteFileOf(largeSet.folder + L"\\" + largeSet.names.back(), bytes, 1000u + static_cast<std::uint32_t>(i))) {
      std::fprintf(stderr, "could not write the large files\n");
      return 1;
    }
  }

  auto program = std::make_unique<Program>(WideToGb18030(work.Path()));
  if (!program->Open(SW_SHOWNORMAL)) {
    std::fprintf(stderr, "the main window could not be opened\n");
    return 1;
  }
  DelayProcessingEvents(300);
  BenchHost host(program->Window(), WideToGb18030(work.Path()));
  Bench bench(*program, host, work.Path());

  std::printf("%s\n", MachineLabel().c_str());
  {
    // One hand-over to the worker and back, with nothing to do: what every file pays.
    const int trips = 2000;
    const auto start = Clock::now();
    for (int i = 0; i < trips; ++i) host.RunFileWork([] {}, [] {});
    std::printf("a hand-over to the worker and back: %.1f us\n", Seconds(start, Clock::now()) * 1e6 / trips);
  }
  std::printf("copy: %d small files (%.1f MB) and 4 files of %d MB in %s; %d rounds, medians\n", small,
              static_cast<double>(smallSet.bytes) / 1048576.0, largeMb, Utf16ToUtf8(work.Path()).c_str(), rounds);
  if (UnwrittenKilobytes()) std::printf("each run starts once the host has written earlier runs' files to the disk\n");
  std::printf("plain: a loop of the platform copy; batch: the copy command; in place: the copy command with its\n"
              "file work on the window thread (no worker); verified: the copy command with 复制后校验 on\n");
  std::printf("batch/plain: the ratio of the medians, and the median of the rounds' ratios (the two one after\n"
              "the other)\n");
  std::printf("%-12s %9s %9s %7s %7s %10s %7s %11s %7s\n", "set", "plain s", "batch s", "/plain", "rounds", "in place s",
              "/batch", "verified s", "/plain");
  for (const FileSet* set : {&smallSet, &largeSet}) {
    std::vector<double> plain, batch, inPlace, verified;
    // The plain loop and the copy command run one after the other, which
    // goes first alternating, so that the ratio of each round holds while
    // the machine is slower for a while; the pair, the command on the window
    // thread and the verified command take turns at going first, so that
    // none always finds the caches as another one left them.
    for (int round = 0; round < rounds; ++round) {
      std::vector<std::function<void()>> runs = {
          [&] {
            if (round % 2 == 0) plain.push_back(bench.PlainLoop(*set));
            batch.push_back(bench.Batch(*set, false));
            if (round % 2 == 1) plain.push_back(bench.PlainLoop(*set));
          },
          [&] { inPlace.push_back(bench.Batch(*set, false, true)); },
          [&] { verified.push_back(bench.Batch(*set, true)); }};
      std::rotate(runs.begin(), runs.begin() + round % 3, runs.end());
      for (auto& run : runs) run();
    }
    std::vector<double> ratios;
    for (std::size_t r = 0; r < plain.size(); ++r) ratios.push_back(batch[r] / plain[r]);
    const double p = Median(plain), b = Median(batch), i = Median(inPlace), v = Median(verified);
    std::printf("%-12s %9.3f %9.3f %7.3f %7.3f %10.3f %7.3f %11.3f %7.3f\n", set->label, p, b, b / p, Median(ratios), i,
                i / b, v, v / p);
    std::fflush(stdout);
  }
  DestroyWindow(program->Window().Handle());
  program.reset();
  return 0;
}

}  // namespace
}  // namespace tarnwell::bench

int main(int argc, char** argv) {
  int small = 1000;
  int largeMb = 500;
  int rounds = 3;
  std::wstring parent;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const int value = std::atoi(argv[i + 1]);
    if (option == "--small") small = value;
    if (option == "--large-mb") largeMb = value;
    if (option == "--rounds") rounds = value;
    if (option == "--folder") parent = tarnwell::Gb18030ToWide(argv[i + 1]);
  }
  return tarnwell::bench::Run(std::max(small, 1), std::max(largeMb, 1), std::max(rounds, 1), parent);
}
