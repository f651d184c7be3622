#include "pictures/orientation.h"

namespace tarnwell {

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

Picture Oriented(const Picture& stored, int orientation) {
  if (orientation < 2 || orientation > 8 || stored.Empty()) return stored;
  const int w = stored.width;
  const int h = stored.height;
  Picture shown;
  shown.width = SwapsSides(orientation) ? h : w;
  shown.height = SwapsSides(orientation) ? w : h;
  shown.pixels.resize(stored.pixels.size());
  // Each shown pixel (x, y) takes the stored pixel it comes from.
  for (int y = 0; y < shown.height; ++y) {
    for (int x = 0; x < shown.width; ++x) {
      int sx = x, sy = y;
      switch (orientation) {
        case 2: sx = w - 1 - x; break;
        case 3: sx = w - 1 - x; sy = h - 1 - y; break;
        case 4: sy = h - 1 - y; break;
        case 5: sx = y; sy = x; break;
        case 6: sx = y; sy = h - 1 - x; break;
        case 7: sx = w - 1 - y; sy = h - 1 - x; break;
        case 8: sx = w - 1 - y; sy = x; break;
        default: break;
      }
      shown.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(shown.width) + static_cast<std::size_t>(x)] =
          stored.pixels[static_cast<std::size_t>(sy) * static_cast<std::size_t>(w) + static_cast<std::size_t>(sx)];
    }
  }
  return shown;
}

}  // namespace tarnwell
