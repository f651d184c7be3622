#include "ui/picture_info_line.h"

#include <cstdio>
#include <string>

#include "pictures/orientation.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

constexpr std::string_view kGap = "    ";

// EXIF's "YYYY:MM:DD HH:MM:SS" as the program writes times: "YYYY-MM-DD HH:MM:SS".
Text ExifTimeText(const std::string& exif) {
  Text time = exif;
  if (time.size() >= 10) time[4] = time[7] = '-';
  return time;
}

}  // namespace

Text SizeText(std::uint64_t bytes) {
  if (bytes < 1024) return Concat(std::to_string(bytes), " ", "字节"_gbk);
  const char* units[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024.0;
  std::size_t unit = 0;
  while (value >= 1024.0 && unit + 1 < std::size(units)) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

Text PictureInfoLine(const Text& fileName, const MadePicture* made) {
  Text line = fileName;
  if (!made) return line;
  if (made->fileKnown) line += Concat(kGap, SizeText(made->fileSize), kGap, "修改时间 "_gbk, made->modified);
  const PictureFacts& facts = made->facts;
  if (facts.width > 0) {
    // As shown: a picture turned a quarter is as wide as it was high.
    const bool turned = SwapsSides(facts.orientation);
    line += Concat(kGap, std::to_string(turned ? facts.height : facts.width), " ", "×"_gbk, " ",
                   std::to_string(turned ? facts.width : facts.height));
  }
  if (!facts.cameraModel.empty()) line += Concat(kGap, facts.cameraModel);
  if (!facts.takenAt.empty()) line += Concat(kGap, "拍摄时间 "_gbk, ExifTimeText(facts.takenAt));
  return line;
}

}  // namespace tarnwell
