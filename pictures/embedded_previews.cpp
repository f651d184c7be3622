#include "pictures/embedded_previews.h"

#include <array>
#include <cstring>

#include "pictures/bounded_reads.h"
#include "pictures/cr3_boxes.h"
#include "pictures/jpeg_segments.h"
#include "pictures/preview_collector.h"
#include "pictures/tiff_directories.h"

namespace tarnwell {
namespace {

// A JPEG file: its frame gives the picture's size, its EXIF block the rest.
void ReadJpegFile(PreviewCollector& collector, ByteSpan file) {
  const std::optional<JpegHead> head = ReadJpegHead(collector.Reads(), file);
  if (!head) return;
  if (head->decodable) {
    collector.SetSize(static_cast<std::uint32_t>(head->width), static_cast<std::uint32_t>(head->height),
                      SizeSource::JpegFrame);
  }
  if (head->exif) ReadTiffBlock(collector, *head->exif, FirstDirectory::Image, 0);
}

// Fujifilm's RAF: "FUJIFILMCCD-RAW ", then at 84 the offset and at 88 the
// length of a JPEG (big-endian) whose EXIF block tells the rest.
void ReadRaf(PreviewCollector& collector, ByteSpan file) {
  BoundedReads& reads = collector.Reads();
  const std::optional<std::uint32_t> offset = reads.U32(84, ByteOrder::Big);
  const std::optional<std::uint32_t> length = reads.U32(88, ByteOrder::Big);
  if (!offset || !length) return;
  const std::optional<JpegHead> head = collector.Offer(file, *offset, *length, PreviewKind::RafJpeg);
  if (head && head->decodable && head->exif) ReadTiffBlock(collector, *head->exif, FirstDirectory::Image, 1);
}

}  // namespace

PictureFacts ReadPictureFacts(const ByteSource& source) {
  PictureFacts facts;
  BoundedReads reads(source);
  PreviewCollector collector(reads, facts);
  const ByteSpan file = reads.File();
  std::array<std::uint8_t, 16> start{};
  if (!reads.Read(0, start)) {
    // Shorter than 16 bytes: too short for any of these containers but a
    // JPEG's first bytes, which say nothing yet.
    return facts;
  }
  if (start[0] == 0xFF && start[1] == 0xD8) {
    facts.container = PictureContainer::Jpeg;
    ReadJpegFile(collector, file);
  } else if (IsTiffHeader(start.data())) {
    facts.container = PictureContainer::Tiff;
    ReadTiffBlock(collector, file, FirstDirectory::Image, 0);
  } else if (IsCr3Start(start.data())) {
    facts.container = PictureContainer::Cr3;
    ReadCr3(collector, file);
  } else if (std::memcmp(start.data(), "FUJIFILMCCD-RAW ", 16) == 0) {
    facts.container = PictureContainer::Raf;
    ReadRaf(collector, file);
  }
  return facts;
}

}  // namespace tarnwell
