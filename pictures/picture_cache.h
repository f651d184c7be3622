// The pictures made so far, by key (the file and the size made for), within
// a bound of bytes: when a new picture would pass it, the pictures used
// longest ago go first. Pictures are shared: one drawn while it is dropped
// stays valid until the drawing lets it go. Any thread may use it.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "pictures/made_picture.h"

namespace tarnwell {

class PictureCache {
 public:
  static constexpr std::size_t kDefaultBound = std::size_t{64} << 20;

  explicit PictureCache(std::size_t boundBytes = kDefaultBound) : bound_(boundBytes) {}

  // The picture, now the most recently used; null when there is none.
  std::shared_ptr<const MadePicture> Find(const std::string& key);
  bool Holds(const std::string& key);
  // Keeps the picture under the key (in place of one there before), then
  // drops the least recently used ones until the bound holds again. A
  // picture larger than the bound is not kept.
  void Keep(const std::string& key, std::shared_ptr<const MadePicture> picture);
  void Clear();

  std::size_t BytesHeld();
  std::size_t Bound() const { return bound_; }

 private:
  using Order = std::list<std::string>;  // most recently used first
  struct Held {
    std::shared_ptr<const MadePicture> picture;
    Order::iterator place;
  };

  void DropLocked(std::unordered_map<std::string, Held>::iterator found);

  const std::size_t bound_;
  std::mutex mutex_;
  std::unordered_map<std::string, Held> held_;
  Order order_;
  std::size_t bytes_ = 0;
};

}  // namespace tarnwell
