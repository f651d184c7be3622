#include <windows.h>

#include <chrono>
#include <thread>

#include "bench/kept_source.h"
#include "platform/files/long_path_win.h"

namespace tarnwell::bench {

const FolderWatcher& BenchWatcher() { return SystemFolderWatcher(); }

void ChangeFolders(const Text& root, const TextList& folders, const KeptFolders& kept) {
  const std::uint64_t before = kept.Figures().reports;
  for (const Text& folder : folders) {
    const std::wstring path = Win32PathOf(root + "\\" + folder + "\\kept_bench_change.tmp");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    DeleteFileW(path.c_str());
  }
  // The watch reports on its own thread: wait until its reports have come
  // and stopped for a while (ten seconds at most).
  using namespace std::chrono_literals;
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  std::uint64_t seen = before;
  auto quietSince = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
    const std::uint64_t now = kept.Figures().reports;
    if (now != seen) {
      seen = now;
      quietSince = std::chrono::steady_clock::now();
    } else if (seen != before && std::chrono::steady_clock::now() - quietSince >= 300ms) {
      return;
    }
  }
}

}  // namespace tarnwell::bench
