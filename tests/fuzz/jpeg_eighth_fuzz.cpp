// Fuzz target: the eighth-scale JPEG decoder over any bytes, taken as a
// JPEG stream. Whatever the bytes, it reads only inside them (the sanitizer
// sees to that), ends, allocates at most 256 bytes for each of them however
// large a frame they state, and a picture it gives is an eighth of the frame
// it states, every pixel opaque.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "pictures/jpeg_eighth.h"
#include "tests/fuzz/allocation_count.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tarnwell;
using namespace tarnwell::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InstallAllocationCount();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<EighthJpeg> eighth;
  const std::size_t allocated =
      AllocatedBy([&] { eighth = DecodeJpegEighth(std::span<const std::uint8_t>(data, size)); });
  Require(allocated <= 256 * size, "allocates at most 256 bytes for each byte");
  if (!eighth) return 0;
  const Picture& picture = eighth->picture;
  Require(eighth->width > 0 && eighth->height > 0, "a frame with a size");
  Require(picture.width == (eighth->width + 7) / 8 && picture.height == (eighth->height + 7) / 8,
          "an eighth of the frame");
  Require(picture.pixels.size() == static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height),
          "every pixel");
  Require(std::all_of(picture.pixels.begin(), picture.pixels.end(), [](std::uint32_t p) { return p >> 24 == 0xFF; }),
          "opaque pixels");
  return 0;
}
