// What a picture file tells about itself without being decoded: the JPEG
// previews a camera put inside it, how the picture is turned, the camera
// and the time it was taken. The embedded-preview reader fills it in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tarnwell {

// Where in the file a preview was found.
enum class PreviewKind : std::uint8_t {
  ExifThumbnail,     // IFD1 of a TIFF block: a JPEG's EXIF thumbnail, a raw file's small one
  TiffPreview,       // another IFD of a TIFF-based raw file (CR2, NEF, ARW, DNG, PEF, RW2 ...)
  MakerNotePreview,  // the camera maker's own block (Olympus ORF)
  Cr3Thumbnail,      // CR3's THMB box
  Cr3Preview,        // CR3's PRVW box
  RafJpeg,           // the JPEG a Fujifilm RAF file holds
};

// How a preview's bytes hold its pixels.
enum class PreviewFormat : std::uint8_t {
  Jpeg,  // a JPEG stream whose frame header was read: baseline or progressive, which the system's codec decodes
  Rgb8,  // uncompressed 8-bit RGB, rows top to bottom (the thumbnail in IFD0 of NEF and DNG files)
};

// One embedded preview. Its bytes lie inside the file.
struct EmbeddedPreview {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  PreviewKind kind = PreviewKind::ExifThumbnail;
  int width = 0;  // from the JPEG's frame header, or the directory of an RGB one; never 0
  int height = 0;
  PreviewFormat format = PreviewFormat::Jpeg;
};

// What kind of file the first bytes say it is.
enum class PictureContainer : std::uint8_t { Unknown, Jpeg, Tiff, Cr3, Raf };

struct PictureFacts {
  static constexpr std::size_t kMaxPreviews = 16;

  PictureContainer container = PictureContainer::Unknown;
  // In the order found; no two at the same offset. Held in place, so that
  // reading a file allocates nothing for them.
  std::array<EmbeddedPreview, kMaxPreviews> previewSlots{};
  std::size_t previewCount = 0;
  // EXIF orientation 1-8 (1: as stored; 6: turn right a quarter to show it);
  // 0 when the file does not say.
  int orientation = 0;
  // Printable ASCII as the file holds it, spaces at the ends dropped; empty
  // when the file does not say.
  std::string cameraModel;
  // "YYYY:MM:DD HH:MM:SS" as EXIF writes it (the original time, else the
  // file's time); empty when the file does not say or says it otherwise.
  std::string takenAt;
  // The picture's own size (a JPEG's frame, EXIF's pixel size, the largest
  // image of a TIFF); 0 when unknown.
  int width = 0;
  int height = 0;

  std::span<const EmbeddedPreview> Previews() const { return {previewSlots.data(), previewCount}; }
  // Adds the preview unless one lies at its offset already or the list is full.
  void AddPreview(const EmbeddedPreview& preview) {
    for (const EmbeddedPreview& known : Previews()) {
      if (known.offset == preview.offset) return;
    }
    if (previewCount < kMaxPreviews) previewSlots[previewCount++] = preview;
  }
};

}  // namespace tarnwell
