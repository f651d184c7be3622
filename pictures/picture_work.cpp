#include "pictures/picture_work.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "pictures/worker_priority.h"
#include "platform/base/entry_guard.h"

namespace tarnwell {

struct PictureWork::Shared {
  std::shared_ptr<PictureCache> cache;
  Maker maker;
  Made made;
  Prepare prepare;
  std::mutex mutex;
  std::condition_variable wake;
  std::vector<PictureRequest> wanted;  // guarded by mutex
  std::size_t next = 0;                // the first request of `wanted` not yet taken
  std::unordered_set<std::string> making;  // keys being made now
  std::atomic<bool> stop{false};
};

PictureWork::PictureWork(std::shared_ptr<PictureCache> cache, Maker maker, Made made, int threads, Prepare prepare)
    : shared_(std::make_shared<Shared>()) {
  shared_->cache = std::move(cache);
  shared_->maker = std::move(maker);
  shared_->made = std::move(made);
  shared_->prepare = std::move(prepare);
  for (int i = 0; i < std::max(threads, 1); ++i) {
    // Each thread holds the shared state; none holds this object.
    std::thread([shared = shared_] { CatchAtEntry("a picture thread", [&] { Work(shared); }); }).detach();
  }
}

PictureWork::~PictureWork() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stop = true;
    shared_->wanted.clear();
    shared_->next = 0;
  }
  shared_->wake.notify_all();
}

int PictureWork::DefaultThreads() {
  // One processor stays the window thread's: on two cores a second picture
  // thread made the window's messages wait longer, not the pictures come sooner.
  const unsigned processors = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(processors, 2u, 5u) - 1);
}

void PictureWork::Want(std::vector<PictureRequest> requests) {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->wanted = std::move(requests);
    shared_->next = 0;
  }
  shared_->wake.notify_all();
}

void PictureWork::Work(const std::shared_ptr<Shared>& shared) {
  LowerWorkerPriority();
  if (shared->prepare) shared->prepare();
  for (;;) {
    PictureRequest request;
    {
      std::unique_lock lock(shared->mutex);
      shared->wake.wait(lock, [&] { return shared->stop || shared->next < shared->wanted.size(); });
      if (shared->stop) break;
      request = shared->wanted[shared->next++];
      if (shared->making.count(request.key) != 0 || shared->cache->Holds(request.key)) continue;
      shared->making.insert(request.key);
    }
    // A picture that fails to be made (no memory for it) is left out; the
    // thread goes on with the next.
    std::shared_ptr<const MadePicture> picture = CatchAtEntry(
        "a picture thread's picture", std::shared_ptr<const MadePicture>(),
        [&] { return shared->maker(request, shared->stop); });
    {
      std::lock_guard lock(shared->mutex);
      shared->making.erase(request.key);
    }
    if (shared->stop) break;
    if (picture) {
      shared->cache->Keep(request.key, std::move(picture));
      shared->made(request.key);
    }
  }
  // What the window gave (the maker's and the announcement's captures) goes
  // with the last thread; the window let go of it already.
}

}  // namespace tarnwell
