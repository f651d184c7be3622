#include "pictures/preview_collector.h"

#include <algorithm>
#include <cctype>

namespace tarnwell {
namespace {

// The smallest JPEG stream: start of image, a frame header, end of image.
constexpr std::uint64_t kSmallestJpeg = 2 + 4 + 2;
// Sizes beyond this are no camera's: a corrupt field, not a picture.
constexpr std::uint32_t kLargestSide = 1'000'000;
constexpr std::size_t kLongestModel = 64;

bool Printable(char c) { return c >= 0x20 && c < 0x7F; }
bool Digit(char c) { return c >= '0' && c <= '9'; }

// "YYYY:MM:DD HH:MM:SS" with digits where digits belong and a real month and day.
bool ExifTime(std::string_view text) {
  constexpr std::string_view kShape = "dddd:dd:dd dd:dd:dd";
  if (text.size() < kShape.size()) return false;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    if (kShape[i] == 'd' ? !Digit(text[i]) : text[i] != kShape[i]) return false;
  }
  auto two = [&](std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
  return two(5) >= 1 && two(5) <= 12 && two(8) >= 1 && two(8) <= 31;
}

}  // namespace

std::optional<JpegHead> PreviewCollector::Offer(ByteSpan within, std::uint64_t offset, std::uint64_t length,
                                                PreviewKind kind) {
  if (length < kSmallestJpeg || !within.Holds(offset, length)) return std::nullopt;
  std::optional<JpegHead> head = ReadJpegHead(reads_, ByteSpan{offset, offset + length});
  if (!head || !head->decodable) return head;
  facts_.AddPreview({offset, length, kind, head->width, head->height});
  return head;
}

void PreviewCollector::OfferRgb(ByteSpan within, std::uint64_t offset, std::uint32_t width, std::uint32_t height,
                                PreviewKind kind) {
  if (width == 0 || height == 0 || width > kLargestRgbSide || height > kLargestRgbSide) return;
  const std::uint64_t length = std::uint64_t{width} * height * 3;
  if (!within.Holds(offset, length)) return;
  facts_.AddPreview({offset, length, kind, static_cast<int>(width), static_cast<int>(height), PreviewFormat::Rgb8});
}

void PreviewCollector::SetOrientation(std::uint32_t value) {
  if (facts_.orientation == 0 && value >= 1 && value <= 8) facts_.orientation = static_cast<int>(value);
}

void PreviewCollector::SetCameraModel(std::string_view bytes) {
  if (!facts_.cameraModel.empty()) return;
  bytes = bytes.substr(0, std::min(bytes.find('\0'), kLongestModel));
  if (!std::all_of(bytes.begin(), bytes.end(), Printable)) return;
  while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
  while (!bytes.empty() && bytes.front() == ' ') bytes.remove_prefix(1);
  facts_.cameraModel.assign(bytes);
}

void PreviewCollector::SetTakenAt(std::string_view bytes, bool original) {
  if (originalTime_ || (!original && !facts_.takenAt.empty()) || !ExifTime(bytes)) return;
  facts_.takenAt.assign(bytes.substr(0, 19));
  originalTime_ = original;
}

void PreviewCollector::SetSize(std::uint32_t width, std::uint32_t height, SizeSource source) {
  if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) return;
  if (source < sizeSource_) return;
  if (source == sizeSource_ && std::uint64_t{width} * height <=
                                   static_cast<std::uint64_t>(facts_.width) * static_cast<std::uint64_t>(facts_.height)) {
    return;
  }
  facts_.width = static_cast<int>(width);
  facts_.height = static_cast<int>(height);
  sizeSource_ = source;
}

}  // namespace tarnwell
