// The embedded-preview reader: what a picture file holds besides its
// picture, read from a few hundred bytes of it whatever its size. JPEG
// (the EXIF thumbnail, orientation, camera, time), the TIFF-based raw files
// (CR2, NEF, NRW, ARW, SR2, DNG, ORF, PEF, RW2: their preview JPEGs and
// thumbnails), Canon's CR3 (THMB and PRVW) and Fujifilm's RAF (its JPEG,
// and what that JPEG holds). Any other file gives empty facts.
//
// It never reads outside the file, allocates nothing that grows with what
// the file says (a bounded list of previews, short texts), and ends however
// the file is made: every walk is bounded (BoundedReads, tiff_directories.h,
// cr3_boxes.h, jpeg_segments.h).
#pragma once

#include "pictures/byte_source.h"
#include "pictures/picture_facts.h"

namespace tarnwell {

PictureFacts ReadPictureFacts(const ByteSource& source);

}  // namespace tarnwell
