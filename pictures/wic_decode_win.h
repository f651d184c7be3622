// Decoding through the Windows Imaging Component on a picture thread: COM
// and one imaging factory for each thread, made on its first picture and
// kept for its life; the first frame of a file or of bytes in memory,
// reduced while decoding where the codec can (IWICBitmapSourceTransform:
// Windows' JPEG codec decodes at 1/2, 1/4 and 1/8), then scaled to fit and
// laid on the background where it is transparent.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "pictures/picture.h"

namespace tarnwell {

struct Decoded {
  Picture picture;  // as stored, not yet turned by its orientation
  int sourceWidth = 0;  // the frame's own size
  int sourceHeight = 0;
};

// Sets up COM and the imaging factory of the calling thread now rather than
// at its first picture.
void PrepareImaging();

// Fits the frame into boxWidth x boxHeight, keeping its proportions and
// never enlarging it. Nothing when no codec decodes it.
std::optional<Decoded> DecodeFile(std::string_view path, int boxWidth, int boxHeight, std::uint32_t background);
std::optional<Decoded> DecodeBytes(std::span<const std::uint8_t> bytes, int boxWidth, int boxHeight,
                                   std::uint32_t background);
// Whether the codec of the file's first frame decodes it reduced
// (IWICBitmapSourceTransform); for the benchmark's report.
bool DecodesReduced(std::string_view path);

// A picture made without a codec (its pixels taken as opaque), fitted into
// the box as a frame is; sourceWidth and sourceHeight are the picture's.
std::optional<Decoded> FitPicture(const Picture& picture, int boxWidth, int boxHeight, std::uint32_t background);

// Uncompressed 8-bit RGB of width x height, rows top to bottom.
std::optional<Decoded> DecodeRgb(std::span<const std::uint8_t> bytes, int width, int height, int boxWidth, int boxHeight,
                                 std::uint32_t background);

}  // namespace tarnwell
