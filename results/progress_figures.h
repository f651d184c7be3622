// The figures the progress window shows of a batch, as texts: what is being
// done, the current file, files and bytes done of the ticked ones, the speed
// and the time left, and how far the bar is. Kept apart from the window so
// that the arithmetic and the units are the same wherever they are read.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

#include "platform/text/text.h"
#include "results/batch_progress.h"

namespace tarnwell {

// "532 字节", "1.50 KB", "12.3 MB", "532 MB", "4.00 GB": three figures from
// KB on, each unit 1024 of the one below, rounded down so that a file not
// quite whole never shows as whole.
Text BytesText(std::uint64_t bytes);

// "45秒", "3分05秒", "2小时07分": the seconds left, rounded up to a whole second.
Text DurationText(std::uint64_t seconds);

// How fast a batch goes, over the last few seconds: fed with what is done
// (bytes, or files when the bytes are not counted) at moments in
// milliseconds, it gives the amount per second.
class RateMeter {
 public:
  void Add(std::uint64_t milliseconds, std::uint64_t done);
  void Clear() { samples_.clear(); }
  // Nothing until a second has passed, or while nothing has moved.
  std::optional<double> PerSecond() const;

 private:
  std::deque<std::pair<std::uint64_t, std::uint64_t>> samples_;  // oldest first
};

struct ProgressLines {
  Text caption;      // "正在复制文件"
  Text file;         // the current file's path
  Text files;        // "文件：3 / 400"
  Text bytes;        // "大小：1.20 GB / 20.5 GB"; empty when the bytes are not counted
  Text speed;        // "速度：45.2 MB/秒"
  Text timeLeft;     // "剩余时间：3分05秒"
  int permille = 0;  // the bar: bytes done of the total, or files where the bytes are not counted
};

// The lines for the figures; `perSecond` is the meter's rate of what it was
// fed (bytes when counted, else files).
ProgressLines DescribeProgress(const BatchProgress::Figures& figures, std::optional<double> perSecond);

// What the meter is fed: bytes done when they are counted, else files done.
std::uint64_t MeteredAmount(const BatchProgress::Figures& figures);

}  // namespace tarnwell
