// A JPEG held in memory decoded at an eighth of its size, for a grid's cell:
// each 8x8 block becomes one pixel, the block's mean, which its DC
// coefficient alone gives. The AC coefficients are still Huffman-decoded to
// be skipped, but no inverse transform runs, so a 1620 x 1080 preview costs
// a few milliseconds where decoding it whole costs fifty.
//
// It decodes what camera previews are made of: baseline and extended
// sequential Huffman frames of 8 bits, gray or three components (YCbCr, or
// RGB when an Adobe segment says so), sampling factors 1 or 2 (chroma is
// enlarged to the pixel grid by repeating it), restart intervals. Anything
// else (progressive, arithmetic, 12 bits, CMYK) or a stream found corrupt or
// cut short gives nothing, and the caller decodes the JPEG another way.
//
// It never reads outside the bytes, ends whatever they are, and allocates
// at most 256 bytes for each byte of them (jpeg_eighth.cpp says why).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "pictures/picture.h"

namespace tarnwell {

struct EighthJpeg {
  Picture picture;  // ceil(width / 8) x ceil(height / 8)
  int width = 0;    // the frame's own size
  int height = 0;
};

std::optional<EighthJpeg> DecodeJpegEighth(std::span<const std::uint8_t> jpeg);

}  // namespace tarnwell
