// What the container readers (JPEG, TIFF, CR3, RAF) find goes through here:
// each JPEG a container points to is checked (inside its container, a
// decodable frame header) before it becomes a preview, and each fact is
// kept by the rule of which source wins: the first orientation, model and
// time read (the outer file's before those of a JPEG inside it), the
// original time over the file's time, and the picture size by its source.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "pictures/bounded_reads.h"
#include "pictures/jpeg_segments.h"
#include "pictures/picture_facts.h"

namespace tarnwell {

// Where a picture size comes from, weakest first.
enum class SizeSource : std::uint8_t { None, LargestImage, ExifPixels, JpegFrame };

class PreviewCollector {
 public:
  PreviewCollector(BoundedReads& reads, PictureFacts& facts) : reads_(reads), facts_(facts) {}

  BoundedReads& Reads() { return reads_; }

  // The JPEG stream of `length` bytes at `offset`, which its container says
  // lies inside `within`: kept as a preview when it does and its frame is
  // decodable. Gives the stream's head when it was read (kept or not, for the
  // EXIF block it may hold), nothing when it lies outside or is no JPEG.
  std::optional<JpegHead> Offer(ByteSpan within, std::uint64_t offset, std::uint64_t length, PreviewKind kind);
  // Uncompressed 8-bit RGB of width x height at `offset`: kept when all of
  // it lies inside `within` and it is a thumbnail's size (at most
  // kLargestRgbSide on each side).
  void OfferRgb(ByteSpan within, std::uint64_t offset, std::uint32_t width, std::uint32_t height, PreviewKind kind);

  static constexpr std::uint32_t kLargestRgbSide = 320;

  void SetOrientation(std::uint32_t value);
  void SetCameraModel(std::string_view bytes);
  // The original time beats the file's time, whichever is read first.
  void SetTakenAt(std::string_view bytes, bool original);
  // A stronger source replaces the size, a weaker one never does; of one
  // source the largest size is kept.
  void SetSize(std::uint32_t width, std::uint32_t height, SizeSource source);

 private:
  BoundedReads& reads_;
  PictureFacts& facts_;
  bool originalTime_ = false;
  SizeSource sizeSource_ = SizeSource::None;
};

}  // namespace tarnwell
