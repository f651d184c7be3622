// Measures the pictures of the thumbnail window under Wine (or Windows):
//  - one picture at a time on one thread, the grid's size (160 x 120):
//    a 24-megapixel JPEG with an EXIF thumbnail, raw files (25 MB) with a
//    thumbnail and a preview, or a preview alone, and the 24-megapixel JPEG
//    without a thumbnail, decoded whole through WIC; and the large view's
//    picture of a raw file (its largest preview); the embedded-preview
//    reader's share of each;
//  - the first screen: from opening the window over rows of such JPEGs
//    until the pictures of the first 40 rows are made, and until those in
//    view are painted;
//  - 10,000 rows scrolled through line by line, then page by page: how long
//    each scroll step held the window thread (handled and painted), the
//    round trips of a message sent to the window from another thread
//    meanwhile, the cache's bytes and the process's memory.
// The pictures come from the folder given (scripts/bench.sh makes them with
// ImageMagick and exiftool): big.jpg (6000 x 4000, a 160 x 120 EXIF
// thumbnail), plain.jpg (the same without it), preview.jpg (1620 x 1080)
// and thumbnail.jpg (160 x 120). The rows are hard links to big.jpg.
//
// Usage: picture_bench <folder> [--rounds R] [--window-only]
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/machine.h"
#include "bench/samples.h"
#include "pictures/embedded_previews.h"
#include "pictures/file_bytes.h"
#include "pictures/picture_maker_win.h"
#include "pictures/wic_decode_win.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/event_pump_win.h"
#include "tests/pictures/crafted_pictures.h"
#include "ui/program_win.h"

namespace tarnwell::bench {
namespace {

using Clock = std::chrono::steady_clock;
using testing::Bytes;
using testing::TiffLayout;

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double WorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.WorkingSetSize) / 1048576.0;
}

Bytes ReadAll(const std::wstring& path) {
  Bytes bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) bytes.clear();
  CloseHandle(file);
  return bytes;
}

void WriteAll(const std::wstring& path, const Bytes& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// A CR2 of 25 MB: IFD0's strip the preview, IFD1 the thumbnail (when given),
// then the raw data.
Bytes RawFile(const Bytes& preview, const Bytes* thumbnail) {
  TiffLayout raw(false, 42, Bytes{'C', 'R', 2, 0, 0, 0, 0, 0});
  const int ifd0 = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "Canon EOS 5D Mark IV");
  raw.Number(ifd0, 0x0112, testing::kShort, 1);
  raw.Strip(ifd0, 6, raw.AddBlob(preview));
  if (thumbnail) {
    const int ifd1 = raw.AddDirectory();
    raw.Next(ifd0, ifd1);
    raw.JpegPair(ifd1, raw.AddBlob(*thumbnail));
  }
  Bytes file = raw.Build();
  file.resize(25u << 20, 0x5A);
  return file;
}

// A NEF of 25 MB: IFD0 an uncompressed RGB thumbnail of 160 x 120, a SubIFD
// the preview, then the raw data.
Bytes NefFile(const Bytes& preview) {
  TiffLayout raw(true);
  const int ifd0 = raw.AddDirectory(), sub = raw.AddDirectory();
  Bytes rgb(160 * 120 * 3);
  for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * 7);
  raw.Number(ifd0, 0x0100, testing::kShort, 160);
  raw.Number(ifd0, 0x0101, testing::kShort, 120);
  raw.Data(ifd0, 0x0102, testing::kShort, Bytes{0, 8, 0, 8, 0, 8}, 3);
  raw.Number(ifd0, 0x0106, testing::kShort, 2);
  raw.Number(ifd0, 0x0115, testing::kShort, 3);
  raw.Strip(ifd0, 1, raw.AddBlob(rgb));
  raw.Text(ifd0, 0x0110, "NIKON Z 6");
  raw.Link(ifd0, 0x014A, {sub});
  raw.JpegPair(sub, raw.AddBlob(preview));
  Bytes file = raw.Build();
  file.resize(25u << 20, 0x5A);
  return file;
}

// A folder of its own under the temporary folder, removed afterwards.
class WorkFolder {
 public:
  WorkFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"tarnwell-picture-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~WorkFolder() {
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((path_ + L"\\" + found.cFileName).c_str());
      } while (FindNextFileW(listing, &found));
      FindClose(listing);
    }
    RemoveDirectoryW(path_.c_str());
  }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

struct Case {
  const char* name;
  std::wstring path;
  int side;
  bool largest;
  int runs;
};

// One picture at a time on one thread of its own (COM set up there as on a
// picture thread): the reader's time and the whole picture's.
void PerPictureTable(const std::vector<Case>& cases, int rounds, const std::wstring& jpeg) {
  std::thread([&] {
    std::printf("the JPEG codec decodes reduced (IWICBitmapSourceTransform): %s\n",
                DecodesReduced(WideToGb18030(jpeg)) ? "yes" : "no");
  }).join();
  std::printf("one picture at a time on one thread (ms a picture; reader: the embedded-preview reader's part)\n");
  std::printf("%-58s %6s %8s %8s %8s %8s %9s\n", "case", "runs", "median", "min", "max", "reader", "made from");
  std::thread([&] {
    for (const Case& c : cases) {
      Samples total, reader;
      const char* origin = "-";
      PictureRequest request;
      request.path = WideToGb18030(c.path);
      request.boxWidth = request.boxHeight = c.side;
      request.largest = c.largest;
      std::atomic<bool> stop{false};
      MakePicture(request, stop);  // warm: the factory, the codec, the file in the system's cache
      for (int run = 0; run < c.runs * rounds; ++run) {
        auto start = Clock::now();
        {
          const FileBytes file(request.path);
          ReadPictureFacts(file);
        }
        auto read = Clock::now();
        const auto made = MakePicture(request, stop);
        auto end = Clock::now();
        reader.Add(Ms(start, read));
        total.Add(Ms(read, end));
        if (made) {
          origin = made->origin == PictureOrigin::Preview ? "preview" : made->origin == PictureOrigin::File ? "file" : "icon";
        }
      }
      std::printf("%-58s %6zu %8.1f %8.1f %8.1f %8.2f %9s\n", c.name, total.Count(), total.Median(), total.Min(),
                  total.Max(), reader.Median(), origin);
    }
  }).join();
}

// Asks the window for nothing every 10 ms from another thread: each answer
// is one round trip through the window thread.
class RoundTripProbe {
 public:
  explicit RoundTripProbe(HWND window) : thread_([this, window] { Run(window); }) {}
  ~RoundTripProbe() { Stop(); }
  // Runs the window thread's messages until the probe has ended: its last
  // message may be waiting for them.
  void Stop() {
    stop_ = true;
    while (!ended_) DelayProcessingEvents(5);
    if (thread_.joinable()) thread_.join();
  }
  std::vector<double> LatenciesMs() { return latencies_; }

 private:
  void Run(HWND window) {
    while (!stop_) {
      auto start = Clock::now();
      DWORD_PTR answer = 0;
      if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer) == 0) break;
      latencies_.push_back(Ms(start, Clock::now()));
      Sleep(10);
    }
    ended_ = true;
  }
  std::atomic<bool> stop_{false};
  std::atomic<bool> ended_{false};
  std::vector<double> latencies_;
  std::thread thread_;
};

double Quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5))];
}

bool AllMade(ThumbnailWindow& window, int first, int end) {
  for (int row = first; row < end; ++row) {
    if (!window.GridPicture(row)) return false;
  }
  return true;
}

void WindowTable(const std::wstring& big, int rounds) {
  WorkFolder rowsFolder;
  const int rowCount = 10000;
  int links = 0;
  for (int i = 0; i < rowCount; ++i) {
    wchar_t name[32];
    std::swprintf(name, 32, L"IMG_%05d.JPG", i);
    if (CreateHardLinkW((rowsFolder / name).c_str(), big.c_str(), nullptr)) ++links;
  }
  if (links < rowCount) {
    std::printf("window: only %d of %d hard links could be made; no window figures\n", links, rowCount);
    return;
  }
  std::printf("\nthe window over %d rows, hard links to big.jpg (1280 x 1000, grid cells at 96 DPI)\n", rowCount);
  for (int round = 0; round < rounds; ++round) {
    WorkFolder programFolder;
    auto program = std::make_unique<Program>(WideToGb18030(programFolder.Path()));
    if (!program->Open(SW_SHOWNORMAL)) {
      std::fprintf(stderr, "the main window could not be opened\n");
      std::exit(1);
    }
    DelayProcessingEvents(300);
    ResultList& rows = program->Window().Results();
    const Text folder = WideToGb18030(rowsFolder.Path());
    for (int i = 0; i < rowCount; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "IMG_%05d.JPG", i);
      rows.Append(folder, name);
    }
    program->Window().ResultView().SyncRowCount();
    ProcessPendingEvents();
    ThumbnailWindow& window = program->Thumbnails();

    // The first screen.
    const auto opening = Clock::now();
    window.Open();
    HWND grid = window.Handle();
    SetWindowPos(grid, nullptr, 0, 0, 1280, 1000, SWP_NOZORDER);
    const int inView = [&] {
      int row = 0;
      RECT client{};
      GetClientRect(grid, &client);
      while (row < rowCount && window.CellRect(row).bottom <= client.bottom) ++row;
      return row;
    }();
    const int columns = [&] {
      int n = 1;
      while (n < rowCount && window.CellRect(n).top == window.CellRect(0).top) ++n;
      return n;
    }();
    double inViewMs = -1, fortyMs = -1;
    while (Ms(opening, Clock::now()) < 30000 && fortyMs < 0) {
      DelayProcessingEvents(2);
      if (inViewMs < 0 && AllMade(window, 0, inView)) {
        UpdateWindow(grid);
        inViewMs = Ms(opening, Clock::now());
      }
      if (AllMade(window, 0, 40)) fortyMs = Ms(opening, Clock::now());
    }

    // Scrolling: a line every 15 ms for 300 lines, then a page at a time to the end.
    RoundTripProbe probe(grid);
    std::vector<double> stepMs;
    std::size_t largestCache = 0;
    const auto scroll = [&](int request) {
      auto start = Clock::now();
      SendMessageW(grid, WM_VSCROLL, static_cast<WPARAM>(request), 0);
      UpdateWindow(grid);
      stepMs.push_back(Ms(start, Clock::now()));
      DelayProcessingEvents(15);
      largestCache = std::max(largestCache, window.Cache().BytesHeld());
    };
    const auto scrolling = Clock::now();
    for (int line = 0; line < 300; ++line) scroll(SB_LINEDOWN);
    for (;;) {
      const int before = window.TopLine();
      scroll(SB_PAGEDOWN);
      if (window.TopLine() == before) break;
    }
    const double scrollSeconds = Ms(scrolling, Clock::now()) / 1000;
    // The last screen's pictures come.
    const int lastFirst = window.TopLine() * columns;
    const auto lastScreen = Clock::now();
    while (!AllMade(window, lastFirst, std::min(rowCount, lastFirst + inView)) && Ms(lastScreen, Clock::now()) < 20000) {
      DelayProcessingEvents(5);
    }
    const double lastScreenMs = Ms(lastScreen, Clock::now());
    probe.Stop();
    const std::vector<double> trips = probe.LatenciesMs();
    std::printf("round %d: first screen (%d cells in view): in view made and painted %.0f ms, first 40 made %.0f ms\n",
                round + 1, inView, inViewMs, fortyMs);
    std::printf("  scrolled to row %d in %.1f s (%zu steps): a step held the window thread median %.1f ms, 95%% within "
                "%.1f ms, max %.1f ms\n",
                window.TopLine() * columns, scrollSeconds, stepMs.size(), Quantile(stepMs, 0.5), Quantile(stepMs, 0.95),
                Quantile(stepMs, 1.0));
    std::printf("  message round trip meanwhile: median %.1f ms, 95%% within %.1f ms, max %.1f ms (%zu round trips)\n",
                Quantile(trips, 0.5), Quantile(trips, 0.95), Quantile(trips, 1.0), trips.size());
    std::printf("  last screen made %.0f ms after the last step; cache at most %.1f MB (bound %.0f MB); working set %.1f MB\n",
                lastScreenMs, static_cast<double>(largestCache) / 1048576.0,
                static_cast<double>(window.Cache().Bound()) / 1048576.0, WorkingSetMb());
    window.Close();
    program.reset();
    // The closed main window asked the thread to quit; the next round needs the queue without it.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
}

}  // namespace
}  // namespace tarnwell::bench

int main(int argc, char** argv) {
  using namespace tarnwell;
  using namespace tarnwell::bench;
  if (argc < 2) {
    std::fprintf(stderr, "usage: picture_bench <folder> [--rounds R]\n");
    return 2;
  }
  int rounds = 1;
  bool windowOnly = false;
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "--rounds" && i + 1 < argc) rounds = std::max(1, std::atoi(argv[i + 1]));
    if (std::string(argv[i]) == "--window-only") windowOnly = true;
  }
  const std::wstring folder = Gb18030ToWide(argv[1]);
  const std::wstring big = folder + L"\\big.jpg";
  const Bytes preview = ReadAll(folder + L"\\preview.jpg");
  const Bytes thumbnail = ReadAll(folder + L"\\thumbnail.jpg");
  if (preview.empty() || thumbnail.empty() || ReadAll(big).empty()) {
    std::fprintf(stderr, "the pictures are missing in %s\n", argv[1]);
    return 1;
  }
  WorkFolder work;
  WriteAll(work / L"thumbnail_and_preview.cr2", RawFile(preview, &thumbnail));
  WriteAll(work / L"preview_only.cr2", RawFile(preview, nullptr));
  WriteAll(work / L"rgb_thumbnail.nef", NefFile(preview));

  std::printf("machine: %s\n", MachineLabel().c_str());
  std::printf("pictures: %s\n\n", argv[1]);
  if (!windowOnly) {
    PerPictureTable({{"JPEG 24 MP with an EXIF thumbnail, grid", big, 160, false, 20},
                   {"raw 25 MB, thumbnail 160x120 and preview 1620x1080, grid", work / L"thumbnail_and_preview.cr2",
                    160, false, 20},
                   {"raw 25 MB (NEF), RGB thumbnail 160x120 and preview, grid", work / L"rgb_thumbnail.nef", 160,
                    false, 20},
                   {"raw 25 MB, a preview 1620x1080 alone, grid", work / L"preview_only.cr2", 160, false, 20},
                   {"raw 25 MB, large view 1280x800 (the largest preview)", work / L"thumbnail_and_preview.cr2", 1280,
                    true, 5},
                   {"JPEG 24 MP without a thumbnail, grid (WIC, the whole file)", folder + L"\\plain.jpg", 160, false,
                    2},
                   {"JPEG 24 MP, large view 1280x800 (WIC, the whole file)", big, 1280, true, 2}},
                    rounds, big);
  }
  WindowTable(big, rounds);
  std::printf("%s\n", kRunComplete);
  return 0;
}
