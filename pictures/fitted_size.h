// The size a picture is shown at in a box: the largest that fits it,
// keeping the picture's proportions, never larger than the picture itself
// and never smaller than one pixel.
#pragma once

#include <algorithm>

namespace tarnwell {

struct FittedSize {
  int width = 0;
  int height = 0;
};

inline FittedSize FitInBox(int width, int height, int boxWidth, int boxHeight) {
  const double scale = std::min({1.0, static_cast<double>(boxWidth) / width, static_cast<double>(boxHeight) / height});
  return {std::max(1, static_cast<int>(width * scale + 0.5)), std::max(1, static_cast<int>(height * scale + 0.5))};
}

}  // namespace tarnwell
