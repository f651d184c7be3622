// The embedded-preview reader over files made byte by byte: each container
// kind with its previews, facts and picture size, and the files a reader
// must survive (cut short, offsets past the end, directories that loop,
// previews larger than the file, frames no codec decodes, boxes that do not
// fit). Every row also holds the reader to its reads: each inside the file,
// and a few kilobytes in all whatever the file's size.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "pictures/embedded_previews.h"
#include "pictures/preview_choice.h"
#include "tests/pictures/crafted_pictures.h"

namespace tarnwell {
namespace {

using testing::Ascii;
using testing::Box;
using testing::Bytes;
using testing::ExifSegment;
using testing::Jpeg;
using testing::JpegStream;
using testing::Join;
using testing::kLong;
using testing::kShort;
using testing::kUndefined;
using testing::PutU16;
using testing::PutU32;
using testing::TiffLayout;

struct Expected {
  PreviewKind kind;
  JpegStream jpeg;  // the preview's bytes as the file holds them, and its size
  PreviewFormat format = PreviewFormat::Jpeg;
};

// Uncompressed RGB of a thumbnail's size, every pixel the same.
JpegStream Rgb(int width, int height) {
  JpegStream rgb;
  rgb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0x7F);
  rgb.width = width;
  rgb.height = height;
  return rgb;
}

struct Crafted {
  std::string name;
  Bytes file;
  PictureContainer container = PictureContainer::Unknown;
  std::vector<Expected> previews;
  int orientation = 0;
  std::string model;
  std::string takenAt;
  int width = 0;
  int height = 0;
};

void PrintTo(const Crafted& crafted, std::ostream* out) { *out << crafted.name; }

// A source that notes every read it is asked for.
class CountingBytes final : public ByteSource {
 public:
  explicit CountingBytes(const Bytes& bytes) : bytes_(bytes), memory_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> into) const override {
    if (offset > bytes_.size() || into.size() > bytes_.size() - offset) outside_ = true;
    bytesRead_ += into.size();
    return memory_.Read(offset, into);
  }
  bool ReadOutside() const { return outside_; }
  std::uint64_t BytesRead() const { return bytesRead_; }

 private:
  const Bytes& bytes_;
  MemoryBytes memory_;
  mutable bool outside_ = false;
  mutable std::uint64_t bytesRead_ = 0;
};

// IFD0 with the camera's facts, the EXIF directory with the original time,
// and IFD1 with the thumbnail: a camera JPEG's EXIF block.
Bytes CameraExif(const Bytes& thumbnail, std::uint32_t orientation, const char* model, bool big = false) {
  TiffLayout exif(big);
  const int ifd0 = exif.AddDirectory();
  const int exifIfd = exif.AddDirectory();
  const int ifd1 = exif.AddDirectory();
  exif.Text(ifd0, 0x0110, model);
  exif.Number(ifd0, 0x0112, kShort, orientation);
  exif.Text(ifd0, 0x0132, "2024:01:02 03:04:05");
  exif.Link(ifd0, 0x8769, {exifIfd});
  exif.Text(exifIfd, 0x9003, "2023:12:31 23:59:58");
  exif.Next(ifd0, ifd1);
  exif.Number(ifd1, 0x0103, kShort, 6);
  exif.JpegPair(ifd1, exif.AddBlob(thumbnail));
  return exif.Build();
}

Crafted JpegWithThumbnail() {
  const JpegStream thumbnail = Jpeg(160, 120);
  return {"JpegExifThumbnail", Jpeg(6000, 4000, 0xC0, ExifSegment(CameraExif(thumbnail, 6, "Canon EOS R5"))),
          PictureContainer::Jpeg, {{PreviewKind::ExifThumbnail, thumbnail}}, 6, "Canon EOS R5",
          "2023:12:31 23:59:58", 6000, 4000};
}

Crafted BigEndianJpeg() {
  const JpegStream thumbnail = Jpeg(160, 107, 0xC2);  // progressive
  return {"JpegBigEndianExif", Jpeg(4000, 2667, 0xC2, ExifSegment(CameraExif(thumbnail, 1, "NIKON D850", true))),
          PictureContainer::Jpeg, {{PreviewKind::ExifThumbnail, thumbnail}}, 1, "NIKON D850",
          "2023:12:31 23:59:58", 4000, 2667};
}

// CR2: IFD0's strip is the preview (old-style JPEG), IFD1 the thumbnail,
// IFD2 a small RGB image, IFD3 the raw data as lossless JPEG.
Crafted Cr2() {
  const JpegStream preview = Jpeg(1024, 683);
  const JpegStream thumbnail = Jpeg(160, 120);
  TiffLayout raw(false, 42, Bytes{'C', 'R', 2, 0, 0, 0, 0, 0});
  const int ifd0 = raw.AddDirectory(), exif = raw.AddDirectory(), ifd1 = raw.AddDirectory();
  const int ifd2 = raw.AddDirectory(), ifd3 = raw.AddDirectory();
  raw.Number(ifd0, 0x0100, kShort, 5472);
  raw.Number(ifd0, 0x0101, kShort, 3648);
  raw.Text(ifd0, 0x0110, "Canon EOS 5D Mark IV");
  raw.Number(ifd0, 0x0112, kShort, 8);
  raw.Strip(ifd0, 6, raw.AddBlob(preview));
  raw.Link(ifd0, 0x8769, {exif});
  raw.Text(exif, 0x9003, "2022:07:08 09:10:11");
  raw.Next(ifd0, ifd1);
  raw.JpegPair(ifd1, raw.AddBlob(thumbnail));
  raw.Next(ifd1, ifd2);
  raw.Number(ifd2, 0x0100, kShort, 592);
  raw.Number(ifd2, 0x0101, kShort, 395);
  raw.Strip(ifd2, 1, raw.AddBlob(Bytes(64, 0x80)));
  raw.Next(ifd2, ifd3);
  raw.Strip(ifd3, 6, raw.AddBlob(Jpeg(5472, 3648, 0xC3)));
  return {"Cr2", raw.Build(), PictureContainer::Tiff,
          {{PreviewKind::TiffPreview, preview}, {PreviewKind::ExifThumbnail, thumbnail}}, 8, "Canon EOS 5D Mark IV",
          "2022:07:08 09:10:11", 5472, 3648};
}

// NEF, big-endian: IFD0 an uncompressed RGB thumbnail, SubIFDs the preview
// (JPEGInterchangeFormat) and the raw data (uncompressed strips, not RGB);
// EXIF gives the pixel size.
Crafted Nef() {
  const JpegStream preview = Jpeg(1620, 1080);
  const JpegStream thumbnail = Rgb(32, 24);
  TiffLayout raw(true);
  const int ifd0 = raw.AddDirectory(), exif = raw.AddDirectory();
  const int previewIfd = raw.AddDirectory(), rawIfd = raw.AddDirectory();
  raw.Number(ifd0, 0x0100, kShort, 32);
  raw.Number(ifd0, 0x0101, kShort, 24);
  raw.Data(ifd0, 0x0102, kShort, Bytes{0, 8, 0, 8, 0, 8}, 3);
  raw.Number(ifd0, 0x0106, kShort, 2);
  raw.Number(ifd0, 0x0115, kShort, 3);
  raw.Strip(ifd0, 1, raw.AddBlob(thumbnail));
  raw.Text(ifd0, 0x0110, "NIKON Z 6");
  raw.Number(ifd0, 0x0112, kShort, 1);
  raw.Link(ifd0, 0x014A, {previewIfd, rawIfd});
  raw.Link(ifd0, 0x8769, {exif});
  raw.Number(exif, 0xA002, kLong, 6048);
  raw.Number(exif, 0xA003, kLong, 4024);
  raw.JpegPair(previewIfd, raw.AddBlob(preview));
  raw.Number(rawIfd, 0x0100, kLong, 6064);
  raw.Number(rawIfd, 0x0101, kLong, 4040);
  raw.Number(rawIfd, 0x0106, kShort, 32803);  // the sensor's colour filter array
  raw.Strip(rawIfd, 1, raw.AddBlob(Bytes(256, 0x11)));
  return {"Nef", raw.Build(), PictureContainer::Tiff,
          {{PreviewKind::TiffPreview, thumbnail, PreviewFormat::Rgb8}, {PreviewKind::TiffPreview, preview}}, 1,
          "NIKON Z 6", "", 6048, 4024};
}

// DNG: IFD0 an RGB thumbnail whose strip is shorter than its size says
// (not kept); SubIFDs the preview (JPEG strip) and the raw data (lossless
// JPEG strip).
Crafted Dng() {
  const JpegStream preview = Jpeg(1024, 683);
  TiffLayout raw;
  const int ifd0 = raw.AddDirectory(), previewIfd = raw.AddDirectory(), rawIfd = raw.AddDirectory();
  raw.Number(ifd0, 0x0100, kShort, 256);
  raw.Number(ifd0, 0x0101, kShort, 171);
  raw.Data(ifd0, 0x0102, kShort, Bytes{8, 0, 8, 0, 8, 0}, 3);
  raw.Number(ifd0, 0x0106, kShort, 2);
  raw.Number(ifd0, 0x0115, kShort, 3);
  raw.Strip(ifd0, 1, raw.AddBlob(Bytes(96, 0x40)));
  raw.Text(ifd0, 0x0110, "LEICA Q2");
  raw.Link(ifd0, 0x014A, {previewIfd, rawIfd}, 13);
  raw.Number(previewIfd, 0x0100, kShort, 1024);
  raw.Number(previewIfd, 0x0101, kShort, 683);
  raw.Strip(previewIfd, 7, raw.AddBlob(preview));
  raw.Number(rawIfd, 0x0100, kLong, 8392);
  raw.Number(rawIfd, 0x0101, kLong, 5584);
  raw.Strip(rawIfd, 7, raw.AddBlob(Jpeg(8392, 5584, 0xC3)));
  return {"Dng", raw.Build(), PictureContainer::Tiff, {{PreviewKind::TiffPreview, preview}}, 0, "LEICA Q2", "", 8392,
          5584};
}

// ARW: IFD0 points to the preview, IFD1 to the thumbnail.
Crafted Arw(std::uint32_t extraPreviewLength = 0) {
  const JpegStream preview = Jpeg(1616, 1080);
  const JpegStream thumbnail = Jpeg(160, 120);
  TiffLayout raw;
  const int ifd0 = raw.AddDirectory(), ifd1 = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "ILCE-7M3");
  const int previewBlob = raw.AddBlob(preview);
  raw.BlobOffset(ifd0, 0x0201, previewBlob);
  if (extraPreviewLength == 0) {
    raw.BlobLength(ifd0, 0x0202, previewBlob);
  } else {
    raw.Number(ifd0, 0x0202, kLong, extraPreviewLength);
  }
  raw.Next(ifd0, ifd1);
  raw.JpegPair(ifd1, raw.AddBlob(thumbnail));
  std::vector<Expected> previews{{PreviewKind::TiffPreview, preview}, {PreviewKind::ExifThumbnail, thumbnail}};
  if (extraPreviewLength != 0) previews.erase(previews.begin());
  return {"Arw", raw.Build(), PictureContainer::Tiff, previews, 0, "ILCE-7M3", "", 0, 0};
}

// PEF, big-endian: IFD1 the thumbnail, IFD2 the large JPEG.
Crafted Pef() {
  const JpegStream thumbnail = Jpeg(160, 120);
  const JpegStream large = Jpeg(1920, 1280);
  TiffLayout raw(true);
  const int ifd0 = raw.AddDirectory(), ifd1 = raw.AddDirectory(), ifd2 = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "PENTAX K-1");
  raw.Number(ifd0, 0x0100, kLong, 7392);
  raw.Number(ifd0, 0x0101, kLong, 4950);
  raw.Next(ifd0, ifd1);
  raw.JpegPair(ifd1, raw.AddBlob(thumbnail));
  raw.Next(ifd1, ifd2);
  raw.JpegPair(ifd2, raw.AddBlob(large));
  return {"Pef", raw.Build(), PictureContainer::Tiff,
          {{PreviewKind::ExifThumbnail, thumbnail}, {PreviewKind::TiffPreview, large}}, 0, "PENTAX K-1", "", 7392,
          4950};
}

// RW2: header magic 0x55; IFD0's JpgFromRaw is a whole JPEG whose own EXIF
// block holds the orientation, the camera and a thumbnail.
Crafted Rw2() {
  const JpegStream thumbnail = Jpeg(160, 120);
  const JpegStream large = Jpeg(1920, 1440, 0xC0, ExifSegment(CameraExif(thumbnail, 3, "DC-S5")));
  TiffLayout raw(false, 0x0055);
  const int ifd0 = raw.AddDirectory();
  raw.Number(ifd0, 0x0002, kShort, 6000);
  raw.BlobValue(ifd0, 0x002E, raw.AddBlob(large));
  return {"Rw2", raw.Build(), PictureContainer::Tiff,
          {{PreviewKind::TiffPreview, large}, {PreviewKind::ExifThumbnail, thumbnail}}, 3, "DC-S5",
          "2023:12:31 23:59:58", 0, 0};
}

// ORF: magic "RO"; the preview lies in Olympus' maker's note, whose offsets
// count from the note's own start: the note's IFD points to the camera
// settings, which point to the JPEG.
Crafted Orf() {
  const JpegStream preview = Jpeg(1280, 960);
  Bytes note = Ascii(std::string("OLYMPUS\0II\x03\0", 12));
  note.resize(60, 0);
  PutU16(note, 12, 1, false);                     // the note's IFD: one entry
  PutU16(note, 14, 0x2020, false);                // camera settings
  PutU16(note, 16, 13, false);                    // an IFD
  PutU32(note, 18, 1, false);
  PutU32(note, 22, 30, false);                    // at 30 from the note's start
  PutU16(note, 30, 2, false);                     // the settings: two entries
  PutU16(note, 32, 0x0101, false);                // PreviewImageStart
  PutU16(note, 34, kLong, false);
  PutU32(note, 36, 1, false);
  PutU32(note, 40, 60, false);
  PutU16(note, 44, 0x0102, false);                // PreviewImageLength
  PutU16(note, 46, kLong, false);
  PutU32(note, 48, 1, false);
  PutU32(note, 52, static_cast<std::uint32_t>(preview.size()), false);
  note.insert(note.end(), preview.begin(), preview.end());
  TiffLayout raw(false, 0x4F52);
  const int ifd0 = raw.AddDirectory(), exif = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "E-M1MarkII");
  raw.Link(ifd0, 0x8769, {exif});
  const auto noteLength = static_cast<std::uint32_t>(note.size());
  raw.Data(exif, 0x927C, kUndefined, note, noteLength);
  return {"Orf", raw.Build(), PictureContainer::Tiff, {{PreviewKind::MakerNotePreview, preview}}, 0, "E-M1MarkII", "", 0,
          0};
}

// RAF: the header points to a JPEG whose EXIF block tells the rest.
Crafted Raf() {
  const JpegStream thumbnail = Jpeg(160, 120);
  const JpegStream large = Jpeg(1920, 1280, 0xC0, ExifSegment(CameraExif(thumbnail, 8, "X-T4")));
  Bytes file = Ascii("FUJIFILMCCD-RAW 0201FF383501");
  file.resize(160, 0);
  PutU32(file, 84, 160, true);
  PutU32(file, 88, static_cast<std::uint32_t>(large.size()), true);
  file.insert(file.end(), large.begin(), large.end());
  file.resize(file.size() + 512, 0x55);  // the raw data
  return {"Raf", file, PictureContainer::Raf,
          {{PreviewKind::RafJpeg, large}, {PreviewKind::ExifThumbnail, thumbnail}}, 8, "X-T4", "2023:12:31 23:59:58", 0,
          0};
}

const Bytes kCanonHeaderUuid{0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                             0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};
const Bytes kCanonPreviewUuid{0xEA, 0xF4, 0x2B, 0x5E, 0x1C, 0x98, 0x4B, 0x88,
                              0xB9, 0xFB, 0xB7, 0xDC, 0x40, 0x6E, 0x4D, 0x16};

Bytes Cr3File(const Bytes& thumbnail, const Bytes& preview) {
  TiffLayout ifd0Block;
  const int ifd0 = ifd0Block.AddDirectory();
  ifd0Block.Text(ifd0, 0x0110, "Canon EOS R6");
  ifd0Block.Number(ifd0, 0x0112, kShort, 6);
  TiffLayout exifBlock;
  const int exif = exifBlock.AddDirectory();
  exifBlock.Text(exif, 0x9003, "2021:02:03 04:05:06");
  exifBlock.Number(exif, 0xA002, kLong, 5472);
  exifBlock.Number(exif, 0xA003, kLong, 3648);
  Bytes thmb(16, 0);
  PutU16(thmb, 4, 160, true);
  PutU16(thmb, 6, 120, true);
  PutU32(thmb, 8, static_cast<std::uint32_t>(thumbnail.size()), true);
  PutU32(thmb, 12, 0x00010000, true);
  thmb.insert(thmb.end(), thumbnail.begin(), thumbnail.end());
  Bytes prvw(16, 0);
  PutU16(prvw, 4, 1, true);
  PutU16(prvw, 6, 1620, true);
  PutU16(prvw, 8, 1080, true);
  PutU16(prvw, 10, 1, true);
  PutU32(prvw, 12, static_cast<std::uint32_t>(preview.size()), true);
  prvw.insert(prvw.end(), preview.begin(), preview.end());
  const Bytes header = Box("uuid", Join({kCanonHeaderUuid, Box("CNCV", Ascii("CanonCR3_001/00.09.00/00.00.00")),
                                         Box("CMT1", ifd0Block.Build()), Box("CMT2", exifBlock.Build()),
                                         Box("THMB", thmb)}));
  // The preview's uuid box with a 64-bit size, as large boxes have.
  const Bytes previewContent = Join({kCanonPreviewUuid, Bytes{0, 0, 0, 0, 0, 0, 0, 1}, Box("PRVW", prvw)});
  Bytes previewBox{0, 0, 0, 1, 'u', 'u', 'i', 'd', 0, 0, 0, 0, 0, 0, 0, 0};
  PutU32(previewBox, 12, static_cast<std::uint32_t>(previewContent.size() + 16), true);
  previewBox.insert(previewBox.end(), previewContent.begin(), previewContent.end());
  return Join({Box("ftyp", Ascii(std::string_view("crx \0\0\0\1crx isom", 16))), Box("moov", Join({header, Box("mvhd", Bytes(100, 0))})),
               previewBox, Box("mdat", Bytes(300, 0x77))});
}

Crafted Cr3() {
  const JpegStream thumbnail = Jpeg(160, 120);
  const JpegStream preview = Jpeg(1620, 1080);
  return {"Cr3", Cr3File(thumbnail, preview), PictureContainer::Cr3,
          {{PreviewKind::Cr3Thumbnail, thumbnail}, {PreviewKind::Cr3Preview, preview}}, 6, "Canon EOS R6",
          "2021:02:03 04:05:06", 5472, 3648};
}

// ---- Files a reader must survive ----

Crafted Truncated() {
  Crafted cut = Arw();
  cut.name = "TruncatedInThePreview";
  // The directories and the model stay; both JPEGs lie after the cut.
  cut.file.resize(cut.file.size() - Jpeg(160, 120).size() - Jpeg(1616, 1080).size() / 2);
  cut.previews.clear();
  return cut;
}

Crafted TruncatedInDirectory() {
  Crafted cut = Cr2();
  cut.name = "TruncatedInTheFirstDirectory";
  cut.file.resize(16 + 2 + 12 * 3);
  cut.previews.clear();
  cut.orientation = 0;
  cut.model.clear();
  cut.takenAt.clear();
  cut.width = cut.height = 0;
  return cut;
}

Crafted OffsetsPastTheEnd() {
  TiffLayout raw;
  const int ifd0 = raw.AddDirectory();
  raw.Number(ifd0, 0x0201, kLong, 0xFFFFFF00);
  raw.Number(ifd0, 0x0202, kLong, 1000);
  raw.Number(ifd0, 0x0110, 2, 0x7FFFFFF0, 40);  // the model's text past the end
  raw.Number(ifd0, 0x8769, kLong, 0x7FFFFFFF);
  raw.Number(ifd0, 0x014A, kLong, 0xFFFFFFFF, 5);  // SubIFDs' offsets past the end
  raw.Number(ifd0, 0x0103, kShort, 6);
  raw.Number(ifd0, 0x0111, kLong, 0xFFFFFFFF);
  raw.Number(ifd0, 0x0117, kLong, 0xFFFFFFFF);
  raw.NextOffset(ifd0, 0xFFFFFFF0);
  return {"OffsetsPastTheEnd", raw.Build(), PictureContainer::Tiff, {}, 0, "", "", 0, 0};
}

Crafted FirstDirectoryPastTheEnd() {
  TiffLayout raw;
  raw.FirstOffset(0xFFFFFFFF);
  return {"FirstDirectoryPastTheEnd", Join({raw.Build(), Bytes(16, 0)}), PictureContainer::Tiff, {}, 0, "", "", 0, 0};
}

Crafted LoopingDirectories() {
  const JpegStream thumbnail = Jpeg(160, 120);
  TiffLayout raw;
  const int ifd0 = raw.AddDirectory(), ifd1 = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "LOOP");
  raw.Next(ifd0, ifd1);
  raw.Next(ifd1, ifd0);
  raw.JpegPair(ifd1, raw.AddBlob(thumbnail));
  raw.Link(ifd1, 0x8769, {ifd0});
  raw.Link(ifd1, 0x014A, {ifd1, ifd0});
  return {"LoopingDirectories", raw.Build(), PictureContainer::Tiff, {{PreviewKind::ExifThumbnail, thumbnail}}, 0, "LOOP",
          "", 0, 0};
}

Crafted SelfLinkedExif() {
  // An EXIF directory whose own maker's note points back into it: the old
  // Olympus form, offsets from the TIFF header.
  TiffLayout raw;
  const int ifd0 = raw.AddDirectory(), exif = raw.AddDirectory();
  raw.Link(ifd0, 0x8769, {exif});
  Bytes note = Ascii(std::string("OLYMP\0\1\0", 8));
  note.resize(8 + 2 + 12 + 4, 0);
  PutU16(note, 8, 1, false);
  PutU16(note, 10, 0x2020, false);
  PutU16(note, 12, kLong, false);
  PutU32(note, 14, 1, false);
  PutU32(note, 18, 8, false);  // the settings: the file's IFD0
  raw.Data(exif, 0x927C, kUndefined, note, static_cast<std::uint32_t>(note.size()));
  return {"MakerNotePointingBack", raw.Build(), PictureContainer::Tiff, {}, 0, "", "", 0, 0};
}

Crafted PreviewLargerThanTheFile() {
  Crafted large = Arw(100'000'000);
  large.name = "PreviewLargerThanTheFile";
  return large;
}

Crafted WrappingExifOffsets() {
  TiffLayout exif;
  const int ifd0 = exif.AddDirectory(), ifd1 = exif.AddDirectory();
  exif.Next(ifd0, ifd1);
  exif.Number(ifd1, 0x0201, kLong, 0xFFFFFFF8);
  exif.Number(ifd1, 0x0202, kLong, 0x10);
  exif.NextOffset(ifd1, 0xFFFFFFFF);
  return {"WrappingExifOffsets", Jpeg(640, 480, 0xC0, ExifSegment(exif.Build())), PictureContainer::Jpeg, {}, 0, "", "",
          640, 480};
}

Crafted FramesNoCodecDecodes() {
  const JpegStream progressive = Jpeg(320, 240, 0xC2);
  TiffLayout raw;
  const int ifd0 = raw.AddDirectory(), ifd1 = raw.AddDirectory(), ifd2 = raw.AddDirectory();
  raw.Strip(ifd0, 6, raw.AddBlob(Jpeg(4000, 3000, 0xC3)));  // lossless
  raw.Next(ifd0, ifd1);
  raw.JpegPair(ifd1, raw.AddBlob(Jpeg(160, 120, 0xC9)));  // arithmetic coding
  raw.Next(ifd1, ifd2);
  raw.JpegPair(ifd2, raw.AddBlob(progressive));
  const int notJpeg = raw.AddBlob(Ascii("this is no JPEG at all"));
  raw.Number(ifd2, 0x0103, kShort, 7);
  raw.BlobOffset(ifd2, 0x0111, notJpeg);
  raw.BlobLength(ifd2, 0x0117, notJpeg);
  return {"FramesNoCodecDecodes", raw.Build(), PictureContainer::Tiff, {{PreviewKind::TiffPreview, progressive}}, 0, "",
          "", 0, 0};
}

Crafted Cr3BoxesThatDoNotFit() {
  Bytes file = Cr3File(Jpeg(160, 120), Jpeg(1620, 1080));
  // The moov box claims more than the file holds: nothing inside it is read,
  // and the boxes after it are not reached.
  PutU32(file, 24, 0x7FFFFFFF, true);
  return {"Cr3BoxLargerThanTheFile", file, PictureContainer::Cr3, {}, 0, "", "", 0, 0};
}

Crafted Cr3BoxSmallerThanItsHeader() {
  Bytes file = Join({Box("ftyp", Ascii(std::string_view("crx \0\0\0\1crx isom", 16))), Bytes{0, 0, 0, 4, 'm', 'o', 'o', 'v'}, Bytes(64, 0)});
  return {"Cr3BoxSmallerThanItsHeader", file, PictureContainer::Cr3, {}, 0, "", "", 0, 0};
}

Crafted NotAPicture() {
  return {"NotAPicture", Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0},
          PictureContainer::Unknown, {}, 0, "", "", 0, 0};
}

Crafted EmptyFile() { return {"EmptyFile", Bytes{}, PictureContainer::Unknown, {}, 0, "", "", 0, 0}; }

// A raw file of 8 MB: the reader's reads stay those of the small one.
Crafted LargeRawFile() {
  Crafted large = Nef();
  large.name = "LargeRawFile";
  large.file.resize(8 << 20, 0x33);
  return large;
}

std::vector<Crafted> Files() {
  return {JpegWithThumbnail(), BigEndianJpeg(), Cr2(), Nef(), Dng(), Arw(), Pef(), Rw2(), Orf(), Raf(), Cr3(),
          Truncated(), TruncatedInDirectory(), OffsetsPastTheEnd(), FirstDirectoryPastTheEnd(),
          LoopingDirectories(), SelfLinkedExif(), PreviewLargerThanTheFile(), WrappingExifOffsets(),
          FramesNoCodecDecodes(), Cr3BoxesThatDoNotFit(), Cr3BoxSmallerThanItsHeader(), NotAPicture(), EmptyFile(),
          LargeRawFile()};
}

class EmbeddedPreviews : public ::testing::TestWithParam<Crafted> {};

TEST_P(EmbeddedPreviews, ReadsWhatTheFileHolds) {
  const Crafted& crafted = GetParam();
  CountingBytes source(crafted.file);
  const PictureFacts facts = ReadPictureFacts(source);

  EXPECT_EQ(facts.container, crafted.container);
  const std::span<const EmbeddedPreview> previews = facts.Previews();
  ASSERT_EQ(previews.size(), crafted.previews.size());
  for (const Expected& expected : crafted.previews) {
    const auto found = std::find_if(previews.begin(), previews.end(), [&](const EmbeddedPreview& preview) {
      return preview.offset + preview.length <= crafted.file.size() &&
             Bytes(crafted.file.begin() + static_cast<std::ptrdiff_t>(preview.offset),
                   crafted.file.begin() + static_cast<std::ptrdiff_t>(preview.offset + preview.length)) ==
                 static_cast<const Bytes&>(expected.jpeg);
    });
    ASSERT_NE(found, previews.end()) << "a preview of kind " << static_cast<int>(expected.kind);
    EXPECT_EQ(found->kind, expected.kind);
    EXPECT_EQ(found->format, expected.format);
    EXPECT_EQ(found->width, expected.jpeg.width);
    EXPECT_EQ(found->height, expected.jpeg.height);
  }
  EXPECT_EQ(facts.orientation, crafted.orientation);
  EXPECT_EQ(facts.cameraModel, crafted.model);
  EXPECT_EQ(facts.takenAt, crafted.takenAt);
  EXPECT_EQ(facts.width, crafted.width);
  EXPECT_EQ(facts.height, crafted.height);

  EXPECT_FALSE(source.ReadOutside());
  // Directories, segment and box headers only: never the pictures' data.
  EXPECT_LT(source.BytesRead(), 8192u);
}

INSTANTIATE_TEST_SUITE_P(Files, EmbeddedPreviews, ::testing::ValuesIn(Files()),
                         [](const ::testing::TestParamInfo<Crafted>& row) { return row.param.name; });

TEST(PreviewChoice, TakesTheSmallestLargeEnoughElseTheLargest) {
  PictureFacts facts;
  for (const EmbeddedPreview& preview : {EmbeddedPreview{100, 10, PreviewKind::TiffPreview, 1620, 1080},
                                        EmbeddedPreview{200, 10, PreviewKind::ExifThumbnail, 160, 120},
                                        EmbeddedPreview{300, 10, PreviewKind::TiffPreview, 1080, 1620},
                                        EmbeddedPreview{400, 10, PreviewKind::TiffPreview, 6000, 4000}}) {
    facts.AddPreview(preview);
  }
  struct Row {
    int longSide;
    std::uint64_t chosen;
  };
  for (const Row row : {Row{100, 200}, Row{160, 200}, Row{161, 100}, Row{1620, 100}, Row{2000, 400},
                        Row{9000, 400}}) {
    SCOPED_TRACE(row.longSide);
    ASSERT_NE(PreviewFor(facts, row.longSide), nullptr);
    EXPECT_EQ(PreviewFor(facts, row.longSide)->offset, row.chosen);
  }
  EXPECT_EQ(PreviewFor(PictureFacts{}, 160), nullptr);
}

}  // namespace
}  // namespace tarnwell
