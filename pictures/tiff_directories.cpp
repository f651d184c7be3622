#include "pictures/tiff_directories.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>

namespace tarnwell {
namespace {

// Which tags a directory's entries are read by.
enum class Role : std::uint8_t { Image, Exif, OlympusNote, OlympusSettings };

struct Directory {
  std::uint64_t at = 0;    // the entry count, from the start of the file
  std::uint64_t base = 0;  // the directory's offsets count from here
  ByteOrder order = ByteOrder::Little;
  Role role = Role::Image;
  int chainIndex = -1;  // 0 for IFD0, 1 for IFD1 ...; -1 off the chain
};

struct Entry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::uint32_t offset = 0;   // the value's offset, when it does not fit in the entry
  std::uint64_t valueAt = 0;  // where the value lies, from the start of the file
  std::uint64_t size = 0;     // the value's bytes
};

// What one directory's entries say about the image it describes (an EXIF
// directory's pixel size in width and height).
struct ImageEntries {
  std::optional<std::uint32_t> jpegOffset, jpegLength;    // JPEGInterchangeFormat and its length
  std::optional<std::uint32_t> stripOffset, stripLength;  // a single strip
  std::optional<std::uint32_t> previewStart, previewLength;  // Olympus' camera settings
  std::uint32_t compression = 0;
  std::uint32_t width = 0, height = 0;
  std::uint32_t bitsPerSample = 0, samplesPerPixel = 0, photometric = 0;
  std::uint32_t planarConfiguration = 1;
};

constexpr std::uint16_t kTiffMagic = 42;
constexpr int kEntriesPerRead = 32;
constexpr std::uint32_t kMaxSubDirectories = 8;
constexpr std::size_t kLongestText = 64;

// Bytes per value of each TIFF type (0: a type this reader does not know).
constexpr std::array<std::uint8_t, 19> kTypeSizes{0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
constexpr std::uint16_t kShort = 3, kLong = 4, kUndefined = 7, kIfd = 13;

// Compression values whose single strip is a JPEG stream: old-style JPEG
// (CR2's IFD0) and JPEG (DNG's previews; also lossless raw data, which the
// frame check turns away).
bool JpegCompression(std::uint32_t compression) { return compression == 6 || compression == 7; }

class TiffWalk {
 public:
  TiffWalk(PreviewCollector& collector, ByteSpan block, std::uint16_t magic, int nesting)
      : collector_(collector), reads_(collector.Reads()), block_(block), magic_(magic), nesting_(nesting) {}

  void Push(const Directory& directory) {
    if (queued_ == kMaxDirectories || !block_.Holds(directory.at, 2)) return;
    for (int i = 0; i < queued_; ++i) {
      if (queue_[static_cast<std::size_t>(i)].at == directory.at) return;  // seen: a loop or a shared directory
    }
    queue_[static_cast<std::size_t>(queued_++)] = directory;
  }

  void Run() {
    for (int next = 0; next < queued_; ++next) Read(queue_[static_cast<std::size_t>(next)]);
  }

 private:
  void Read(const Directory& directory);
  void Take(const Directory& directory, const Entry& entry, ImageEntries& image);
  void TakeImage(const Directory& directory, const Entry& entry, ImageEntries& image);
  void TakeExif(const Directory& directory, const Entry& entry, ImageEntries& image);
  void TakeOlympusNote(const Directory& directory, const Entry& entry);
  void Finish(const Directory& directory, const ImageEntries& image);
  void OfferNested(std::uint64_t offset, std::uint64_t length, PreviewKind kind);

  // The entry's first value when it is a SHORT or a LONG (an IFD offset too).
  std::optional<std::uint32_t> Number(const Directory& directory, const Entry& entry) {
    if (entry.count == 0) return std::nullopt;
    if (entry.type == kShort && block_.Holds(entry.valueAt, 2)) return reads_.U16(entry.valueAt, directory.order);
    if ((entry.type == kLong || entry.type == kIfd) && block_.Holds(entry.valueAt, 4)) {
      return reads_.U32(entry.valueAt, directory.order);
    }
    return std::nullopt;
  }

  // An ASCII value, at most kLongestText bytes of it.
  std::string_view Ascii(const Entry& entry) {
    const std::size_t length = entry.size < kLongestText ? static_cast<std::size_t>(entry.size) : kLongestText;
    if (entry.type != 2 || !block_.Holds(entry.valueAt, length) ||
        !reads_.Read(entry.valueAt, std::span<std::uint8_t>(text_.data(), length))) {
      return {};
    }
    return std::string_view(reinterpret_cast<const char*>(text_.data()), length);
  }

  PreviewCollector& collector_;
  BoundedReads& reads_;
  ByteSpan block_;
  std::uint16_t magic_;
  int nesting_;
  std::array<Directory, kMaxDirectories> queue_{};
  int queued_ = 0;
  std::array<std::uint8_t, kLongestText> text_{};
};

void TiffWalk::Read(const Directory& directory) {
  const std::optional<std::uint16_t> count = reads_.U16(directory.at, directory.order);
  if (!count || *count == 0 || *count > kMaxEntries) return;
  const std::uint64_t first = directory.at + 2;
  if (!block_.Holds(first, std::uint64_t{*count} * 12)) return;
  ImageEntries image;
  std::array<std::uint8_t, kEntriesPerRead * 12> bytes{};
  for (int done = 0; done < *count;) {
    const int now = std::min(kEntriesPerRead, *count - done);
    const std::uint64_t at = first + static_cast<std::uint64_t>(done) * 12;
    if (!reads_.Read(at, std::span<std::uint8_t>(bytes.data(), static_cast<std::size_t>(now) * 12))) return;
    for (int i = 0; i < now; ++i) {
      const std::uint8_t* raw = bytes.data() + i * 12;
      Entry entry;
      entry.tag = U16Of(raw, directory.order);
      entry.type = U16Of(raw + 2, directory.order);
      entry.count = U32Of(raw + 4, directory.order);
      entry.offset = U32Of(raw + 8, directory.order);
      if (entry.type >= kTypeSizes.size() || kTypeSizes[entry.type] == 0) continue;
      entry.size = std::uint64_t{kTypeSizes[entry.type]} * entry.count;
      entry.valueAt = entry.size <= 4 ? at + static_cast<std::uint64_t>(i) * 12 + 8 : directory.base + entry.offset;
      Take(directory, entry, image);
    }
    done += now;
  }
  Finish(directory, image);
  // The next directory of the chain: IFD1 after IFD0, and so on.
  if (directory.chainIndex >= 0) {
    const std::uint64_t link = first + std::uint64_t{*count} * 12;
    if (!block_.Holds(link, 4)) return;
    if (const std::optional<std::uint32_t> next = reads_.U32(link, directory.order); next && *next != 0) {
      Push({directory.base + *next, directory.base, directory.order, Role::Image, directory.chainIndex + 1});
    }
  }
}

void TiffWalk::Take(const Directory& directory, const Entry& entry, ImageEntries& image) {
  switch (directory.role) {
    case Role::Image: TakeImage(directory, entry, image); break;
    case Role::Exif: TakeExif(directory, entry, image); break;
    case Role::OlympusNote: TakeOlympusNote(directory, entry); break;
    case Role::OlympusSettings:
      if (entry.tag == 0x0101) image.previewStart = Number(directory, entry);
      if (entry.tag == 0x0102) image.previewLength = Number(directory, entry);
      break;
  }
}

void TiffWalk::TakeImage(const Directory& directory, const Entry& entry, ImageEntries& image) {
  const bool ifd0 = directory.chainIndex == 0;
  switch (entry.tag) {
    case 0x0100: image.width = Number(directory, entry).value_or(0); break;
    case 0x0101: image.height = Number(directory, entry).value_or(0); break;
    case 0x0102: image.bitsPerSample = Number(directory, entry).value_or(0); break;
    case 0x0103: image.compression = Number(directory, entry).value_or(0); break;
    case 0x0106: image.photometric = Number(directory, entry).value_or(0); break;
    case 0x0115: image.samplesPerPixel = Number(directory, entry).value_or(0); break;
    case 0x011C: image.planarConfiguration = Number(directory, entry).value_or(0); break;
    case 0x0111:
      if (entry.count == 1) image.stripOffset = Number(directory, entry);
      break;
    case 0x0117:
      if (entry.count == 1) image.stripLength = Number(directory, entry);
      break;
    case 0x0201: image.jpegOffset = Number(directory, entry); break;
    case 0x0202: image.jpegLength = Number(directory, entry); break;
    case 0x0110:
      if (ifd0) collector_.SetCameraModel(Ascii(entry));
      break;
    case 0x0112:
      if (ifd0) collector_.SetOrientation(Number(directory, entry).value_or(0));
      break;
    case 0x0132:
      if (ifd0) collector_.SetTakenAt(Ascii(entry), false);
      break;
    case 0x8769:  // the EXIF directory
      if (const std::optional<std::uint32_t> exif = Number(directory, entry)) {
        Push({directory.base + *exif, directory.base, directory.order, Role::Exif, -1});
      }
      break;
    case 0x014A: {  // SubIFDs: NEF's and DNG's full-size images and previews
      if (entry.type != kLong && entry.type != kIfd) break;
      const std::uint32_t count = std::min(entry.count, kMaxSubDirectories);
      for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = entry.valueAt + std::uint64_t{i} * 4;
        if (!block_.Holds(at, 4)) break;
        if (const std::optional<std::uint32_t> sub = reads_.U32(at, directory.order)) {
          Push({directory.base + *sub, directory.base, directory.order, Role::Image, -1});
        }
      }
      break;
    }
    case 0x002E:  // RW2's JpgFromRaw, a whole JPEG with an EXIF block of its own
      if (magic_ == kRw2Magic && ifd0 && entry.type == kUndefined) {
        OfferNested(entry.valueAt, entry.size, PreviewKind::TiffPreview);
      }
      break;
    default: break;
  }
}

void TiffWalk::TakeExif(const Directory& directory, const Entry& entry, ImageEntries& image) {
  switch (entry.tag) {
    case 0x9003: collector_.SetTakenAt(Ascii(entry), true); break;
    case 0xA002: image.width = Number(directory, entry).value_or(0); break;
    case 0xA003: image.height = Number(directory, entry).value_or(0); break;
    case 0x927C: {  // the maker's note: Olympus' holds the ORF preview
      std::array<std::uint8_t, 16> head{};
      if (entry.type != kUndefined || !block_.Holds(entry.valueAt, head.size()) || entry.size < head.size() ||
          !reads_.Read(entry.valueAt, head)) {
        break;
      }
      const auto order = [&](std::size_t at) { return head[at] == 'M' ? ByteOrder::Big : ByteOrder::Little; };
      const auto orderMark = [&](std::size_t at) {
        return (head[at] == 'I' && head[at + 1] == 'I') || (head[at] == 'M' && head[at + 1] == 'M');
      };
      // Newer notes count their offsets from the note's start; the oldest from the TIFF header.
      if (std::memcmp(head.data(), "OLYMPUS\0", 8) == 0 && orderMark(8)) {
        Push({entry.valueAt + 12, entry.valueAt, order(8), Role::OlympusNote, -1});
      } else if (std::memcmp(head.data(), "OM SYSTEM\0\0\0", 12) == 0 && orderMark(12)) {
        Push({entry.valueAt + 16, entry.valueAt, order(12), Role::OlympusNote, -1});
      } else if (std::memcmp(head.data(), "OLYMP\0", 6) == 0) {
        Push({entry.valueAt + 8, directory.base, directory.order, Role::OlympusNote, -1});
      }
      break;
    }
    default: break;
  }
}

void TiffWalk::TakeOlympusNote(const Directory& directory, const Entry& entry) {
  if (entry.tag == 0x2020 && entry.count == 1 && (entry.type == kLong || entry.type == kIfd)) {
    if (const std::optional<std::uint32_t> settings = Number(directory, entry)) {
      Push({directory.base + *settings, directory.base, directory.order, Role::OlympusSettings, -1});
    }
  } else if (entry.tag == 0x0100 && entry.type == kUndefined) {
    collector_.Offer(block_, entry.valueAt, entry.size, PreviewKind::MakerNotePreview);
  }
}

void TiffWalk::Finish(const Directory& directory, const ImageEntries& image) {
  const std::uint64_t base = directory.base;
  if (directory.role == Role::OlympusSettings && image.previewStart && image.previewLength) {
    collector_.Offer(block_, base + *image.previewStart, *image.previewLength, PreviewKind::MakerNotePreview);
  }
  if (directory.role == Role::Exif) {
    collector_.SetSize(image.width, image.height, SizeSource::ExifPixels);
  }
  if (directory.role != Role::Image) return;
  const PreviewKind kind = directory.chainIndex == 1 ? PreviewKind::ExifThumbnail : PreviewKind::TiffPreview;
  if (image.jpegOffset && image.jpegLength) collector_.Offer(block_, base + *image.jpegOffset, *image.jpegLength, kind);
  if (JpegCompression(image.compression) && image.stripOffset && image.stripLength) {
    collector_.Offer(block_, base + *image.stripOffset, *image.stripLength, kind);
  }
  // An uncompressed RGB image in one strip: the thumbnail of NEF and DNG.
  if (image.compression == 1 && image.photometric == 2 && image.samplesPerPixel == 3 && image.bitsPerSample == 8 &&
      image.planarConfiguration == 1 && image.stripOffset && image.stripLength &&
      std::uint64_t{*image.stripLength} >= std::uint64_t{image.width} * image.height * 3) {
    collector_.OfferRgb(block_, base + *image.stripOffset, image.width, image.height, kind);
  }
  collector_.SetSize(image.width, image.height, SizeSource::LargestImage);
}

void TiffWalk::OfferNested(std::uint64_t offset, std::uint64_t length, PreviewKind kind) {
  const std::optional<JpegHead> head = collector_.Offer(block_, offset, length, kind);
  if (head && head->decodable && head->exif && nesting_ == 0) {
    ReadTiffBlock(collector_, *head->exif, FirstDirectory::Image, nesting_ + 1);
  }
}

}  // namespace

bool IsTiffHeader(const std::uint8_t* bytes) {
  const bool little = bytes[0] == 'I' && bytes[1] == 'I';
  const bool big = bytes[0] == 'M' && bytes[1] == 'M';
  if (!little && !big) return false;
  const std::uint16_t magic = U16Of(bytes + 2, little ? ByteOrder::Little : ByteOrder::Big);
  return magic == kTiffMagic || magic == kOrfMagic || magic == kOrfMagicS || magic == kRw2Magic;
}

void ReadTiffBlock(PreviewCollector& collector, ByteSpan block, FirstDirectory first, int nesting) {
  std::array<std::uint8_t, 8> header{};
  if (!block.Holds(block.begin, header.size()) || !collector.Reads().Read(block.begin, header)) return;
  if (!IsTiffHeader(header.data())) return;
  const ByteOrder order = header[0] == 'M' ? ByteOrder::Big : ByteOrder::Little;
  TiffWalk walk(collector, block, U16Of(header.data() + 2, order), nesting);
  const std::uint64_t firstAt = block.begin + U32Of(header.data() + 4, order);
  walk.Push({firstAt, block.begin, order, first == FirstDirectory::Exif ? Role::Exif : Role::Image,
             first == FirstDirectory::Exif ? -1 : 0});
  walk.Run();
}

}  // namespace tarnwell
