// How far a batch has come, and whether the user wants it stopped. The
// window thread begins and ends it, reads its figures for the progress
// window and asks it to stop (停止, Esc, the window closed); the batch's
// worker counts the files and bytes as it goes, and its copies look at the
// stop request between the pieces of a file. Either thread may call any
// member.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/files/copy_watch.h"
#include "platform/text/text.h"

namespace tarnwell {

enum class BatchKind { Delete, Recycle, Copy, Move, Undo };

class BatchProgress final : public CopyWatch {
 public:
  struct Figures {
    BatchKind kind = BatchKind::Delete;
    bool begun = false;  // the batch is at work on its files
    bool ended = false;
    int filesDone = 0;
    int filesTicked = 0;  // never below filesDone
    bool bytesCounted = false;
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;  // never below bytesDone
    int filesVerified = 0;          // copies read back and found whole
    Text currentFile;               // the path worked on, or the last one
    bool stopRequested = false;
  };

  // Window thread: the batch starts on its files (after its question or
  // folder choice), `filesTicked` of them as the rows are ticked now.
  void Begin(BatchKind kind, int filesTicked);
  // The sum of the bytes the batch will go through (a file read back after
  // its copy counts twice), read before the first file.
  void CountBytes(std::uint64_t total);
  // `path` is being worked on; `bytes` is its share of the counted bytes.
  void BeginFile(const Text& path, std::uint64_t bytes);
  // The file is done with, whatever came of it: it counts as done, and so
  // does its whole share of bytes.
  void EndFile();
  // Several files done with at once (the Recycle Bin takes them in groups).
  void EndFiles(int count);
  // Window thread: the batch has ended (before its end text and box).
  void End();

  void RequestStop();
  bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }

  Figures Read() const;

  // Window thread: runs right after Begin and after End, for the progress
  // window to start watching and to go.
  void OnBeginAndEnd(std::function<void()> changed) { changed_ = std::move(changed); }

  // CopyWatch: the bytes of the file in progress; a stop request stops it.
  void Copied(std::uint64_t bytes) override;
  bool StopWanted() override { return StopRequested(); }
  void Verified() override;

 private:
  mutable std::mutex mutex_;
  Figures figures_;
  std::uint64_t bytesBeforeFile_ = 0;
  std::uint64_t fileShare_ = 0;
  std::atomic<bool> stop_{false};
  std::function<void()> changed_;
};

}  // namespace tarnwell
