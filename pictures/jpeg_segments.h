// The head of a JPEG stream, read marker by marker up to its frame header:
// whether the system's JPEG codec can decode it (a baseline or progressive
// frame, not the lossless one that raw data uses), its size, and where its
// EXIF block (APP1 "Exif") lies. Only segment headers are read; the reader
// skips over each segment by its length and stops at the frame header, the
// start of scan or after kMaxSegments segments.
#pragma once

#include <cstdint>
#include <optional>

#include "pictures/bounded_reads.h"

namespace tarnwell {

struct JpegHead {
  bool decodable = false;  // a baseline or progressive frame header came before any scan
  int width = 0;
  int height = 0;
  std::optional<ByteSpan> exif;  // the TIFF block of the first APP1 "Exif" segment
};

// The JPEG stream that starts at `stream.begin` and may not reach past
// `stream.end`; nothing when it does not start with a start-of-image marker.
std::optional<JpegHead> ReadJpegHead(BoundedReads& reads, ByteSpan stream);

}  // namespace tarnwell
