// The TIFF structure that EXIF blocks and most raw files share: a header
// (byte order, a magic number, the first directory's offset), then
// directories (IFDs) of 12-byte entries chained one to the next, with
// SubIFDs, the EXIF directory and the maker's note hanging from them.
//
// The walk takes from them what the previews and the facts need: JPEGs that
// a directory points to (JPEGInterchangeFormat and its length; a single
// JPEG-compressed strip; the JpgFromRaw entry of Panasonic's RW2; Olympus'
// preview in its maker's note), a small uncompressed RGB image in a single
// strip (the thumbnail of NEF and DNG), IFD0's orientation, model and time, the EXIF
// directory's original time and pixel size, and every image's size.
//
// It is bounded however the file is made: at most kMaxDirectories
// directories, each visited once (a directory that points back at one
// already seen ends there), at most kMaxEntries entries each, every offset
// checked against the block before it is read.
#pragma once

#include <cstdint>

#include "pictures/bounded_reads.h"
#include "pictures/preview_collector.h"

namespace tarnwell {

// What the block's first directory is: IFD0 of an image (a TIFF file, a
// JPEG's EXIF block, CR3's CMT1), or an EXIF directory (CR3's CMT2).
enum class FirstDirectory : std::uint8_t { Image, Exif };

constexpr int kMaxDirectories = 24;
constexpr int kMaxEntries = 512;

// The magic numbers of the header besides TIFF's own 42.
constexpr std::uint16_t kOrfMagic = 0x4F52;   // "RO": Olympus ORF
constexpr std::uint16_t kOrfMagicS = 0x5352;  // "RS": some Olympus ORF
constexpr std::uint16_t kRw2Magic = 0x0055;   // Panasonic RW2

// Whether the bytes (at least 4) start a TIFF header this reader knows.
bool IsTiffHeader(const std::uint8_t* bytes);

// Reads the TIFF block whose header starts at `block.begin`; every offset
// in it counts from there and must stay inside the block. `nesting` is how
// deep the block lies in JPEGs inside the file: a JPEG found at nesting 0
// (RW2's JpgFromRaw) has its own EXIF block read, one level down, and no
// deeper.
void ReadTiffBlock(PreviewCollector& collector, ByteSpan block, FirstDirectory first, int nesting);

}  // namespace tarnwell
