// A picture made for the screen: 32-bit BGRA pixels, rows top to bottom,
// every pixel opaque (an icon is drawn on its background when it is made).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarnwell {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height, 0xAARRGGBB

  std::size_t Bytes() const { return pixels.size() * sizeof(std::uint32_t); }
  bool Empty() const { return width <= 0 || height <= 0; }
};

}  // namespace tarnwell
