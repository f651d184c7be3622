#include "results/batch_progress.h"

#include <algorithm>
#include <utility>

namespace tarnwell {

void BatchProgress::Begin(BatchKind kind, int filesTicked) {
  {
    std::lock_guard lock(mutex_);
    figures_ = Figures{};
    figures_.kind = kind;
    figures_.begun = true;
    figures_.filesTicked = filesTicked;
    bytesBeforeFile_ = 0;
    fileShare_ = 0;
  }
  stop_.store(false, std::memory_order_relaxed);
  if (changed_) changed_();
}

void BatchProgress::CountBytes(std::uint64_t total) {
  std::lock_guard lock(mutex_);
  figures_.bytesCounted = true;
  figures_.bytesTotal = std::max(total, figures_.bytesDone);
}

void BatchProgress::BeginFile(const Text& path, std::uint64_t bytes) {
  std::lock_guard lock(mutex_);
  figures_.currentFile = path;
  bytesBeforeFile_ = figures_.bytesDone;
  fileShare_ = bytes;
}

void BatchProgress::EndFile() { EndFiles(1); }

void BatchProgress::EndFiles(int count) {
  std::lock_guard lock(mutex_);
  figures_.filesDone += count;
  // A row ticked after the start is counted as it is done.
  figures_.filesTicked = std::max(figures_.filesTicked, figures_.filesDone);
  figures_.bytesDone = std::max(figures_.bytesDone, bytesBeforeFile_ + fileShare_);
  figures_.bytesTotal = std::max(figures_.bytesTotal, figures_.bytesDone);
  bytesBeforeFile_ = figures_.bytesDone;
  fileShare_ = 0;
}

void BatchProgress::End() {
  {
    std::lock_guard lock(mutex_);
    figures_.ended = true;
  }
  if (changed_) changed_();
}

void BatchProgress::RequestStop() {
  stop_.store(true, std::memory_order_relaxed);
  std::lock_guard lock(mutex_);
  figures_.stopRequested = true;
}

void BatchProgress::Verified() {
  std::lock_guard lock(mutex_);
  ++figures_.filesVerified;
}

BatchProgress::Figures BatchProgress::Read() const {
  std::lock_guard lock(mutex_);
  return figures_;
}

void BatchProgress::Copied(std::uint64_t bytes) {
  std::lock_guard lock(mutex_);
  // Never past the file's share: a file that grew since its size was read
  // must not push the bar beyond the end.
  const std::uint64_t limit = fileShare_ > 0 ? bytesBeforeFile_ + fileShare_ : figures_.bytesDone;
  figures_.bytesDone = std::min(figures_.bytesDone + bytes, std::max(limit, figures_.bytesDone));
}

}  // namespace tarnwell
