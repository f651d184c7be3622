#include "platform/base/failure.h"

#include <utility>

namespace tarnwell {

Failure FailureOf(Text action, Text path, std::uint32_t code) {
  return Failure{std::move(action), std::move(path), code, SystemMessage(code)};
}

Text FailureLine(const Failure& failure) { return Concat(failure.path, "\t", failure.action, "\t", failure.message); }

void FailureList::Add(Failure failure) {
  std::lock_guard guard(lock_);
  failures_.push_back(std::move(failure));
}

void FailureList::Clear() {
  std::lock_guard guard(lock_);
  failures_.clear();
}

std::vector<Failure> FailureList::Snapshot() const {
  std::lock_guard guard(lock_);
  return failures_;
}

std::size_t FailureList::Count() const {
  std::lock_guard guard(lock_);
  return failures_.size();
}

}  // namespace tarnwell
