// EXIF orientation: how the stored pixels must be turned and mirrored to be
// shown upright. 1 is as stored; 2 mirrored left to right; 3 turned half a
// turn; 4 mirrored top to bottom; 5 mirrored along the diagonal from the top
// left; 6 turned a quarter to the right; 7 mirrored along the other
// diagonal; 8 turned a quarter to the left. Any other value is 1.
#pragma once

#include "pictures/picture.h"

namespace tarnwell {

// Whether the orientation swaps width and height (5 to 8).
bool SwapsSides(int orientation);

// The picture as it is to be shown.
Picture Oriented(const Picture& stored, int orientation);

}  // namespace tarnwell
