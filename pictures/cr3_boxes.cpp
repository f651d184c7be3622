#include "pictures/cr3_boxes.h"

#include <array>
#include <cstring>
#include <optional>

#include "pictures/tiff_directories.h"

namespace tarnwell {
namespace {

constexpr int kMaxBoxes = 64;

constexpr std::array<std::uint8_t, 16> kCanonHeader{0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                                                    0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};
constexpr std::array<std::uint8_t, 16> kCanonPreview{0xEA, 0xF4, 0x2B, 0x5E, 0x1C, 0x98, 0x4B, 0x88,
                                                     0xB9, 0xFB, 0xB7, 0xDC, 0x40, 0x6E, 0x4D, 0x16};

struct Box {
  std::array<char, 4> type{};
  ByteSpan content;  // after the size, the type and a large size
  std::uint64_t end = 0;

  bool Is(const char* name) const { return std::memcmp(type.data(), name, 4) == 0; }
};

// The box at `at` inside `within`; nothing when its header or its content
// does not fit there.
std::optional<Box> BoxAt(BoundedReads& reads, ByteSpan within, std::uint64_t at) {
  std::array<std::uint8_t, 8> header{};
  if (!within.Holds(at, header.size()) || !reads.Read(at, header)) return std::nullopt;
  Box box;
  std::memcpy(box.type.data(), header.data() + 4, 4);
  std::uint64_t size = U32Of(header.data(), ByteOrder::Big);
  std::uint64_t headerSize = 8;
  if (size == 1) {  // a 64-bit size follows the type
    if (!within.Holds(at + 8, 8)) return std::nullopt;
    const std::optional<std::uint64_t> large = reads.U64(at + 8, ByteOrder::Big);
    if (!large) return std::nullopt;
    size = *large;
    headerSize = 16;
  } else if (size == 0) {  // up to the end of what holds it
    size = within.end - at;
  }
  if (size < headerSize || !within.Holds(at, size)) return std::nullopt;
  box.content = ByteSpan{at + headerSize, at + size};
  box.end = at + size;
  return box;
}

// Calls `each` for the boxes that follow one another in `within`, at most kMaxBoxes.
template <class Each>
void ForEachBox(BoundedReads& reads, ByteSpan within, Each each) {
  std::uint64_t at = within.begin;
  for (int i = 0; i < kMaxBoxes && at < within.end; ++i) {
    const std::optional<Box> box = BoxAt(reads, within, at);
    if (!box) return;
    each(*box);
    at = box->end;
  }
}

bool UuidIs(BoundedReads& reads, const Box& box, const std::array<std::uint8_t, 16>& uuid) {
  std::array<std::uint8_t, 16> bytes{};
  return box.Is("uuid") && box.content.Holds(box.content.begin, bytes.size()) &&
         reads.Read(box.content.begin, bytes) && bytes == uuid;
}

// A JPEG after a header of `headerSize` bytes whose 32-bit length lies at `lengthAt`.
void OfferJpegAfter(PreviewCollector& collector, const Box& box, std::uint64_t lengthAt, std::uint64_t headerSize,
                    PreviewKind kind) {
  if (!box.content.Holds(box.content.begin + lengthAt, 4)) return;
  const std::optional<std::uint32_t> length = collector.Reads().U32(box.content.begin + lengthAt, ByteOrder::Big);
  if (length) collector.Offer(box.content, box.content.begin + headerSize, *length, kind);
}

void ReadCanonHeader(PreviewCollector& collector, ByteSpan content) {
  ForEachBox(collector.Reads(), content, [&](const Box& box) {
    if (box.Is("CMT1")) ReadTiffBlock(collector, box.content, FirstDirectory::Image, 0);
    if (box.Is("CMT2")) ReadTiffBlock(collector, box.content, FirstDirectory::Exif, 0);
    // Version and flags, width, height, the JPEG's length, 4 bytes, the JPEG.
    if (box.Is("THMB")) OfferJpegAfter(collector, box, 8, 16, PreviewKind::Cr3Thumbnail);
  });
}

}  // namespace

bool IsCr3Start(const std::uint8_t* bytes) {
  return std::memcmp(bytes + 4, "ftyp", 4) == 0 && std::memcmp(bytes + 8, "crx ", 4) == 0;
}

void ReadCr3(PreviewCollector& collector, ByteSpan file) {
  BoundedReads& reads = collector.Reads();
  ForEachBox(reads, file, [&](const Box& top) {
    if (top.Is("moov")) {
      ForEachBox(reads, top.content, [&](const Box& inner) {
        if (UuidIs(reads, inner, kCanonHeader)) ReadCanonHeader(collector, inner.content.After(16));
      });
    } else if (UuidIs(reads, top, kCanonPreview)) {
      // The uuid, 8 bytes, then the PRVW box: 4 bytes, 1, width, height, 1,
      // the JPEG's length, the JPEG.
      ForEachBox(reads, top.content.After(16 + 8), [&](const Box& preview) {
        if (preview.Is("PRVW")) OfferJpegAfter(collector, preview, 12, 16, PreviewKind::Cr3Preview);
      });
    }
  });
}

}  // namespace tarnwell
