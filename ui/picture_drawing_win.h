// Drawing a made picture (pictures/picture.h: BGRA rows top to bottom) on
// a device context: at its own size, or stretched into a rectangle with
// the halftone mode, which averages the pixels it shrinks or grows.
#pragma once

#include <windows.h>

#include "pictures/picture.h"

namespace tarnwell {

void DrawPicture(HDC dc, const Picture& picture, int left, int top);
void DrawPictureStretched(HDC dc, const Picture& picture, const RECT& into);

// The largest rectangle of the picture's proportions that fits `box`,
// centred in it; never larger than the picture when `enlarge` is false.
RECT FittedRect(const Picture& picture, const RECT& box, bool enlarge);

}  // namespace tarnwell
