// What could not be done, as the program tells it: what was being done, to
// which path, and why in the system's own words. One shape for every failure
// the user reads about (the problem list of a search or a batch, the action
// record) and for the debug line, so that no reason is lost on the way.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/text/text.h"

namespace tarnwell {

struct Failure {
  Text action;             // what was being done: "读取文件夹", "复制", ...
  Text path;               // what it was done to
  std::uint32_t code = 0;  // the system's error code; 0 when it gave none
  Text message;            // why, in the system's own words (or the program's, without a code)
};

// The system's own message for an error code, without its line break; for a
// code the system has no text for, "错误代码 " and the number.
Text SystemMessage(std::uint32_t code);

// A failure of `action` on `path` for the system's error `code`, its message
// the system's own.
Failure FailureOf(Text action, Text path, std::uint32_t code);

// "path<TAB>action<TAB>message": one failure as a line of text, for a copy
// of the problem list and for the debug line.
Text FailureLine(const Failure& failure);

// The failures of one search or one batch, added from any thread.
class FailureList {
 public:
  void Add(Failure failure);
  void Clear();
  std::vector<Failure> Snapshot() const;
  std::size_t Count() const;

 private:
  mutable std::mutex lock_;
  std::vector<Failure> failures_;
};

}  // namespace tarnwell
