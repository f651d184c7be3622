// Which embedded preview makes a picture of a given size: the smallest one
// that is large enough, since decoding costs by the preview's pixels, and
// the largest one when none is. The large view asks for its window's size;
// the grid for its cells'.
#pragma once

#include "pictures/picture_facts.h"

namespace tarnwell {

// The smallest preview whose longer side reaches `longSide` pixels, else the
// largest; null when the file holds none.
const EmbeddedPreview* PreviewFor(const PictureFacts& facts, int longSide);

}  // namespace tarnwell
