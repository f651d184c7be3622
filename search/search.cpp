#include "search/search.h"

#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/base/debug_output.h"
#include "platform/base/entry_guard.h"
#include "platform/text/gbk_literal.h"
#include "search/walk/walk_directory.h"

namespace tarnwell {

// Collects one walk's rows into batches for the sink and turns its finished
// wanted names into progress steps.
class WalkDelivery final : public WalkOutput {
 public:
  WalkDelivery(Search& search, std::size_t root)
      : search_(search), root_(root), nameCount_(static_cast<std::uint32_t>(search.Names().size())) {}

  void Row(const Text& folder, std::string_view name, std::uint32_t nameIndex) override {
    if (batch_.empty()) batchStart_ = std::chrono::steady_clock::now();
    // Rows of a folder come in wanted-name order: the names before this
    // row's are done in this folder.
    if (nameIndex > namesDone_) {
      pendingSteps_ += nameIndex - namesDone_;
      namesDone_ = nameIndex;
    }
    batch_.Add(folder, name);
    if (batch_.size() >= search_.options_.batchRows) {
      Flush();
    } else if (batch_.size() % 64 == 0) {
      FlushWhenOld();
    }
  }

  void FolderSearched(const Text&) override {
    pendingSteps_ += nameCount_ - namesDone_;
    namesDone_ = 0;
    PublishProgress(nameCount_);
    FlushWhenOld();
  }

  void FolderFailed(const Text& folder, std::uint32_t error) override { search_.FolderFailed(folder, error); }

  void Flush() {
    if (!batch_.empty()) {
      RowBatch rows = std::exchange(batch_, RowBatch());
      if (!search_.Cancelled()) search_.sink_->DeliverRows(search_, root_, std::move(rows));
    }
    PublishProgress(namesDone_);
  }

 private:
  void FlushWhenOld() {
    if (!batch_.empty() && std::chrono::steady_clock::now() - batchStart_ >= search_.options_.batchAge) Flush();
  }

  // `namesDone` wanted names are done in the current folder; the last of them
  // is the one the progress text shows.
  void PublishProgress(std::uint32_t namesDone) {
    if (pendingSteps_ == 0 || namesDone == 0) return;
    search_.AddProgress(namesDone - 1, pendingSteps_);
    pendingSteps_ = 0;
  }

  Search& search_;
  std::size_t root_;
  std::uint32_t nameCount_;
  std::uint32_t namesDone_ = 0;
  std::uint64_t pendingSteps_ = 0;
  RowBatch batch_;
  std::chrono::steady_clock::time_point batchStart_;
};

std::shared_ptr<Search> Search::Start(NameList names, RootList roots, MatchMode mode,
                                      std::shared_ptr<SearchSink> sink, const DirectoryLister& lister,
                                      SearchOptions options) {
  auto search = std::make_shared<Search>(PassKey{}, std::move(names), std::move(roots), mode, std::move(sink),
                                         lister, options);
  search->StartWalks();
  return search;
}

void Search::StartWalks() {
  std::shared_ptr<Search> self = shared_from_this();
  std::size_t rootCount = roots_->size();
  running_.store(static_cast<int>(rootCount), std::memory_order_release);
  threads_.reserve(rootCount);
  if (rootCount == 0) EndWalk(0, false);  // nothing to walk: the search ends at once
  for (std::size_t root = 0; root < rootCount; ++root) {
    try {
      threads_.emplace_back([self, root] { CatchAtEntry("a search walk's thread", [&] { self->RunWalk(root); }); });
    } catch (const std::system_error& fault) {
      // No thread, no walk: this root ends at once, without rows, and counts
      // as a walk that failed, so that the user is told.
      CountWalkFault(root, fault.what(), static_cast<std::uint32_t>(fault.code().value()));
      EndWalk(root, true);
    }
  }
}

std::shared_ptr<Search> Search::Start(NameList names, RootList roots, MatchMode mode,
                                      std::shared_ptr<SearchSink> sink, std::shared_ptr<const DirectoryLister> lister,
                                      SearchOptions options) {
  const DirectoryLister& listing = *lister;
  auto search = std::make_shared<Search>(PassKey{}, std::move(names), std::move(roots), mode, std::move(sink),
                                         listing, options);
  search->listerShare_ = std::move(lister);
  search->StartWalks();
  return search;
}

Search::Search(PassKey, NameList names, RootList roots, MatchMode mode, std::shared_ptr<SearchSink> sink,
               const DirectoryLister& lister, SearchOptions options)
    : names_(std::make_shared<const NameList>(std::move(names))),
      roots_(std::make_shared<const RootList>(std::move(roots))),
      mode_(mode),
      readMode_([this] { return Mode(); }),
      sink_(std::move(sink)),
      lister_(lister),
      options_(options),
      matcher_(names_, options.numbers) {
  if (!roots_->empty()) pool_ = NewListingPool(options_.walkThreads);
}

Search::~Search() {
  // Every worker has left its walk once the last share is gone; the one
  // that dropped it (if any) cannot join itself.
  for (std::thread& thread : threads_) {
    if (!thread.joinable()) continue;
    if (thread.get_id() == std::this_thread::get_id()) {
      thread.detach();
    } else {
      thread.join();
    }
  }
}

void Search::RunWalk(std::size_t root) {
  // No exception may leave the thread. One that ends a walk early (a listing
  // that throws, memory running out) ends it as a walk all the same: the
  // rows found so far are delivered, WalkEnded comes, and the fault is
  // counted and written out rather than dropped.
  bool failed = false;
  std::optional<WalkDelivery> delivery;
  try {
    delivery.emplace(*this, root);
    WalkInputs inputs{lister_, matcher_, readMode_, cancelled_, pool_.get()};
    WalkDirectory((*roots_)[root], inputs, *delivery);
  } catch (const std::exception& fault) {
    failed = true;
    CountWalkFault(root, fault.what());
  } catch (...) {
    failed = true;
    CountWalkFault(root, "an exception of no known type");
  }
  try {
    if (delivery) delivery->Flush();
  } catch (...) {
    if (!failed) CountWalkFault(root, "its last rows could not be delivered");
    failed = true;
  }
  EndWalk(root, failed);
}

void Search::EndWalk(std::size_t root, bool failed) {
  if (!roots_->empty()) {
    try {
      sink_->WalkEnded(*this, root);
    } catch (...) {
      if (!failed) CountWalkFault(root, "its end could not be handed on");
      failed = true;
    }
    if (running_.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  }
  // The last walk has ended. It joins the listing helpers: none outlives the
  // walks it listed for.
  if (pool_) pool_->Stop();
  try {
    sink_->SearchEnded(*this);
  } catch (...) {
    if (!failed && !roots_->empty()) CountWalkFault(root, "the end of its search could not be handed on");
  }
  {
    std::lock_guard lock(endMutex_);
    ended_ = true;
  }
  endSignal_.notify_all();
}

void Search::CountWalkFault(std::size_t root, const char* what, std::uint32_t error) noexcept {
  failed_.fetch_add(1, std::memory_order_acq_rel);
  try {
    WriteDebugLine(Concat("Tarnwell: the search walk of ", (*roots_)[root], " ended by a fault: ", what));
    Failure failure = error != 0 ? FailureOf("搜索"_gbk, (*roots_)[root], error)
                                 : Failure{"搜索"_gbk, (*roots_)[root], 0, "出错，此路径未能搜索完"_gbk};
    failures_.Add(std::move(failure));
  } catch (...) {
    // Not even the line could be written; the count still tells.
  }
}

bool Search::WaitForWalks(std::chrono::steady_clock::time_point deadline) {
  {
    std::unique_lock lock(endMutex_);
    if (!endSignal_.wait_until(lock, deadline, [this] { return ended_; })) return false;
  }
  // Each thread is past its walk and about to leave: the joins are short.
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
  return true;
}

void Search::AddProgress(std::uint32_t lastName, std::uint64_t steps) {
  progressName_.store(lastName, std::memory_order_relaxed);
  progressSteps_.fetch_add(steps, std::memory_order_release);
}

std::optional<std::uint32_t> Search::TakeProgress() {
  std::uint64_t steps = progressSteps_.load(std::memory_order_acquire);
  if (stepsTaken_.exchange(steps, std::memory_order_acq_rel) == steps) return std::nullopt;
  return progressName_.load(std::memory_order_relaxed);
}

void Search::FolderFailed(const Text& folder, std::uint32_t error) noexcept {
  failedFolders_.fetch_add(1, std::memory_order_acq_rel);
  try {
    Failure failure = error != 0 ? FailureOf("读取文件夹"_gbk, folder, error)
                                 : Failure{"读取文件夹"_gbk, folder, 0, "未能读取完整"_gbk};
    WriteDebugLine(Concat("Tarnwell: the folder could not be read to its end, twice: ", FailureLine(failure)));
    failures_.Add(std::move(failure));
  } catch (...) {
    // The count still tells.
  }
}

}  // namespace tarnwell
