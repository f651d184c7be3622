// Fuzz target: the embedded-preview reader over any bytes, taken as a whole
// picture file. Whatever the bytes, it asks only for bytes inside the file,
// allocates no more than the file's size (nothing it allocates follows a
// size the file states; its texts are copies of the file's bytes), stops
// within its reads, and gives only previews that lie inside the file (a
// JPEG stream's start, or RGB pixels of the size given), facts in their
// ranges, and the same facts when read again.
#include <cstddef>
#include <cstdint>
#include <span>

#include "pictures/bounded_reads.h"
#include "pictures/embedded_previews.h"
#include "pictures/preview_choice.h"
#include "tests/fuzz/allocation_count.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tarnwell;
using namespace tarnwell::fuzz;

namespace {

class CheckedBytes final : public ByteSource {
 public:
  explicit CheckedBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes), memory_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> into) const override {
    Require(offset <= bytes_.size() && into.size() <= bytes_.size() - offset, "reads only inside the file");
    ++reads_;
    return memory_.Read(offset, into);
  }
  int Reads() const { return reads_; }

 private:
  std::span<const std::uint8_t> bytes_;
  MemoryBytes memory_;
  mutable int reads_ = 0;
};

bool SameFacts(const PictureFacts& a, const PictureFacts& b) {
  if (a.previewCount != b.previewCount) return false;
  for (std::size_t i = 0; i < a.previewCount; ++i) {
    const EmbeddedPreview& x = a.Previews()[i];
    const EmbeddedPreview& y = b.Previews()[i];
    if (x.offset != y.offset || x.length != y.length || x.kind != y.kind || x.width != y.width ||
        x.height != y.height || x.format != y.format) {
      return false;
    }
  }
  return a.container == b.container && a.orientation == b.orientation && a.cameraModel == b.cameraModel &&
         a.takenAt == b.takenAt && a.width == b.width && a.height == b.height;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InstallAllocationCount();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  CheckedBytes source(bytes);
  PictureFacts facts;
  const std::size_t allocated = AllocatedBy([&] { facts = ReadPictureFacts(source); });
  Require(allocated <= size, "allocates no more than the file's size");
  Require(source.Reads() <= BoundedReads::kMaxReads, "stops within its reads");

  for (const EmbeddedPreview& preview : facts.Previews()) {
    Require(preview.offset <= size && preview.length <= size - preview.offset, "previews lie inside the file");
    if (preview.format == PreviewFormat::Jpeg) {
      Require(preview.length >= 2 && data[preview.offset] == 0xFF && data[preview.offset + 1] == 0xD8,
              "JPEG previews start a JPEG stream");
    } else {
      Require(preview.length == static_cast<std::uint64_t>(preview.width) * static_cast<std::uint64_t>(preview.height) * 3,
              "RGB previews hold their pixels");
    }
    Require(preview.width > 0 && preview.height > 0, "previews have a size");
  }
  Require(facts.orientation >= 0 && facts.orientation <= 8, "orientation 0-8");
  Require(facts.cameraModel.size() <= 64, "a short camera model");
  for (char c : facts.cameraModel) Require(c >= 0x20 && c < 0x7F, "a printable camera model", {facts.cameraModel});
  Require(facts.takenAt.empty() || facts.takenAt.size() == 19, "a time in EXIF's form", {facts.takenAt});
  Require(facts.width >= 0 && facts.height >= 0 && (facts.width == 0) == (facts.height == 0), "a whole size or none");

  for (int longSide : {1, 160, 1600, 100000}) {
    const EmbeddedPreview* chosen = PreviewFor(facts, longSide);
    Require((chosen == nullptr) == (facts.previewCount == 0), "a preview is chosen when there is one");
  }

  CheckedBytes again(bytes);
  Require(SameFacts(facts, ReadPictureFacts(again)), "the same facts when read again");
  return 0;
}
