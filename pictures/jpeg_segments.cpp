#include "pictures/jpeg_segments.h"

#include <array>
#include <cstring>

namespace tarnwell {
namespace {

// Camera JPEGs reach their frame header within a dozen segments (APP0, APP1,
// a few APP2 for a colour profile, tables); a stream with more is no preview
// worth the reads.
constexpr int kMaxSegments = 64;

constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kApp1 = 0xE1;

// Frame headers are C0-CF but for C4 (Huffman tables), C8 (reserved) and CC
// (arithmetic conditioning).
bool IsFrameHeader(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Baseline, extended sequential and progressive Huffman frames: what
// Windows' JPEG codec decodes. C3 is the lossless frame of raw data.
bool IsDecodableFrame(std::uint8_t marker) { return marker == 0xC0 || marker == 0xC1 || marker == 0xC2; }

// Markers that stand alone, without a length: TEM and the restart markers.
bool StandsAlone(std::uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

std::optional<JpegHead> ReadJpegHead(BoundedReads& reads, ByteSpan stream) {
  std::array<std::uint8_t, 2> start{};
  if (!stream.Holds(stream.begin, 2) || !reads.Read(stream.begin, start)) return std::nullopt;
  if (start[0] != 0xFF || start[1] != kStartOfImage) return std::nullopt;
  JpegHead head;
  std::uint64_t at = stream.begin + 2;
  for (int segment = 0; segment < kMaxSegments; ++segment) {
    std::array<std::uint8_t, 4> header{};
    if (!stream.Holds(at, 4) || !reads.Read(at, header) || header[0] != 0xFF) break;
    const std::uint8_t marker = header[1];
    if (marker == 0xFF) {  // a fill byte before the marker
      at += 1;
      continue;
    }
    if (StandsAlone(marker)) {
      at += 2;
      continue;
    }
    if (marker == kStartOfScan || marker == kEndOfImage || marker == kStartOfImage) break;
    const std::uint16_t length = U16Of(header.data() + 2, ByteOrder::Big);
    if (length < 2 || !stream.Holds(at + 2, length)) break;
    if (IsFrameHeader(marker)) {
      // Precision, height, width.
      std::array<std::uint8_t, 5> frame{};
      if (!IsDecodableFrame(marker) || length < 2 + frame.size() || !reads.Read(at + 4, frame)) break;
      head.height = U16Of(frame.data() + 1, ByteOrder::Big);
      head.width = U16Of(frame.data() + 3, ByteOrder::Big);
      head.decodable = head.width > 0 && head.height > 0;
      break;
    }
    if (marker == kApp1 && !head.exif && length >= 2 + 6 + 8) {
      std::array<std::uint8_t, 6> name{};
      if (reads.Read(at + 4, name) && std::memcmp(name.data(), "Exif\0\0", 6) == 0) {
        head.exif = ByteSpan{at + 10, at + 2 + length};
      }
    }
    at += 2 + std::uint64_t{length};
  }
  return head;
}

}  // namespace tarnwell
