#include "pictures/picture_cache.h"

namespace tarnwell {

std::shared_ptr<const MadePicture> PictureCache::Find(const std::string& key) {
  std::lock_guard lock(mutex_);
  auto found = held_.find(key);
  if (found == held_.end()) return nullptr;
  order_.splice(order_.begin(), order_, found->second.place);
  return found->second.picture;
}

bool PictureCache::Holds(const std::string& key) {
  std::lock_guard lock(mutex_);
  return held_.count(key) != 0;
}

void PictureCache::DropLocked(std::unordered_map<std::string, Held>::iterator found) {
  bytes_ -= found->second.picture->Bytes();
  order_.erase(found->second.place);
  held_.erase(found);
}

void PictureCache::Keep(const std::string& key, std::shared_ptr<const MadePicture> picture) {
  if (!picture || picture->Bytes() > bound_) return;
  std::lock_guard lock(mutex_);
  if (auto found = held_.find(key); found != held_.end()) DropLocked(found);
  while (!order_.empty() && bytes_ + picture->Bytes() > bound_) DropLocked(held_.find(order_.back()));
  order_.push_front(key);
  bytes_ += picture->Bytes();
  held_.emplace(key, Held{std::move(picture), order_.begin()});
}

void PictureCache::Clear() {
  std::lock_guard lock(mutex_);
  held_.clear();
  order_.clear();
  bytes_ = 0;
}

std::size_t PictureCache::BytesHeld() {
  std::lock_guard lock(mutex_);
  return bytes_;
}

}  // namespace tarnwell
