// The pictures of the Wine tests of the thumbnails: those that
// make_picture_files.sh made on the build machine (beside the test
// programs, in picture_files), and camera raw containers that the tests
// write themselves around two of them, one file of each kind the embedded-
// preview reader knows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/text.h"

namespace tarnwell::testing {

// The folder of the made pictures; empty when they were not made (no
// ImageMagick or exiftool on the build machine), and the test should skip.
Text PictureFilesFolder();

struct RawFile {
  Text name;            // "shot.cr2", ...
  bool hasThumbnail;    // a 160 x 120 thumbnail (red; JPEG, or RGB in NEF and DNG) beside the preview (blue, 640 x 427)
};

// Writes one raw container of each kind into `folder`, holding `preview`
// and, where the kind has one, `thumbnail` (both JPEG files' bytes); the
// uncompressed RGB thumbnails of NEF and DNG are all `rgb` (0xRRGGBB).
std::vector<RawFile> WriteRawFiles(const Text& folder, const std::string& preview, const std::string& thumbnail,
                                   std::uint32_t rgb = 0xFF0000);

}  // namespace tarnwell::testing
