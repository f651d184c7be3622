#include <gtest/gtest.h>

#include "platform/text/gb18030_utf8.h"
#include "results/progress_figures.h"

namespace tarnwell {
namespace {

Text G(const char* utf8) { return Utf8ToGb18030(utf8); }

// Sizes and times as the progress window shows them: never rounded up, so a
// file not quite whole never reads as whole, and the unit steps at 1024.
TEST(ProgressFigures, SizesAndTimesRoundDownAndStepAtTheirUnits) {
  const std::pair<std::uint64_t, const char*> sizes[] = {
      {0, "0 字节"},          {1023, "1023 字节"},          {1024, "1.00 KB"},
      {1535, "1.49 KB"},      {(10u << 20) - 1, "9.99 MB"}, {10u << 20, "10.0 MB"},
      {500u << 20, "500 MB"}, {(1u << 30) - 1, "1023 MB"},  {2ull << 30, "2.00 GB"},
  };
  for (const auto& [bytes, text] : sizes) EXPECT_EQ(BytesText(bytes), G(text)) << bytes;
  const std::pair<std::uint64_t, const char*> times[] = {
      {0, "0秒"}, {59, "59秒"}, {60, "1分00秒"}, {3599, "59分59秒"}, {3600, "1小时00分"}, {7265, "2小时01分"},
  };
  for (const auto& [seconds, text] : times) EXPECT_EQ(DurationText(seconds), G(text)) << seconds;
}

// The speed is measured over the last seconds only, and the time left is
// what remains at that speed, rounded up.
TEST(ProgressFigures, SpeedOverTheLastSecondsAndTimeLeft) {
  RateMeter meter;
  meter.Add(0, 0);
  meter.Add(900, 90u << 20);
  EXPECT_EQ(meter.PerSecond(), std::nullopt);  // less than a second seen
  // Fast at first, then 10 MB a second for six seconds: the early pace is forgotten.
  for (std::uint64_t second = 2; second <= 8; ++second) meter.Add(second * 1000, (second - 1) * (10u << 20));
  ASSERT_TRUE(meter.PerSecond());
  EXPECT_NEAR(*meter.PerSecond(), 10.0 * (1 << 20), 1.0);

  BatchProgress::Figures figures;
  figures.kind = BatchKind::Copy;
  figures.filesDone = 1;
  figures.filesTicked = 4;
  figures.bytesCounted = true;
  figures.bytesDone = 70u << 20;
  figures.bytesTotal = (100u << 20) + 1;
  const ProgressLines lines = DescribeProgress(figures, meter.PerSecond());
  EXPECT_EQ(lines.files, G("文件：1 / 4"));
  EXPECT_EQ(lines.bytes, G("大小：70.0 MB / 100 MB"));
  EXPECT_EQ(lines.speed, G("速度：10.0 MB/秒"));
  EXPECT_EQ(lines.timeLeft, G("剩余时间：4秒"));  // 3.000001 seconds, rounded up
  EXPECT_EQ(lines.permille, 699);
}

}  // namespace
}  // namespace tarnwell
