#include "results/progress_figures.h"

#include <algorithm>
#include <cmath>

#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

// The rate is the slope over this many milliseconds at most.
constexpr std::uint64_t kRateWindow = 5000;

// The whole number with `decimals` decimals of value / 1024^power, rounded down.
// The digits of `value`, with zeros in front up to `width` of them.
Text ZeroPadded(std::uint64_t value, std::size_t width) {
  Text digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

Text Scaled(std::uint64_t value, int power, int decimals) {
  std::uint64_t unit = 1;
  for (int i = 0; i < power; ++i) unit *= 1024;
  std::uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  // value * scale / unit without overflow for any size below 16 EB.
  const std::uint64_t whole = value / unit;
  const std::uint64_t fraction = (value % unit) * scale / unit;
  Text text = std::to_string(whole);
  if (decimals > 0) {
    text += '.';
    text += ZeroPadded(fraction, static_cast<std::size_t>(decimals));
  }
  return text;
}

Text TwoDigits(std::uint64_t value) { return ZeroPadded(value, 2); }

}  // namespace

Text BytesText(std::uint64_t bytes) {
  if (bytes < 1024) return Concat(std::to_string(bytes), " 字节"_gbk);
  static const char* const units[] = {"KB", "MB", "GB", "TB"};
  int power = 1;
  while (power < 4 && bytes >= (std::uint64_t{1} << (10 * (power + 1)))) ++power;
  const std::uint64_t whole = bytes >> (10 * power);
  const int decimals = whole < 10 ? 2 : whole < 100 ? 1 : 0;
  return Concat(Scaled(bytes, power, decimals), " ", units[power - 1]);
}

Text DurationText(std::uint64_t seconds) {
  if (seconds < 60) return Concat(std::to_string(seconds), "秒"_gbk);
  if (seconds < 3600) return Concat(std::to_string(seconds / 60), "分"_gbk, TwoDigits(seconds % 60), "秒"_gbk);
  return Concat(std::to_string(seconds / 3600), "小时"_gbk, TwoDigits(seconds / 60 % 60), "分"_gbk);
}

void RateMeter::Add(std::uint64_t milliseconds, std::uint64_t done) {
  samples_.emplace_back(milliseconds, done);
  // Keep one sample at or before the window's start, to measure from.
  while (samples_.size() > 2 && milliseconds - samples_[1].first >= kRateWindow) samples_.pop_front();
}

std::optional<double> RateMeter::PerSecond() const {
  if (samples_.size() < 2) return std::nullopt;
  const auto& [firstTime, firstDone] = samples_.front();
  const auto& [lastTime, lastDone] = samples_.back();
  if (lastTime - firstTime < 1000 || lastDone <= firstDone) return std::nullopt;
  return static_cast<double>(lastDone - firstDone) * 1000.0 / static_cast<double>(lastTime - firstTime);
}

std::uint64_t MeteredAmount(const BatchProgress::Figures& figures) {
  return figures.bytesCounted ? figures.bytesDone : static_cast<std::uint64_t>(figures.filesDone);
}

ProgressLines DescribeProgress(const BatchProgress::Figures& figures, std::optional<double> perSecond) {
  ProgressLines lines;
  switch (figures.kind) {
    case BatchKind::Delete: lines.caption = "正在删除文件"_gbk; break;
    case BatchKind::Recycle: lines.caption = "正在放入回收站"_gbk; break;
    case BatchKind::Copy: lines.caption = "正在复制文件"_gbk; break;
    case BatchKind::Move: lines.caption = "正在移动文件"_gbk; break;
    case BatchKind::Undo: lines.caption = "正在撤销移动"_gbk; break;
  }
  if (figures.stopRequested) lines.caption = "正在停止..."_gbk;
  lines.file = figures.currentFile;
  lines.files = Concat("文件："_gbk, NumberToText(figures.filesDone), " / ", NumberToText(figures.filesTicked));
  std::uint64_t done = static_cast<std::uint64_t>(figures.filesDone);
  std::uint64_t total = static_cast<std::uint64_t>(figures.filesTicked);
  if (figures.bytesCounted) {
    lines.bytes = Concat("大小："_gbk, BytesText(figures.bytesDone), " / ", BytesText(figures.bytesTotal));
    done = figures.bytesDone;
    total = figures.bytesTotal;
  }
  if (total > 0) lines.permille = static_cast<int>(std::min<std::uint64_t>(done, total) * 1000 / total);
  if (!perSecond || *perSecond <= 0) {
    lines.speed = "速度：正在计算..."_gbk;
    lines.timeLeft = "剩余时间：正在计算..."_gbk;
    return lines;
  }
  const std::uint64_t rate = static_cast<std::uint64_t>(*perSecond);
  lines.speed = figures.bytesCounted ? Concat("速度："_gbk, BytesText(rate), "/秒"_gbk)
                                     : Concat("速度："_gbk, std::to_string(std::max<std::uint64_t>(rate, 1)),
                                              " 个文件/秒"_gbk);
  const double left = static_cast<double>(total > done ? total - done : 0) / *perSecond;
  lines.timeLeft = Concat("剩余时间："_gbk, DurationText(static_cast<std::uint64_t>(std::ceil(left))));
  return lines;
}

}  // namespace tarnwell
