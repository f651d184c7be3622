// The pictures being made, on a few background threads at low priority.
// The window says which pictures it wants, most wanted first (the visible
// cells, then a page ahead in the direction of scrolling), and says it again
// whenever that changes: what is no longer on the list is dropped before it
// is begun. Each picture made is kept in the cache and announced; the
// announcement runs on the worker, so it only posts to the window thread.
//
// Ending the work never waits: the threads let go of everything the window
// owns, finish the picture they are making, keep nothing and end.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pictures/made_picture.h"
#include "pictures/picture_cache.h"

namespace tarnwell {

struct PictureRequest {
  std::string key;  // the cache's key for this file at this size
  std::string path;
  int boxWidth = 0;  // the picture is fitted into this box
  int boxHeight = 0;
  bool largest = false;  // the large view: from the largest preview or the file itself
  std::uint32_t background = 0xFFFFFFFF;  // behind icons and transparent parts, 0xAARRGGBB
};

class PictureWork {
 public:
  // Makes one picture; gives null when it cannot, or when `stop` turned true meanwhile.
  using Maker = std::function<std::shared_ptr<const MadePicture>(const PictureRequest&, const std::atomic<bool>& stop)>;
  // A picture of this key is in the cache now. Runs on the worker thread.
  using Made = std::function<void(const std::string& key)>;
  // Runs on each thread as it starts, before it waits for the first picture
  // (the codecs' set-up, while the window is still being made).
  using Prepare = std::function<void()>;

  PictureWork(std::shared_ptr<PictureCache> cache, Maker maker, Made made, int threads = DefaultThreads(),
              Prepare prepare = nullptr);
  ~PictureWork();
  PictureWork(const PictureWork&) = delete;
  PictureWork& operator=(const PictureWork&) = delete;

  // The pictures wanted now, most wanted first, in place of those wanted
  // before. Those in the cache already are passed over.
  void Want(std::vector<PictureRequest> requests);

  // One thread for each logical processor but one, at least one and at most four.
  static int DefaultThreads();

 private:
  struct Shared;
  static void Work(const std::shared_ptr<Shared>& shared);

  std::shared_ptr<Shared> shared_;
};

}  // namespace tarnwell
