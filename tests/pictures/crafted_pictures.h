// Picture files made byte by byte for the embedded-preview reader's tests:
// tiny JPEG streams with the frame header a codec reads, EXIF segments, TIFF
// blocks laid out as a camera lays them out (header, directories, the values
// that do not fit an entry, then the JPEGs), ISO boxes and the RAF header.
// Each TIFF directory is numbered as added; entries name the directory,
// blob (a JPEG) or bytes they point to, and the layout fills in the offsets.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tarnwell::testing {

using Bytes = std::vector<std::uint8_t>;

inline void PutU16(Bytes& out, std::size_t at, std::uint32_t value, bool big) {
  if (out.size() < at + 2) out.resize(at + 2);
  out[at + (big ? 0 : 1)] = static_cast<std::uint8_t>(value >> 8);
  out[at + (big ? 1 : 0)] = static_cast<std::uint8_t>(value);
}

inline void PutU32(Bytes& out, std::size_t at, std::uint32_t value, bool big) {
  PutU16(out, at + (big ? 0 : 2), value >> 16, big);
  PutU16(out, at + (big ? 2 : 0), value & 0xFFFF, big);
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

inline Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }

// A JPEG stream and the size its frame header gives.
struct JpegStream : Bytes {
  int width = 0;
  int height = 0;
};

// A JPEG stream: SOI, the segments given, a frame header of `frameMarker`
// (C0 baseline, C2 progressive, C3 lossless), a start of scan, a few bytes
// of scan data and EOI.
inline JpegStream Jpeg(int width, int height, std::uint8_t frameMarker = 0xC0, const Bytes& segments = {}) {
  JpegStream out;
  out.width = width;
  out.height = height;
  out.assign({0xFF, 0xD8});
  out.insert(out.end(), segments.begin(), segments.end());
  // A quantization table segment, as every real stream has before its frame.
  Bytes tables{0xFF, 0xDB, 0x00, 0x43, 0x00};
  tables.resize(2 + 0x43, 0x01);
  out.insert(out.end(), tables.begin(), tables.end());
  Bytes frame{0xFF, frameMarker, 0x00, 0x0B, 0x08, 0, 0, 0, 0, 0x01, 0x01, 0x11, 0x00};
  PutU16(frame, 5, static_cast<std::uint32_t>(height), true);
  PutU16(frame, 7, static_cast<std::uint32_t>(width), true);
  out.insert(out.end(), frame.begin(), frame.end());
  const Bytes scan{0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x12, 0x34, 0x56, 0xFF, 0xD9};
  out.insert(out.end(), scan.begin(), scan.end());
  return out;
}

// An APP1 segment holding "Exif\0\0" and the TIFF block.
inline Bytes ExifSegment(const Bytes& tiff) {
  Bytes out{0xFF, 0xE1, 0, 0, 'E', 'x', 'i', 'f', 0, 0};
  PutU16(out, 2, static_cast<std::uint32_t>(tiff.size() + 8), true);
  out.insert(out.end(), tiff.begin(), tiff.end());
  return out;
}

// TIFF types.
constexpr std::uint16_t kAscii = 2, kShort = 3, kLong = 4, kUndefined = 7;

class TiffLayout {
 public:
  explicit TiffLayout(bool big = false, std::uint16_t magic = 42, Bytes afterHeader = {})
      : big_(big), magic_(magic), afterHeader_(std::move(afterHeader)) {}

  int AddDirectory() {
    directories_.emplace_back();
    return static_cast<int>(directories_.size()) - 1;
  }
  int AddBlob(Bytes blob) {
    blobs_.push_back(std::move(blob));
    return static_cast<int>(blobs_.size()) - 1;
  }

  // A SHORT or LONG of count 1, or any raw 32-bit field (an offset past
  // the end, a length larger than the file).
  void Number(int directory, std::uint16_t tag, std::uint16_t type, std::uint32_t value, std::uint32_t count = 1) {
    Add(directory, {tag, type, count, Raw{value}});
  }
  void Text(int directory, std::uint16_t tag, std::string_view text) {
    Bytes bytes = Ascii(text);
    bytes.push_back(0);
    const auto count = static_cast<std::uint32_t>(bytes.size());
    Add(directory, {tag, kAscii, count, std::move(bytes)});
  }
  void Data(int directory, std::uint16_t tag, std::uint16_t type, Bytes bytes, std::uint32_t count) {
    Add(directory, {tag, type, count, std::move(bytes)});
  }
  // An entry holding the offsets of directories (the EXIF pointer, SubIFDs).
  void Link(int directory, std::uint16_t tag, std::vector<int> targets, std::uint16_t type = kLong) {
    const auto count = static_cast<std::uint32_t>(targets.size());
    Add(directory, {tag, type, count, Directories{std::move(targets)}});
  }
  void BlobOffset(int directory, std::uint16_t tag, int blob) { Add(directory, {tag, kLong, 1, BlobAt{blob}}); }
  void BlobLength(int directory, std::uint16_t tag, int blob) { Add(directory, {tag, kLong, 1, BlobSize{blob}}); }
  // A JPEG as JPEGInterchangeFormat (0x0201) and its length (0x0202).
  void JpegPair(int directory, int blob) {
    BlobOffset(directory, 0x0201, blob);
    BlobLength(directory, 0x0202, blob);
  }
  // A single strip of `compression` holding the blob.
  void Strip(int directory, std::uint32_t compression, int blob) {
    Number(directory, 0x0103, kShort, compression);
    BlobOffset(directory, 0x0111, blob);
    BlobLength(directory, 0x0117, blob);
  }
  // The blob as the value of an UNDEFINED entry (RW2's JpgFromRaw, a maker's note's thumbnail).
  void BlobValue(int directory, std::uint16_t tag, int blob) {
    Add(directory, {tag, kUndefined, 0, BlobWhole{blob}});
  }
  // The chain: `next` follows `directory` (-1: the chain ends there; a raw
  // offset through NextOffset).
  void Next(int directory, int next) { directories_[static_cast<std::size_t>(directory)].next = next; }
  void NextOffset(int directory, std::uint32_t offset) {
    directories_[static_cast<std::size_t>(directory)].rawNext = offset;
  }
  // Where the header says the first directory is, when not directory 0.
  void FirstOffset(std::uint32_t offset) { rawFirst_ = offset; }

  // The block, every offset counted from its first byte.
  Bytes Build() {
    // Places: header, then each directory with the values it holds outside
    // its entries, then the blobs.
    std::size_t at = 8 + afterHeader_.size();
    std::vector<std::size_t> directoryAt, blobAt;
    for (Directory& directory : directories_) {
      directoryAt.push_back(at);
      at += 2 + 12 * directory.entries.size() + 4;
      for (Entry& entry : directory.entries) {
        if (const Bytes* bytes = std::get_if<Bytes>(&entry.value); bytes && bytes->size() > 4) {
          entry.dataAt = at;
          at += (bytes->size() + 1) & ~std::size_t{1};
        }
        if (const Directories* links = std::get_if<Directories>(&entry.value); links && links->targets.size() > 1) {
          entry.dataAt = at;
          at += 4 * links->targets.size();
        }
      }
    }
    for (const Bytes& blob : blobs_) {
      blobAt.push_back(at);
      at += blob.size();
    }
    blobAt_ = blobAt;
    Bytes out(at, 0);
    out[0] = out[1] = big_ ? 'M' : 'I';
    PutU16(out, 2, magic_, big_);
    PutU32(out, 4, rawFirst_.value_or(directories_.empty() ? 0 : static_cast<std::uint32_t>(directoryAt[0])), big_);
    std::copy(afterHeader_.begin(), afterHeader_.end(), out.begin() + 8);
    for (std::size_t d = 0; d < directories_.size(); ++d) {
      const Directory& directory = directories_[d];
      std::size_t entryAt = directoryAt[d];
      PutU16(out, entryAt, static_cast<std::uint32_t>(directory.entries.size()), big_);
      entryAt += 2;
      for (const Entry& entry : directory.entries) {
        PutU16(out, entryAt, entry.tag, big_);
        PutU16(out, entryAt + 2, entry.type, big_);
        std::uint32_t count = entry.count;
        std::uint32_t field = 0;
        bool fieldIsBytes = false;
        if (const Raw* raw = std::get_if<Raw>(&entry.value)) {
          field = raw->value;
          if (entry.type == kShort && count == 1) {
            PutU16(out, entryAt + 8, field, big_);
            fieldIsBytes = true;
          }
        } else if (const Bytes* bytes = std::get_if<Bytes>(&entry.value)) {
          if (bytes->size() <= 4) {
            std::copy(bytes->begin(), bytes->end(), out.begin() + static_cast<std::ptrdiff_t>(entryAt + 8));
            fieldIsBytes = true;
          } else {
            std::copy(bytes->begin(), bytes->end(), out.begin() + static_cast<std::ptrdiff_t>(entry.dataAt));
            field = static_cast<std::uint32_t>(entry.dataAt);
          }
        } else if (const Directories* links = std::get_if<Directories>(&entry.value)) {
          if (links->targets.size() == 1) {
            field = static_cast<std::uint32_t>(directoryAt[static_cast<std::size_t>(links->targets[0])]);
          } else {
            for (std::size_t i = 0; i < links->targets.size(); ++i) {
              PutU32(out, entry.dataAt + 4 * i,
                     static_cast<std::uint32_t>(directoryAt[static_cast<std::size_t>(links->targets[i])]), big_);
            }
            field = static_cast<std::uint32_t>(entry.dataAt);
          }
        } else if (const BlobAt* blob = std::get_if<BlobAt>(&entry.value)) {
          field = static_cast<std::uint32_t>(blobAt[static_cast<std::size_t>(blob->blob)]);
        } else if (const BlobSize* size = std::get_if<BlobSize>(&entry.value)) {
          field = static_cast<std::uint32_t>(blobs_[static_cast<std::size_t>(size->blob)].size());
        } else if (const BlobWhole* whole = std::get_if<BlobWhole>(&entry.value)) {
          count = static_cast<std::uint32_t>(blobs_[static_cast<std::size_t>(whole->blob)].size());
          field = static_cast<std::uint32_t>(blobAt[static_cast<std::size_t>(whole->blob)]);
        }
        PutU32(out, entryAt + 4, count, big_);
        if (!fieldIsBytes) PutU32(out, entryAt + 8, field, big_);
        entryAt += 12;
      }
      std::uint32_t next = directory.rawNext.value_or(0);
      if (directory.next >= 0) next = static_cast<std::uint32_t>(directoryAt[static_cast<std::size_t>(directory.next)]);
      PutU32(out, entryAt, next, big_);
    }
    for (std::size_t b = 0; b < blobs_.size(); ++b) {
      std::copy(blobs_[b].begin(), blobs_[b].end(), out.begin() + static_cast<std::ptrdiff_t>(blobAt[b]));
    }
    return out;
  }

  // Where Build put each blob, from the block's first byte.
  std::size_t BlobPlace(int blob) const { return blobAt_[static_cast<std::size_t>(blob)]; }

 private:
  struct Raw {
    std::uint32_t value;
  };
  struct Directories {
    std::vector<int> targets;
  };
  struct BlobAt {
    int blob;
  };
  struct BlobSize {
    int blob;
  };
  struct BlobWhole {
    int blob;
  };
  struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::variant<Raw, Bytes, Directories, BlobAt, BlobSize, BlobWhole> value;
    std::size_t dataAt = 0;
  };
  struct Directory {
    std::vector<Entry> entries;
    int next = -1;
    std::optional<std::uint32_t> rawNext;
  };

  void Add(int directory, Entry entry) { directories_[static_cast<std::size_t>(directory)].entries.push_back(std::move(entry)); }

  bool big_;
  std::uint16_t magic_;
  Bytes afterHeader_;
  std::vector<Directory> directories_;
  std::vector<Bytes> blobs_;
  std::vector<std::size_t> blobAt_;
  std::optional<std::uint32_t> rawFirst_;
};

// An ISO box: size, type, content.
inline Bytes Box(std::string_view type, const Bytes& content) {
  Bytes out(8, 0);
  PutU32(out, 0, static_cast<std::uint32_t>(content.size() + 8), true);
  std::copy(type.begin(), type.end(), out.begin() + 4);
  out.insert(out.end(), content.begin(), content.end());
  return out;
}

}  // namespace tarnwell::testing
