#include "pictures/preview_choice.h"

#include <algorithm>

namespace tarnwell {
namespace {

int LongSide(const EmbeddedPreview& preview) { return std::max(preview.width, preview.height); }

}  // namespace

const EmbeddedPreview* PreviewFor(const PictureFacts& facts, int longSide) {
  const EmbeddedPreview* smallestEnough = nullptr;
  const EmbeddedPreview* largest = nullptr;
  for (const EmbeddedPreview& preview : facts.Previews()) {
    if (!largest || LongSide(preview) > LongSide(*largest)) largest = &preview;
    if (LongSide(preview) >= longSide && (!smallestEnough || LongSide(preview) < LongSide(*smallestEnough))) {
      smallestEnough = &preview;
    }
  }
  return smallestEnough ? smallestEnough : largest;
}

}  // namespace tarnwell
